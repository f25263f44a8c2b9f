#ifndef TESTS_MISC_PREFFIXTURE_H
#define TESTS_MISC_PREFFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with the misc package and a throw-away user per test, and a
//  helper that runs one script command by name.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"
#include "usertempdir.h"

#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "misc/nmiscpackage.h"
#include "misc/nprefserver.h"

#include <string>

class PrefTest : public ::testing::Test
{
protected:
    void SetUp() override { this->StartKernel(); }
    void TearDown() override { this->ks.reset(); }

    void StartKernel() { this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nmisc_package}); }
    /// tear the kernel down (releasing every server) and build a new one
    void RestartKernel()
    {
        this->ks.reset();
        this->StartKernel();
    }
    /// a preference server of the class at /sys/servers/pref with both names set
    nPrefServer* NewPrefs(const char* className = "nwin32prefserver", const char* company = "A", const char* app = "B")
    {
        nPrefServer* p = static_cast<nPrefServer*>(this->ks->New(className, "/sys/servers/pref"));
        p->SetCompanyName(company);
        p->SetApplicationName(app);
        return p;
    }

    UserTempDir user;
    std::unique_ptr<nKernelServer> ks;
};

/// one script command run on an object by its name; inputs are added in order,
/// outputs read after Run in order
class ScriptCall
{
public:
    ScriptCall(nObject* o, const char* name) : obj(o), proto(o->GetClass()->FindCmdByName(name))
    {
        EXPECT_NE(this->proto, nullptr) << name;
        this->cmd = this->proto->NewCmd();
        this->cmd->Rewind();
    }
    ~ScriptCall() { this->proto->RelCmd(this->cmd); }
    ScriptCall(const ScriptCall&) = delete;
    ScriptCall& operator=(const ScriptCall&) = delete;

    ScriptCall& S(const char* s) { this->cmd->In()->SetS(s); return *this; }
    ScriptCall& I(int i) { this->cmd->In()->SetI(i); return *this; }
    ScriptCall& F(float f) { this->cmd->In()->SetF(f); return *this; }
    ScriptCall& B(bool b) { this->cmd->In()->SetB(b); return *this; }
    ScriptCall& Run() { this->obj->Dispatch(this->cmd); return *this; }

    std::string OutS() { return this->cmd->Out()->GetS(); }
    int OutI() { return this->cmd->Out()->GetI(); }
    float OutF() { return this->cmd->Out()->GetF(); }
    bool OutB() { return this->cmd->Out()->GetB(); }
    nFourCC Id() const { return this->proto->GetId(); }

private:
    nObject* obj;
    nCmdProto* proto;
    nCmd* cmd;
};
#endif
