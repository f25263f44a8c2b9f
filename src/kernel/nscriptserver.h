#ifndef N_SCRIPTSERVER_H
#define N_SCRIPTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nScriptServer
    @ingroup Kernel

    The interface of a script server: runs command strings, script
    functions and script files against the object tree, writes objects out
    as persistence scripts, and tells the main loop once when a script
    asked to quit. The base class runs and writes nothing.

    A script error is fatal while failOnError is set (the default); the
    console and the remote server clear it around the commands they run.
*/
#include "kernel/nroot.h"
#include "util/nstring.h"

#include <string>

class nFile;
class nCmd;

class nScriptServer : public nRoot
{
public:
    nScriptServer();

    /// the time a command from a person (console, remote port) may run, in milliseconds
    static const int UserTimeLimitMs = 2000;

    /// run a command string; result text in 'result'
    virtual bool Run(const char* str, nString& result);
    /// Run within a time limit: a script still running then (a loop, vwait, after) stops with a script error
    virtual bool RunWithTimeLimit(const char* str, nString& result, int milliseconds);
    /// run a script function by name (the name may carry arguments)
    virtual bool RunFunction(const char* functionName, nString& result);
    /// run a script file
    virtual bool RunScript(const char* fileName, nString& result);

    /// begin a persistence script for an object; the open file or 0
    virtual nFile* WriteBegin(const char* fileName, nObject* obj);
    /// write the creation and selection of a child object
    virtual bool WriteBeginNewObject(nFile* file, nObject* obj, nObject* parent);
    /// write a constructor command and the selection of a child object
    virtual bool WriteBeginNewObjectCmd(nFile* file, nObject* obj, nObject* parent, nCmd* cmd);
    /// write only the selection of a child object
    virtual bool WriteBeginSelObject(nFile* file, nObject* obj, nObject* parent);
    /// write one command of the current object
    virtual bool WriteCmd(nFile* file, nCmd* cmd);
    /// write the return from a child object to its parent
    virtual bool WriteEndObject(nFile* file, nObject* obj, nObject* parent);
    /// finish and close a persistence script
    virtual bool WriteEnd(nFile* file);

    /// once per frame: false exactly once after a script asked to quit
    virtual bool Trigger();
    /// the prompt text of an interactive console
    virtual nString Prompt();

    void SetQuitRequested(bool b) { this->quitRequested = b; }
    void SetFailOnError(bool b) { this->failOnError = b; }
    bool GetFailOnError() const { return this->failOnError; }
    int GetSelectMethod() const { return this->selectMethod; }

protected:
    ~nScriptServer() override;

    /// start queueing the bytes of a new persistence file
    void BeginQueue();
    /// queue bytes of the file being written; written out in large pieces,
    /// since a system call per line or block would dominate a save.
    /// Results: false once a write of this file has failed.
    bool Queue(nFile* file, const char* bytes, size_t len);
    /// write what is queued. Results: false once a write has failed.
    bool FlushQueue(nFile* file);

    bool quitRequested;
    bool failOnError;
    int selectMethod;

private:
    std::string queue;
    bool writeFailed = false;
};
#endif
