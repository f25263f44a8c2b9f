//------------------------------------------------------------------------------
//  naudioserver3.cc
//------------------------------------------------------------------------------
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "resource/nresourceserver.h"

nAudioServer3* nAudioServer3::Singleton = nullptr;

nAudioServer3::nAudioServer3() :
    isOpen(false),
    inBeginScene(false),
    masterVolume(1.0f),
    masterVolumeDirty(true),
    masterVolumeChangedTime(0.0),
    time(0.0)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

/*
 * ~nAudioServer3 --
 *     Side effects: closes the server if it is still open (a subclass
 *     closes in its own destructor, while its Close still runs) and
 *     clears the instance.
 */
nAudioServer3::~nAudioServer3()
{
    if (this->isOpen)
    {
        this->Close();
    }
    n_assert(Singleton);
    Singleton = nullptr;
}

/*
 * Instance --
 *     Results: the one audio server; asserts that it exists.
 */
nAudioServer3* nAudioServer3::Instance()
{
    n_assert(0 != Singleton);
    return Singleton;
}

/*
 * Open, Close --
 *     Base behaviour: only the open flag, asserted against misuse.
 */
bool nAudioServer3::Open()
{
    n_assert(!this->isOpen);
    this->isOpen = true;
    return true;
}

void nAudioServer3::Close()
{
    n_assert(this->isOpen);
    this->isOpen = false;
}

/*
 * Reset --
 *     Side effects: stops every sound instance of the resource server's
 *     pool of sound instances that is playing; nothing without a
 *     resource server.
 */
void nAudioServer3::Reset()
{
    nRoot* server = nKernelServer::Instance()->Lookup("/sys/servers/resource");
    if (!server || !server->IsA("nresourceserver"))
    {
        return;
    }
    nRoot* pool = static_cast<nResourceServer*>(server)->GetResourcePool(nResource::SoundInstance);
    for (nRoot* cur = pool ? pool->GetHead() : nullptr; cur; cur = cur->GetSucc())
    {
        if (cur->IsA("nsound3"))
        {
            nSound3* sound = static_cast<nSound3*>(cur);
            if (sound->IsPlaying())
            {
                sound->Stop();
            }
        }
    }
}

/*
 * BeginScene --
 *     Results: true. Side effects: stores the time and opens the scene;
 *     asserts an open server and no scene already open.
 */
bool nAudioServer3::BeginScene(double t)
{
    n_assert(this->isOpen);
    n_assert(!this->inBeginScene);
    this->time = t;
    this->inBeginScene = true;
    return true;
}

/*
 * UpdateListener, StartSound, UpdateSound, StopSound --
 *     Base behaviour: only the assertions of the frame protocol.
 */
void nAudioServer3::UpdateListener(const nListener3& /*l*/)
{
    n_assert(this->inBeginScene);
}

void nAudioServer3::StartSound(nSound3* s)
{
    n_assert(s);
    n_assert(this->inBeginScene);
}

void nAudioServer3::UpdateSound(nSound3* s)
{
    n_assert(s);
    n_assert(this->inBeginScene);
}

void nAudioServer3::StopSound(nSound3* s)
{
    n_assert(s);
    n_assert(this->inBeginScene);
}

/*
 * EndScene --
 *     Side effects: closes the scene; asserts one is open.
 */
void nAudioServer3::EndScene()
{
    n_assert(this->isOpen);
    n_assert(this->inBeginScene);
    this->inBeginScene = false;
}

/*
 * NewSound, NewSoundResource --
 *     Results: null: only an implementation makes sounds.
 */
nSound3* nAudioServer3::NewSound()
{
    return nullptr;
}

nSoundResource* nAudioServer3::NewSoundResource(const char* /*rsrcName*/)
{
    return nullptr;
}

/*
 * SetMasterVolume --
 *     Side effects: stores the volume, marks it changed and stamps it
 *     with the time of the last BeginScene.
 */
void nAudioServer3::SetMasterVolume(float v)
{
    this->masterVolume = v;
    this->masterVolumeDirty = true;
    this->masterVolumeChangedTime = this->time;
}
