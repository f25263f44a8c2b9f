//------------------------------------------------------------------------------
//  Saving, loading and cloning objects with their subtrees, as persistence
//  scripts and in the binary format.
//------------------------------------------------------------------------------
#include "usertempdir.h"
#include "scriptfixture.h"

#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/npersistserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "platform/nplatformpaths.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using ::testing::HasSubstr;

namespace
{

/// every character a script would substitute or end a word at
const char* const TrickyText = "say \"hi\" $x [y] \\ {z}\nnext line";


}  // namespace

class PersistTest : public ScriptTest
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("persisttest");
        ScriptTest::SetUp();
        ks->GetFileServer()->SetAssign("tst", this->dir.c_str());
        this->ps = ks->GetPersistServer();
        ASSERT_NE(this->ps, nullptr);
    }

    void TearDown() override
    {
        ScriptTest::TearDown();
        std::filesystem::remove_all(this->dir);
    }

    nEnv* Env(const char* path) { return static_cast<nEnv*>(ks->New("nenv", path)); }

    /// the tree every format test saves: values of each type, two levels
    nRoot* BuildTree(const char* root)
    {
        const std::string r = root;
        nRoot* top = static_cast<nRoot*>(ks->New("nroot", root));
        Env((r + "/count").c_str())->SetI(5);
        Env((r + "/label").c_str())->SetS(TrickyText);
        Env((r + "/sub/ratio").c_str())->SetF(1.5f);
        Env((r + "/sub/flag").c_str())->SetB(true);
        Env((r + "/sub/link").c_str())->SetO(ks->Lookup((r + "/count").c_str()));
        Env((r + "/sub/none").c_str());
        return top;
    }

    /// the values of a tree built by BuildTree
    void ExpectTree(const char* root, const char* linkTarget)
    {
        const std::string r = root;
        nEnv* count = static_cast<nEnv*>(ks->Lookup((r + "/count").c_str()));
        ASSERT_NE(count, nullptr) << root;
        EXPECT_EQ(count->GetI(), 5);
        EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup((r + "/label").c_str()))->GetS(), TrickyText);
        EXPECT_FLOAT_EQ(static_cast<nEnv*>(ks->Lookup((r + "/sub/ratio").c_str()))->GetF(), 1.5f);
        EXPECT_TRUE(static_cast<nEnv*>(ks->Lookup((r + "/sub/flag").c_str()))->GetB());
        EXPECT_EQ(static_cast<nEnv*>(ks->Lookup((r + "/sub/link").c_str()))->GetO(), ks->Lookup(linkTarget));
        EXPECT_EQ(static_cast<nEnv*>(ks->Lookup((r + "/sub/none").c_str()))->GetType(), nArg::Void);
    }

    std::string Path(const char* name) const { return this->dir + "/" + name; }
    /// the golden file's bytes; with ENGINE_UPDATE_GOLDEN set, the produced
    /// file becomes the new golden file first (check the diff before committing)
    std::string Golden(const char* name) const
    {
        const std::string golden = std::string(ENGINE_GOLDEN_DIR) + "/" + name;
        if (getenv("ENGINE_UPDATE_GOLDEN")) WriteWholeFile(golden, ReadWholeFile(this->Path(name)));
        return ReadWholeFile(golden);
    }

    std::string dir;
    nPersistServer* ps = nullptr;
};

TEST_F(PersistTest, ScriptSaveMatchesTheGoldenFileAndLoadsBack)
{
    nRoot* t = BuildTree("/t");
    ASSERT_TRUE(t->SaveAs("tst:tree.n2"));
    EXPECT_EQ(ReadWholeFile(Path("tree.n2")), Golden("tree.n2"));
    EXPECT_FALSE(std::filesystem::exists(Path("tree.n2.saving")));

    nObject* loaded = ks->LoadAs("tst:tree.n2", "/copy");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded, ks->Lookup("/copy"));
    ExpectTree("/copy", "/t/count");
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
}

TEST_F(PersistTest, BinarySaveMatchesTheGoldenFileAndLoadsBack)
{
    nRoot* t = BuildTree("/t");
    ASSERT_TRUE(ps->SetSaverClass(nString("nbinscriptserver")));
    EXPECT_STREQ(ps->GetSaverClass().Get(), "nbinscriptserver");
    ASSERT_TRUE(t->SaveAs("tst:tree.nob"));
    EXPECT_EQ(ReadWholeFile(Path("tree.nob")), Golden("tree.nob"));

    nObject* loaded = ks->LoadAs("tst:tree.nob", "/copy");
    ASSERT_NE(loaded, nullptr);
    ExpectTree("/copy", "/t/count");
    EXPECT_NE(ks->Lookup("/sys/servers/persist/nbinscriptserver"), nullptr);
}

TEST_F(PersistTest, LoadWithoutNameTakesTheFileNameAndRefusesToOverwrite)
{
    BuildTree("/t")->SaveAs("tst:box.n2");
    nObject* box = ks->Load("tst:box.n2");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box, ks->Lookup("/box"));
    TakeLog();
    EXPECT_EQ(ks->Load("tst:box.n2"), nullptr);
    EXPECT_THAT(TakeLog(), HasSubstr("nPersistServer: trying to overwrite existing object '/box'!"));
    EXPECT_EQ(ks->Lookup("/box"), box);
}

TEST_F(PersistTest, CloneCopiesTheSubtreeAndKeepsTheCwd)
{
    nRoot* t = BuildTree("/t");
    nRoot* cwd = static_cast<nRoot*>(ks->New("nroot", "/work"));
    ks->SetCwd(cwd);
    nObject* clone = t->Clone("twin");
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone, ks->Lookup("/work/twin"));
    EXPECT_EQ(ks->GetCwd(), cwd);
    ExpectTree("/work/twin", "/t/count");
    EXPECT_EQ(ps->GetSaveMode(), nPersistServer::SAVEMODE_FOLD);
}

TEST_F(PersistTest, SaveLevelAndSaveFlagsShapeTheFile)
{
    nRoot* t = BuildTree("/t");
    ps->SetSaveLevel(1);
    ASSERT_TRUE(t->SaveAs("tst:level.n2"));
    ps->SetSaveLevel(0);
    const std::string level = ReadWholeFile(Path("level.n2"));
    EXPECT_THAT(level, HasSubstr("new nenv count\n\tsel count\nsel ..\n"));
    EXPECT_EQ(level.find(".seti"), std::string::npos);

    nRoot* sub = ks->Lookup("/t/sub");
    sub->SetSaveFlags(nRoot::N_FLAG_SAVEUPSIDEDOWN | nRoot::N_FLAG_SAVESHALLOW);
    ASSERT_TRUE(sub->SaveAs("tst:shallow.n2"));
    EXPECT_EQ(ReadWholeFile(Path("shallow.n2")), "# ---\n# $parser:ntclserver$ $class:nroot$\n# ---\n# ---\n# Eof\n");
}

TEST_F(PersistTest, AFailedSaveKeepsThePreviousFile)
{
    WriteWholeFile(Path("keep.nob"), "previous contents");
    ps->SetSaverClass(nString("nbinscriptserver"));
    nRoot* t = static_cast<nRoot*>(ks->New("nroot", "/t"));
    Env("/t/fits")->SetS(std::string(32765, 'a').c_str());   // 32767 bytes with its length
    ASSERT_TRUE(t->SaveAs("tst:fits.nob"));
    Env("/t/toolong")->SetS(std::string(32766, 'b').c_str());
    TakeLog();
    EXPECT_FALSE(t->SaveAs("tst:keep.nob"));
    EXPECT_THAT(TakeLog(), HasSubstr("does not fit the format"));
    EXPECT_EQ(ReadWholeFile(Path("keep.nob")), "previous contents");
    EXPECT_FALSE(std::filesystem::exists(Path("keep.nob.saving")));
    // so does a name longer than the format's strings
    ks->Lookup("/t/toolong")->Release();
    ks->Lookup("/t/fits")->SetName(std::string(70000, 'n').c_str());
    EXPECT_FALSE(t->SaveAs("tst:keep.nob"));
    EXPECT_EQ(ReadWholeFile(Path("keep.nob")), "previous contents");
}

TEST_F(PersistTest, ParseFileHeaderReadsTextAndBinaryHeaders)
{
    char buf[128];
    BuildTree("/t")->SaveAs("tst:tree.n2");
    EXPECT_STREQ(ps->ParseFileHeader("tst:tree.n2", "class", buf, sizeof(buf)), "nroot");
    EXPECT_STREQ(ps->ParseFileHeader("tst:tree.n2", "parser", buf, sizeof(buf)), "ntclserver");
    EXPECT_EQ(ps->ParseFileHeader("tst:tree.n2", "other", buf, sizeof(buf)), nullptr);

    ps->SetSaverClass(nString("nbinscriptserver"));
    static_cast<nRoot*>(ks->Lookup("/t/sub"))->SaveAs("tst:sub.nob");
    EXPECT_STREQ(ps->ParseFileHeader("tst:sub.nob", "parser", buf, sizeof(buf)), "nbinscriptserver");
    char small[4];
    EXPECT_STREQ(ps->ParseFileHeader("tst:sub.nob", "class", small, sizeof(small)), "nro");

    struct Case
    {
        std::string text;
        const char* log;
    } cases[] = {
        {std::string(300, ' ') + "$class:nroot$", nullptr},
        // each a line of the log of its own
        {"# $class:nroot", "outside first 256 bytes!\n"},
        {"# $classnroot$", "broken!\n"},
        {"", nullptr},
    };
    for (const Case& c : cases)
    {
        WriteWholeFile(Path("h.n2"), c.text);
        TakeLog();
        EXPECT_EQ(ps->ParseFileHeader("tst:h.n2", "class", buf, sizeof(buf)), nullptr) << c.text;
        if (c.log)
        {
            EXPECT_THAT(TakeLog(), HasSubstr(c.log));
        }
    }
    EXPECT_EQ(ps->ParseFileHeader("tst:missing.n2", "class", buf, sizeof(buf)), nullptr);
}

/// binary files built by hand
class BinaryLoadTest : public PersistTest
{
protected:
    void SetUp() override
    {
        PersistTest::SetUp();
        // made on first use otherwise, which would change the tree's shape
        ps->GetLoader("nbinscriptserver");
    }

    static std::string U16(uint16_t v) { return std::string{(char)(v & 0xff), (char)(v >> 8)}; }
    static std::string U32(uint32_t v)
    {
        std::string s;
        for (int i = 0; i < 4; i++) s += (char)((v >> (8 * i)) & 0xff);
        return s;
    }
    static std::string Str(const std::string& s) { return U16((uint16_t)s.size()) + s; }
    static std::string Header(const char* cls)
    {
        return U32(N_FOURCC('N', 'O', 'B', '0')) + Str(std::string("$parser:nbinscriptserver$ $class:") + cls + "$");
    }
    static std::string New(const char* cls, const char* name) { return U32(N_FOURCC('_', 'n', 'e', 'w')) + Str(cls) + Str(name); }
    static std::string Sel(const char* path) { return U32(N_FOURCC('_', 's', 'e', 'l')) + Str(path); }
    static std::string SetI(int v) { return U32(N_FOURCC('S', 'E', 'T', 'I')) + U16(4) + U32((uint32_t)v); }

    nObject* LoadBytes(const std::string& bytes)
    {
        WriteWholeFile(Path("f.nob"), bytes);
        return ks->LoadAs("tst:f.nob", "/loaded");
    }

    /// the names of the whole tree, to see that a failed load changed nothing
    std::string TreeShape(nRoot* r)
    {
        std::string s = r->GetName();
        s += "(";
        for (nRoot* c = r->GetHead(); c; c = c->GetSucc()) s += TreeShape(c) + " ";
        return s + ")";
    }
};

TEST_F(BinaryLoadTest, HeaderOnlyLoadsAnEmptyObject)
{
    nObject* o = LoadBytes(Header("nroot"));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(static_cast<nRoot*>(o)->GetHead(), nullptr);
    EXPECT_EQ(Header("ntransformnode").size(), 4u + 2u + 48u);
}

TEST_F(BinaryLoadTest, UnknownCommandsAreSkippedByTheirLength)
{
    const std::string bytes = Header("nroot") + New("nenv", "v") + U32(N_FOURCC('X', 'X', 'X', 'X')) + U16(3) + "abc" +
                              SetI(42) + Sel("..");
    ASSERT_NE(LoadBytes(bytes), nullptr);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/loaded/v"))->GetI(), 42);
}

TEST_F(BinaryLoadTest, KnownCommandsAreResynchronisedByTheirLength)
{
    // a newer writer stored a longer argument block than this reader uses
    const std::string bytes = Header("nroot") + New("nenv", "v") + U32(N_FOURCC('S', 'E', 'T', 'I')) + U16(6) +
                              U32(7) + "zz" + Sel("..") + New("nenv", "w") + SetI(8) + Sel("..");
    ASSERT_NE(LoadBytes(bytes), nullptr);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/loaded/v"))->GetI(), 7);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/loaded/w"))->GetI(), 8);
}

TEST_F(BinaryLoadTest, BrokenFilesFailAndLeaveNothingBehind)
{
    Env("/outside");
    const std::string good = Header("nroot") + New("nenv", "v") + SetI(1) + Sel("..");
    struct Case
    {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"unknown class", Header("nroot") + New("nnosuchclass", "x")},
        {"failing _sel", Header("nroot") + New("nenv", "v") + Sel("nothing/here")},
        {"argument longer than its length", Header("nroot") + New("nenv", "v") + U32(N_FOURCC('S', 'E', 'T', 'I')) + U16(2) + U32(1)},
        {"length past the end", Header("nroot") + New("nenv", "v") + U32(N_FOURCC('X', 'X', 'X', 'X')) + U16(100) + "ab"},
        {"objects made outside the loaded object", Header("nroot") + Sel("/") + New("nroot", "stray") + Sel("/nothing")},
        {"objects made below a non-tree object", Header("ntestplain") + New("nroot", "stray")},
        {"string longer than the file", Header("nroot") + U32(N_FOURCC('_', 'n', 'e', 'w')) + U16(50) + "nenv"},
        {"truncated block id", good + "xy"},
        {"not a NOB0 file", "0BOX" + good.substr(4)},
    };
    for (const Case& c : cases)
    {
        const std::string before = TreeShape(ks->GetRoot());
        TakeLog();
        EXPECT_EQ(LoadBytes(c.bytes), nullptr) << c.what;
        EXPECT_EQ(TreeShape(ks->GetRoot()), before) << c.what;
        EXPECT_NE(TakeLog(), "") << c.what;
        EXPECT_EQ(ks->GetCwd(), ks->GetRoot()) << c.what;
    }
}

TEST_F(BinaryLoadTest, EveryTruncationOfAValidFileLoadsOrFailsCleanly)
{
    BuildTree("/t");
    ps->SetSaverClass(nString("nbinscriptserver"));
    ASSERT_TRUE(static_cast<nRoot*>(ks->Lookup("/t"))->SaveAs("tst:full.nob"));
    const std::string full = ReadWholeFile(Path("full.nob"));
    const std::string before = TreeShape(ks->GetRoot());
    for (size_t len = 0; len < full.size(); len++)
    {
        nObject* o = LoadBytes(full.substr(0, len));
        if (o) static_cast<nRoot*>(o)->Release();
        EXPECT_EQ(TreeShape(ks->GetRoot()), before) << len;
    }
}

TEST_F(BinaryLoadTest, ObjectArgumentsThatNoLongerExistReadAsNone)
{
    const std::string bytes = Header("nroot") + New("nenv", "v") + U32(N_FOURCC('S', 'E', 'T', 'O')) +
                              U16(2 + 9) + Str("/vanished") + Sel("..") + New("nenv", "e") +
                              U32(N_FOURCC('S', 'E', 'T', 'S')) + U16(2) + Str("") + Sel("..");
    ASSERT_NE(LoadBytes(bytes), nullptr);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/loaded/v"))->GetO(), nullptr);
    EXPECT_STREQ(static_cast<nEnv*>(ks->Lookup("/loaded/e"))->GetS(), "");
}

TEST_F(PersistTest, AScriptThatLoadsAnotherFileKeepsItsCurrentObject)
{
    static_cast<nRoot*>(ks->New("nroot", "/inner"))->SaveAs("tst:empty.n2");
    Env("/inner/count")->SetI(3);
    ks->Lookup("/inner")->SaveAs("tst:inner.n2");
    WriteWholeFile(Path("outer.n2"),
         "# $parser:ntclserver$ $class:nroot$\n"
         "new nenv before\n"
         "get tst:inner.n2\n"
         "new nenv after\n");
    ks->Lookup("/inner")->Release();
    nObject* outer = ks->LoadAs("tst:outer.n2", "/outer");
    ASSERT_NE(outer, nullptr);
    EXPECT_NE(ks->Lookup("/outer/before"), nullptr);
    EXPECT_NE(ks->Lookup("/outer/inner/count"), nullptr);
    EXPECT_NE(ks->Lookup("/outer/after"), nullptr);
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
}

TEST_F(PersistTest, ABrokenScriptFileLeavesNoObject)
{
    WriteWholeFile(Path("broken.n2"), "# $parser:ntclserver$ $class:nroot$\nnew nenv ok\nthis is no command\n");
    script->SetFailOnError(false);
    EXPECT_EQ(ks->LoadAs("tst:broken.n2", "/broken"), nullptr);
    script->SetFailOnError(true);
    EXPECT_EQ(ks->Lookup("/broken"), nullptr);
}


TEST_F(PersistTest, CloneNeverFillsAnObjectThatAlreadyExists)
{
    BuildTree("/t");
    nRoot* other = static_cast<nRoot*>(ks->New("nroot", "/b"));
    TakeLog();
    // the commands of an nenv would reach an object of another class
    EXPECT_EQ(ks->Lookup("/t/count")->Clone("/b"), nullptr);
    EXPECT_THAT(TakeLog(), HasSubstr("nPersistServer: can't clone into existing object '/b'!"));
    EXPECT_EQ(ks->Lookup("/b"), other);
    EXPECT_EQ(other->GetHead(), nullptr);
    // an object is no copy of itself
    EXPECT_EQ(ks->Lookup("/t")->Clone("/t"), nullptr);
    EXPECT_EQ(ps->GetSaveMode(), nPersistServer::SAVEMODE_FOLD);
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());

    nObject* clone = ks->Lookup("/t")->Clone("/u");
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone, ks->Lookup("/u"));
    ExpectTree("/u", "/t/count");
}

TEST_F(PersistTest, ConstructorCommandsReachTheChildAndGoBackToTheirPrototype)
{
    nTestObj* p = NewTestObj("/p");
    nTestObj* c = NewTestObj("/p/c");
    nCmdProto* eval = p->GetClass()->FindCmdById(N_FOURCC('E', 'V', 'A', 'L'));
    nCmd* ctor = nullptr;
    // the child is saved with a command of its parent that makes it
    auto save = [&](const char* name, const std::string& ctorText = "new ntestobj c") {
        if (!ps->BeginObject(p, name, true)) return false;
        ctor = eval->NewCmd();
        ctor->In()->SetS(ctorText.c_str());
        EXPECT_TRUE(ps->BeginObjectWithCmd(c, ctor, "c"));
        nCmd* set = ps->GetCmd(c, N_FOURCC('S', 'E', 'T', 'I'));
        set->In()->SetI(5);
        ps->PutCmd(set);
        EXPECT_TRUE(ps->EndObject(true));
        return ps->EndObject(true);
    };

    ASSERT_TRUE(ps->SetSaverClass(nString("nbinscriptserver")));
    ASSERT_TRUE(save("tst:ctor.nob"));
    nObject* copy = ks->LoadAs("tst:ctor.nob", "/copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(static_cast<nTestObj*>(copy)->i, 7);
    ASSERT_NE(ks->Lookup("/copy/c"), nullptr);
    EXPECT_EQ(static_cast<nTestObj*>(ks->Lookup("/copy/c"))->i, 5);
    // one the format cannot hold fails the save
    EXPECT_FALSE(save("tst:ctor.nob", std::string(40000, ' ')));
    EXPECT_NE(ks->LoadAs("tst:ctor.nob", "/copy2"), nullptr);

    // a clone makes the child itself; the command still goes back
    ps->SetSaveMode(nPersistServer::SAVEMODE_CLONE);
    ASSERT_TRUE(save("/twin"));
    ps->SetSaveMode(nPersistServer::SAVEMODE_FOLD);
    EXPECT_EQ(static_cast<nTestObj*>(ks->Lookup("/twin/c"))->i, 5);
    nCmd* again = eval->NewCmd();
    EXPECT_EQ(again, ctor);
    eval->RelCmd(again);
}

TEST_F(PersistTest, ATreeLoadedFromANonTreeObjectsFileTakesItsOwnCommands)
{
    Env("/inner/count")->SetI(3);
    ASSERT_TRUE(ks->Lookup("/inner")->SaveAs("tst:inner.n2"));
    ks->Lookup("/inner")->Release();
    WriteWholeFile(Path("outer.n2"), "# $parser:ntclserver$ $class:ntestplain$\nget tst:inner.n2\n");
    script->SetFailOnError(false);
    nObject* outer = ks->Load("tst:outer.n2");
    script->SetFailOnError(true);
    ASSERT_NE(outer, nullptr);
    EXPECT_FALSE(outer->IsA("nroot"));
    ASSERT_NE(ks->Lookup("/inner/count"), nullptr);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/inner/count"))->GetI(), 3);
    EXPECT_EQ(nPersistServer::GetCurrentTargetObject(), nullptr);
    outer->Release();
}

TEST_F(PersistTest, AnObjectArgumentThatIsNoTreeObjectIsSavedAsNone)
{
    nObject* plain = ks->NewUnnamed("ntestplain");
    Env("/t/link")->SetO(plain);
    ASSERT_TRUE(ks->Lookup("/t")->SaveAs("tst:plain.n2"));
    EXPECT_THAT(ReadWholeFile(Path("plain.n2")), HasSubstr("\t.seto null\n"));
    // a script error would be fatal here
    ASSERT_NE(ks->LoadAs("tst:plain.n2", "/copy"), nullptr);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/copy/link"))->GetO(), nullptr);
    plain->Release();
}

TEST_F(PersistTest, ABinaryArgumentTypeWithoutEncodingIsFatal)
{
    nTestObj* o = NewTestObj("/o");
    nScriptServer* bin = ps->GetLoader("nbinscriptserver");
    nFile* file = bin->WriteBegin("tst:list.nob", o);
    ASSERT_NE(file, nullptr);
    nCmd* cmd = ps->GetCmd(o, N_FOURCC('S', 'L', 'S', 'T'));
    EXPECT_FATAL(bin->WriteCmd(file, cmd), "nBinScriptServer::WriteCmd\\(\\): unsupported data type!");
    cmd->GetProto()->RelCmd(cmd);
    bin->WriteEnd(file);
}

TEST_F(BinaryLoadTest, NestingBeyondTheLimitIsRefusedAndLeavesNothing)
{
    std::string bytes = Header("nroot");
    for (int i = 0; i < 100000; i++) bytes += New("nroot", "n");
    const std::string before = TreeShape(ks->GetRoot());
    TakeLog();
    EXPECT_EQ(LoadBytes(bytes), nullptr);
    EXPECT_THAT(TakeLog(), HasSubstr("objects nested too deeply"));
    EXPECT_EQ(TreeShape(ks->GetRoot()), before);

    // the limit itself still loads
    std::string deepest = Header("nroot");
    for (int i = 0; i < nPersistServer::MaxNesting; i++) deepest += New("nroot", "n");
    nObject* o = LoadBytes(deepest);
    ASSERT_NE(o, nullptr);
    static_cast<nRoot*>(o)->Release();
}

TEST_F(PersistTest, ATreeDeeperThanTheStackIsWalkedSavedAndKilledWithoutRecursion)
{
    nRoot* top = static_cast<nRoot*>(ks->New("nroot", "/deep"));
    nRoot* cur = top;
    const int depth = 100000;
    for (int i = 0; i < depth; i++)
    {
        nRoot* child = static_cast<nRoot*>(ks->NewUnnamed("nroot"));
        child->SetName("n");
        cur->AddTail(child);
        cur = child;
    }
    EXPECT_EQ(top->GetTreeSize(), (depth + 1) * top->GetInstanceSize());
    TakeLog();
    EXPECT_FALSE(top->SaveAs("tst:deep.n2"));
    EXPECT_THAT(TakeLog(), HasSubstr("nested deeper than 256 objects"));
    EXPECT_FALSE(std::filesystem::exists(Path("deep.n2")));
    top->Release();
    EXPECT_EQ(ks->Lookup("/deep"), nullptr);
}

TEST_F(PersistTest, AFailedLoadLeavesNoObjectBehind)
{
    script->SetFailOnError(false);
    const std::string before = Ok("/.getchildren");
    const char* const files[] = {
        // a non-tree object's file that makes a tree object where the caller is
        "# $parser:ntclserver$ $class:nobject$\nnew nroot child\nsel child\n",
        // a tree object's file that fails half-way
        "# $parser:ntclserver$ $class:nroot$\nnew nenv v\nsel v\n.seti 1\nsel ..\nnosuchcommand\n",
    };
    for (const char* text : files)
    {
        WriteWholeFile(Path("bad.n2"), text);
        EXPECT_EQ(ks->Load("tst:bad.n2"), nullptr) << text;
        EXPECT_EQ(Ok("/.getchildren"), before) << text;
        EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
    }
}

TEST_F(PersistTest, FilesThatLoadThemselvesStopAtTheNestingLimit)
{
    script->SetFailOnError(false);
    WriteWholeFile(Path("self.n2"), "# $parser:ntclserver$ $class:nroot$\nget tst:self.n2\n");
    const std::string before = Ok("/.getchildren");
    TakeLog();
    EXPECT_EQ(ks->Load("tst:self.n2"), nullptr);
    EXPECT_THAT(TakeLog(), HasSubstr("is loaded from files nested deeper than 256, not loaded!"));
    EXPECT_EQ(Ok("/.getchildren"), before);
}

TEST_F(PersistTest, FloatsKeepSixDecimalsUnlessTheyWouldNotReadBack)
{
    const struct
    {
        float value;
        const char* written;
    } cases[] = {
        {1.5f, ".setf 1.500000\n"},          {0.0f, ".setf 0.000000\n"},
        {-9.8f, ".setf -9.800000\n"},        {1e-10f, ".setf 1.00000001e-10\n"},
        {1.0f / 3.0f, ".setf 0.333333343\n"}, {123456.789f, ".setf 123456.789062\n"},
        {-2e-7f, ".setf -2.00000002e-07\n"},
    };
    for (const auto& c : cases)
    {
        Env("/f")->SetF(c.value);
        ASSERT_TRUE(ks->Lookup("/f")->SaveAs(Path("f.n2").c_str()));
        EXPECT_THAT(ReadWholeFile(Path("f.n2")), HasSubstr(c.written)) << c.value;
        ks->Lookup("/f")->Release();
        nEnv* loaded = static_cast<nEnv*>(ks->LoadAs(Path("f.n2").c_str(), "/f"));
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->GetF(), c.value) << c.written;
        loaded->Release();
    }
}
