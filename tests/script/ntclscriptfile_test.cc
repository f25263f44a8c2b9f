//------------------------------------------------------------------------------
//  Script files read through the file server (assigns and npk archives),
//  their errors, and the persistence-script writers.
//------------------------------------------------------------------------------
#include "usertempdir.h"
#include "scriptfixture.h"

#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "file/nnpkfileserver.h"
#include "file/npkwriter.h"
#include "platform/nplatformpaths.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using ::testing::HasSubstr;

class ScriptFileTest : public ScriptTest
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("scripttest");
        ScriptTest::SetUp();
        ks->GetFileServer()->SetAssign("tst", this->dir.c_str());
    }

    void TearDown() override
    {
        ScriptTest::TearDown();
        std::filesystem::remove_all(this->dir);
    }

    void WriteFile(const std::string& name, const std::string& text)
    {
        NpkWriter::WriteBytes(this->dir + "/" + name, text);
    }

    std::string ReadFile(const std::string& name) { return ReadWholeFile(this->dir + "/" + name); }

    /// RunScript with failOnError cleared; its success in 'ok'
    std::string RunFile(const char* name, bool& ok)
    {
        script->SetFailOnError(false);
        nString result;
        ok = script->RunScript(name, result);
        script->SetFailOnError(true);
        return result.Get();
    }

    /// a command of the object with one input set by 'fill'
    template <class FILL> nCmd* Cmd(nObject* obj, const char* name, FILL fill)
    {
        nCmd* cmd = obj->GetClass()->FindCmdByName(name)->NewCmd();
        fill(cmd->In());
        return cmd;
    }

    void Release(nCmd* cmd) { cmd->GetProto()->RelCmd(cmd); }

    /// writes one command of the object with one input set by 'fill'
    template <class FILL> void WriteCmd(nFile* file, nObject* obj, const char* name, FILL fill)
    {
        nCmd* cmd = Cmd(obj, name, fill);
        EXPECT_TRUE(script->WriteCmd(file, cmd));
        Release(cmd);
    }

    std::string dir;
};

TEST_F(ScriptFileTest, RunScriptEvaluatesTheWholeFile)
{
    struct Case
    {
        const char* text;
        bool ok;
        const char* result;
    } cases[] = {
        {"set a 1\nset b [expr {$a + 1}]", true, "2"},
        {"set a 1\nreturn 5\nset a 2\n", true, "5"},
        {"", true, ""},
        {"return -code error oops", false, "oops"},
        {"proc f {} { return inner }\nf\n", true, "inner"},
    };
    for (const Case& c : cases)
    {
        WriteFile("case.tcl", c.text);
        bool ok = false;
        EXPECT_EQ(RunFile("tst:case.tcl", ok), c.result) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
}

TEST_F(ScriptFileTest, ErrorsNameTheFileAndLine)
{
    WriteFile("bad.tcl", "set a 1\n\nerror boom\n");
    bool ok = true;
    EXPECT_EQ(RunFile("tst:bad.tcl", ok), "boom");
    EXPECT_FALSE(ok);
    EXPECT_EQ(TakeLog(), "*** Tcl error 'boom' in file tst:bad.tcl line 3.\n");
    EXPECT_THAT(Ok("set errorInfo"), HasSubstr("(file \"tst:bad.tcl\" line 3)"));

    nString result;
    EXPECT_FATAL(script->RunScript("tst:bad.tcl", result), "\\*\\*\\* Tcl error 'boom' in file tst:bad.tcl line 3\\.");
}

TEST_F(ScriptFileTest, AMissingFileIsAScriptError)
{
    bool ok = true;
    WriteFile("bad.tcl", "\n\n\nerror boom\n");
    RunFile("tst:bad.tcl", ok);
    TakeLog();
    // no line of the missing file ran: the earlier error's line 4 is not reported
    EXPECT_EQ(RunFile("tst:missing.tcl", ok), "could not open tcl script 'tst:missing.tcl'");
    EXPECT_FALSE(ok);
    EXPECT_EQ(TakeLog(), "*** Tcl error 'could not open tcl script 'tst:missing.tcl'' in file tst:missing.tcl line 0.\n");
    // a directory is no script either
    EXPECT_EQ(RunFile("tst:", ok), "could not open tcl script 'tst:'");

    nString result;
    EXPECT_FATAL(script->RunScript("tst:missing.tcl", result), "could not open tcl script 'tst:missing.tcl'");
}

TEST_F(ScriptFileTest, ScriptsComeFromArchivesToo)
{
    NpkWriter w;
    w.Dir("<noname>")
        .File("main.tcl", "source tst:pack/lib/helper.tcl\nhelper 4")
        .Dir("lib")
        .File("helper.tcl", "proc helper {n} { return [expr {$n * 10}] }\n")
        .File("broken.tcl", "\nerror inside\n")
        .End()
        .End();
    w.Save(this->dir + "/pack.npk");
    ASSERT_TRUE(nNpkFileServer::Instance()->AddNpkFile("tst:pack.npk"));
    ASSERT_FALSE(std::filesystem::exists(this->dir + "/pack/main.tcl"));

    bool ok = false;
    EXPECT_EQ(RunFile("tst:pack/main.tcl", ok), "40");
    EXPECT_TRUE(ok);
    Fails("source tst:pack/lib/broken.tcl");
    EXPECT_THAT(Ok("set errorInfo"), HasSubstr("(file \"tst:pack/lib/broken.tcl\" line 2)"));
}

TEST_F(ScriptFileTest, WritersProduceAPersistenceScriptThatReadsBack)
{
    nTestObj* w = NewTestObj("/w");
    nTestObj* c = NewTestObj("/w/c");
    nTestObj* g = NewTestObj("/w/c/g");

    nFile* file = script->WriteBegin("tst:w.n2", w);
    ASSERT_NE(file, nullptr);
    WriteCmd(file, w, "seti", [](nArg* a) { a->SetI(-5); });
    EXPECT_TRUE(script->WriteBeginNewObject(file, c, w));
    WriteCmd(file, c, "sets", [](nArg* a) { a->SetS("two words"); });
    EXPECT_TRUE(script->WriteBeginNewObject(file, g, c));
    WriteCmd(file, g, "setf", [](nArg* a) { a->SetF(1.5f); });
    WriteCmd(file, g, "setb", [](nArg* a) { a->SetB(true); });
    WriteCmd(file, g, "seto", [w](nArg* a) { a->SetO(static_cast<nObject*>(w)); });
    EXPECT_TRUE(script->WriteEndObject(file, g, c));
    EXPECT_TRUE(script->WriteEndObject(file, c, w));
    EXPECT_TRUE(script->WriteEnd(file));

    EXPECT_EQ(ReadFile("w.n2"),
              "# ---\n"
              "# $parser:ntclserver$ $class:ntestobj$\n"
              "# ---\n"
              ".seti -5\n"
              "new ntestobj c\n"
              "\tsel c\n"
              "\t.sets \"two words\"\n"
              "\tnew ntestobj g\n"
              "\t\tsel g\n"
              "\t\t.setf 1.500000\n"
              "\t\t.setb true\n"
              "\t\t.seto /w\n"
              "\tsel ..\n"
              "sel ..\n"
              "# ---\n"
              "# Eof\n");

    // running it with a fresh object as the current one rebuilds the tree
    nTestObj* copy = NewTestObj("/copy");
    ks->PushCwd(copy);
    bool ok = false;
    RunFile("tst:w.n2", ok);
    ks->PopCwd();
    EXPECT_TRUE(ok);
    EXPECT_EQ(copy->i, -5);
    EXPECT_EQ(Ok("/copy/c.gets"), "two words");
    EXPECT_EQ(Ok("/copy/c/g.getf"), "1.5");
    EXPECT_EQ(Ok("/copy/c/g.getb"), "true");
    EXPECT_EQ(Ok("/copy/c/g.geto"), "/w");
}

TEST_F(ScriptFileTest, WriterEdgeCases)
{
    nTestObj* w = NewTestObj("/w");
    nTestObj* c = NewTestObj("/w/c");

    // a string is written as it stands, quotes included; a null one is empty
    nFile* file = script->WriteBegin("tst:edge.n2", w);
    ASSERT_NE(file, nullptr);
    WriteCmd(file, w, "sets", [](nArg* a) { a->SetS("say \"hi\""); });
    WriteCmd(file, w, "sets", [](nArg* a) { a->SetS(nullptr); });
    // a constructor command in place of the new line
    nCmd* cmd = Cmd(c, "seti", [](nArg* a) { a->SetI(1); });
    EXPECT_TRUE(script->WriteBeginNewObjectCmd(file, c, w, cmd));
    Release(cmd);
    // a selection that is never closed
    EXPECT_TRUE(script->WriteBeginSelObject(file, c, w));
    EXPECT_FALSE(script->WriteEnd(file));
    EXPECT_EQ(ReadFile("edge.n2"),
              "# ---\n"
              "# $parser:ntclserver$ $class:ntestobj$\n"
              "# ---\n"
              ".sets \"say \\\"hi\\\"\"\n"
              ".sets \"\"\n"
              ".seti 1\n"
              "\tsel c\n"
              "\t\tsel c\n"
              "\t\t# ---\n"
              "\t\t# Eof\n");

    // an existing file is replaced
    file = script->WriteBegin("tst:edge.n2", w);
    EXPECT_TRUE(script->WriteEnd(file));
    EXPECT_EQ(ReadFile("edge.n2"), "# ---\n# $parser:ntclserver$ $class:ntestobj$\n# ---\n# ---\n# Eof\n");

    TakeLog();
    EXPECT_EQ(script->WriteBegin("tst:nodir/x.n2", w), nullptr);
    EXPECT_EQ(TakeLog(), "nTclServer::WriteBegin(): failed to open file 'tst:nodir/x.n2' for writing!\n");
}
