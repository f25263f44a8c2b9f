//------------------------------------------------------------------------------
//  nopenalresource.cc
//------------------------------------------------------------------------------
#include "nopenal/nopenalresource.h"
#include "nopenal/noggdecoder.h"
#include "nopenal/nopenalserver.h"
#include "nopenal/nwavdecoder.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

/// the largest sound file read whole into memory, in bytes
constexpr int MaxWavFileSize = 256 * 1024 * 1024;

/// closes and releases a file object of the file server
struct FileCloser
{
    void operator()(nFile* file) const
    {
        if (file->IsOpen()) file->Close();
        file->Release();
    }
};
using FilePtr = std::unique_ptr<nFile, FileCloser>;

/// opens the file for reading through the file server; null with a message
FilePtr OpenSoundFile(const nString& path)
{
    FilePtr file(nFileServer2::Instance()->NewFileObject());
    if (!file || !file->Open(path.Get(), "rb"))
    {
        n_printf("nOpenALResource unable to load: %s\n", path.Get());
        return nullptr;
    }
    return file;
}

/*
 * OggRead, OggSeek, OggTell --
 *     vorbisfile's callbacks over an engine file: the number of whole
 *     items read; 0 or -1 for a seek done or refused (other origins and
 *     offsets beyond the file API's range are refused); the position.
 */
size_t OggRead(void* ptr, size_t size, size_t count, void* source)
{
    const size_t total = size * count;
    if (0 == size || total / size != count || total > (size_t)0x7fffffff)
    {
        return 0;
    }
    const int got = static_cast<nFile*>(source)->Read(ptr, (int)total);
    return got > 0 ? (size_t)got / size : 0;
}

int OggSeek(void* source, ogg_int64_t offset, int whence)
{
    nFile::nSeekType origin;
    switch (whence)
    {
        case SEEK_SET: origin = nFile::START; break;
        case SEEK_CUR: origin = nFile::CURRENT; break;
        case SEEK_END: origin = nFile::END; break;
        default: return -1;
    }
    if (offset < -0x7fffffffLL || offset > 0x7fffffffLL)
    {
        return -1;
    }
    return static_cast<nFile*>(source)->Seek((int)offset, origin) ? 0 : -1;
}

long OggTell(void* source)
{
    return static_cast<nFile*>(source)->Tell();
}

}  // namespace

nOpenALResource::nOpenALResource() :
    refSoundServer("/sys/servers/audio"),
    bufSrcIndex(0)
{
}

nOpenALResource::~nOpenALResource()
{
    if (this->IsValid())
    {
        this->Unload();
    }
}

/*
 * Server --
 *     Results: the audio server when it is an open OpenAL server, else null.
 */
nOpenALServer* nOpenALResource::Server() const
{
    if (!this->refSoundServer.isvalid() || !this->refSoundServer->IsA("nopenalserver"))
    {
        return nullptr;
    }
    nOpenALServer* server = static_cast<nOpenALServer*>(this->refSoundServer.get());
    return server->IsOpen() ? server : nullptr;
}

/*
 * LoadResource --
 *     Results: true when the file's samples are in a buffer of a free
 *     slot, bound to the slot's source; the resource is then Valid.
 *     False, with a message, when the audio server is not open, no slot
 *     is free, the extension is neither "wav" nor "ogg" (compared as
 *     written), or the file cannot be read or decoded; the slot's names
 *     are then deleted again.
 */
bool nOpenALResource::LoadResource()
{
    n_assert(!this->IsValid());
    const nString path = nFileServer2::Instance()->ManglePath(this->GetFilename().Get());
    nOpenALServer* server = this->Server();
    if (!server)
    {
        n_printf("nOpenALResource: no open OpenAL server to load '%s'\n", path.Get());
        return false;
    }
    int index = -1;
    if (!server->createBufSrc(index))
    {
        n_printf("nOpenALResource: cannot load '%s'\n", path.Get());
        return false;
    }
    const ALuint buffer = server->GetBuffer(index);
    if (!this->LoadData(path, buffer) || !this->SetupSource(server->GetSource(index), buffer))
    {
        server->deleteBufSrc(index);
        return false;
    }
    this->bufSrcIndex = index;
    this->SetState(Valid);
    return true;
}

/*
 * LoadData --
 *     Results: true when the file, chosen by its extension as written
 *     ("wav" or "ogg"), decoded into the buffer; else false with a message.
 */
bool nOpenALResource::LoadData(const nString& path, ALuint buffer)
{
    const char* ext = path.GetExtension();
    if (ext && 0 == strcmp(ext, "wav"))
    {
        return this->LoadWavFile(path, buffer);
    }
    if (ext && 0 == strcmp(ext, "ogg"))
    {
        return this->LoadOggFile(path, buffer);
    }
    n_printf("Unknown format: '%s'\n", ext ? ext : "");
    return false;
}

/*
 * LoadWavFile --
 *     Results: true when the file decoded as WAV and OpenAL took the
 *     samples. A decoding failure shows as a null data pointer and is
 *     printed with the toolkit's own error text.
 */
bool nOpenALResource::LoadWavFile(const nString& path, ALuint buffer)
{
    FilePtr file = OpenSoundFile(path);
    if (!file)
    {
        return false;
    }
    const int fileSize = file->GetSize();
    if (fileSize <= 0 || fileSize > MaxWavFileSize)
    {
        n_printf("alutLoadWAVFile %s : %s\n", path.Get(), "file is empty or too large");
        return false;
    }
    std::vector<char> image(fileSize);
    if (file->Read(image.data(), fileSize) != fileSize)
    {
        n_printf("alutLoadWAVFile %s : %s\n", path.Get(), "file could not be read whole");
        return false;
    }
    nWavDecoder decoder;
    if (!decoder.Decode(image.data(), image.size(), path.Get()))
    {
        return false;
    }
    alGetError();
    alBufferData(buffer, decoder.GetFormat(), decoder.GetData(), decoder.GetSize(), decoder.GetRate());
    const ALenum error = alGetError();
    if (AL_NO_ERROR != error)
    {
        n_printf("alBufferData buffer %s : %s\n", path.Get(), alGetString(error));
        return false;
    }
    return true;
}

/*
 * LoadOggFile --
 *     Results: true when the whole stream decoded to mono or stereo
 *     16-bit samples that OpenAL took; false with a message otherwise.
 */
bool nOpenALResource::LoadOggFile(const nString& path, ALuint buffer)
{
    FilePtr file = OpenSoundFile(path);
    if (!file)
    {
        return false;
    }
    const ov_callbacks callbacks = {OggRead, OggSeek, nullptr, OggTell};
    nOggDecoder decoder;
    if (!decoder.Decode(file.get(), callbacks, path.Get()))
    {
        return false;
    }
    const ALenum format = 1 == decoder.GetChannels() ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alGetError();
    alBufferData(buffer, format, decoder.GetData(), decoder.GetSize(), decoder.GetRate());
    return nOpenALServer::CheckALError("alBufferData");
}

/*
 * SetupSource --
 *     Results: false with a message when OpenAL refuses a setting.
 *     Side effects: binds the buffer, sets looping from the resource's
 *     flag, reference distance, gain and pitch 1.
 */
bool nOpenALResource::SetupSource(ALuint source, ALuint buffer)
{
    alGetError();
    alSourcei(source, AL_BUFFER, (ALint)buffer);
    alSourcei(source, AL_LOOPING, this->GetLooping() ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_REFERENCE_DISTANCE, 1.0f);
    alSourcef(source, AL_GAIN, 1.0f);
    alSourcef(source, AL_PITCH, 1.0f);
    return nOpenALServer::CheckALError("source set-up");
}

/*
 * UnloadResource --
 *     Side effects: gives the buffer and source slot back to the server
 *     (deleting both names) while it is open; state Unloaded.
 */
void nOpenALResource::UnloadResource()
{
    n_assert(this->IsValid());
    nOpenALServer* server = this->Server();
    if (server)
    {
        server->deleteBufSrc(this->bufSrcIndex);
    }
    this->bufSrcIndex = 0;
    this->SetState(Unloaded);
}
