#ifndef N_OGGDECODER_H
#define N_OGGDECODER_H
//------------------------------------------------------------------------------
/**
    @class nOggDecoder
    @ingroup OpenAL

    Decodes a whole Ogg Vorbis stream, read through vorbisfile callbacks,
    into 16-bit signed little-endian samples in memory. The stream comes
    from outside, so nothing in it is trusted: the announced length is
    computed in 64 bits and capped, only mono and stereo are taken, holes
    are skipped a bounded number of times, and only the bytes actually
    decoded are kept. A failure prints a message naming the stream.
*/
#include <vorbis/vorbisfile.h>

class nOggDecoder
{
public:
    /// the largest decoded size taken, in bytes
    static constexpr long long MaxBytes = 256LL * 1024 * 1024;
    /// the most holes skipped in one stream
    static constexpr int MaxHoles = 64;

    nOggDecoder() = default;
    ~nOggDecoder();
    nOggDecoder(const nOggDecoder&) = delete;
    nOggDecoder& operator=(const nOggDecoder&) = delete;

    /// decode the stream; the callbacks' close function is not used
    bool Decode(void* dataSource, const ov_callbacks& callbacks, const char* name);

    /// the decoded samples
    const char* GetData() const { return this->data; }
    /// the number of decoded bytes, whole frames only
    int GetSize() const { return this->size; }
    int GetChannels() const { return this->channels; }
    int GetRate() const { return this->rate; }

    /// the name of a vorbisfile result code
    static const char* ResultName(long long result);

private:
    /// decode into the allocated buffer; false on a read error
    bool DecodeAll(OggVorbis_File* vf, const char* name);

    char* data = nullptr;
    int capacity = 0;
    int size = 0;
    int channels = 0;
    int rate = 0;
};
#endif
