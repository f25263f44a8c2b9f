#ifndef N_WAVDECODER_H
#define N_WAVDECODER_H
//------------------------------------------------------------------------------
/**
    @class nWavDecoder
    @ingroup OpenAL

    Decodes the image of a WAV file in memory through the OpenAL utility
    toolkit. The toolkit's reader of memory images reads past the end of
    a short image instead of failing, so an image is first walked chunk
    by chunk, as that reader walks it, and only handed on when every
    chunk up to the sample data lies inside it. The toolkit must be
    initialised and an OpenAL context current.
*/
#include <AL/al.h>

#include <cstddef>

class nWavDecoder
{
public:
    nWavDecoder() = default;
    ~nWavDecoder();
    nWavDecoder(const nWavDecoder&) = delete;
    nWavDecoder& operator=(const nWavDecoder&) = delete;

    /// decode the image; false with "alutLoadWAVFile <name> : <reason>" (the reader takes
    /// 8 and 16 bits per sample only; wider ones are named: "24-bit samples are not supported")
    bool Decode(const void* image, size_t size, const char* name);

    /// the samples in the OpenAL format below
    const void* GetData() const { return this->data; }
    ALsizei GetSize() const { return this->size; }
    ALenum GetFormat() const { return this->format; }
    ALsizei GetRate() const { return this->rate; }

    /// true when the image is RIFF WAVE with every chunk up to "data" inside it
    static bool IsWhole(const unsigned char* bytes, size_t size);
    /// the bits per sample the format chunk declares; 0 without one
    static int BitsPerSample(const unsigned char* bytes, size_t size);

private:
    /// print why the toolkit refused the image
    static void ReportRefusal(const unsigned char* bytes, size_t size, const char* name, ALenum error);

    void* data = nullptr;
    ALsizei size = 0;
    ALenum format = 0;
    ALsizei rate = 0;
};
#endif
