//------------------------------------------------------------------------------
//  nplatformvideo.cc
//------------------------------------------------------------------------------
#include "platform/nplatformvideo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace
{

/// bytes the container reader asks the source for at a time
constexpr int IoBufferSize = 32768;
/// decode failures in a row after which a video counts as broken
constexpr int MaxErrorsInRow = 16;
/// the most sound samples kept for the caller (half a minute of stereo at 48 kHz)
constexpr size_t MaxQueuedSamples = 48000 * 2 * 30;
/// the largest jump between two pictures a timestamp may make; a larger one is damage
constexpr double MaxTimestampGap = 5.0;

struct FormatCloser
{
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct IoCloser
{
    void operator()(AVIOContext* io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct CodecCloser
{
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser
{
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsCloser
{
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct SwrCloser
{
    void operator()(SwrContext* s) const { swr_free(&s); }
};

/// the library's text for an error code
std::string ErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(code, text, sizeof(text));
    return text;
}

/// the containers a video may come in; others (sound, images, playlists, network protocols)
/// are refused before their readers see a byte of header
const char* const VideoContainers = "mpeg,mpegvideo,mpegts,avi,mov,matroska,ogg,h264,hevc,m4v";
/// the decoders a video's pictures and sound may need; the library has
/// hundreds more, and none of them is opened on a stream of a file from outside
const char* const VideoCodecs = "mpeg1video,mpeg2video,mpeg4,msmpeg4,msmpeg4v2,h263,h264,hevc,vp8,vp9,theora,mjpeg,"
                                "mp1,mp1float,mp2,mp2float,mp3,mp3float,aac,ac3,vorbis,opus,flac,"
                                "pcm_s16le,pcm_s16be,pcm_u8";
/*
 * SetUpLibrary --
 *     Side effects: once per process, the library writes nothing to
 *     standard error: every failure reaches the caller as a message. (A cap
 *     on its allocations would send damaged headers down error paths of
 *     the library that fuzzing found unsound.)
 */
void SetUpLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

/*
 * OpenDecoder --
 *     Results: an opened single-threaded decoder for the stream, or null.
 */
std::unique_ptr<AVCodecContext, CodecCloser> OpenDecoder(const AVStream* stream, const AVCodec* codec)
{
    if (!codec)
    {
        return nullptr;
    }
    std::unique_ptr<AVCodecContext, CodecCloser> ctx(avcodec_alloc_context3(codec));
    if (!ctx || avcodec_parameters_to_context(ctx.get(), stream->codecpar) < 0)
    {
        return nullptr;
    }
    ctx->thread_count = 1;
    ctx->codec_whitelist = av_strdup(VideoCodecs);
    ctx->pkt_timebase = stream->time_base;
    if (avcodec_open2(ctx.get(), codec, nullptr) < 0)
    {
        return nullptr;
    }
    return ctx;
}

}  // namespace

//--- memory source ------------------------------------------------------------------

nPlatformMemoryVideoSource::nPlatformMemoryVideoSource(const void* data, size_t size) :
    bytes(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size)
{
}

int nPlatformMemoryVideoSource::Read(unsigned char* buffer, int size)
{
    const int64_t left = (int64_t)this->bytes.size() - this->pos;
    const int n = (int)std::max<int64_t>(0, std::min<int64_t>(left, size));
    if (n > 0)
    {
        memcpy(buffer, this->bytes.data() + this->pos, (size_t)n);
        this->pos += n;
    }
    return n;
}

bool nPlatformMemoryVideoSource::Seek(int64_t offset)
{
    if (offset < 0 || offset > (int64_t)this->bytes.size())
    {
        return false;
    }
    this->pos = offset;
    return true;
}

//--- the decoder ------------------------------------------------------------------------

struct nPlatformVideo::Impl
{
    std::unique_ptr<nPlatformVideoSource> source;
    // the container goes before its reader: members die in reverse order
    std::unique_ptr<AVIOContext, IoCloser> io;
    std::unique_ptr<AVFormatContext, FormatCloser> format;
    std::unique_ptr<AVCodecContext, CodecCloser> video;
    std::unique_ptr<AVCodecContext, CodecCloser> audio;
    std::unique_ptr<SwrContext, SwrCloser> resampler;
    std::unique_ptr<SwsContext, SwsCloser> scaler;
    std::unique_ptr<AVFrame, FrameCloser> picture{av_frame_alloc()};
    std::unique_ptr<AVFrame, FrameCloser> sound{av_frame_alloc()};
    std::unique_ptr<AVPacket, PacketCloser> packet{av_packet_alloc()};
    int videoStream = -1;
    int audioStream = -1;
    int width = 0;
    int height = 0;
    double frameDuration = 1.0 / 25.0;
    int audioChannels = 0;
    int audioRate = 0;
    /// the layout the converter was made for: other sound is dropped
    int audioInFormat = -1;
    int audioInChannels = 0;
    std::vector<int16_t> audioQueue;
    bool draining = false;
    /// why reading stopped early, empty when the file simply ended
    std::string readFailure;
    int errorsInRow = 0;
    int64_t firstTimestamp = AV_NOPTS_VALUE;
    bool hasPicture = false;
    double lastTime = 0.0;

    static int ReadPacket(void* opaque, uint8_t* buf, int size);
    static int64_t SeekPacket(void* opaque, int64_t offset, int whence);
    bool OpenContainer(std::string& error);
    bool OpenVideo(std::string& error);
    void OpenAudio();
    double PictureTime(const AVFrame* f);
    void DecodeAudio(const AVPacket* p);
    void StartDraining();
    /// counts a failure; true when there were too many in a row
    bool TooManyErrors() { return ++this->errorsInRow > MaxErrorsInRow; }
};

/*
 * ReadPacket, SeekPacket --
 *     The container reader's callbacks over the caller's source.
 */
int nPlatformVideo::Impl::ReadPacket(void* opaque, uint8_t* buf, int size)
{
    nPlatformVideoSource* src = static_cast<Impl*>(opaque)->source.get();
    const int n = src->Read(buf, size);
    if (n == 0)
    {
        return AVERROR_EOF;
    }
    return n < 0 ? AVERROR(EIO) : n;
}

int64_t nPlatformVideo::Impl::SeekPacket(void* opaque, int64_t offset, int whence)
{
    nPlatformVideoSource* src = static_cast<Impl*>(opaque)->source.get();
    if (whence & AVSEEK_SIZE)
    {
        return src->Size() >= 0 ? src->Size() : AVERROR(ENOSYS);
    }
    whence &= ~AVSEEK_FORCE;
    int64_t target = offset;
    if (SEEK_CUR == whence)
    {
        target = src->Tell() + offset;
    }
    else if (SEEK_END == whence)
    {
        if (src->Size() < 0) return AVERROR(ENOSYS);
        target = src->Size() + offset;
    }
    else if (SEEK_SET != whence)
    {
        return AVERROR(EINVAL);
    }
    return src->Seek(target) ? target : AVERROR(EIO);
}

/*
 * OpenContainer --
 *     Results: false with the reason when the bytes are no container the
 *     library knows or its streams cannot be read.
 */
bool nPlatformVideo::Impl::OpenContainer(std::string& error)
{
    unsigned char* buffer = static_cast<unsigned char*>(av_malloc(IoBufferSize));
    if (!buffer)
    {
        error = "out of memory";
        return false;
    }
    AVIOContext* reader = avio_alloc_context(buffer, IoBufferSize, 0, this, ReadPacket, nullptr, SeekPacket);
    if (!reader)
    {
        av_free(buffer);
        error = "out of memory";
        return false;
    }
    this->io.reset(reader);
    AVFormatContext* fmt = avformat_alloc_context();
    if (!fmt)
    {
        error = "out of memory";
        return false;
    }
    fmt->pb = reader;
    fmt->flags |= AVFMT_FLAG_CUSTOM_IO;
    fmt->format_whitelist = av_strdup(VideoContainers);
    fmt->codec_whitelist = av_strdup(VideoCodecs);
    // a failed open frees the context
    const int r = avformat_open_input(&fmt, nullptr, nullptr, nullptr);
    if (r < 0)
    {
        error = "not a video file (" + ErrorText(r) + ")";
        return false;
    }
    this->format.reset(fmt);
    if (avformat_find_stream_info(fmt, nullptr) < 0)
    {
        error = "its streams cannot be read";
        return false;
    }
    return true;
}

/*
 * OpenVideo --
 *     Results: false with the reason when there is no video stream, no
 *     decoder for it, or its picture size is none or absurd.
 *     Side effects: the decoder, the size and the picture duration.
 */
bool nPlatformVideo::Impl::OpenVideo(std::string& error)
{
    const AVCodec* codec = nullptr;
    this->videoStream = av_find_best_stream(this->format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (this->videoStream < 0)
    {
        error = "no decodable video stream";
        return false;
    }
    AVStream* stream = this->format->streams[this->videoStream];
    this->video = OpenDecoder(stream, codec);
    if (!this->video)
    {
        error = "no decodable video stream (the decoder cannot be opened)";
        return false;
    }
    this->width = this->video->width;
    this->height = this->video->height;
    if (this->width <= 0 || this->height <= 0 || this->width > MaxSide || this->height > MaxSide ||
        (int64_t)this->width * this->height > MaxPixels)
    {
        error = "pictures of " + std::to_string(this->width) + "x" + std::to_string(this->height) +
                " cannot be shown";
        return false;
    }
    const AVRational rate = av_guess_frame_rate(this->format.get(), stream, nullptr);
    if (rate.num > 0 && rate.den > 0)
    {
        this->frameDuration = std::clamp(av_q2d(av_inv_q(rate)), 1.0 / 240.0, 1.0);
    }
    return true;
}

/*
 * OpenAudio --
 *     Side effects: a decoder and a converter for the best sound stream;
 *     a sound track that cannot be decoded leaves the video silent.
 */
void nPlatformVideo::Impl::OpenAudio()
{
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(this->format.get(), AVMEDIA_TYPE_AUDIO, -1, this->videoStream, &codec, 0);
    if (index < 0)
    {
        return;
    }
    auto ctx = OpenDecoder(this->format->streams[index], codec);
    if (!ctx || ctx->ch_layout.nb_channels <= 0 || ctx->sample_rate <= 0 || ctx->sample_rate > 384000)
    {
        return;
    }
    const int channels = std::min(2, ctx->ch_layout.nb_channels);
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, channels);
    SwrContext* swr = nullptr;
    const int r = swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_S16, ctx->sample_rate, &ctx->ch_layout,
                                      ctx->sample_fmt, ctx->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    std::unique_ptr<SwrContext, SwrCloser> resampler(swr);
    if (r < 0 || !resampler || swr_init(resampler.get()) < 0)
    {
        return;
    }
    this->audioStream = index;
    this->audioInFormat = ctx->sample_fmt;
    this->audioInChannels = ctx->ch_layout.nb_channels;
    this->audioChannels = channels;
    this->audioRate = ctx->sample_rate;
    this->audio = std::move(ctx);
    this->resampler = std::move(resampler);
}

/*
 * PictureTime --
 *     Results: the picture's time in seconds from the first picture. A
 *     picture without a presentation timestamp, or one whose timestamp runs backwards
 *     or jumps absurdly far, comes one picture duration after the last.
 */
double nPlatformVideo::Impl::PictureTime(const AVFrame* f)
{
    const double next = this->hasPicture ? this->lastTime + this->frameDuration : 0.0;
    // the decoder's own guess from decoding times is no timestamp: without one the frame rate counts
    const int64_t ts = f->pts;
    double t = next;
    if (AV_NOPTS_VALUE != ts)
    {
        if (AV_NOPTS_VALUE == this->firstTimestamp)
        {
            this->firstTimestamp = ts;
        }
        t = (double)(ts - this->firstTimestamp) * av_q2d(this->format->streams[this->videoStream]->time_base);
    }
    if (!std::isfinite(t) || (this->hasPicture && (t <= this->lastTime || t > this->lastTime + MaxTimestampGap)) ||
        t < 0.0)
    {
        t = next;
    }
    this->hasPicture = true;
    this->lastTime = t;
    return t;
}

/*
 * DecodeAudio --
 *     Side effects: the packet's sound (or, for null, what the decoder
 *     still holds) is appended to the queue while it has room; sound in
 *     another layout than the converter was made for is dropped.
 */
void nPlatformVideo::Impl::DecodeAudio(const AVPacket* p)
{
    if (avcodec_send_packet(this->audio.get(), p) < 0)
    {
        return;
    }
    AVFrame* f = this->sound.get();
    while (avcodec_receive_frame(this->audio.get(), f) == 0)
    {
        const bool sameLayout = f->format == this->audioInFormat && f->sample_rate == this->audioRate &&
                                f->ch_layout.nb_channels == this->audioInChannels && f->extended_data &&
                                f->nb_samples > 0;
        const int room = swr_get_out_samples(this->resampler.get(), f->nb_samples);
        if (sameLayout && room > 0 && this->audioQueue.size() < MaxQueuedSamples)
        {
            std::vector<int16_t> converted((size_t)room * (size_t)this->audioChannels);
            uint8_t* out = reinterpret_cast<uint8_t*>(converted.data());
            const int n = swr_convert(this->resampler.get(), &out, room, const_cast<const uint8_t**>(f->extended_data),
                                      f->nb_samples);
            if (n > 0)
            {
                this->audioQueue.insert(this->audioQueue.end(), converted.begin(),
                                        converted.begin() + (ptrdiff_t)n * this->audioChannels);
            }
        }
        av_frame_unref(f);
    }
}

/*
 * StartDraining --
 *     Side effects: the decoders are told that no more packets come.
 */
void nPlatformVideo::Impl::StartDraining()
{
    this->draining = true;
    avcodec_send_packet(this->video.get(), nullptr);
    if (this->audio)
    {
        this->DecodeAudio(nullptr);
    }
}

nPlatformVideo::nPlatformVideo() = default;

nPlatformVideo::~nPlatformVideo() = default;

/*
 * Open --
 *     Results: false with the reason in 'error' when the source holds no
 *     video that can be decoded; the object is closed then.
 *     Side effects: closes what was open before.
 */
bool nPlatformVideo::Open(std::unique_ptr<nPlatformVideoSource> source, std::string& error)
{
    this->Close();
    SetUpLibrary();
    if (!source)
    {
        error = "no source";
        return false;
    }
    this->impl = std::make_unique<Impl>();
    this->impl->source = std::move(source);
    if (!this->impl->picture || !this->impl->sound || !this->impl->packet)
    {
        error = "out of memory";
        this->Close();
        return false;
    }
    if (!this->impl->OpenContainer(error) || !this->impl->OpenVideo(error))
    {
        this->Close();
        return false;
    }
    this->impl->OpenAudio();
    return true;
}

void nPlatformVideo::Close()
{
    this->impl.reset();
}

bool nPlatformVideo::IsOpen() const
{
    return this->impl != nullptr;
}

int nPlatformVideo::GetWidth() const
{
    return this->impl ? this->impl->width : 0;
}

int nPlatformVideo::GetHeight() const
{
    return this->impl ? this->impl->height : 0;
}

double nPlatformVideo::GetFrameDuration() const
{
    return this->impl ? this->impl->frameDuration : 1.0 / 25.0;
}

bool nPlatformVideo::HasAudio() const
{
    return this->impl && this->impl->audio;
}

int nPlatformVideo::GetAudioRate() const
{
    return this->HasAudio() ? this->impl->audioRate : 0;
}

int nPlatformVideo::GetAudioChannels() const
{
    return this->HasAudio() ? this->impl->audioChannels : 0;
}

/*
 * Decode --
 *     Results: Frame with the picture's time; End after the last
 *     picture; Error with the reason when the file is damaged (it could
 *     not be read to its end, or the decoder failed too often in a row).
 *     Side effects: reads packets, decoding the sound it meets on the way.
 */
nPlatformVideo::Status nPlatformVideo::Decode(double& time, std::string& error)
{
    if (!this->impl)
    {
        error = "no video is open";
        return Status::Error;
    }
    Impl& d = *this->impl;
    for (;;)
    {
        av_frame_unref(d.picture.get());
        const int got = avcodec_receive_frame(d.video.get(), d.picture.get());
        if (0 == got)
        {
            d.errorsInRow = 0;
            time = d.PictureTime(d.picture.get());
            return Status::Frame;
        }
        if (AVERROR_EOF == got)
        {
            if (!d.readFailure.empty())
            {
                error = d.readFailure;
                return Status::Error;
            }
            return Status::End;
        }
        if (AVERROR(EAGAIN) != got)
        {
            if (d.TooManyErrors())
            {
                error = "the video keeps failing to decode (" + ErrorText(got) + ")";
                return Status::Error;
            }
            continue;
        }
        if (d.draining)
        {
            // a decoder that wants input after the end has nothing more
            return d.readFailure.empty() ? Status::End : (error = d.readFailure, Status::Error);
        }
        const int r = av_read_frame(d.format.get(), d.packet.get());
        if (r < 0)
        {
            if (AVERROR_EOF != r)
            {
                d.readFailure = "the file is damaged (" + ErrorText(r) + ")";
            }
            d.StartDraining();
            continue;
        }
        if (d.packet->stream_index == d.videoStream)
        {
            if (avcodec_send_packet(d.video.get(), d.packet.get()) < 0 && d.TooManyErrors())
            {
                av_packet_unref(d.packet.get());
                error = "the video keeps failing to decode";
                return Status::Error;
            }
        }
        else if (d.packet->stream_index == d.audioStream)
        {
            d.DecodeAudio(d.packet.get());
        }
        av_packet_unref(d.packet.get());
    }
}

/*
 * Convert --
 *     Side effects: 'frame' holds the last decoded picture as BGRA at the
 *     stream's size (a picture of another size is scaled to it), or black
 *     when there is none or it cannot be converted.
 */
void nPlatformVideo::Convert(nPlatformVideoFrame& frame)
{
    const int w = this->GetWidth();
    const int h = this->GetHeight();
    frame.width = w;
    frame.height = h;
    frame.bgra.assign((size_t)w * (size_t)h * 4, 0);
    if (!this->impl)
    {
        return;
    }
    Impl& d = *this->impl;
    const AVFrame* f = d.picture.get();
    frame.time = d.lastTime;
    if (f->width <= 0 || f->height <= 0 || f->width > MaxSide || f->height > MaxSide || !f->data[0])
    {
        return;
    }
    d.scaler.reset(sws_getCachedContext(d.scaler.release(), f->width, f->height, (AVPixelFormat)f->format, w, h,
                                        AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!d.scaler)
    {
        return;
    }
    uint8_t* dst[4] = {frame.bgra.data(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {w * 4, 0, 0, 0};
    sws_scale(d.scaler.get(), f->data, f->linesize, 0, f->height, dst, dstStride);
}

nPlatformVideo::Status nPlatformVideo::NextFrame(nPlatformVideoFrame& frame, std::string& error)
{
    double t = 0.0;
    const Status s = this->Decode(t, error);
    if (Status::Frame == s)
    {
        this->Convert(frame);
        frame.time = t;
    }
    return s;
}

void nPlatformVideo::TakeAudio(std::vector<int16_t>& out)
{
    if (!this->impl)
    {
        return;
    }
    std::vector<int16_t>& q = this->impl->audioQueue;
    out.insert(out.end(), q.begin(), q.end());
    q.clear();
}
