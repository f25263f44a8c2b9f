#ifndef N_CMD_H
#define N_CMD_H
//------------------------------------------------------------------------------
/**
    @class nCmd
    @ingroup Kernel

    One invocation of a script command: the prototype and up to 16 typed
    arguments, outputs first, then inputs.
*/
#include "kernel/narg.h"
#include "util/nstring.h"

class nCmdProto;

#define N_MAXNUM_ARGS (16)

class nCmd
{
public:
    /// a command for the prototype, arguments typed by the caller
    explicit nCmd(nCmdProto* proto);
    /// a copy of another command of the same prototype, rewound
    nCmd(const nCmd& rhs);
    nCmd& operator=(const nCmd&) = delete;

    /// start reading inputs and writing outputs from the beginning
    void Rewind();
    /// the next input argument
    nArg* In();
    /// the next output argument
    nArg* Out();

    nCmdProto* GetProto() const { return this->cmdProto; }
    nFourCC GetId() const;
    int GetNumInArgs() const;
    int GetNumOutArgs() const;
    /// fill every input from plain function arguments, in prototype order;
    /// the command is rewound before and after
    void SetInArgsFromVarArgs(va_list args);
    /// argument by absolute index (outputs, then inputs); used to type templates
    nArg* GetArg(int index);

    /// end this invocation as a script error with the given message; the
    /// caller that dispatched it (Tcl, binary scripts) reports it
    void SetError(const char* msg);
    /// true after SetError, until the command is handed out again
    bool HasError() const { return this->hasError; }
    /// the message given to SetError, "" when none
    const char* GetError() const { return this->errorMsg.Get(); }
    /// forget a previous error (the prototype hands the command out again)
    void ClearError();

private:
    nCmdProto* cmdProto;
    int outArgIndex;
    int inArgIndex;
    nArg args[N_MAXNUM_ARGS];
    bool hasError = false;
    nString errorMsg;
};
#endif
