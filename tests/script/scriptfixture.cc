//------------------------------------------------------------------------------
//  The script test fixture and its test classes.
//------------------------------------------------------------------------------
#include "scriptfixture.h"
#include "tclrun.h"

#include "kernel/nmodule.h"
#include "kernel/ncmd.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "file/nfilepackage.h"

nTestObj::~nTestObj()
{
    if (this->plain) this->plain->Release();
}

namespace
{

nTestObj* Self(void* slf)
{
    return static_cast<nTestObj*>(slf);
}

void n_seti(void* slf, nCmd* cmd) { Self(slf)->i = cmd->In()->GetI(); }
void n_geti(void* slf, nCmd* cmd) { cmd->Out()->SetI(Self(slf)->i); }
void n_setf(void* slf, nCmd* cmd) { Self(slf)->f = cmd->In()->GetF(); }
void n_getf(void* slf, nCmd* cmd) { cmd->Out()->SetF(Self(slf)->f); }
void n_setb(void* slf, nCmd* cmd) { Self(slf)->b = cmd->In()->GetB(); }
void n_getb(void* slf, nCmd* cmd) { cmd->Out()->SetB(Self(slf)->b); }

void n_sets(void* slf, nCmd* cmd)
{
    const char* s = cmd->In()->GetS();
    Self(slf)->sIsNull = (s == nullptr);
    Self(slf)->s = s;
}

void n_gets(void* slf, nCmd* cmd) { cmd->Out()->SetS(Self(slf)->sIsNull ? nullptr : Self(slf)->s.Get()); }
void n_seto(void* slf, nCmd* cmd) { Self(slf)->o = cmd->In()->GetO(); }
void n_geto(void* slf, nCmd* cmd) { cmd->Out()->SetO(Self(slf)->o); }

void n_gettwo(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(Self(slf)->f);
    cmd->Out()->SetF(Self(slf)->f + 1.0f);
}

void n_getpair(void* slf, nCmd* cmd)
{
    cmd->Out()->SetI(Self(slf)->i);
    cmd->Out()->SetS(nullptr);
}

/// a list of every element type, with a Void element and a nested list
void n_getlist(void* slf, nCmd* cmd)
{
    nArg* inner = n_new_array(nArg, 2);
    inner[0].SetI(1);
    inner[1].SetS("two words");
    nArg* l = n_new_array(nArg, 10);
    l[0].SetI(-3);
    l[1].SetF(0.5f);
    l[2].SetS("x");
    l[3].SetS(nullptr);
    l[4].SetB(true);
    l[5].SetO(static_cast<nObject*>(Self(slf)));
    l[6].SetO(nullptr);
    // l[7] stays Void and is skipped
    l[8].SetL(inner, 2);
    l[9].SetB(false);
    cmd->Out()->SetL(l, 10);
}

void n_getbadlist(void*, nCmd* cmd)
{
    nArg* l = n_new_array(nArg, 1);
    l[0].SetF4(nFloat4{1, 2, 3, 4});
    cmd->Out()->SetL(l, 1);
}

void n_setlist(void*, nCmd*) {}

void n_getplain(void* slf, nCmd* cmd)
{
    nTestObj* self = Self(slf);
    if (!self->plain) self->plain = nKernelServer::Instance()->NewUnnamed("ntestplain");
    cmd->Out()->SetO(self->plain);
}

/// runs a script through the script server: commands that re-enter Tcl
void n_eval(void*, nCmd* cmd)
{
    nScriptServer* script = static_cast<nScriptServer*>(nKernelServer::Instance()->Lookup("/sys/servers/script"));
    nString result;
    script->Run(cmd->In()->GetS(), result);
    cmd->Out()->SetS(result.Get());
}

void ntestobj_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_seti_i", N_FOURCC('S', 'E', 'T', 'I'), n_seti);
    cl->AddCmd("i_geti_v", N_FOURCC('G', 'E', 'T', 'I'), n_geti);
    cl->AddCmd("v_setf_f", N_FOURCC('S', 'E', 'T', 'F'), n_setf);
    cl->AddCmd("f_getf_v", N_FOURCC('G', 'E', 'T', 'F'), n_getf);
    cl->AddCmd("v_setb_b", N_FOURCC('S', 'E', 'T', 'B'), n_setb);
    cl->AddCmd("b_getb_v", N_FOURCC('G', 'E', 'T', 'B'), n_getb);
    cl->AddCmd("v_sets_s", N_FOURCC('S', 'E', 'T', 'S'), n_sets);
    cl->AddCmd("s_gets_v", N_FOURCC('G', 'E', 'T', 'S'), n_gets);
    cl->AddCmd("v_seto_o", N_FOURCC('S', 'E', 'T', 'O'), n_seto);
    cl->AddCmd("o_geto_v", N_FOURCC('G', 'E', 'T', 'O'), n_geto);
    cl->AddCmd("ff_gettwo_v", N_FOURCC('G', 'T', 'W', 'O'), n_gettwo);
    cl->AddCmd("is_getpair_v", N_FOURCC('G', 'P', 'A', 'I'), n_getpair);
    cl->AddCmd("l_getlist_v", N_FOURCC('G', 'L', 'S', 'T'), n_getlist);
    cl->AddCmd("l_getbadlist_v", N_FOURCC('G', 'B', 'A', 'D'), n_getbadlist);
    cl->AddCmd("v_setlist_l", N_FOURCC('S', 'L', 'S', 'T'), n_setlist);
    cl->AddCmd("o_getplain_v", N_FOURCC('G', 'P', 'L', 'N'), n_getplain);
    cl->AddCmd("s_eval_s", N_FOURCC('E', 'V', 'A', 'L'), n_eval);
    cl->EndCmds();
}

void ntestplain_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_geti_v", N_FOURCC('G', 'E', 'T', 'I'), [](void* slf, nCmd* cmd) {
        cmd->Out()->SetI(static_cast<nTestPlain*>(slf)->i);
    });
    cl->EndCmds();
}

}  // namespace

N_IMPLEMENT_MODULE(ntestobj, nTestObj, "nroot", ntestobj_initcmds)
N_IMPLEMENT_MODULE(ntestplain, nTestPlain, "nobject", ntestplain_initcmds)

void ntest_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ntestobj);
    N_ADD_MODULE(ks, ntestplain);
}

void ScriptTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nfile_package, nsignals_package, nscript_package, ntest_package});
    this->ks->SetLogHandler(&this->log);
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
}

void ScriptTest::TearDown()
{
    this->ks.reset();
}

std::string ScriptTest::Ok(const char* str)
{
    return ::TclOk(this->script, str);
}

std::string ScriptTest::Fails(const char* str)
{
    return ::TclFails(this->script, str);
}

std::string ScriptTest::TakeLog()
{
    std::string text;
    text.swap(this->log.text);
    return text;
}
