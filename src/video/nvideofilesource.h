#ifndef N_VIDEOFILESOURCE_H
#define N_VIDEOFILESOURCE_H
//------------------------------------------------------------------------------
/**
    @class nVideoFileSource
    @ingroup Video

    The bytes of a video read through the engine's file server, so that
    videos inside npk archives play as well as loose ones. Owns one
    reference to an open nFile and releases it when it dies.
*/
#include "platform/nplatformvideo.h"

class nFile;

class nVideoFileSource : public nPlatformVideoSource
{
public:
    /// takes over the reference to an open file
    explicit nVideoFileSource(nFile* file);
    ~nVideoFileSource() override;
    nVideoFileSource(const nVideoFileSource&) = delete;
    nVideoFileSource& operator=(const nVideoFileSource&) = delete;

    int Read(unsigned char* buffer, int size) override;
    bool Seek(int64_t offset) override;
    int64_t Tell() const override;
    int64_t Size() const override;

private:
    nFile* file;
};
#endif
