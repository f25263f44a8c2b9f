//------------------------------------------------------------------------------
//  nsound3.cc
//------------------------------------------------------------------------------
#include "audio3/nsound3.h"

nSound3::nSound3() :
    numTracks(5),
    ambient(false),
    streaming(false),
    looping(false),
    volume(1.0f),
    minDist(10.0f),
    maxDist(100.0f),
    volumeDirty(true),
    propsDirty(true)
{
}

/*
 * ~nSound3 --
 *     Side effects: as for sound resources, a subclass unloads first;
 *     what is left loaded is only marked Unloaded.
 */
nSound3::~nSound3()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
        this->SetState(Unloaded);
    }
}

/*
 * Start, Stop, Update, IsPlaying --
 *     Base behaviour: nothing; IsPlaying is false.
 */
void nSound3::Start()
{
}

void nSound3::Stop()
{
}

void nSound3::Update()
{
}

bool nSound3::IsPlaying()
{
    return false;
}

/*
 * SetVolume, GetVolume --
 *     The stored volume; setting it marks it changed.
 */
void nSound3::SetVolume(float v)
{
    this->volume = v;
    this->volumeDirty = true;
}

float nSound3::GetVolume()
{
    return this->volume;
}

/*
 * SetTransform, SetMinDist, SetMaxDist --
 *     Side effects: store the value and mark the properties changed.
 */
void nSound3::SetTransform(const matrix44& m)
{
    this->transform = m;
    this->propsDirty = true;
}

void nSound3::SetMinDist(float d)
{
    this->minDist = d;
    this->propsDirty = true;
}

void nSound3::SetMaxDist(float d)
{
    this->maxDist = d;
    this->propsDirty = true;
}
