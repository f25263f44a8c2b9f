#ifndef N_SOUND3_H
#define N_SOUND3_H
//------------------------------------------------------------------------------
/**
    @class nSound3
    @ingroup Audio3

    One playable sound instance with its own position, velocity, volume
    and looping flag; a resource made through the audio server's NewSound.
    Its number of tracks and its ambient, streaming and looping flags are
    passed on to the sound resource it loads.
*/
#include "resource/nresource.h"
#include "mathlib/matrix44.h"
#include "mathlib/vector3.h"

class nSound3 : public nResource
{
public:
    nSound3();

    /// play the sound (empty here)
    virtual void Start();
    /// stop the sound (empty here)
    virtual void Stop();
    /// pass position, velocity and flags on (empty here)
    virtual void Update();
    /// true while the sound plays (always false here)
    virtual bool IsPlaying();
    /// store the volume and mark it changed
    virtual void SetVolume(float v);
    /// the stored volume
    virtual float GetVolume();

    void SetNumTracks(int n) { this->numTracks = n; }
    int GetNumTracks() const { return this->numTracks; }
    void SetAmbient(bool b) { this->ambient = b; }
    bool GetAmbient() const { return this->ambient; }
    void SetStreaming(bool b) { this->streaming = b; }
    bool GetStreaming() const { return this->streaming; }
    void SetLooping(bool b) { this->looping = b; }
    bool GetLooping() const { return this->looping; }

    /// copy the matrix (its translation is the position), mark the properties changed
    void SetTransform(const matrix44& m);
    const matrix44& GetTransform() const { return this->transform; }
    void SetVelocity(const vector3& v) { this->velocity = v; }
    const vector3& GetVelocity() const { return this->velocity; }
    void SetMinDist(float d);
    float GetMinDist() const { return this->minDist; }
    void SetMaxDist(float d);
    float GetMaxDist() const { return this->maxDist; }

    bool IsVolumeDirty() const { return this->volumeDirty; }
    bool ArePropsDirty() const { return this->propsDirty; }

protected:
    /// unloads the resource if it is still loaded
    ~nSound3() override;

    int numTracks;
    bool ambient;
    bool streaming;
    bool looping;
    float volume;
    matrix44 transform;
    vector3 velocity;
    float minDist;
    float maxDist;
    bool volumeDirty;
    bool propsDirty;
};
#endif
