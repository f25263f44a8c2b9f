//------------------------------------------------------------------------------
//  nopenalserver.cc
//------------------------------------------------------------------------------
#include "nopenal/nopenalserver.h"
#include "audio3/nlistener3.h"
#include "audio3/nsound3.h"
#include "audio3/nsoundresource.h"
#include "kernel/nenv.h"
#include "resource/nresourceserver.h"

#include <AL/alut.h>

nOpenALServer* nOpenALServer::m_pSelf = nullptr;

namespace
{

/// a text from the library, or a placeholder where it gave none
const char* OrNone(const char* s)
{
    return s ? s : "(none)";
}

}  // namespace

nOpenALServer::nOpenALServer() :
    refResourceServer("/sys/servers/resource", "nresourceserver"),
    refHwnd("/sys/env/hwnd", "nenv"),
    m_pDevice(nullptr),
    m_pContext(nullptr),
    alutReady(false),
    buffers(),
    sources(),
    slotUsed(),
    numBuffers(0),
    numSources(0)
{
    n_printf("nOpenALServer Constructor\n");
    m_pSelf = this;
    this->PrintInfo();
}

/*
 * ~nOpenALServer --
 *     Side effects: closes the server while this class's Close still
 *     runs (the base destructor would only reach the base Close).
 */
nOpenALServer::~nOpenALServer()
{
    n_printf("nOpenALServer Destructor\n");
    if (this->isOpen)
    {
        this->Close();
    }
    m_pSelf = nullptr;
}

/*
 * Instance --
 *     Results: the one OpenAL server; asserts that it exists.
 */
nOpenALServer* nOpenALServer::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

/*
 * PrintInfo --
 *     Side effects: prints the device and library strings; before a
 *     device and context exist the library gives no text for most of
 *     them, which prints as a placeholder.
 */
void nOpenALServer::PrintInfo()
{
    n_printf("ALC info: \n");
    n_printf("DEFAULT_DEVICE_SPECIFIER: %s\n", OrNone(alcGetString(this->m_pDevice, ALC_DEFAULT_DEVICE_SPECIFIER)));
    n_printf("DEVICE_SPECIFIER: %s\n", OrNone(alcGetString(this->m_pDevice, ALC_DEVICE_SPECIFIER)));
    n_printf("EXTENSIONS: %s\n", OrNone(alcGetString(this->m_pDevice, ALC_EXTENSIONS)));
    n_printf("AL info: \n");
    n_printf("VERSION: %s\n", OrNone(alGetString(AL_VERSION)));
    n_printf("RENDERER: %s\n", OrNone(alGetString(AL_RENDERER)));
    n_printf("VENDOR: %s\n", OrNone(alGetString(AL_VENDOR)));
    n_printf("EXTENSIONS: %s\n", OrNone(alGetString(AL_EXTENSIONS)));
    alGetError();
    alcGetError(this->m_pDevice);
}

/*
 * Open --
 *     Results: true when the default device, a context and the listener
 *     are set up; false, with a message and everything made so far torn
 *     down, when there is no device or a step fails. The server then
 *     stays closed, and Close is safe.
 */
bool nOpenALServer::Open()
{
    n_printf("nOpenALServer Open\n");
    n_assert(!this->isOpen);
    n_assert2(this->refHwnd.isvalid(), "/sys/env/hwnd is NULL -- perhaps nWin32LogHandler::OpenWindow() has not been called.");

    this->m_pDevice = alcOpenDevice(nullptr);
    if (!this->m_pDevice)
    {
        // a machine without sound still plays: the server is open and makes
        // no sounds; the log says so, a box would stop the player at every start
        n_printf("No sound device was found: the game runs without sound.\n");
        this->silent = true;
        return nAudioServer3::Open();
    }
    this->m_pContext = alcCreateContext(this->m_pDevice, nullptr);
    if (!this->m_pContext || !this->CheckALCError("alcCreateContext") || !alcMakeContextCurrent(this->m_pContext) ||
        !this->CheckALCError("alcMakeContextCurrent"))
    {
        n_printf("nOpenALServer: cannot make an OpenAL context on the default device\n");
        this->ReleaseDevice();
        return false;
    }
    this->alutReady = alutInitWithoutContext(nullptr, nullptr);
    if (!this->alutReady)
    {
        n_printf("nOpenALServer: alutInitWithoutContext : %s\n", alutGetErrorString(alutGetError()));
        this->ReleaseDevice();
        return false;
    }
    alDopplerFactor(1.0f);
    alDopplerVelocity(343.0f);

    const ALfloat zero[3] = {0.0f, 0.0f, 0.0f};
    const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
    if (!SetListener(zero, zero, orientation))
    {
        this->ReleaseDevice();
        return false;
    }
    n_printf("Successfully initialized OpenAL\n");
    return nAudioServer3::Open();
}

/*
 * Close --
 *     Side effects: stops and unloads every sound instance and sound
 *     resource while the context still lives (each gives its slot back,
 *     deleting its source before the buffer the source holds), deletes
 *     any names left in the tables, then drops the context and the
 *     device. Closing a server that is not open does nothing, so an
 *     application may close after a failed Open.
 */
void nOpenALServer::Close()
{
    n_printf("nOpenALServer Close\n");
    if (!this->isOpen)
    {
        return;
    }
    this->ReleaseSounds();
    this->ReleaseDevice();
    if (!this->silent) n_printf("Successfully shut down OpenAL\n");
    this->silent = false;
    nAudioServer3::Close();
}

/*
 * ReleaseSounds --
 *     Side effects: unloads the sound instances and then the sound
 *     resources, which gives every slot back; deletes whatever a slot
 *     still holds; both counts end at 0.
 */
void nOpenALServer::ReleaseSounds()
{
    if (this->refResourceServer.isvalid())
    {
        this->refResourceServer->UnloadResources(nResource::SoundInstance);
        this->refResourceServer->UnloadResources(nResource::SoundResource);
    }
    for (int i = MaxBufSrc - 1; i >= 0; i--)
    {
        if (this->slotUsed[i])
        {
            this->deleteBufSrc(i);
        }
    }
    n_assert(0 == this->numBuffers && 0 == this->numSources);
}

/*
 * ReleaseDevice --
 *     Side effects: ends the toolkit, drops and destroys the context and
 *     closes the device, each only if it was made; safe to call twice.
 */
void nOpenALServer::ReleaseDevice()
{
    if (this->alutReady)
    {
        alutExit();
        this->alutReady = false;
    }
    if (this->m_pContext)
    {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(this->m_pContext);
        this->m_pContext = nullptr;
    }
    if (this->m_pDevice)
    {
        alcCloseDevice(this->m_pDevice);
        this->m_pDevice = nullptr;
    }
}

/*
 * BeginScene, EndScene --
 *     OpenAL mixes on its own thread, so a frame needs nothing beyond
 *     the base bookkeeping.
 */
bool nOpenALServer::BeginScene(double t)
{
    return nAudioServer3::BeginScene(t);
}

void nOpenALServer::EndScene()
{
    nAudioServer3::EndScene();
}

/*
 * SetListener --
 *     Results: false at the first of position, velocity and orientation
 *     that OpenAL refuses, after printing which and why.
 */
bool nOpenALServer::SetListener(const ALfloat* pos, const ALfloat* vel, const ALfloat* orientation)
{
    struct Step
    {
        ALenum param;
        const ALfloat* values;
        const char* message;
    };
    const Step steps[] = {
        {AL_POSITION, pos, "alListenerfv POSITION : %s\n"},
        {AL_VELOCITY, vel, "alListenerfv VELOCITY : %s\n"},
        {AL_ORIENTATION, orientation, "alListenerfv ORIENTATION : %s\n"},
    };
    alGetError();
    for (const Step& step : steps)
    {
        alListenerfv(step.param, step.values);
        const ALenum error = alGetError();
        if (AL_NO_ERROR != error)
        {
            n_printf(step.message, OrNone(alGetString(error)));
            return false;
        }
    }
    return true;
}

/*
 * UpdateListener --
 *     Side effects: hands the listener's position, velocity and
 *     orientation (looking along the negated z row, up the y row) to
 *     OpenAL; a value OpenAL refuses is printed and ends the update.
 */
void nOpenALServer::UpdateListener(const nListener3& l)
{
    nAudioServer3::UpdateListener(l);
    if (this->silent) return;
    const matrix44& m = l.GetTransform();
    const vector3 pos = m.pos_component();
    const vector3& vel = l.GetVelocity();
    const vector3 at = -m.z_component();
    const vector3 up = m.y_component();
    const ALfloat alPos[3] = {pos.x, pos.y, pos.z};
    const ALfloat alVel[3] = {vel.x, vel.y, vel.z};
    const ALfloat alOrientation[6] = {at.x, at.y, at.z, up.x, up.y, up.z};
    SetListener(alPos, alVel, alOrientation);
}

/*
 * StartSound, UpdateSound, StopSound --
 *     Side effects: the sound's own Start, Update or Stop, inside a
 *     scene (asserted by the base).
 */
void nOpenALServer::StartSound(nSound3* s)
{
    n_assert(s);
    nAudioServer3::StartSound(s);
    s->Start();
}

void nOpenALServer::UpdateSound(nSound3* s)
{
    n_assert(s);
    nAudioServer3::UpdateSound(s);
    s->Update();
}

void nOpenALServer::StopSound(nSound3* s)
{
    n_assert(s);
    nAudioServer3::StopSound(s);
    s->Stop();
}

/*
 * NewSoundResource --
 *     Results: the shared sound resource of the name (one more
 *     reference), or null with a message when there is no resource
 *     server or the name belongs to a resource of another class; null
 *     on a silent server.
 */
nSoundResource* nOpenALServer::NewSoundResource(const char* rsrcName)
{
    if (this->silent) return nullptr;
    if (!this->refResourceServer.isvalid())
    {
        n_printf("nOpenALServer: no resource server\n");
        return nullptr;
    }
    return static_cast<nSoundResource*>(
        this->refResourceServer->NewResource("nopenalresource", rsrcName, nResource::SoundResource));
}

/*
 * NewSound --
 *     Results: a new sound instance with a unique name, or null with a
 *     message when there is no resource server; null on a silent server.
 */
nSound3* nOpenALServer::NewSound()
{
    if (this->silent) return nullptr;
    if (!this->refResourceServer.isvalid())
    {
        n_printf("nOpenALServer: no resource server\n");
        return nullptr;
    }
    return static_cast<nSound3*>(this->refResourceServer->NewResource("nopenalobj", nullptr, nResource::SoundInstance));
}

/*
 * createBufSrc --
 *     Results: true with index set to a slot that now holds a fresh
 *     buffer and source; false with a message when every slot is taken
 *     or OpenAL cannot make the names (nothing is then left behind).
 *     Side effects: counts the names made.
 */
bool nOpenALServer::createBufSrc(int& index)
{
    index = -1;
    int slot = 0;
    while (slot < MaxBufSrc && this->slotUsed[slot])
    {
        slot++;
    }
    if (MaxBufSrc == slot)
    {
        n_printf("nOpenALServer: all %d sound slots are in use, unload a sound first\n", MaxBufSrc);
        return false;
    }
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (!CheckALError("alGenBuffers"))
    {
        return false;
    }
    ALuint source = 0;
    alGenSources(1, &source);
    if (!CheckALError("alGenSources"))
    {
        alDeleteBuffers(1, &buffer);
        alGetError();
        return false;
    }
    this->buffers[slot] = buffer;
    this->sources[slot] = source;
    this->slotUsed[slot] = true;
    this->numBuffers++;
    this->numSources++;
    index = slot;
    return true;
}

/*
 * deleteBufSrc --
 *     Side effects: stops the slot's source and deletes it before the
 *     buffer it holds (OpenAL refuses to delete a buffer still queued on
 *     a source), frees the slot and counts the names down. Nothing for a
 *     slot not in use.
 */
void nOpenALServer::deleteBufSrc(int index)
{
    if (index < 0 || index >= MaxBufSrc || !this->slotUsed[index])
    {
        return;
    }
    alGetError();
    alSourceStop(this->sources[index]);
    alDeleteSources(1, &this->sources[index]);
    CheckALError("alDeleteSources");
    alDeleteBuffers(1, &this->buffers[index]);
    CheckALError("alDeleteBuffers");
    this->sources[index] = 0;
    this->buffers[index] = 0;
    this->slotUsed[index] = false;
    this->numBuffers--;
    this->numSources--;
}

/*
 * GetSource, GetBuffer --
 *     Results: the name in a slot in use, else 0, which OpenAL treats as
 *     no source or no buffer.
 */
ALuint nOpenALServer::GetSource(int index) const
{
    return (index >= 0 && index < MaxBufSrc && this->slotUsed[index]) ? this->sources[index] : 0;
}

ALuint nOpenALServer::GetBuffer(int index) const
{
    return (index >= 0 && index < MaxBufSrc && this->slotUsed[index]) ? this->buffers[index] : 0;
}

/*
 * CheckALCError, CheckALError --
 *     Results: false, after printing "ALC error: " or "OpenAL error: " with
 *     the library's text and what was being done, when the device or
 *     the context reports an error; the error is cleared.
 */
bool nOpenALServer::CheckALCError(const char* what)
{
    const ALCenum error = alcGetError(this->m_pDevice);
    if (ALC_NO_ERROR != error)
    {
        n_printf("ALC error: %s (%s)\n", OrNone(alcGetString(this->m_pDevice, error)), what);
        return false;
    }
    return true;
}

bool nOpenALServer::CheckALError(const char* what)
{
    const ALenum error = alGetError();
    if (AL_NO_ERROR != error)
    {
        n_printf("OpenAL error: %s (%s)\n", OrNone(alGetString(error)), what);
        return false;
    }
    return true;
}
