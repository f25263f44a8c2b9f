//------------------------------------------------------------------------------
//  nopenalobj.cc
//------------------------------------------------------------------------------
#include "nopenal/nopenalobj.h"
#include "nopenal/nopenalresource.h"
#include "nopenal/nopenalserver.h"

nOpenALObj::nOpenALObj() :
    sourceIndex(-1),
    refSoundServer("/sys/servers/audio")
{
}

nOpenALObj::~nOpenALObj()
{
    if (this->IsValid())
    {
        this->Stop();
        this->Unload();
    }
}

/*
 * GetSoundResource --
 *     Results: the sound resource held while loaded, else null.
 */
nOpenALResource* nOpenALObj::GetSoundResource() const
{
    return this->refSoundResource.get_unsafe();
}

/*
 * Source --
 *     Results: the OpenAL source of the resource this sound plays, or 0
 *     (which OpenAL ignores) when the sound or its resource is not
 *     loaded: the slot may then belong to another resource already.
 *     The slot is asked from the resource, which may have been unloaded
 *     and loaded again into another slot since this sound loaded.
 */
ALuint nOpenALObj::Source()
{
    if (!this->IsValid() || !this->refSoundResource.isvalid() || !this->refSoundResource->IsValid() ||
        !this->refSoundServer.isvalid() || !this->refSoundServer->IsA("nopenalserver"))
    {
        return 0;
    }
    return static_cast<nOpenALServer*>(this->refSoundServer.get())->GetSource(this->refSoundResource->GetBufSrcIndex());
}

/*
 * LoadResource --
 *     Results: true when the sound resource named like this object is
 *     loaded (by this call if it was not); false, with a message, when
 *     there is no open OpenAL server or the resource cannot be made or
 *     loaded (the reference taken is then given back).
 *     Side effects: the stored volume goes to the source.
 */
bool nOpenALObj::LoadResource()
{
    n_assert(!this->IsValid());
    n_assert(!this->refSoundResource.isvalid());
    if (!this->refSoundServer.isvalid() || !this->refSoundServer->IsA("nopenalserver") ||
        !static_cast<nOpenALServer*>(this->refSoundServer.get())->IsOpen())
    {
        n_printf("nOpenALObj: no open OpenAL server to load '%s'\n", this->GetName());
        return false;
    }
    nOpenALServer* server = static_cast<nOpenALServer*>(this->refSoundServer.get());
    nSoundResource* found = server->NewSoundResource(this->GetName());
    if (!found)
    {
        n_printf("nOpenALObj: no sound resource for '%s'\n", this->GetName());
        return false;
    }
    nOpenALResource* rsrc = static_cast<nOpenALResource*>(found);
    if (!rsrc->IsValid())
    {
        rsrc->SetFilename(this->GetFilename());
        rsrc->SetNumTracks(this->numTracks);
        rsrc->SetAmbient(this->ambient);
        rsrc->SetStreaming(this->streaming);
        rsrc->SetLooping(this->looping);
        if (!rsrc->Load())
        {
            rsrc->Release();
            return false;
        }
    }
    this->sourceIndex = rsrc->GetBufSrcIndex();
    this->refSoundResource = rsrc;
    this->SetState(Valid);
    const ALuint source = this->Source();
    if (source) alSourcef(source, AL_GAIN, this->volume);
    return true;
}

/*
 * UnloadResource --
 *     Side effects: gives the reference to the sound resource back (the
 *     last one unloads it and frees its slot) and forgets the source.
 */
void nOpenALObj::UnloadResource()
{
    n_assert(this->IsValid());
    nOpenALResource* rsrc = this->refSoundResource.get_unsafe();
    this->refSoundResource.invalidate();
    if (rsrc)
    {
        rsrc->Release();
    }
    this->sourceIndex = -1;
    this->SetState(Unloaded);
}

/*
 * Start --
 *     Side effects: plays the shared source from its start (restarting it
 *     for every sound of the name); nothing while the resource is gone.
 *     Starting a sound that is not loaded is a programming error.
 */
void nOpenALObj::Start()
{
    n_assert(this->IsValid());
    const ALuint source = this->Source();
    if (source) alSourcePlay(source);
}

/*
 * Stop --
 *     Side effects: stops the shared source; nothing while unloaded.
 */
void nOpenALObj::Stop()
{
    const ALuint source = this->Source();
    if (source) alSourceStop(source);
}

/*
 * Update --
 *     Side effects: the source takes this sound's position (the
 *     transform's translation; an ambient sound sits at the listener),
 *     velocity, looping flag and distances: full loudness up to the
 *     minimum distance, falling off beyond it up to the maximum.
 */
void nOpenALObj::Update()
{
    const ALuint source = this->Source();
    if (!source) return;
    const float minDist = this->minDist > 0.0f ? this->minDist : 1.0f;
    alSourcef(source, AL_REFERENCE_DISTANCE, minDist);
    alSourcef(source, AL_MAX_DISTANCE, this->maxDist > minDist ? this->maxDist : minDist);
    alSourcei(source, AL_SOURCE_RELATIVE, this->ambient ? AL_TRUE : AL_FALSE);
    const vector3 pos = this->ambient ? vector3(0.0f, 0.0f, 0.0f) : this->transform.pos_component();
    alSource3f(source, AL_POSITION, pos.x, pos.y, pos.z);
    alSource3f(source, AL_VELOCITY, this->velocity.x, this->velocity.y, this->velocity.z);
    alSourcei(source, AL_LOOPING, this->looping ? AL_TRUE : AL_FALSE);
}

/*
 * IsPlaying --
 *     Results: true while the shared source is in the playing state.
 */
bool nOpenALObj::IsPlaying()
{
    const ALuint source = this->Source();
    if (!source)
    {
        return false;
    }
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return AL_PLAYING == state;
}

/*
 * SetVolume --
 *     Side effects: stores the volume (a sound not yet loaded applies it
 *     when it loads) and sets the source's gain when there is a source.
 */
void nOpenALObj::SetVolume(float v)
{
    nSound3::SetVolume(v);
    const ALuint source = this->Source();
    if (source) alSourcef(source, AL_GAIN, v);
}

float nOpenALObj::GetVolume()
{
    return nSound3::GetVolume();
}
