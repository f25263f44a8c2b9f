//------------------------------------------------------------------------------
//  nsoundresource.cc
//------------------------------------------------------------------------------
#include "audio3/nsoundresource.h"

nSoundResource::nSoundResource() :
    numTracks(5),
    ambient(false),
    streaming(false),
    looping(false)
{
}

/*
 * ~nSoundResource --
 *     Side effects: a subclass unloads in its own destructor; what is
 *     still loaded here has no data of a subclass left, so it is only
 *     marked Unloaded, as the resource base requires.
 */
nSoundResource::~nSoundResource()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
        this->SetState(Unloaded);
    }
}
