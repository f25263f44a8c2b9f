#ifndef N_OPENALSERVER_H
#define N_OPENALSERVER_H
//------------------------------------------------------------------------------
/**
    @class nOpenALServer
    @ingroup OpenAL

    The audio server on OpenAL: owns the device and its context and two
    tables of OpenAL buffer and source names, one pair per loaded sound
    resource. A table slot is taken when a resource loads and given back
    when it unloads, so sounds can come and go for as long as the program
    runs; at most MaxBufSrc resources are loaded at one time.
*/
#include "audio3/naudioserver3.h"
#include "kernel/nautoref.h"

#include <AL/al.h>
#include <AL/alc.h>

class nEnv;
class nResourceServer;
class nOpenALResource;

class nOpenALServer : public nAudioServer3
{
public:
    /// the number of buffer and source slots
    static constexpr int MaxBufSrc = 256;

    nOpenALServer();

    /// the one OpenAL server
    static nOpenALServer* Instance();

    bool Open() override;
    void Close() override;
    bool BeginScene(double time) override;
    void UpdateListener(const nListener3& l) override;
    void StartSound(nSound3* s) override;
    void UpdateSound(nSound3* s) override;
    void StopSound(nSound3* s) override;
    void EndScene() override;
    nSound3* NewSound() override;
    nSoundResource* NewSoundResource(const char* rsrcName) override;

    /// take a free slot and generate its buffer and source; false with a message
    bool createBufSrc(int& index);
    /// delete a slot's source and then its buffer and free the slot
    void deleteBufSrc(int index);
    /// the source name of a slot in use, else 0 (no source)
    ALuint GetSource(int index) const;
    /// the buffer name of a slot in use, else 0 (no buffer)
    ALuint GetBuffer(int index) const;
    /// the number of buffer names alive
    int GetNumBuffers() const { return this->numBuffers; }
    /// the number of source names alive
    int GetNumSources() const { return this->numSources; }

    /// false, with "ALC error: " and the text, when the device reports an error
    bool CheckALCError(const char* what);
    /// false, with "OpenAL error: " and the text, when OpenAL reports an error
    static bool CheckALError(const char* what);

protected:
    /// closes the server if it is still open
    ~nOpenALServer() override;

private:
    /// print the library and device information
    void PrintInfo();
    /// set the listener; false with a message at the first value OpenAL refuses
    static bool SetListener(const ALfloat* pos, const ALfloat* vel, const ALfloat* orientation);
    /// drop the context, the device and the utility toolkit, whichever exist
    void ReleaseDevice();
    /// stop every sound, unload every sound instance and resource, free what slots remain
    void ReleaseSounds();

    static nOpenALServer* m_pSelf;

    nAutoRef<nResourceServer> refResourceServer;
    nAutoRef<nEnv> refHwnd;
    ALCdevice* m_pDevice;
    ALCcontext* m_pContext;
    bool alutReady;
    /// opened without a sound device: no sounds are made
    bool silent = false;
    ALuint buffers[MaxBufSrc];
    ALuint sources[MaxBufSrc];
    bool slotUsed[MaxBufSrc];
    int numBuffers;
    int numSources;
};
#endif
