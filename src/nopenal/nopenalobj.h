#ifndef N_OPENALOBJ_H
#define N_OPENALOBJ_H
//------------------------------------------------------------------------------
/**
    @class nOpenALObj
    @ingroup OpenAL

    A sound instance on OpenAL. Loading finds (or loads) the sound
    resource named like this object and plays that resource's source, so
    instances of one name share one source: starting one restarts it for
    all of them, and the last one updated sets its position, velocity,
    gain and looping.
*/
#include "audio3/nsound3.h"
#include "kernel/nautoref.h"
#include "kernel/nref.h"

#include <AL/al.h>

class nOpenALResource;

class nOpenALObj : public nSound3
{
public:
    nOpenALObj();

    void Start() override;
    void Stop() override;
    void Update() override;
    /// true while the shared source plays
    bool IsPlaying() override;
    /// store the volume and pass it to the source when there is one
    void SetVolume(float v) override;
    float GetVolume() override;

    /// the slot of the source played, -1 while unloaded
    int GetSourceIndex() const { return this->sourceIndex; }
    /// the sound resource played, or null while unloaded
    nOpenALResource* GetSoundResource() const;

protected:
    /// stops and unloads the sound if it is loaded
    ~nOpenALObj() override;

    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// the source while this sound and its resource are loaded, else 0
    ALuint Source();

    int sourceIndex;
    nAutoRef<nRoot> refSoundServer;
    nRef<nOpenALResource> refSoundResource;
};
#endif
