//------------------------------------------------------------------------------
//  Fuzz target: the WAV reader of the OpenAL sound resource (the chunk
//  walk that guards the utility toolkit, then the toolkit's own decoder)
//  over images in memory. The toolkit needs a current OpenAL context, so
//  the target opens OpenAL Soft's null driver once.
//------------------------------------------------------------------------------
#include "nopenal/nwavdecoder.h"

#include <AL/alc.h>
#include <AL/alut.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    ALCdevice* device = alcOpenDevice(nullptr);
    ALCcontext* context = device ? alcCreateContext(device, nullptr) : nullptr;
    if (!context || !alcMakeContextCurrent(context) || !alutInitWithoutContext(nullptr, nullptr))
    {
        fprintf(stderr, "wavreader_fuzz: no OpenAL context on the null driver\n");
        abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    nWavDecoder decoder;
    if (decoder.Decode(data, size, "fuzz input"))
    {
        volatile unsigned char sum = 0;
        const unsigned char* samples = static_cast<const unsigned char*>(decoder.GetData());
        for (ALsizei i = 0; i < decoder.GetSize(); i++) sum = (unsigned char)(sum + samples[i]);
        (void)sum;
    }
    return 0;
}
