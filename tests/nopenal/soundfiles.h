#ifndef TESTS_NOPENAL_SOUNDFILES_H
#define TESTS_NOPENAL_SOUNDFILES_H
//------------------------------------------------------------------------------
//  Test sounds made on the spot: a sine tone as the bytes of a WAV file
//  (8, 16, 24 or 32 bit integers, mono or stereo) or of an Ogg Vorbis file
//  (encoded with libvorbisenc), and a few helpers to write and read files.
//------------------------------------------------------------------------------
#include <string>

/// a WAV file of frames sample frames of a sine tone
std::string MakeWav(int bits, int channels, int rate, int frames, double freq);
/// an Ogg Vorbis file of frames sample frames of a sine tone
std::string MakeOgg(int channels, int rate, int frames, double freq);
/// write the bytes to the file; false when it cannot be written
bool WriteBytes(const std::string& path, const std::string& bytes);
#endif
