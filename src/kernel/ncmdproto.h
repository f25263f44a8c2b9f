#ifndef N_CMDPROTO_H
#define N_CMDPROTO_H
//------------------------------------------------------------------------------
/**
    @class nCmdProto
    @ingroup Kernel

    The prototype of a script command: name, id, argument types and one
    reusable command record. Parsed from a prototype string of output
    letters, name and input letters joined by underscores ("o_getparent_v").
*/
#include "util/nhashnode.h"
#include "util/nstring.h"
#include "kernel/ncmd.h"

class nCmdProto : public nHashNode
{
public:
    /// parse the prototype; an invalid one is fatal
    nCmdProto(const char* protoDef, nFourCC id);
    virtual ~nCmdProto();
    nCmdProto(const nCmdProto&) = delete;
    nCmdProto& operator=(const nCmdProto&) = delete;

    /// run the command on an object
    virtual bool Dispatch(void* obj, nCmd* cmd) = 0;

    /// hand out a command record (the template when free, else a copy)
    nCmd* NewCmd();
    /// take a command record back
    void RelCmd(nCmd* cmd);

    nFourCC GetId() const { return this->id; }
    int GetNumInArgs() const { return this->numInArgs; }
    int GetNumOutArgs() const { return this->numOutArgs; }
    int GetNumArgs() const { return this->numInArgs + this->numOutArgs; }
    const char* GetProtoDef() const { return this->protoDef.Get(); }

    /**
        Splits a prototype into its output letters, name and input letters.
        Results: false for an invalid prototype (unknown letter, missing or
        extra '_', more than 16 arguments in all); the buffers hold at
        least N_MAXPATH characters.
    */
    static bool ParseProtoDef(const char* protoDef, char* outArgs, char* name, char* inArgs);

protected:
    nFourCC id;
    uchar numInArgs;
    uchar numOutArgs;
    bool cmdLocked;
    nCmd* cmdTemplate;
    nString protoDef;
};
#endif
