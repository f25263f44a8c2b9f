//------------------------------------------------------------------------------
//  nanimation.cc
//------------------------------------------------------------------------------
#include "anim2/nanimation.h"

nAnimation::nAnimation() :
    groups(0, 0)
{
}

/*
 * ~nAnimation --
 *     Side effects: a loaded animation is unloaded first.
 */
nAnimation::~nAnimation()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

namespace
{
/*
 * Filled --
 *     Results: an array of num default elements.
 */
template <class T> nArray<T> Filled(int num)
{
    nArray<T> arr(num, 1);
    for (int i = 0; i < num; i++)
    {
        arr.Append(T());
    }
    return arr;
}
}  // namespace

void nAnimation::Group::SetNumCurves(int num)
{
    n_assert(num >= 0);
    this->curves = Filled<Curve>(num);
}

void nAnimation::SetNumGroups(int num)
{
    n_assert(num >= 0);
    this->groups = Filled<Group>(num);
}

void nAnimation::SampleCurves(float /*time*/, int /*groupIndex*/, int /*firstCurveIndex*/, int /*numCurves*/,
                              vector4* /*keyArray*/)
{
}

nAnimation::Group& nAnimation::GetGroupAt(int index) const
{
    n_assert((index >= 0) && (index < this->groups.Size()));
    return this->groups[index];
}

float nAnimation::GetDuration(int groupIndex) const
{
    const Group& group = this->GetGroupAt(groupIndex);
    return float(group.numKeys) * group.keyTime;
}

/*
 * UnloadResource --
 *     Side effects: destroys every group with its curves, empties the
 *     group array and sets the state Unloaded.
 */
void nAnimation::UnloadResource()
{
    this->groups.Delete();
    this->SetState(Unloaded);
}
