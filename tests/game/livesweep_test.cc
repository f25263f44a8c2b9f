//------------------------------------------------------------------------------
//  The live sweep: the game application itself, headless and in a match,
//  is given what a person at its console could type. Through its script
//  server, with fail-on-error cleared as the console has it, every command
//  of every object in its tree is called with the command sweep's bad
//  arguments; then, each in a fresh run, objects below the servers, the
//  application, the user tree and the resource pools are deleted one at a
//  time. After each the game must go on drawing frames and answer.
//
//  Objects and commands are read from the running game, so later classes
//  are swept without a change here. Each run lives in a child process of
//  its own: a crash names the run's last line, and the next run starts
//  clean. The work is cut into shards (see CMakeLists.txt) that CTest runs
//  side by side.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "headlessgame.h"
#include "sweepcalls.h"

#include "kernel/ncmdproto.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

/// Commands left out of the live sweep only, as "class.command"; each says why.
const std::set<std::string> liveExcludedCommands = {
    // every later frame waits the given seconds, on purpose: the sweep's
    // large values stop the game's clock for good
    "ntimeserver.waitdeltat",
};

/// Deletions left out of the sweep (by path), each with the reason; none now.
const std::set<std::string> excludedDeletes = {};

/// the frames a run draws in the match before the sweep, and after each step
constexpr int FramesToMatch = 10;
constexpr int FramesAfter = 3;
constexpr int ChildOk = 0;

/// the part of the work this shard does: items i with i % count == index
struct Shard
{
    int index;
    int count;
    bool Takes(size_t i) const { return (int)(i % (size_t)this->count) == this->index; }
};

/// an object of the running game
struct Object
{
    std::string path;
    std::string className;
};

/// every object below root (root included), depth first
void Collect(nRoot* root, std::vector<Object>& out)
{
    out.push_back(Object{root->GetFullName().Get(), root->GetClass()->GetName()});
    for (nRoot* c = root->GetHead(); c; c = c->GetSucc()) Collect(c, out);
}

/// the depth of an object's path ("/" is 0, "/sys" 1 ...)
int Depth(const std::string& path)
{
    return path == "/" ? 0 : (int)std::count(path.begin(), path.end(), '/');
}

/// A run of the game inside the child process.
class LiveRun
{
public:
    LiveRun(const std::string& home, int progressFd) : game(home), progressFd(progressFd)
    {
        // the sweep's bad arguments are each reported: only the tail is kept
        this->log.keep = 8192;
        this->game.Kernel()->SetLogHandler(&this->log);
    }

    /// Results: false when the game does not reach its match.
    bool Start()
    {
        if (!this->game.Open()) return false;
        this->script = static_cast<nScriptServer*>(this->game.Kernel()->Lookup("/sys/servers/script"));
        this->script->SetFailOnError(false);
        this->game.App()->beforeFrame = [this](int f) { this->game.PlayerInput(f); };
        this->game.Run(FramesToMatch);
        this->foreign = "/sys/share/livesweepforeign";
        this->game.Kernel()->New("nenv", this->foreign.c_str());
        return this->Answers();
    }

    /// Results: true when the game drew more frames and its script server answers.
    bool GoesOn()
    {
        const int before = this->game.App()->GetFrame();
        this->game.Run(FramesAfter);
        return this->game.App()->GetFrame() == before + FramesAfter && this->Answers();
    }

    /// report the line to the parent, then run it
    void Eval(const std::string& line)
    {
        const std::string progress = line.substr(0, 200) + "\n";
        if (write(this->progressFd, progress.data(), progress.size()) < 0)
        {
            // the parent only loses the name of a crashing line
        }
        nString ignored;
        this->script->Run(line.c_str(), ignored);
    }

    /// every command of the object with plausible, missing, extra and bad arguments
    void SweepObject(const std::string& path)
    {
        nRoot* obj = this->game.Kernel()->Lookup(path.c_str());
        if (!obj) return;
        const std::string className = obj->GetClass()->GetName();
        std::vector<std::string> protos = SweepCommandProtos(obj);
        std::sort(protos.begin(), protos.end());
        for (const std::string& proto : protos)
        {
            char outs[N_MAXPATH], name[N_MAXPATH], ins[N_MAXPATH];
            if (!nCmdProto::ParseProtoDef(proto.c_str(), outs, name, ins)) continue;
            const std::string member = className + "." + name;
            if (SweepExcludedCommands().count(member) || liveExcludedCommands.count(member)) continue;
            // an earlier command may have deleted or renamed it
            if (!this->game.Kernel()->Lookup(path.c_str())) return;
            this->SweepCommand(path, name, strcmp(ins, "v") == 0 ? "" : ins);
        }
    }

    nKernelServer* Kernel() { return this->game.Kernel(); }
    /// declared first, so that it outlives the game's kernel
    CaptureLog log;
    HeadlessGame game;

private:
    bool Answers()
    {
        nString result;
        return this->script->Run("/sys/servers/time.gettime", result) && result.Length() > 0;
    }

    std::string Plausible(char type, const std::string& path) const
    {
        switch (type)
        {
            case 'i': return "1";
            case 'f': return "1.5";
            case 'b': return "true";
            case 'o': return path;
            default: return "sweep";
        }
    }

    void Call(const std::string& path, const std::string& member, const std::vector<std::string>& args)
    {
        std::string line = path + "." + member;
        for (const std::string& a : args) line += " {" + a + "}";
        this->Eval(line);
    }

    void SweepCommand(const std::string& path, const std::string& member, const std::string& ins)
    {
        const auto plausible = [this, &path](char t) { return this->Plausible(t, path); };
        for (const auto& args : SweepArgumentLists(ins, plausible, SweepBadValues(this->foreign)))
        {
            this->Call(path, member, args);
        }
    }

    int progressFd;
    nScriptServer* script = nullptr;
    std::string foreign;
};

/// Runs body on a fresh game in a child process.
/// Results: the child's exit status, and the last line it reported.
template <class BODY> int
InChild(const std::string& home, BODY body, std::string& last)
{
    // the match saves the players when it ends: every run starts from the data's own
    std::filesystem::copy_file(std::string(HEADLESS_DATA_DIR) + "/players.n2", home + "players.n2",
                               std::filesystem::copy_options::overwrite_existing);
    size_t lines = 0;
    return SweepInChild(
        home,
        [&home, &body](int progressFd) {
            LiveRun run(home, progressFd);
            const int code = run.Start() ? body(run) : 4;
            if (code != ChildOk) fprintf(stderr, "%s%s\n", run.game.log.text.substr(0, 4000).c_str(), run.log.text.c_str());
            return code;
        },
        last, lines);
}

bool Survived(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == ChildOk;
}

/// LIVE_SWEEP_SHARD="index/count", or all of it
Shard ShardFromEnvironment()
{
    Shard s{0, 1};
    const char* v = getenv("LIVE_SWEEP_SHARD");
    if (v && sscanf(v, "%d/%d", &s.index, &s.count) == 2 && s.count > 0 && s.index >= 0 && s.index < s.count) return s;
    return Shard{0, 1};
}

/// how many deletions a shard tries (a seeded sample of the candidates); all when 0
int DeleteSample()
{
    const char* v = getenv("LIVE_SWEEP_DELETES");
    return v ? atoi(v) : 0;
}

class LiveSweepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->home = HeadlessGame::MakeHome();
        ASSERT_FALSE(this->home.empty());
    }
    void TearDown() override { std::filesystem::remove_all(this->home); }

    /// the objects of the running game, in a run of its own
    std::vector<Object> Objects()
    {
        const std::string list = this->home + "livesweep-objects.txt";
        std::string last;
        const int status = InChild(
            this->home,
            [&list](LiveRun& run) {
                std::vector<Object> objects;
                Collect(run.Kernel()->GetRoot(), objects);
                FILE* f = fopen(list.c_str(), "w");
                if (!f) return 5;
                for (const Object& o : objects) fprintf(f, "%s %s\n", o.className.c_str(), o.path.c_str());
                fclose(f);
                return ChildOk;
            },
            last);
        EXPECT_TRUE(Survived(status)) << SweepDescribe(status);
        std::vector<Object> objects;
        FILE* f = fopen(list.c_str(), "r");
        if (!f) return objects;
        char line[4096];
        while (fgets(line, sizeof(line), f))
        {
            line[strcspn(line, "\n")] = 0;
            char* space = strchr(line, ' ');
            if (space) objects.push_back(Object{space + 1, std::string(line, (size_t)(space - line))});
        }
        fclose(f);
        return objects;
    }

    std::string home;
};

bool Below(const std::string& path, const char* top)
{
    const size_t n = strlen(top);
    return path.compare(0, n, top) == 0 && path.size() > n && path[n] == '/';
}

TEST_F(LiveSweepTest, EveryCommandOfEveryObjectInAMatch)
{
    const Shard shard = ShardFromEnvironment();
    const std::vector<Object> objects = this->Objects();
    ASSERT_GT(objects.size(), 20u);
    // every class's commands on its first object, and every server's and top object's; the
    // many objects of one class below them (input states, prototype values) add little
    std::vector<std::string> chosen;
    std::set<std::string> classes;
    for (const Object& o : objects)
    {
        if (classes.insert(o.className).second || Depth(o.path) <= 3) chosen.push_back(o.path);
    }
    std::vector<std::string> mine;
    for (size_t i = 0; i < chosen.size(); i++)
    {
        if (shard.Takes(i)) mine.push_back(chosen[i]);
    }
    std::string last;
    const int status = InChild(
        this->home,
        [&mine](LiveRun& run) {
            for (const std::string& path : mine)
            {
                // the progress by object, for a sweep that runs away
                fprintf(stderr, "commands of %s\n", path.c_str());
                run.SweepObject(path);
                run.Eval("# frames after " + path);
                if (!run.GoesOn())
                {
                    fprintf(stderr, "the game stopped after the commands of %s\n", path.c_str());
                    return 6;
                }
            }
            return ChildOk;
        },
        last);
    EXPECT_TRUE(Survived(status)) << "last line: " << last << " (" << SweepDescribe(status) << ")";
    printf("swept the commands of %zu of %zu objects (%zu classes)\n", mine.size(), objects.size(), classes.size());
}

TEST_F(LiveSweepTest, DeletingAnObjectInAMatch)
{
    const Shard shard = ShardFromEnvironment();
    const std::vector<Object> objects = this->Objects();
    ASSERT_GT(objects.size(), 20u);
    std::vector<std::string> candidates;
    for (const Object& o : objects)
    {
        const std::string& p = o.path;
        const bool inside = p == "/sys/servers" || p == "/theApp" || p == "/usr" || p == "/sys/share/rsrc" ||
                            Below(p, "/sys/servers") || Below(p, "/theApp") || Below(p, "/usr") ||
                            Below(p, "/sys/share/rsrc") || p == "/sys" || p == "/sys/share";
        if (inside) candidates.push_back(p);
    }
    std::vector<std::string> mine;
    for (size_t i = 0; i < candidates.size(); i++)
    {
        if (shard.Takes(i)) mine.push_back(candidates[i]);
    }
    const int sample = DeleteSample();
    if (sample > 0 && (size_t)sample < mine.size())
    {
        // the servers and the application's own objects are always tried; the rest is sampled
        std::vector<std::string> kept, rest;
        for (const std::string& p : mine)
        {
            (Depth(p) <= 3 ? kept : rest).push_back(p);
        }
        std::mt19937 rng(42u + (unsigned)shard.index);
        std::shuffle(rest.begin(), rest.end(), rng);
        if ((int)kept.size() < sample) rest.resize(std::min(rest.size(), (size_t)sample - kept.size()));
        else rest.clear();
        mine = kept;
        mine.insert(mine.end(), rest.begin(), rest.end());
    }
    // left out after the sample is drawn, so that the sample stays when the list changes
    mine.erase(std::remove_if(mine.begin(), mine.end(), [](const std::string& p) { return excludedDeletes.count(p) > 0; }),
               mine.end());
    for (const std::string& path : mine)
    {
        std::string last;
        const int status = InChild(
            this->home,
            [&path](LiveRun& run) {
                run.Eval("delete " + path);
                run.Eval("# frames after deleting " + path);
                if (!run.GoesOn()) return 6;
                return ChildOk;
            },
            last);
        EXPECT_TRUE(Survived(status)) << "delete " << path << ": last line: " << last << " (" << SweepDescribe(status)
                                      << ")";
    }
    printf("deleted %zu of %zu candidates, one a run\n", mine.size(), candidates.size());
}

}  // namespace
