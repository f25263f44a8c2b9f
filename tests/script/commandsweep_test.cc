//------------------------------------------------------------------------------
//  The command sweep: every script command of every registered class is
//  called from Tcl, with fail-on-error cleared as the console has it, with
//  bad arguments; the process must survive each of them.
//
//  Classes and commands are read from the kernel at run time, so a class
//  that a new package brings (see allpackages.h) is swept without a change
//  here. Each class runs in a child process of its own with a fresh kernel:
//  one class's leftovers cannot hide another's fault, and a crash names
//  the class and the last command it was given.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "childkernel.h"
#include "kernel/nclass.h"
#include "kernel/ncmdproto.h"
#include "kernel/nloghandler.h"
#include "kernel/nref.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"
#include "sweepcalls.h"
#include "usertempdir.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

/// what a child reports when it ran through; anything else is a failure
constexpr int SweepOk = 0;

/// the first object in the tree whose class is exactly cl, or 0
nRoot* FindInstance(nRoot* root, const nClass* cl)
{
    std::vector<nRoot*> todo{root};
    while (!todo.empty())
    {
        nRoot* cur = todo.back();
        todo.pop_back();
        if (cur->GetClass() == cl) return cur;
        for (nRoot* c = cur->GetHead(); c; c = c->GetSucc()) todo.push_back(c);
    }
    return nullptr;
}

/// A class's sweep inside the child process.
class ClassSweep
{
public:
    ClassSweep(const std::string& className, int progressFd) : className(className), progressFd(progressFd)
    {
        this->ks.SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks.New("ntclserver", "/sys/servers/script"));
        this->script->SetFailOnError(false);
        this->foreign.set(static_cast<nRoot*>(this->ks.New("nenv", "/sweepforeign")));
        if (className == "nenv") this->foreign.set(static_cast<nRoot*>(this->ks.New("nroot", "/sweepforeign2")));
    }
    ~ClassSweep() { this->ks.SetLogHandler(nullptr); }

    /// Results: false when no object of the class can be had (abstract or
    /// non-tree classes: their commands are swept through subclasses).
    bool Run()
    {
        if (!this->Target()) return true;
        for (const std::string& proto : SweepCommandProtos(this->target.get()))
        {
            char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
            if (!nCmdProto::ParseProtoDef(proto.c_str(), outs, name, ins)) continue;
            if (SweepExcludedCommands().count(this->className + "." + name)) continue;
            this->SweepCommand(name, strcmp(ins, "v") == 0 ? "" : ins);
        }
        return true;
    }

    /// the interpreter's own engine commands (new, delete, sel, get ...)
    /// with every bad value in every argument
    void RunEngineCommands()
    {
        const std::vector<std::vector<std::string>> shapes = {
            {"new", "nroot", "?"}, {"new", "?", "/sweep/n"}, {"delete", "?"}, {"sel", "?"},
            {"get", "?"},          {"exists", "?"},          {"emit", "?"},   {"emit", "/sweep.?"},
            {"post", "?", "/sweep.getname"},                  {"post", "0", "?"}, {"source", "?"},
            {"puts", "?"},
        };
        this->ks.New("nroot", "/sweep");
        for (const auto& shape : shapes)
        {
            for (const std::string& bad : this->BadValues())
            {
                std::string line;
                for (const std::string& word : shape)
                {
                    std::string w = word;
                    const size_t q = w.find('?');
                    if (q != std::string::npos) w.replace(q, 1, bad);
                    line += (line.empty() ? "" : " ") + std::string("{") + w + "}";
                }
                this->Eval(line);
            }
            this->ks.SetCwd(this->ks.GetRoot());
        }
    }

private:
    /// report the line to the parent, then run it
    void Eval(const std::string& line)
    {
        const std::string progress = this->className + ": " + line.substr(0, 200) + "\n";
        if (write(this->progressFd, progress.data(), progress.size()) < 0)
        {
            // the parent only loses the name of a crashing command
        }
        nString ignored;
        this->script->Run(line.c_str(), ignored);
    }

    /// the object under test, made again when a command killed it
    nRoot* Target()
    {
        if (this->target.isvalid()) return this->target.get();
        const nClass* cl = this->ks.FindClass(this->className.c_str());
        nString ignored;
        const std::string line = "new " + this->className + " /sweep/obj" + std::to_string(this->made++);
        this->script->Run(line.c_str(), ignored);
        nRoot* obj = FindInstance(this->ks.GetRoot(), cl);
        if (obj) this->target.set(obj);
        return obj;
    }

    /// a value of the type that the command will take without complaint
    std::string Plausible(char type)
    {
        switch (type)
        {
            case 'i': return "1";
            case 'f': return "1.5";
            case 'b': return "true";
            case 'o': return this->Target()->GetFullName().Get();
            default: return "sweep";
        }
    }

    /// the bad values, each given to every argument in turn
    std::vector<std::string> BadValues()
    {
        // a command may have deleted it
        if (!this->foreign.isvalid()) this->foreign.set(static_cast<nRoot*>(this->ks.New("nenv", "/sweepforeign")));
        return SweepBadValues(this->foreign->GetFullName().Get());
    }

    void Call(const std::string& member, const std::vector<std::string>& args)
    {
        nRoot* obj = this->Target();
        if (!obj) return;
        std::string line = obj->GetFullName().Get();
        line += "." + member;
        for (const std::string& a : args) line += " {" + a + "}";
        this->Eval(line);
    }

    void SweepCommand(const std::string& member, const std::string& ins)
    {
        const auto plausible = [this](char t) { return this->Plausible(t); };
        for (const auto& args : SweepArgumentLists(ins, plausible, this->BadValues())) this->Call(member, args);
    }

    std::string className;
    int progressFd;
    ChildQuietLog log;
    AllPackagesKernel ks;
    nScriptServer* script = nullptr;
    nRef<nRoot> target;
    nRef<nRoot> foreign;
    int made = 0;
};

/// Runs body in a child process with a fresh kernel.
/// Results: the child's exit status, and the last line it reported.
int InChild(const std::string& dir, const std::string& className, void (*body)(ClassSweep&), std::string& last,
            size_t& calls)
{
    return SweepInChild(
        dir,
        [&className, body](int progressFd) {
            ClassSweep sweep(className, progressFd);
            body(sweep);
            return SweepOk;
        },
        last, calls);
}

TEST(CommandSweep, TheInterpretersEngineCommandsSurviveBadArguments)
{
    UserTempDir home;
    std::string last;
    size_t calls = 0;
    const int status = InChild(home.Path(), "nroot", [](ClassSweep& s) { s.RunEngineCommands(); }, last, calls);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == SweepOk) << "last call: " << last << " ("
                                                                      << SweepDescribe(status) << ")";
    EXPECT_GT(calls, 100u);
}

TEST(CommandSweep, EveryCommandOfEveryClassSurvivesBadArguments)
{
    const std::vector<std::string> classes = AllClassNames();
    ASSERT_GT(classes.size(), 10u);
    UserTempDir home;
    size_t total = 0;
    std::set<std::string> swept;
    for (const std::string& className : classes)
    {
        std::string last;
        size_t calls = 0;
        const int status = InChild(home.Path(), className, [](ClassSweep& s) { s.Run(); }, last, calls);
        total += calls;
        if (calls > 0) swept.insert(className);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == SweepOk)
            << "class " << className << " did not survive; last call: " << last << " (" << SweepDescribe(status) << ")";
    }
    // the tree classes every package builds on are reached: a sweep that
    // could make no object would pass without calling anything
    for (const char* cl : {"nroot", "nenv", "nfilenode", "ntimeserver", "ntclserver"})
    {
        EXPECT_TRUE(swept.count(cl)) << cl;
    }
    std::string names;
    for (const std::string& n : swept) names += n + " ";
    printf("swept %zu classes with %zu calls: %s\n", swept.size(), total, names.c_str());
}

}  // namespace
