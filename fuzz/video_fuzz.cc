//------------------------------------------------------------------------------
//  Fuzz target: opening a video file and decoding its first pictures and
//  sound (container, decoders, timestamps, conversion) over images in
//  memory, as the video server reads a file.
//------------------------------------------------------------------------------
#include "platform/nplatformvideo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    nPlatformVideo video;
    std::string error;
    if (!video.Open(std::make_unique<nPlatformMemoryVideoSource>(data, size), error))
    {
        return 0;
    }
    nPlatformVideoFrame frame;
    std::vector<int16_t> sound;
    // a few pictures reach every stage; a whole file would only repeat them
    for (int i = 0; i < 8 && video.NextFrame(frame, error) == nPlatformVideo::Status::Frame; i++)
    {
        video.TakeAudio(sound);
    }
    return 0;
}
