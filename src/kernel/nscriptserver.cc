//------------------------------------------------------------------------------
//  nscriptserver.cc
//
//  The base behaviour of every script server: nothing runs, nothing is
//  written. Subclasses such as the Tcl server override what they support.
//------------------------------------------------------------------------------
#include "kernel/nscriptserver.h"
#include "kernel/nfile.h"

/*
 * nScriptServer --
 *     Results: none.
 *     Side effects: no quit request, script errors fatal, "sel" lines on.
 */
nScriptServer::nScriptServer() :
    quitRequested(false),
    failOnError(true),
    selectMethod(0)
{
}

nScriptServer::~nScriptServer()
{
}

/*
 * Run, RunFunction, RunScript --
 *     Results: false (the base class runs nothing); the result is left as
 *     it is.
 *     Side effects: none.
 */
bool nScriptServer::Run(const char*, nString&)
{
    return false;
}

/*
 * RunWithTimeLimit --
 *     Results: Run's; the base class knows no limits.
 */
bool nScriptServer::RunWithTimeLimit(const char* str, nString& result, int)
{
    return this->Run(str, result);
}

bool nScriptServer::RunFunction(const char*, nString&)
{
    return false;
}

bool nScriptServer::RunScript(const char*, nString&)
{
    return false;
}

/*
 * WriteBegin and the other writers --
 *     Results: 0 or false (the base class writes nothing).
 *     Side effects: none.
 */
nFile* nScriptServer::WriteBegin(const char*, nObject*)
{
    return nullptr;
}

bool nScriptServer::WriteBeginNewObject(nFile*, nObject*, nObject*)
{
    return false;
}

bool nScriptServer::WriteBeginNewObjectCmd(nFile*, nObject*, nObject*, nCmd*)
{
    return false;
}

bool nScriptServer::WriteBeginSelObject(nFile*, nObject*, nObject*)
{
    return false;
}

bool nScriptServer::WriteCmd(nFile*, nCmd*)
{
    return false;
}

bool nScriptServer::WriteEndObject(nFile*, nObject*, nObject*)
{
    return false;
}

bool nScriptServer::WriteEnd(nFile*)
{
    return false;
}

/*
 * Trigger --
 *     Results: false exactly once after a quit request, true otherwise.
 *     Side effects: clears the quit request it reports.
 */
bool nScriptServer::Trigger()
{
    if (this->quitRequested)
    {
        this->quitRequested = false;
        return false;
    }
    return true;
}

/*
 * Prompt --
 *     Results: an empty prompt.
 *     Side effects: none.
 */
nString nScriptServer::Prompt()
{
    return nString();
}

void nScriptServer::BeginQueue()
{
    this->queue.clear();
    this->writeFailed = false;
}

bool nScriptServer::Queue(nFile* file, const char* bytes, size_t len)
{
    this->queue.append(bytes, len);
    if (this->queue.size() >= 65536) return this->FlushQueue(file);
    return !this->writeFailed;
}

bool nScriptServer::FlushQueue(nFile* file)
{
    const int n = (int)this->queue.size();
    if (n > 0 && file->Write(this->queue.data(), n) != n)
    {
        this->writeFailed = true;
    }
    this->queue.clear();
    return !this->writeFailed;
}
