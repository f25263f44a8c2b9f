//------------------------------------------------------------------------------
//  nvideosound.cc
//------------------------------------------------------------------------------
#include "video/nvideosound.h"

#include <AL/alc.h>

#include <algorithm>

namespace
{

/// the most samples kept waiting for a free buffer (ten seconds of stereo at 48 kHz)
constexpr size_t MaxPending = 48000 * 2 * 10;

}  // namespace

nVideoSound::~nVideoSound()
{
    this->End();
}

/*
 * Begin --
 *     Results: false when no OpenAL context is current, the layout is
 *     not mono or stereo, or OpenAL cannot make the names.
 *     Side effects: ends what an earlier Begin started.
 */
bool nVideoSound::Begin(int sampleRate, int numChannels)
{
    this->End();
    if (!alcGetCurrentContext() || sampleRate <= 0 || (numChannels != 1 && numChannels != 2))
    {
        return false;
    }
    alGetError();
    alGenSources(1, &this->source);
    if (alGetError() != AL_NO_ERROR)
    {
        this->source = 0;
        return false;
    }
    alGenBuffers(NumBuffers, this->buffers);
    if (alGetError() != AL_NO_ERROR)
    {
        alDeleteSources(1, &this->source);
        this->source = 0;
        std::fill(std::begin(this->buffers), std::end(this->buffers), 0u);
        return false;
    }
    // heard as it is, wherever the listener stands
    alSourcei(this->source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(this->source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    this->freeBuffers.assign(std::begin(this->buffers), std::end(this->buffers));
    this->rate = sampleRate;
    this->channels = numChannels;
    this->bytesQueued = 0;
    return true;
}

void nVideoSound::End()
{
    if (this->source)
    {
        alSourceStop(this->source);
        alSourcei(this->source, AL_BUFFER, 0);
        alDeleteSources(1, &this->source);
        alDeleteBuffers(NumBuffers, this->buffers);
        alGetError();
    }
    this->source = 0;
    std::fill(std::begin(this->buffers), std::end(this->buffers), 0u);
    this->freeBuffers.clear();
    this->pending.clear();
}

void nVideoSound::Queue(std::vector<int16_t>& samples)
{
    if (this->source && this->pending.size() < MaxPending)
    {
        this->pending.insert(this->pending.end(), samples.begin(), samples.end());
    }
    samples.clear();
}

/*
 * Update --
 *     Side effects: buffers OpenAL finished are taken back; waiting
 *     samples fill free buffers of at most a tenth of a second each; a
 *     source with queued buffers that is not playing is started.
 */
void nVideoSound::Update()
{
    if (!this->source)
    {
        return;
    }
    ALint processed = 0;
    alGetSourcei(this->source, AL_BUFFERS_PROCESSED, &processed);
    for (ALint i = 0; i < processed; i++)
    {
        ALuint b = 0;
        alSourceUnqueueBuffers(this->source, 1, &b);
        if (alGetError() == AL_NO_ERROR) this->freeBuffers.push_back(b);
    }
    const size_t chunk = (size_t)std::max(1, this->rate / 10) * (size_t)this->channels;
    size_t used = 0;
    while (!this->freeBuffers.empty() && used < this->pending.size())
    {
        const size_t n = std::min(chunk, this->pending.size() - used);
        const ALuint b = this->freeBuffers.back();
        alBufferData(b, this->channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, this->pending.data() + used,
                     (ALsizei)(n * sizeof(int16_t)), this->rate);
        alSourceQueueBuffers(this->source, 1, &b);
        if (alGetError() != AL_NO_ERROR) break;
        this->freeBuffers.pop_back();
        this->bytesQueued += n * sizeof(int16_t);
        used += n;
    }
    this->pending.erase(this->pending.begin(), this->pending.begin() + (ptrdiff_t)used);
    ALint state = 0;
    ALint queued = 0;
    alGetSourcei(this->source, AL_SOURCE_STATE, &state);
    alGetSourcei(this->source, AL_BUFFERS_QUEUED, &queued);
    if (state != AL_PLAYING && queued > 0)
    {
        alSourcePlay(this->source);
    }
}
