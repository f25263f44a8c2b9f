#ifndef N_PLATFORMVIDEO_H
#define N_PLATFORMVIDEO_H
//------------------------------------------------------------------------------
/**
    @class nPlatformVideo
    @ingroup Platform

    One video file opened for decoding, closed when the object dies: the
    container is read through a byte source of the caller's (so that the
    engine's archives serve videos too), the best video stream is decoded
    picture by picture and converted to 32-bit BGRA at the stream's size,
    and the best sound stream, when there is one, is decoded alongside
    into interleaved signed 16-bit samples (mono, or stereo for anything
    with more channels).

    Knows nothing of the engine. Bad input (no video stream, a codec that
    cannot be opened, pictures of absurd size, a decoder that keeps
    failing) ends in a message, never in a crash.
*/
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// where the bytes of a video come from
class nPlatformVideoSource
{
public:
    virtual ~nPlatformVideoSource() = default;
    /// up to size bytes into buffer; the count read, 0 at the end, -1 on failure
    virtual int Read(unsigned char* buffer, int size) = 0;
    /// move to an offset from the start; false when that fails
    virtual bool Seek(int64_t offset) = 0;
    /// the current offset from the start
    virtual int64_t Tell() const = 0;
    /// the size in bytes, -1 when unknown
    virtual int64_t Size() const = 0;
};

/// a byte source over a copy of a memory block
class nPlatformMemoryVideoSource : public nPlatformVideoSource
{
public:
    nPlatformMemoryVideoSource(const void* data, size_t size);
    int Read(unsigned char* buffer, int size) override;
    bool Seek(int64_t offset) override;
    int64_t Tell() const override { return this->pos; }
    int64_t Size() const override { return (int64_t)this->bytes.size(); }

private:
    std::vector<unsigned char> bytes;
    int64_t pos = 0;
};

/// one converted picture
struct nPlatformVideoFrame
{
    int width = 0;
    int height = 0;
    /// seconds from the first picture of the stream
    double time = 0.0;
    /// width * height pixels as the bytes B, G, R, A, row 0 on top
    std::vector<unsigned char> bgra;
};

class nPlatformVideo
{
public:
    /// what the next picture request ended in
    enum class Status
    {
        Frame,
        End,
        Error,
    };

    /// the largest side of a picture the decoder accepts
    static constexpr int MaxSide = 16384;
    /// the most pixels of a picture (twice 3840x2160): a corrupt header cannot claim gigabytes
    static constexpr int64_t MaxPixels = 2LL * 3840 * 2160;

    nPlatformVideo();
    ~nPlatformVideo();
    nPlatformVideo(const nPlatformVideo&) = delete;
    nPlatformVideo& operator=(const nPlatformVideo&) = delete;

    /// open the container and its decoders; false with the reason in 'error'
    bool Open(std::unique_ptr<nPlatformVideoSource> source, std::string& error);
    /// close everything; nothing when closed
    void Close();
    bool IsOpen() const;

    /// the size of the pictures
    int GetWidth() const;
    int GetHeight() const;
    /// seconds per picture by the stream's frame rate (1/25 when it has none)
    double GetFrameDuration() const;
    /// whether a sound track is decoded alongside
    bool HasAudio() const;
    /// samples per second and channels (1 or 2) of the decoded sound
    int GetAudioRate() const;
    int GetAudioChannels() const;

    /// decode the next picture without converting it
    Status Decode(double& time, std::string& error);
    /// the picture Decode gave, converted to BGRA at the stream's size
    void Convert(nPlatformVideoFrame& frame);
    /// Decode, then Convert
    Status NextFrame(nPlatformVideoFrame& frame, std::string& error);
    /// move the sound decoded so far (interleaved samples) to the end of 'out'
    void TakeAudio(std::vector<int16_t>& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};
#endif
