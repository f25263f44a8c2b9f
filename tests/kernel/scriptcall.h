#ifndef TESTS_KERNEL_SCRIPTCALL_H
#define TESTS_KERNEL_SCRIPTCALL_H
//------------------------------------------------------------------------------
//  Runs one script command on an object the way a script does: find the
//  prototype by name through the object's class, NewCmd, write the inputs,
//  Dispatch, read the outputs, RelCmd.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "kernel/nobject.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

#include <string>
#include <vector>

class ScriptCall
{
public:
    /// the command named by the prototype's middle part; the prototype
    /// found must be exactly the one given
    ScriptCall(nObject* o, const char* protoDef) :
        obj(o)
    {
        char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
        const bool valid = nCmdProto::ParseProtoDef(protoDef, outs, name, ins);
        EXPECT_TRUE(valid) << protoDef;
        this->proto = valid ? o->GetClass()->FindCmdByName(name) : nullptr;
        if (!this->proto)
        {
            ADD_FAILURE() << "no command " << protoDef;
            return;
        }
        EXPECT_STREQ(this->proto->GetProtoDef(), protoDef);
        this->cmd = this->proto->NewCmd();
    }
    ~ScriptCall()
    {
        if (this->cmd) this->proto->RelCmd(this->cmd);
    }
    ScriptCall(const ScriptCall&) = delete;
    ScriptCall& operator=(const ScriptCall&) = delete;

    bool Valid() const { return this->cmd != nullptr; }
    nArg* In() { return this->cmd->In(); }
    /// dispatch; the outputs can then be read with Out()
    ScriptCall& Run()
    {
        if (this->cmd) this->obj->Dispatch(this->cmd);
        return *this;
    }
    nArg* Out() { return this->cmd->Out(); }
    /// true when the handler refused its arguments as a script error
    bool Failed() const { return this->cmd && this->cmd->HasError(); }

    /// the single string list output as texts (null strings as "<null>")
    std::vector<std::string> OutStrings()
    {
        nArg* list = nullptr;
        const int num = this->Out()->GetL(list);
        std::vector<std::string> result;
        for (int i = 0; i < num; i++)
        {
            const char* s = list[i].GetS();
            result.push_back(s ? s : "<null>");
        }
        return result;
    }

private:
    nObject* obj;
    nCmdProto* proto = nullptr;
    nCmd* cmd = nullptr;
};
#endif
