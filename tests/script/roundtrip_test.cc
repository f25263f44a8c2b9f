//------------------------------------------------------------------------------
//  The persistence round trip: an object of every class a script can
//  create is given values other than its defaults (each set-command with
//  a sample value), saved as ".n2" and as binary, and each file is loaded
//  into a fresh kernel. The loaded object must answer every get-command as
//  the original did, and saving it again must give the same bytes.
//
//  Classes are read from the kernel at run time. Each class runs in a
//  child process of its own (as in the command sweep): a fatal error
//  names the class and its step.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "childkernel.h"
#include "game/nparticleshapenode.h"
#include "kernel/nclass.h"
#include "kernel/ncmdproto.h"
#include "kernel/nloghandler.h"
#include "kernel/npersistserver.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"
#include "usertempdir.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

/// Classes whose objects save no state of their own (their SaveCmds write
/// the base object's commands only, or nothing), so that a loaded object
/// is a fresh one; each group says why.
const std::set<std::string> savesNoState = {
    // servers and the application objects: set up by the program at
    // start, they write no commands of their own when saved
    "nmrtsceneserver", "nopenalserver", "napplication", "napp", "ngame", "nscriptprefserver", "npersistserver",
    "nvariableserver", "nprefserver", "nwin32prefserver", "nsceneserver", "ninputserver", "ndi8server",
    "naudioserver3", "ngfxserver2", "nd3d9server", "nvideoserver", "ndshowserver", "nguiserver",
    // physics: bodies and spaces are created by script after a load
    "nopendebody", "nopendespace", "nopendesimplespace", "nopendehashspace", "nopendequadtreespace",
};

/// Get-commands whose answers are not state a file carries, as
/// "class.command": the class or any class derived from it ("*" for
/// every class); each group says why.
const std::set<std::string> unsavedGetters = {
    // the reference count and size belong to the running program
    "*.getrefcount", "*.getinstancesize",
    // a transform node saves its Euler angles only while it turns by them;
    // after a quaternion was set, the quaternion alone is saved
    "ntransformnode.geteuler",
    // the GUI widgets save the base widget's values only: commands,
    // tooltip, brushes, blinking and the rectangle
    "nguiwindow.getclosecommand", "nguiwindow.getescapecommand", "nguiwindow.isdismissed", "nguiwindow.ismodal",
    "nguiclientwindow.gettitle", "nguiclientwindow2.ismovable", "nguiclientwindow2.isresizable",
    "nguitextwindow.gettextfile", "nguitextlabel.getborder", "nguitextlabel.getcolor", "nguitextlabel.getfont",
    "nguitextlabel.getint", "nguitextlabel.gettext", "nguitextentry.getactive", "nguitextentry.getcursorbrush",
    "nguitextentry.getemptytext", "nguitextentry.getmaxlength", "nguitextview.getfont",
    "nguitextview.getselectionenabled", "nguitextview.getselectionindex", "nguitextview.gettextcolor",
    "nguiskin.getactivewindowcolor", "nguiskin.getbuttonfont", "nguiskin.getbuttontextcolor",
    "nguiskin.getentrytextcolor", "nguiskin.getinactivewindowcolor", "nguiskin.getlabelfont",
    "nguiskin.getlabeltextcolor", "nguiskin.getmenutextcolor", "nguiskin.gettextcolor", "nguiskin.gettexturepostfix",
    "nguiskin.gettextureprefix", "nguiskin.gettitletextcolor", "nguiskin.getwindowborder", "nguiskin.getwindowfont",
};

/// Set-commands that are not given a sample value, listed as the getters.
const std::set<std::string> skippedSetters = {
    // renaming moves the object away from the path it is loaded at
    "*.setname",
    // the plain graphics server's display stops the program by design
    "ngfxserver2.setdisplaymode", "ngfxserver2.seticon",
};

/// What a class needs around its object: a line run in every kernel
/// before the object is made or loaded, and commands given to the new
/// object before its sample values (by base class).
struct Setup
{
    const char* base;
    const char* context;
    const char* prepare;
};
const Setup setups[] = {
    // a joint and a geom take their values once their ODE object exists
    {"nopendejoint", "new nopendeworld /rt/w", "Create /rt/w"},
    {"nopendegeom", "", "Create none"},
};

constexpr int ChildOk = 0;

/// whether "class.cmd" is listed for the object's class or a superclass
bool Listed(const std::set<std::string>& list, nRoot* obj, const std::string& cmd)
{
    for (const std::string& entry : list)
    {
        const size_t dot = entry.find('.');
        if (entry.substr(dot + 1) != cmd) continue;
        const std::string cls = entry.substr(0, dot);
        if (cls == "*" || obj->IsA(cls.c_str())) return true;
    }
    return false;
}

std::string Lower(std::string s)
{
    for (char& c : s) c = (char)tolower((unsigned char)c);
    return s;
}

/// one command prototype, split
struct Proto
{
    std::string outs;
    std::string name;
    std::string ins;
};

std::vector<Proto> Protos(nObject* obj)
{
    std::vector<Proto> protos;
    nHashList list;
    obj->GetCmdProtos(&list);
    nHashNode* node;
    while ((node = list.RemHead()) != nullptr)
    {
        char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
        if (nCmdProto::ParseProtoDef(static_cast<const nCmdProto*>(node->GetData())->GetProtoDef(), outs, name, ins))
        {
            protos.push_back({outs, name, ins});
        }
        n_delete(node);
    }
    return protos;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

/// sample values for an argument type, tried in turn
std::vector<std::string> Samples(char type)
{
    switch (type)
    {
        case 'i': return {"2", "1", "3"};
        case 'f': return {"0.25", "1.5", "2"};
        case 'b': return {"true", "false"};
        case 's': return {"rtsample"};
        default: return {};
    }
}

/// A kernel with every package, a Tcl server and the parent "/rt".
class Kernel
{
public:
    explicit Kernel(int reportFd) : reportFd(reportFd)
    {
        this->ks.SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks.New("ntclserver", "/sys/servers/script"));
        this->script->SetFailOnError(false);
        this->ks.New("nroot", "/rt");
    }

    /// runs the context lines of every setup the class derives from
    void Context(const std::string& cls)
    {
        const nClass* c = this->ks.FindClass(cls.c_str());
        for (const Setup& s : setups)
        {
            if (c && c->IsA(s.base) && *s.context) this->Run(s.context);
        }
    }

    /// gives the new object the prepare commands of its setups
    void Prepare(nRoot* obj)
    {
        for (const Setup& s : setups)
        {
            if (obj->IsA(s.base)) this->Run(std::string(obj->GetFullName().Get()) + "." + s.prepare);
        }
    }
    ~Kernel() { this->ks.SetLogHandler(nullptr); }

    /// runs a line; its result, or "ERR" when it failed
    std::string Run(const std::string& line)
    {
        this->Step(line);
        nString result;
        if (!this->script->Run(line.c_str(), result)) return "ERR";
        return result.Get() ? result.Get() : "";
    }

    /// the progress line the parent shows when the child dies
    void Step(const std::string& what)
    {
        const std::string line = what.substr(0, 200) + "\n";
        if (write(this->reportFd, line.data(), line.size()) < 0)
        {
            // the parent only loses the last step's name
        }
    }

    /// the answer of every get-command without arguments, by name
    std::map<std::string, std::string> Answers(nRoot* obj)
    {
        std::map<std::string, std::string> answers;
        const std::string path = obj->GetFullName().Get();
        for (const Proto& p : Protos(obj))
        {
            const std::string name = Lower(p.name);
            if (!p.ins.empty() || p.outs.empty()) continue;
            if (name.rfind("get", 0) != 0 && name.rfind("is", 0) != 0) continue;
            if (Listed(unsavedGetters, obj, name)) continue;
            answers[name] = this->Run(path + "." + p.name);
        }
        return answers;
    }

    /// gives each set-command of the object a sample value
    void SetSamples(nRoot* obj)
    {
        const std::string path = obj->GetFullName().Get();
        for (const Proto& p : Protos(obj))
        {
            const std::string name = Lower(p.name);
            if (!p.outs.empty() || name.rfind("set", 0) != 0 || p.ins.empty()) continue;
            if (Listed(skippedSetters, obj, name)) continue;
            for (int attempt = 0; attempt < 3; attempt++)
            {
                std::string line = path + "." + p.name;
                bool usable = true;
                for (char t : p.ins)
                {
                    const std::vector<std::string> s = Samples(t);
                    if (s.empty())
                    {
                        usable = false;
                        break;
                    }
                    line += " " + s[(size_t)attempt % s.size()];
                }
                if (!usable || this->Run(line) != "ERR") break;
            }
        }
    }

    int reportFd;
    ChildQuietLog log;
    AllPackagesKernel ks;
    nScriptServer* script = nullptr;
};

/// what a child found: its first line names the outcome
std::string Compare(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after)
{
    std::string diff;
    for (const auto& [name, answer] : before)
    {
        const auto it = after.find(name);
        const std::string other = it == after.end() ? "(none)" : it->second;
        if (other != answer) diff += "  " + name + ": '" + answer.substr(0, 120) + "' then '" + other.substr(0, 120) + "'\n";
    }
    return diff;
}

/// Runs the round trip of one class; the findings go to out.
/// Results: the text of the differences, "" when none, "skip" when no
/// object of the class can be made by script.
std::string RoundTrip(const std::string& cls, int progressFd)
{
    std::map<std::string, std::string> before;
    const char* savers[2] = {"ntclserver", "nbinscriptserver"};
    const char* files[2] = {"rt.n2", "rt.nob"};
    {
        Kernel k(progressFd);
        k.Context(cls);
        k.Run("new " + cls + " /rt/obj");
        nRoot* obj = k.ks.Lookup("/rt/obj");
        if (!obj || obj->GetClass() != k.ks.FindClass(cls.c_str())) return "skip";
        k.Prepare(obj);
        const std::map<std::string, std::string> fresh = k.Answers(obj);
        k.SetSamples(obj);
        before = k.Answers(obj);
        int changed = 0;
        for (const auto& [name, answer] : before) changed += (fresh.at(name) != answer);
        k.Step("changed " + std::to_string(changed) + " of " + std::to_string(before.size()));
        for (int i = 0; i < 2; i++)
        {
            k.Step(std::string("save ") + files[i]);
            k.ks.GetPersistServer()->SetSaverClass(savers[i]);
            if (!obj->SaveAs(files[i])) return std::string("saving ") + files[i] + " failed\n";
        }
    }
    std::string diff;
    for (int i = 0; i < 2; i++)
    {
        Kernel k(progressFd);
        k.Context(cls);
        k.Step(std::string("load ") + files[i]);
        nObject* loaded = k.ks.LoadAs(files[i], "/rt/obj");
        if (!loaded || !loaded->IsA("nroot"))
        {
            diff += std::string(files[i]) + " did not load\n";
            continue;
        }
        nRoot* obj = static_cast<nRoot*>(loaded);
        const std::string answers = Compare(before, k.Answers(obj));
        if (!answers.empty()) diff += std::string("answers after loading ") + files[i] + ":\n" + answers;
        const std::string again = std::string("again.") + files[i];
        k.ks.GetPersistServer()->SetSaverClass(savers[i]);
        k.Step("save " + again);
        if (!obj->SaveAs(again.c_str()) || ReadFile(again) != ReadFile(files[i]))
        {
            diff += std::string(files[i]) + " saved again differs:\n" + ReadFile(files[i]).substr(0, 600) +
                    "\n---\n" + ReadFile(again).substr(0, 600) + "\n";
        }
    }
    return diff;
}

/// everything read from fd
std::string ReadAll(int fd)
{
    std::string all;
    char buf[4096];
    ssize_t n;
    while ((n = read(fd, buf, sizeof(buf))) > 0) all.append(buf, (size_t)n);
    return all;
}

/// Runs one class in a child process in dir.
/// Results: the child's exit status; its findings; its last step.
int InChild(const std::string& dir, const std::string& cls, std::string& findings, std::string& last)
{
    int progress[2];
    int result[2];
    if (pipe(progress) != 0 || pipe(result) != 0) return -1;
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0)
    {
        close(progress[0]);
        close(result[0]);
        if (chdir(dir.c_str()) != 0) _exit(2);
        const std::string found = RoundTrip(cls, progress[1]);
        if (write(result[1], found.data(), found.size()) < 0) _exit(2);
        _exit(ChildOk);
    }
    close(progress[1]);
    close(result[1]);
    std::string steps = ReadAll(progress[0]);
    findings = ReadAll(result[0]);
    close(progress[0]);
    close(result[0]);
    if (!steps.empty() && steps.back() == '\n') steps.pop_back();
    last = steps.substr(steps.rfind('\n') == std::string::npos ? 0 : steps.rfind('\n') + 1);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return status;
}

TEST(RoundTrip, EveryClassLoadsWhatItSaved)
{
    const std::vector<std::string> classes = AllClassNames();
    ASSERT_GT(classes.size(), 10u);
    std::set<std::string> checked;
    for (const std::string& cls : classes)
    {
        if (savesNoState.count(cls)) continue;
        UserTempDir home;
        std::string findings;
        std::string last;
        const int status = InChild(home.Path(), cls, findings, last);
        const bool ran = WIFEXITED(status) && WEXITSTATUS(status) == ChildOk;
        EXPECT_TRUE(ran) << "class " << cls << " stopped at: " << last;
        if (!ran || findings == "skip") continue;
        EXPECT_EQ(findings, "") << "class " << cls;
        checked.insert(cls);
    }
    // the classes the persistence work is about are reached
    for (const char* cl : {"nroot", "nenv", "nopendeworld", "nopendehingejoint", "nopendeboxgeom", "ntransformnode"})
    {
        EXPECT_TRUE(checked.count(cl)) << cl;
    }
    std::string names;
    for (const std::string& n : checked) names += n + " ";
    printf("round trip of %zu classes: %s\n", checked.size(), names.c_str());
}

/// The particle node has no getter for its curves: what is saved is read
/// from the file and from the loaded node.
TEST(RoundTrip, TheParticleShapeNodeKeepsItsLoopDurationAndCurves)
{
    UserTempDir home;
    const std::string file = home.Path() + "/particle.n2";
    {
        ChildQuietLog log;
        AllPackagesKernel ks;
        ks.SetLogHandler(&log);
        ks.New("ntclserver", "/sys/servers/script");
        auto* node = static_cast<nParticleShapeNode*>(ks.New("nparticleshapenode", "/particle"));
        node->SetLoop(true);
        node->SetEmissionDuration(2.5f);
        nParticleShapeNode::Curve c;
        c.keys[1] = 0.5f;
        c.keys[2] = 1.0f;
        c.amplitude = 0.75f;
        node->SetCurve(1, c);
        ASSERT_TRUE(node->SaveAs(file.c_str()));
        ks.SetLogHandler(nullptr);
    }
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find(".setloop true\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".setemissionduration 2.500000\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".setcurve 1 0.000000 0.500000 1.000000 0.000000 0.750000\n"), std::string::npos) << text;
    // curves never set are not written
    EXPECT_EQ(text.find(".setcurve 0 "), std::string::npos) << text;

    ChildQuietLog log;
    AllPackagesKernel ks;
    ks.SetLogHandler(&log);
    ks.New("ntclserver", "/sys/servers/script");
    auto* loaded = static_cast<nParticleShapeNode*>(ks.LoadAs(file.c_str(), "/particle"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->GetLoop());
    EXPECT_EQ(loaded->GetEmissionDuration(), 2.5f);
    EXPECT_EQ(loaded->GetCurveMax(1), 1.75f);
    ks.SetLogHandler(nullptr);
}

}  // namespace
