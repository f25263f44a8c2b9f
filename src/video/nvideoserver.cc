//------------------------------------------------------------------------------
//  nvideoserver.cc
//------------------------------------------------------------------------------
#include "video/nvideoserver.h"

nVideoServer* nVideoServer::Singleton = nullptr;

nVideoServer::nVideoServer() :
    isOpen(false),
    isPlaying(false),
    enableScaling(false)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

/*
 * ~nVideoServer --
 *     Side effects: a video still playing is stopped and an open server
 *     closed (a script may delete the server at any time), then the
 *     instance is cleared.
 */
nVideoServer::~nVideoServer()
{
    if (this->isPlaying)
    {
        nVideoServer::Stop();
    }
    if (this->isOpen)
    {
        nVideoServer::Close();
    }
    n_assert(Singleton);
    Singleton = nullptr;
}

nVideoServer* nVideoServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * Open, Close, PlayFile, Stop, Trigger --
 *     Base behaviour: the flags only, asserted against misuse.
 */
bool nVideoServer::Open()
{
    n_assert(!this->isOpen);
    this->isOpen = true;
    return true;
}

void nVideoServer::Close()
{
    n_assert(this->isOpen);
    this->isOpen = false;
}

bool nVideoServer::PlayFile(const char* filename)
{
    n_assert(filename);
    n_assert(!this->isPlaying);
    this->isPlaying = true;
    return true;
}

void nVideoServer::Stop()
{
    n_assert(this->isPlaying);
    this->isPlaying = false;
}

void nVideoServer::Trigger()
{
    n_assert(this->isOpen);
}
