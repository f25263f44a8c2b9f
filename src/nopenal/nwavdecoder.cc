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

}  // namespace

nWavDecoder::~nWavDecoder()
{
    free(this->data);
}

/*
 * IsWhole --
 *     Results: true when the bytes are a RIFF WAVE file whose chunks, up
 *     to and including the data chunk, lie wholly inside them. Chunks of
 *     odd length are followed by a pad byte unless the image ends there,
 *     as the toolkit reads them.
 */
bool nWavDecoder::IsWhole(const unsigned char* bytes, size_t size)
{
    if (size < 12 || 0 != memcmp(bytes, "RIFF", 4) || 0 != memcmp(bytes + 8, "WAVE", 4))
    {
        return false;
    }
    size_t pos = 12;
    while (size - pos >= 8)
    {
        const bool isData = 0 == memcmp(bytes + pos, "data", 4);
        const size_t length = ReadLE32(bytes + pos + 4);
        pos += 8;
        if (length > size - pos)
        {
            return false;
        }
        if (isData)
        {
            return true;
        }
        pos += length;
        if ((length & 1) && pos < size)
        {
            pos++;
        }
    }
    return false;
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
        n_printf("alutLoadWAVFile %s : %s\n", name, alutGetErrorString(alutGetError()));
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
