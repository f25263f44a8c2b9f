#ifndef N_IPOLKEYARRAY_H
#define N_IPOLKEYARRAY_H
//------------------------------------------------------------------------------
/**
    @class nIpolKeyArray
    @ingroup Scene

    The keys of one animated quantity, appended in rising time order from
    time 0, and their sampling at a time with a loop type. Linear
    interpolation for vectors and floats, rounding for ints, spherical
    interpolation on the shorter arc for quaternions.

    Outside data decides what the keys are, so keys that break the order
    (unsorted, not starting at 0) and non-finite times give no value and
    one warning instead of stopping the program.
*/
#include "scene/nanimator.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"
#include "mathlib/quaternion.h"
#include "util/narray.h"

#include <cmath>

template <class TYPE>
class nIpolKeyArray
{
public:
    struct Key
    {
        float time = 0.0f;
        TYPE value = TYPE();
        Key() = default;
        Key(float t, const TYPE& v) : time(t), value(v) {}
    };

    nIpolKeyArray() : keyArray(0, 4) {}

    /// append a key; a key out of order marks the array unusable
    void AddKey(float time, const TYPE& value)
    {
        const bool inOrder = this->keyArray.IsEmpty() ? (0.0f == time) : (time >= this->keyArray.Back().time);
        this->ordered = this->ordered && inOrder;
        this->keyArray.Append(Key(time, value));
    }
    int Size() const { return this->keyArray.Size(); }
    const Key& At(int i) const { return this->keyArray[i]; }

    /// the value at time t; false (value untouched) when none can be produced
    bool Sample(float t, nAnimator::LoopType loopType, TYPE& result, bool& warned) const;

private:
    /// the index of the first key later than t, searched in [1, num - 1]
    int FindKey(float t) const;
    static TYPE Interpolate(const TYPE& a, const TYPE& b, float f);

    nArray<Key> keyArray;
    /// the keys start at 0 and never fall (kept by AddKey)
    bool ordered = true;
};

//------------------------------------------------------------------------------
/**
    Results: the first key index i in [1, num - 1] whose time is greater
    than t, or num - 1 when none is. The keys are sorted, so a binary
    search finds the same key a scan from the front would.
    Side effects: none.
*/
template <class TYPE>
int nIpolKeyArray<TYPE>::FindKey(float t) const
{
    int lo = 1;
    int hi = this->keyArray.Size() - 1;
    while (lo < hi)
    {
        const int mid = (lo + hi) / 2;
        if (this->keyArray[mid].time > t) hi = mid;
        else lo = mid + 1;
    }
    return lo;
}

//------------------------------------------------------------------------------
/**
    Results: true with the value at t in result; false with fewer than two
    keys, a key range that does not end after 0, disordered keys or a
    non-finite t.
    Side effects: the first disorder or bad time is reported and 'warned' set.

    The clamp leaves one millisecond before the last key, but never moves
    t below the first key: with a very short key span the upper clamp
    would otherwise fall before it.
*/
template <class TYPE>
bool nIpolKeyArray<TYPE>::Sample(float t, nAnimator::LoopType loopType, TYPE& result, bool& warned) const
{
    const int num = this->keyArray.Size();
    if (num < 2) return false;
    const float end = this->keyArray.Back().time;
    if (!(end > 0.0f)) return false;
    if (!std::isfinite(t) || !std::isfinite(end) || !this->ordered)
    {
        if (!warned)
        {
            warned = true;
            n_printf("Warning: animation keys out of order or time not finite (t=%f), no value\n", t);
        }
        return false;
    }
    if (nAnimator::Loop == loopType)
    {
        t = t - end * floorf(t / end);
    }
    const float first = this->keyArray.Front().time;
    if (t < first)
    {
        t = first;
    }
    else if (t >= end)
    {
        t = end - 0.001f;
        if (t < first) t = first;
    }
    const int i = this->FindKey(t);
    const Key& k0 = this->keyArray[i - 1];
    const Key& k1 = this->keyArray[i];
    const float f = (k1.time > k0.time) ? (t - k0.time) / (k1.time - k0.time) : 1.0f;
    result = Interpolate(k0.value, k1.value, f);
    return true;
}

//------------------------------------------------------------------------------
template <class TYPE>
TYPE nIpolKeyArray<TYPE>::Interpolate(const TYPE& a, const TYPE& b, float f)
{
    return a + (b - a) * f;
}

template <>
inline int nIpolKeyArray<int>::Interpolate(const int& a, const int& b, float f)
{
    return int(float(a) + float(b - a) * f + 0.5f);
}

template <>
inline quaternion nIpolKeyArray<quaternion>::Interpolate(const quaternion& q0, const quaternion& q1, float f)
{
    quaternion q;
    q.slerp(q0, q1, f);
    return q;
}
#endif
