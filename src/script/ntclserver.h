#ifndef N_TCLSERVER_H
#define N_TCLSERVER_H
//------------------------------------------------------------------------------
/**
    @class nTclServer
    @ingroup Script

    The script server every program creates at "/sys/servers/script": a
    Tcl interpreter with the engine's commands (new, sel, delete, the
    object.command dispatch ...), and the writer of ".n2" persistence
    scripts. Script files, whether run by RunScript or sourced by a
    script, are read through the file server, so assigns and npk
    archives apply.
*/
#include "kernel/nscriptserver.h"

#include <string>

struct Tcl_Interp;

class nTclServer : public nScriptServer
{
public:
    nTclServer();

    bool Run(const char* str, nString& result) override;
    bool RunWithTimeLimit(const char* str, nString& result, int milliseconds) override;
    bool RunFunction(const char* functionName, nString& result) override;
    bool RunScript(const char* fileName, nString& result) override;
    nString Prompt() override;

    nFile* WriteBegin(const char* fileName, nObject* obj) override;
    bool WriteBeginNewObject(nFile* file, nObject* o, nObject* parent) override;
    bool WriteBeginNewObjectCmd(nFile* file, nObject* o, nObject* parent, nCmd* cmd) override;
    bool WriteBeginSelObject(nFile* file, nObject* o, nObject* parent) override;
    bool WriteCmd(nFile* file, nCmd* cmd) override;
    bool WriteEndObject(nFile* file, nObject* o, nObject* parent) override;
    bool WriteEnd(nFile* file) override;

protected:
    ~nTclServer() override;

private:
    /// the interpreter's result text after a run; a fatal error or a log
    /// line when the run failed
    bool Finish(int code, nString& result, const char* fileName);
    /// write one line at the current nesting level
    bool PutLine(nFile* file, const char* text);

    /// write "sel" and the object's path from its parent, one level deeper
    void WriteSelLine(nFile* file, nObject* o, nObject* parent);

    Tcl_Interp* interp;
    int indentLevel;

};

/// evaluates a script file read through the file server; a Tcl return code
int nTclEvalFile(Tcl_Interp* interp, const char* fileName);

#endif
