//------------------------------------------------------------------------------
//  nwavdecoder.cc
//------------------------------------------------------------------------------
#include "nopenal/nwavdecoder.h"
#include "kernel/ntypes.h"

#include <AL/alut.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

uint32_t ReadLE32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

/*
 * WalkChunks --
 *     Results: true when the bytes are a RIFF WAVE file whose chunks, up
 *     to and including the data chunk, lie wholly inside them. Chunks of
 *     odd length are followed by a pad byte unless the image ends there,
 *     as the toolkit reads them.
 *     Side effects: calls visit(id, body, length) for each whole chunk
 *     before the data chunk.
 */
template <class VISIT>
bool WalkChunks(const unsigned char* bytes, size_t size, VISIT&& visit)
{
    if (size < 12 || 0 != memcmp(bytes, "RIFF", 4) || 0 != memcmp(bytes + 8, "WAVE", 4))
    {
        return false;
    }
    size_t pos = 12;
    while (size - pos >= 8)
    {
        const unsigned char* id = bytes + pos;
        const size_t length = ReadLE32(bytes + pos + 4);
        pos += 8;
        if (length > size - pos)
        {
            return false;
        }
        if (0 == memcmp(id, "data", 4))
        {
            return true;
        }
        visit(id, bytes + pos, length);
        pos += length;
        if ((length & 1) && pos < size)
        {
            pos++;
        }
    }
    return false;
}

}  // namespace

nWavDecoder::~nWavDecoder()
{
    free(this->data);
}

bool nWavDecoder::IsWhole(const unsigned char* bytes, size_t size)
{
    return WalkChunks(bytes, size, [](const unsigned char*, const unsigned char*, size_t) {});
}

/*
 * BitsPerSample --
 *     Results: the sample width the last whole format chunk before the
 *     data declares; 0 when there is none.
 */
int nWavDecoder::BitsPerSample(const unsigned char* bytes, size_t size)
{
    int bits = 0;
    WalkChunks(bytes, size, [&bits](const unsigned char* id, const unsigned char* body, size_t length) {
        if (0 == memcmp(id, "fmt ", 4) && length >= 16) bits = int(body[14]) | (int(body[15]) << 8);
    });
    return bits;
}

/*
 * ReportRefusal --
 *     Side effects: prints why the toolkit refused the image: its own
 *     error text, except that samples wider than 16 bits, which the
 *     toolkit reads no more than it reads other unknown modes, are named
 *     as such; a valid file can hold them.
 */
void nWavDecoder::ReportRefusal(const unsigned char* bytes, size_t size, const char* name, ALenum error)
{
    const int bits = BitsPerSample(bytes, size);
    if (ALUT_ERROR_UNSUPPORTED_FILE_SUBTYPE == error && bits > 16)
    {
        n_printf("alutLoadWAVFile %s : %d-bit samples are not supported\n", name, bits);
        return;
    }
    n_printf("alutLoadWAVFile %s : %s\n", name, alutGetErrorString(error));
}

/*
 * Decode --
 *     Results: true with the samples, their format and rate; false after
 *     printing the file name and the toolkit's error text. A failure of
 *     the toolkit shows as a null data pointer.
 */
bool nWavDecoder::Decode(const void* image, size_t imageSize, const char* name)
{
    free(this->data);
    this->data = nullptr;
    if (!IsWhole(static_cast<const unsigned char*>(image), imageSize) || imageSize > 0x7fffffff)
    {
        n_printf("alutLoadWAVFile %s : %s\n", name, alutGetErrorString(ALUT_ERROR_CORRUPT_OR_TRUNCATED_DATA));
        return false;
    }
    ALfloat frequency = 0.0f;
    alutGetError();
    this->data = alutLoadMemoryFromFileImage(image, (ALsizei)imageSize, &this->format, &this->size, &frequency);
    if (!this->data)
    {
        ReportRefusal(static_cast<const unsigned char*>(image), imageSize, name, alutGetError());
        return false;
    }
    if (!(frequency >= 1.0f && frequency <= 768000.0f))
    {
        n_printf("alutLoadWAVFile %s : sample rate %g out of range\n", name, frequency);
        return false;
    }
    this->rate = (ALsizei)frequency;
    return true;
}
