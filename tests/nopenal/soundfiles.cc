//------------------------------------------------------------------------------
//  soundfiles.cc
//------------------------------------------------------------------------------
#include "soundfiles.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace
{

void Put16(std::string& s, unsigned v)
{
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}

void Put32(std::string& s, unsigned v)
{
    Put16(s, v & 0xffff);
    Put16(s, v >> 16);
}

/// a signed sample of v in [-1, 1] in that many little-endian bytes
void PutSigned(std::string& s, double v, int bytes)
{
    const double full = double((int64_t(1) << (8 * bytes - 1)) - 1);
    const uint32_t u = uint32_t(int32_t(std::llround(v * full)));
    for (int b = 0; b < bytes; b++) s += char((u >> (8 * b)) & 0xff);
}

/// the tone's value at a frame, in [-0.5, 0.5]
double Tone(int frame, int rate, double freq)
{
    return 0.5 * std::sin(2.0 * M_PI * freq * frame / rate);
}

/// append the pages the stream has ready (all of them when flush is set)
void TakePages(ogg_stream_state& os, std::string& out, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page))
    {
        out.append(reinterpret_cast<const char*>(page.header), page.header_len);
        out.append(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

}  // namespace

std::string MakeWav(int bits, int channels, int rate, int frames, double freq)
{
    const int bytesPerSample = bits / 8;
    const unsigned dataSize = unsigned(frames * channels * bytesPerSample);
    std::string s = "RIFF";
    Put32(s, 36 + dataSize);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);
    Put16(s, channels);
    Put32(s, rate);
    Put32(s, rate * channels * bytesPerSample);
    Put16(s, channels * bytesPerSample);
    Put16(s, bits);
    s += "data";
    Put32(s, dataSize);
    for (int f = 0; f < frames; f++)
    {
        const double v = Tone(f, rate, freq);
        for (int c = 0; c < channels; c++)
        {
            if (8 == bits) s += char(uint8_t(128 + std::lround(v * 127)));
            else PutSigned(s, v, bits / 8);
        }
    }
    return s;
}

std::string MakeOgg(int channels, int rate, int frames, double freq)
{
    vorbis_info vi;
    vorbis_info_init(&vi);
    vorbis_encode_init_vbr(&vi, channels, rate, 0.3f);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);

    std::string out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    TakePages(os, out, true);

    auto drain = [&]() {
        while (1 == vorbis_analysis_blockout(&vd, &vb))
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet))
            {
                ogg_stream_packetin(&os, &packet);
                TakePages(os, out, false);
            }
        }
    };
    const int chunk = 4096;
    for (int done = 0; done < frames; done += chunk)
    {
        const int n = std::min(chunk, frames - done);
        float** buf = vorbis_analysis_buffer(&vd, n);
        for (int i = 0; i < n; i++)
        {
            for (int c = 0; c < channels; c++) buf[c][i] = float(Tone(done + i, rate, freq));
        }
        vorbis_analysis_wrote(&vd, n);
        drain();
    }
    vorbis_analysis_wrote(&vd, 0);
    drain();
    TakePages(os, out, true);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    return bool(out);
}
