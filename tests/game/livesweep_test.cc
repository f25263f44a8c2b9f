//------------------------------------------------------------------------------
//  The live sweep: the game application itself, headless and in a match,
//  is given what a person at its console could type. Through its script
//  server, with fail-on-error cleared as the console has it, every command
//  of every object in its tree is called with the command sweep's bad
//  arguments; then every object of the tree, at every depth, is deleted
//  in a fresh run (a few deep ones one after another in the same run).
//  After each the game must go on drawing frames and answer, and then
//  leave for its menu and start and draw the next match.
//
//  Objects and commands are read from the running game, so later classes
//  are swept without a change here; an object whose name holds an address
//  is found again by its place in the tree. Each run lives in a child process of
//  its own: a crash names the run's last line, and the next run starts
//  clean. The work is cut into shards (see CMakeLists.txt) that CTest runs
//  side by side.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "headlessgame.h"
#include "sweepcalls.h"

#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "kernel/ncmdproto.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

/// an object of the running game: its path, class, and place in the tree as the child numbers
/// from the root down ("." is the root, ".0.2" the third child of its first child)
struct Object
{
    std::string path;
    std::string className;
    std::string place;
};

/// every object below root (root included), depth first
void Collect(nRoot* root, std::vector<Object>& out, const std::string& place = ".")
{
    out.push_back(Object{root->GetFullName().Get(), root->GetClass()->GetName(), place});
    int i = 0;
    for (nRoot* c = root->GetHead(); c; c = c->GetSucc())
    {
        Collect(c, out, (place == "." ? "." : place + ".") + std::to_string(i++));
    }
}

/// Results: the listed object's path in this run, or "" when it is not there. Some names
/// hold an address ("<n>_bar-trail") and differ from run to run: such an object is
/// found by its place, when the object there is of its class.
std::string PathNow(nKernelServer* ks, const Object& o)
{
    if (ks->Lookup(o.path.c_str())) return o.path;
    nRoot* cur = ks->GetRoot();
    for (size_t at = 1; cur && at < o.place.size();)
    {
        const size_t dot = o.place.find('.', at);
        int n = atoi(o.place.substr(at, dot == std::string::npos ? std::string::npos : dot - at).c_str());
        for (cur = cur->GetHead(); cur && n > 0; n--) cur = cur->GetSucc();
        at = dot == std::string::npos ? o.place.size() : dot + 1;
    }
    if (!cur || o.className != cur->GetClass()->GetName()) return "";
    return cur->GetFullName().Get();
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

    /// Results: true when the game, back in its main menu, starts the next match and draws it
    /// (what a deletion leaves behind may show only in the states it makes anew).
    bool NextMatch()
    {
        this->Eval("/theApp.setstate main_menu");
        if (!this->GoesOn()) return false;
        this->Eval("StartMatch");
        if (!this->GoesOn()) return false;
        // as the game's match script builds its HUD at the start of a match
        this->Eval("/sys/servers/gui.newwindow nguiwindow true");
        return this->GoesOn();
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

    /// Results: the line's result (an error's message)
    std::string Result(const std::string& line)
    {
        nString result;
        this->script->Run(line.c_str(), result);
        return result.Get() ? result.Get() : "";
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
                for (const Object& o : objects) fprintf(f, "%s %s %s\n", o.className.c_str(), o.place.c_str(), o.path.c_str());
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
            char* second = space ? strchr(space + 1, ' ') : nullptr;
            if (second)
            {
                objects.push_back(Object{second + 1, std::string(line, (size_t)(space - line)),
                                         std::string(space + 1, (size_t)(second - space - 1))});
            }
        }
        fclose(f);
        return objects;
    }

    std::string home;
};

TEST_F(LiveSweepTest, EveryCommandOfEveryObjectInAMatch)
{
    const Shard shard = ShardFromEnvironment();
    const std::vector<Object> objects = this->Objects();
    ASSERT_GT(objects.size(), 20u);
    // every class's commands on its first object, and every server's and top object's; the
    // many objects of one class below them (input states, prototype values) add little
    std::vector<Object> chosen;
    std::set<std::string> classes;
    for (const Object& o : objects)
    {
        if (classes.insert(o.className).second || Depth(o.path) <= 3) chosen.push_back(o);
    }
    std::vector<Object> mine;
    for (size_t i = 0; i < chosen.size(); i++)
    {
        if (shard.Takes(i)) mine.push_back(chosen[i]);
    }
    std::string last;
    const int status = InChild(
        this->home,
        [&mine](LiveRun& run) {
            for (const Object& o : mine)
            {
                const std::string path = PathNow(run.Kernel(), o);
                if (path.empty()) continue;
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

/// What the match draws from, deleted at once from the console, each in a fresh run: the game goes
/// on, the next match starts, and what a frame needs is made again. The trail is found by its name,
/// which holds an address.
TEST_F(LiveSweepTest, DeletingWhatTheMatchDrawsFrom)
{
    struct Case
    {
        const char* deleted;
        const char* check;
        const char* expected;
    };
    const Case cases[] = {
        // shaders' effect values hold the pool's textures when it goes
        {"/sys/share/rsrc/tex", "exists /sys/share/rsrc/tex", "1"},
        {"/sys/share/rsrc/shd", "exists /sys/share/rsrc/shd", "1"},
        {"/sys/share/rsrc/mesh", "exists /sys/share/rsrc/mesh", "1"},
        {"/sys/share/rsrc/font", "exists /gui", "1"},
        {"/sys/share/rsrc/skins", "exists /gui", "1"},
        {"/sys/share/rsrc/sndrsrc", "exists /gui", "1"},
        {"/sys/share/rsrc/sndinst", "exists /gui", "1"},
        {"/sys/share/rsrc/anim", "exists /gui", "1"},
        // the next match's HUD window finds no gui root: it is made again
        {"/gui", "exists /gui", "1"},
        {"_bar-trail", "exists /gui", "1"},
        {"_bar", "exists /gui", "1"},
    };
    for (const Case& c : cases)
    {
        std::string last, result;
        const std::string resultFile = this->home + "livesweep-result.txt";
        const int status = InChild(
            this->home,
            [&c, &resultFile](LiveRun& run) {
                std::string path = c.deleted;
                if (path[0] != '/')
                {
                    // the player's health bar widget with this suffix
                    nRoot* window = nGuiServer::Instance()->GetRootWindowPointer();
                    for (nRoot* w = window ? window->GetHead() : nullptr; w; w = w->GetSucc())
                    {
                        const std::string name = w->GetName();
                        if (name.size() > path.size() && name.compare(name.size() - path.size(), path.size(), path) == 0)
                        {
                            path = w->GetFullName().Get();
                            break;
                        }
                    }
                    if (path[0] != '/') return 7;
                }
                run.Eval("delete " + path);
                if (!run.GoesOn() || !run.NextMatch()) return 6;
                FILE* f = fopen(resultFile.c_str(), "w");
                if (!f) return 5;
                fprintf(f, "%s", run.Result(c.check).c_str());
                fclose(f);
                return ChildOk;
            },
            last);
        EXPECT_TRUE(Survived(status)) << "delete " << c.deleted << ": last line: " << last << " ("
                                      << SweepDescribe(status) << ")";
        FILE* f = fopen(resultFile.c_str(), "r");
        char buf[256] = "";
        if (f && !fgets(buf, sizeof(buf), f)) buf[0] = 0;
        if (f) fclose(f);
        std::filesystem::remove(resultFile);
        EXPECT_EQ(std::string(buf), c.expected) << "delete " << c.deleted << ", then " << c.check;
    }
}

/// whether the object is a resource pool ("/sys/share/rsrc/tex" ...): it takes every resource of its
/// kind along, whoever holds them
bool IsPool(const std::string& path)
{
    static const std::string pools = "/sys/share/rsrc/";
    return path.compare(0, pools.size(), pools) == 0 && path.find('/', pools.size()) == std::string::npos;
}

/// Splits a shard's objects into runs: the servers, the application, the resource pools and the other
/// objects near the top each in a run of their own, since their loss changes most; deeper ones in
/// small batches, each batch drawn from across the whole tree and deleted deepest first, so that one
/// seldom takes another.
std::vector<std::vector<Object>> DeleteRuns(const std::vector<Object>& mine, size_t batchSize)
{
    std::vector<std::vector<Object>> runs;
    std::vector<Object> deep;
    for (const Object& o : mine)
    {
        if (Depth(o.path) <= 3 || IsPool(o.path)) runs.push_back({o});
        else deep.push_back(o);
    }
    const size_t batches = (deep.size() + batchSize - 1) / batchSize;
    std::vector<std::vector<Object>> batched(batches);
    for (size_t i = 0; i < deep.size(); i++) batched[i % batches].push_back(deep[i]);
    for (std::vector<Object>& b : batched)
    {
        std::stable_sort(b.begin(), b.end(), [](const Object& l, const Object& r) { return Depth(l.path) > Depth(r.path); });
        runs.push_back(b);
    }
    return runs;
}

/// the objects of a batch per run; 1 deletes each in a run of its own
size_t DeleteBatchSize()
{
    const char* v = getenv("LIVE_SWEEP_BATCH");
    const int n = v ? atoi(v) : 0;
    return n > 0 ? (size_t)n : 1;
}

TEST_F(LiveSweepTest, DeletingAnObjectInAMatch)
{
    const Shard shard = ShardFromEnvironment();
    const std::vector<Object> objects = this->Objects();
    ASSERT_GT(objects.size(), 20u);
    // every object at every depth, the root and the "in use" ones too: the game refuses those
    std::vector<Object> mine;
    for (size_t i = 0; i < objects.size(); i++)
    {
        if (shard.Takes(i) && !excludedDeletes.count(objects[i].path)) mine.push_back(objects[i]);
    }
    // Deletes the objects one after another in one run, with frames after each.
    // Results: the places of those an earlier deletion of the run took along (tried again alone).
    const std::string missingList = this->home + "livesweep-missing.txt";
    const auto deleteAll = [this, &missingList](const std::vector<Object>& batch) {
        std::filesystem::remove(missingList);
        std::string last;
        const int status = InChild(
            this->home,
            [&batch, &missingList](LiveRun& run) {
                // found before the first deletion: places shift as siblings go
                std::vector<std::string> paths;
                for (const Object& o : batch) paths.push_back(PathNow(run.Kernel(), o));
                for (size_t i = 0; i < batch.size(); i++)
                {
                    if (paths[i].empty() || !run.Kernel()->Lookup(paths[i].c_str()))
                    {
                        FILE* f = fopen(missingList.c_str(), "a");
                        if (f) fprintf(f, "%s\n", batch[i].place.c_str());
                        if (f) fclose(f);
                        continue;
                    }
                    run.Eval("delete " + paths[i]);
                    run.Eval("# frames after deleting " + paths[i]);
                    if (!run.GoesOn())
                    {
                        fprintf(stderr, "the game stopped after deleting %s\n", paths[i].c_str());
                        return 6;
                    }
                }
                if (!run.NextMatch())
                {
                    fprintf(stderr, "the game stopped in the next match\n");
                    return 6;
                }
                return ChildOk;
            },
            last);
        EXPECT_TRUE(Survived(status)) << "deleting " << batch.front().path << " ... " << batch.back().path
                                      << ": last line: " << last << " (" << SweepDescribe(status) << ")";
        std::set<std::string> missing;
        FILE* f = fopen(missingList.c_str(), "r");
        char line[4096];
        while (f && fgets(line, sizeof(line), f))
        {
            line[strcspn(line, "\n")] = 0;
            missing.insert(line);
        }
        if (f) fclose(f);
        std::vector<Object> result;
        for (const Object& o : batch)
        {
            if (missing.count(o.place)) result.push_back(o);
        }
        return result;
    };
    const std::vector<std::vector<Object>> runs = DeleteRuns(mine, DeleteBatchSize());
    std::vector<Object> again;
    for (const std::vector<Object>& batch : runs)
    {
        const std::vector<Object> missing = deleteAll(batch);
        again.insert(again.end(), missing.begin(), missing.end());
    }
    // the match's clock is locked and its random numbers seeded: what the list saw, a fresh run has
    for (const Object& o : again)
    {
        EXPECT_TRUE(deleteAll({o}).empty()) << o.path << " (" << o.place << ") is not in a fresh run";
    }
    printf("deleted %zu of %zu objects in %zu runs (%zu again alone)\n", mine.size(), objects.size(),
           runs.size() + again.size(), again.size());
}

}  // namespace
