#ifndef N_ANIMATOR_H
#define N_ANIMATOR_H
//------------------------------------------------------------------------------
/**
    @class nAnimator
    @ingroup Scene

    The base of the animators: scene nodes that change another node every
    frame from keyframes, at the time the render context's channel
    variable ("time" by default) holds. An animator keeps no per-instance
    state, so one animator serves every render context.
*/
#include "scene/nscenenode.h"
#include "variable/nvariable.h"

class nAnimator : public nSceneNode
{
public:
    enum LoopType
    {
        Loop = 0,
        OneShot = 1,
    };

    nAnimator();

    bool SaveCmds(nPersistServer* ps) override;
    /// 0 here; 1 for transform animators, 2 for shader animators
    virtual int GetAnimatorType() const;
    /// change the node for the render context (empty here)
    virtual void Animate(nSceneNode* sceneNode, nRenderContext* renderContext);

    /// the channel variable by name, declared when new (asserts a name)
    void SetChannel(const char* name);
    /// the channel's name, or 0 when the handle is invalid
    const char* GetChannel() const;
    void SetLoopType(LoopType t) { this->loopType = t; }
    LoopType GetLoopType() const { return this->loopType; }
    /// "loop" or "oneshot"
    static const char* LoopTypeToString(LoopType t);
    /// "loop" gives Loop, any other word OneShot
    static LoopType StringToLoopType(const char* str);

protected:
    ~nAnimator() override = default;

    /// the channel's float value in the context; false when the context
    /// has no such variable (or not a float), warned once per animator
    bool GetChannelTime(nRenderContext* renderContext, float& time);

    int channelVarHandle;

private:
    LoopType loopType;
    bool channelWarned;
};
#endif
