#ifndef N_OPENALRESOURCE_H
#define N_OPENALRESOURCE_H
//------------------------------------------------------------------------------
/**
    @class nOpenALResource
    @ingroup OpenAL

    One sound file (WAV or Ogg Vorbis) decoded into one OpenAL buffer that
    one source plays. The file is read through the file server, so sounds
    in archives load too. Loading takes a buffer and source slot of the
    OpenAL server; unloading gives it back.
*/
#include "audio3/nsoundresource.h"
#include "kernel/nautoref.h"

#include <AL/al.h>

class nOpenALServer;

class nOpenALResource : public nSoundResource
{
public:
    nOpenALResource();

    /// the resource's slot in the server's buffer and source tables
    int GetBufSrcIndex() const { return this->bufSrcIndex; }

protected:
    /// unloads the resource if it is still loaded
    ~nOpenALResource() override;

    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// the open OpenAL server, or null
    nOpenALServer* Server() const;
    /// decode the file's samples into the buffer by its extension; false with a message
    bool LoadData(const nString& path, ALuint buffer);
    /// a WAV file into the buffer; false with a message
    bool LoadWavFile(const nString& path, ALuint buffer);
    /// an Ogg Vorbis file into the buffer; false with a message
    bool LoadOggFile(const nString& path, ALuint buffer);
    /// set up the source to play the buffer; false with a message
    bool SetupSource(ALuint source, ALuint buffer);

    nAutoRef<nRoot> refSoundServer;
    int bufSrcIndex;
};
#endif
