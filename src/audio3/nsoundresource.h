#ifndef N_SOUNDRESOURCE_H
#define N_SOUNDRESOURCE_H
//------------------------------------------------------------------------------
/**
    @class nSoundResource
    @ingroup Audio3

    Shared sound data, one per sound file, made through the audio server's
    NewSoundResource and loaded by an implementation's LoadResource.
*/
#include "resource/nresource.h"

class nSoundResource : public nResource
{
public:
    nSoundResource();

    void SetNumTracks(int n) { this->numTracks = n; }
    int GetNumTracks() const { return this->numTracks; }
    void SetAmbient(bool b) { this->ambient = b; }
    bool GetAmbient() const { return this->ambient; }
    void SetStreaming(bool b) { this->streaming = b; }
    bool GetStreaming() const { return this->streaming; }
    void SetLooping(bool b) { this->looping = b; }
    bool GetLooping() const { return this->looping; }

protected:
    /// unloads the resource if it is still loaded
    ~nSoundResource() override;

private:
    int numTracks;
    bool ambient;
    bool streaming;
    bool looping;
};
#endif
