#ifndef N_VIDEOSOUND_H
#define N_VIDEOSOUND_H
//------------------------------------------------------------------------------
/**
    @class nVideoSound
    @ingroup Video

    The sound track of a video: one streaming OpenAL source with a small
    ring of buffers on the context the audio server made current, outside
    the audio server's own tables. Samples are queued as the decoder
    delivers them; a source that ran dry starts again when more come.
    Without a current context the video stays silent.
*/
#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class nVideoSound
{
public:
    nVideoSound() = default;
    ~nVideoSound();
    nVideoSound(const nVideoSound&) = delete;
    nVideoSound& operator=(const nVideoSound&) = delete;

    /// make the source and its buffers; false when there is no context or OpenAL refuses
    bool Begin(int rate, int channels);
    /// stop and delete the source and its buffers
    void End();
    bool IsActive() const { return this->source != 0; }
    /// interleaved 16-bit samples to play after those queued before (moved out of 'samples')
    void Queue(std::vector<int16_t>& samples);
    /// hand finished buffers back and queued samples to OpenAL; keep the source playing
    void Update();
    /// the OpenAL source, 0 when not active
    ALuint GetSource() const { return this->source; }
    /// the bytes handed to OpenAL since Begin
    size_t GetBytesQueued() const { return this->bytesQueued; }

private:
    enum
    {
        NumBuffers = 8,
    };

    ALuint source = 0;
    ALuint buffers[NumBuffers] = {};
    std::vector<ALuint> freeBuffers;
    std::vector<int16_t> pending;
    int rate = 0;
    int channels = 0;
    size_t bytesQueued = 0;
};
#endif
