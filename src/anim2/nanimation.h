#ifndef N_ANIMATION_H
#define N_ANIMATION_H
//------------------------------------------------------------------------------
/**
    @class nAnimation
    @ingroup Anim2

    Shared animation data: groups of curves sampled over time. Subclasses
    load the data and sample it; this class keeps its layout and frees it
    at unload.
*/
#include "resource/nresource.h"
#include "mathlib/vector4.h"
#include "util/narray.h"

class nAnimation : public nResource
{
public:
    /// one animated value; its keys and their meaning are the loading subclass's
    class Curve
    {
    };

    /// curves that share their keys' timing
    class Group
    {
    public:
        int startKey = 0;
        int numKeys = 0;
        int keyStride = 0;
        float keyTime = 0.0f;
        int loopType = 1;
        nArray<Curve> curves{0, 0};

        /// replace the curves by num default ones
        void SetNumCurves(int num);
    };

    nAnimation();

    /// sample curves of a group at a time into keyArray (base: nothing)
    virtual void SampleCurves(float time, int groupIndex, int firstCurveIndex, int numCurves, vector4* keyArray);

    /// replace the groups by num default ones
    void SetNumGroups(int num);
    /// the number of groups
    int GetNumGroups() const { return this->groups.Size(); }
    /// a group
    Group& GetGroupAt(int index) const;
    /// the group's length in seconds: its number of keys times the key time
    float GetDuration(int groupIndex) const;

protected:
    ~nAnimation() override;

    /// frees every group with its curves
    void UnloadResource() override;

    nArray<Group> groups;
};
#endif
