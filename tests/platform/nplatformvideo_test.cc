//------------------------------------------------------------------------------
//  The decoding layer over FFmpeg: pictures, their times, the sound track,
//  and what it makes of files that are no video, truncated or corrupt.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformvideo.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

std::vector<unsigned char> ReadFixture(const char* name)
{
    std::ifstream in(std::string(ENGINE_VIDEO_DATA) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<nPlatformVideoSource> Source(const std::vector<unsigned char>& bytes)
{
    return std::make_unique<nPlatformMemoryVideoSource>(bytes.data(), bytes.size());
}

/// the 75% colour bars of the top two thirds, left to right
const unsigned char Bars[7][3] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                                  {191, 0, 191},   {191, 0, 0},   {0, 0, 191}};

/// the RGB of a BGRA pixel
void Pixel(const nPlatformVideoFrame& f, int x, int y, int rgb[3])
{
    const unsigned char* p = &f.bgra[((size_t)y * (size_t)f.width + (size_t)x) * 4];
    rgb[0] = p[2];
    rgb[1] = p[1];
    rgb[2] = p[0];
}

/// plays a whole source; the last status and the number of pictures
nPlatformVideo::Status DecodeAll(nPlatformVideo& v, int& pictures, std::string& error, int limit = 1000)
{
    nPlatformVideoFrame f;
    nPlatformVideo::Status s = nPlatformVideo::Status::Frame;
    pictures = 0;
    while (pictures < limit && (s = v.NextFrame(f, error)) == nPlatformVideo::Status::Frame) pictures++;
    return s;
}

}  // namespace

TEST(PlatformVideo, TheFixtureDecodesToASecondOfColourBarsWithItsTone)
{
    nPlatformVideo v;
    std::string error;
    ASSERT_TRUE(v.Open(Source(ReadFixture("bars320.mpg")), error)) << error;
    EXPECT_EQ(v.GetWidth(), 320);
    EXPECT_EQ(v.GetHeight(), 240);
    EXPECT_DOUBLE_EQ(v.GetFrameDuration(), 0.04);
    ASSERT_TRUE(v.HasAudio());
    EXPECT_EQ(v.GetAudioRate(), 44100);
    EXPECT_EQ(v.GetAudioChannels(), 1);

    nPlatformVideoFrame f;
    ASSERT_EQ(v.NextFrame(f, error), nPlatformVideo::Status::Frame);
    EXPECT_EQ(f.time, 0.0);
    ASSERT_EQ(f.bgra.size(), 320u * 240u * 4u);
    for (int i = 0; i < 7; i++)
    {
        int rgb[3];
        Pixel(f, (int)((i + 0.5) * 320 / 7), 80, rgb);
        for (int c = 0; c < 3; c++) EXPECT_NEAR(rgb[c], Bars[i][c], 24) << "bar " << i << " channel " << c;
    }
    int pictures = 1;
    double last = f.time;
    nPlatformVideo::Status s;
    while ((s = v.NextFrame(f, error)) == nPlatformVideo::Status::Frame)
    {
        EXPECT_NEAR(f.time - last, 0.04, 1e-6);
        last = f.time;
        pictures++;
    }
    EXPECT_EQ(s, nPlatformVideo::Status::End);
    EXPECT_EQ(pictures, 25);
    std::vector<int16_t> sound;
    v.TakeAudio(sound);
    // a second at 44.1 kHz, give or take the encoder's last frame
    EXPECT_GT(sound.size(), 40000u);
    EXPECT_LT(sound.size(), 48000u);
    v.TakeAudio(sound);
    EXPECT_LT(sound.size(), 48000u);
}

TEST(PlatformVideo, AStreamWithoutTimestampsIsTimedByItsFrameRate)
{
    nPlatformVideo v;
    std::string error;
    ASSERT_TRUE(v.Open(Source(ReadFixture("bars64.m1v")), error)) << error;
    EXPECT_FALSE(v.HasAudio());
    nPlatformVideoFrame f;
    for (int i = 0; i < 5; i++)
    {
        ASSERT_EQ(v.NextFrame(f, error), nPlatformVideo::Status::Frame);
        EXPECT_NEAR(f.time, i * 0.04, 1e-6);
    }
    EXPECT_EQ(v.NextFrame(f, error), nPlatformVideo::Status::End);
}

struct OpenFailure
{
    const char* name;
    std::vector<unsigned char> bytes;
    const char* message;
};

TEST(PlatformVideo, WhatIsNoPlayableVideoIsRefusedWithItsReason)
{
    const std::vector<OpenFailure> cases = {
        {"empty", {}, "not a video file"},
        {"text", {'h', 'e', 'l', 'l', 'o', '\n'}, "not a video file"},
        {"sound only", ReadFixture("tone.mpg"), "no decodable video stream"},
        {"sound container", ReadFixture("tone.wav"), "not a video file"},
    };
    for (const OpenFailure& c : cases)
    {
        nPlatformVideo v;
        std::string error;
        EXPECT_FALSE(v.Open(Source(c.bytes), error)) << c.name;
        EXPECT_FALSE(v.IsOpen());
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
        nPlatformVideoFrame f;
        EXPECT_EQ(v.NextFrame(f, error), nPlatformVideo::Status::Error);
    }
}

TEST(PlatformVideo, TruncatedFilesOpenNotOrEndCleanly)
{
    const std::vector<unsigned char> whole = ReadFixture("bars320.mpg");
    for (size_t cut : {(size_t)1, (size_t)16, (size_t)200, (size_t)2048, whole.size() / 3, whole.size() / 2,
                       whole.size() - 100, whole.size() - 1})
    {
        const std::vector<unsigned char> part(whole.begin(), whole.begin() + (ptrdiff_t)cut);
        nPlatformVideo v;
        std::string error;
        if (!v.Open(Source(part), error))
        {
            EXPECT_FALSE(error.empty()) << cut;
            continue;
        }
        int pictures = 0;
        const nPlatformVideo::Status s = DecodeAll(v, pictures, error);
        EXPECT_NE(s, nPlatformVideo::Status::Frame) << cut;
        EXPECT_LE(pictures, 25) << cut;
        if (s == nPlatformVideo::Status::Error) EXPECT_FALSE(error.empty()) << cut;
    }
}

TEST(PlatformVideo, CorruptFilesOpenNotOrEndCleanly)
{
    const std::vector<unsigned char> whole = ReadFixture("bars320.mpg");
    // damage at a stride through the file: sparse bit flips up to runs of noise
    for (size_t stride : {(size_t)7, (size_t)97, (size_t)1000, (size_t)4096})
    {
        for (unsigned char pattern : {0xFF, 0x55, 0x00})
        {
            std::vector<unsigned char> bytes = whole;
            for (size_t i = stride / 2; i < bytes.size(); i += stride) bytes[i] ^= pattern ? pattern : bytes[i];
            nPlatformVideo v;
            std::string error;
            if (!v.Open(Source(bytes), error))
            {
                EXPECT_FALSE(error.empty()) << stride;
                continue;
            }
            int pictures = 0;
            const nPlatformVideo::Status s = DecodeAll(v, pictures, error);
            EXPECT_NE(s, nPlatformVideo::Status::Frame) << stride;
            if (s == nPlatformVideo::Status::Error) EXPECT_FALSE(error.empty()) << stride;
            std::vector<int16_t> sound;
            v.TakeAudio(sound);
        }
    }
}

TEST(PlatformVideo, SoundThatChangesItsLayoutMidStreamIsDroppedNotConverted)
{
    // a damaged file whose sound frames stop matching the converter made for the first
    nPlatformVideo v;
    std::string error;
    if (v.Open(Source(ReadFixture("soundlayoutchange.mpg")), error))
    {
        int pictures = 0;
        EXPECT_NE(DecodeAll(v, pictures, error), nPlatformVideo::Status::Frame);
        std::vector<int16_t> sound;
        v.TakeAudio(sound);
    }
}

/// a source that fails to read past a point, as a disk or archive that breaks off
class BreakingSource : public nPlatformMemoryVideoSource
{
public:
    BreakingSource(const std::vector<unsigned char>& b, int64_t breakAt) :
        nPlatformMemoryVideoSource(b.data(), b.size()), breakAt(breakAt)
    {
    }
    int Read(unsigned char* buffer, int size) override
    {
        if (this->Tell() >= this->breakAt) return -1;
        return nPlatformMemoryVideoSource::Read(buffer, (int)std::min<int64_t>(size, this->breakAt - this->Tell()));
    }

private:
    int64_t breakAt;
};

TEST(PlatformVideo, AFileThatCannotBeReadToItsEndStopsWithAMessageAfterWhatItHeld)
{
    const std::vector<unsigned char> whole = ReadFixture("bars320.mpg");
    nPlatformVideo v;
    std::string error;
    ASSERT_TRUE(v.Open(std::make_unique<BreakingSource>(whole, (int64_t)whole.size() / 2), error)) << error;
    int pictures = 0;
    EXPECT_EQ(DecodeAll(v, pictures, error), nPlatformVideo::Status::Error);
    EXPECT_GT(pictures, 0);
    EXPECT_LT(pictures, 25);
    EXPECT_NE(error.find("the file is damaged"), std::string::npos) << error;
}

TEST(PlatformVideo, ReopeningReleasesTheFormerFile)
{
    nPlatformVideo v;
    std::string error;
    ASSERT_TRUE(v.Open(Source(ReadFixture("bars320.mpg")), error));
    ASSERT_TRUE(v.Open(Source(ReadFixture("bars64.mpg")), error));
    EXPECT_EQ(v.GetWidth(), 64);
    v.Close();
    EXPECT_FALSE(v.IsOpen());
    EXPECT_EQ(v.GetWidth(), 0);
}
