//------------------------------------------------------------------------------
//  Fuzz target: the Ogg Vorbis reader of the OpenAL sound resource, fed
//  from memory through the same kind of vorbisfile callbacks it uses
//  over engine files (read, seek with the three origins, tell).
//------------------------------------------------------------------------------
#include "nopenal/noggdecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace
{

struct MemoryStream
{
    const uint8_t* data;
    size_t size;
    size_t pos;
};

size_t MemRead(void* ptr, size_t size, size_t count, void* source)
{
    MemoryStream* s = static_cast<MemoryStream*>(source);
    if (0 == size) return 0;
    const size_t left = s->size - s->pos;
    const size_t n = count < left / size ? count : left / size;
    memcpy(ptr, s->data + s->pos, n * size);
    s->pos += n * size;
    return n;
}

int MemSeek(void* source, ogg_int64_t offset, int whence)
{
    MemoryStream* s = static_cast<MemoryStream*>(source);
    long long base;
    switch (whence)
    {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = (long long)s->pos; break;
        case SEEK_END: base = (long long)s->size; break;
        default: return -1;
    }
    const long long target = base + offset;
    if (target < 0 || target > (long long)s->size) return -1;
    s->pos = (size_t)target;
    return 0;
}

long MemTell(void* source)
{
    return (long)static_cast<MemoryStream*>(source)->pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryStream stream{data, size, 0};
    const ov_callbacks callbacks = {MemRead, MemSeek, nullptr, MemTell};
    nOggDecoder decoder;
    if (decoder.Decode(&stream, callbacks, "fuzz input"))
    {
        // every byte handed on must have been written by the decoder
        volatile char sum = 0;
        for (int i = 0; i < decoder.GetSize(); i++) sum = char(sum + decoder.GetData()[i]);
        (void)sum;
    }
    return 0;
}
