//------------------------------------------------------------------------------
//  The engine's Tcl commands: target words, argument and result
//  conversion, the tree commands and their error texts.
//------------------------------------------------------------------------------
#include "scriptfixture.h"

#include "kernel/npersistserver.h"
#include "signals/nsignalserver.h"

#include <gmock/gmock.h>

#include <string>

using ::testing::HasSubstr;

namespace
{

struct WordCase
{
    const char* script;
    bool ok;
    const char* result;
    const char* log;  // the log text the call leaves
};

}  // namespace

class TclCmdsTest : public ScriptTest
{
protected:
    void SetUp() override
    {
        ScriptTest::SetUp();
        this->a = NewTestObj("/w/a");
        this->dotted = NewTestObj("/w/x.y");
        NewTestObj("/w/foo");
        NewTestObj("/w/c");
    }

    void Check(const WordCase& c)
    {
        const std::string result = c.ok ? Ok(c.script) : Fails(c.script);
        EXPECT_EQ(result, c.result) << c.script;
        std::string logText = TakeLog();
        if (!c.ok)
        {
            // the server's own line about the failed run
            const std::string serverLine = "*** Tcl error '" + result + "'\n";
            const size_t pos = logText.rfind(serverLine);
            ASSERT_NE(pos, std::string::npos) << logText;
            logText.erase(pos);
        }
        EXPECT_EQ(logText, c.log) << c.script;
    }

    nTestObj* a = nullptr;
    nTestObj* dotted = nullptr;
};

TEST_F(TclCmdsTest, TargetWordsSplitAtTheFirstPlainDot)
{
    const WordCase cases[] = {
        {"sel /w/c; ../a.geti", true, "7", ""},
        {"sel /w/a; .geti", true, "7", ""},
        {"sel /w/a; geti", true, "7", ""},
        {"sel /w/a; ./x", false, "unknown command './x'", ""},
        {"sel /w; foo.", false, "No command.", ""},
        {"sel /w; .", false, "No command.", ""},
        {"sel /w; nothere.geti", false, "Object 'nothere' does not exist.", ""},
        {"/w/x.y.geti", false, "Object '/w/x' does not exist.", ""},
        {"/w/a.nosuch", false, "Object '/w/a' doesn't accept command 'nosuch'",
         "*** Object '/w/a' doesn't accept command 'nosuch'\n"},
        {"nosuch 1 2", false, "unknown command 'nosuch'", ""},
        {"/w/a.setf", false, "Broken input args, object '/w/a', command 'setf'",
         "*** Broken input args, object '/w/a', command 'setf'\n"},
        {"/w/a.setf 1 2", false, "Broken input args, object '/w/a', command 'setf'",
         "*** Broken input args, object '/w/a', command 'setf'\n"},
        {"/w/a.setf abc", false, "Broken input args, object '/w/a', command 'setf'",
         "*** Broken input args, object '/w/a', command 'setf'\n"},
        {"/w/a.seti 1.5", false, "Broken input args, object '/w/a', command 'seti'",
         "*** Broken input args, object '/w/a', command 'seti'\n"},
        {"/w/a.setb maybe", false, "Broken input args, object '/w/a', command 'setb'",
         "*** Broken input args, object '/w/a', command 'setb'\n"},
        {"unknown", false, "Syntax is 'unknown word ?args?'", ""},
    };
    for (const WordCase& c : cases) Check(c);
}

TEST_F(TclCmdsTest, LongTargetWordsAreCut)
{
    const std::string member(1000, 'm');
    const std::string word = "/w/a." + member;
    const std::string cut = member.substr(0, 511 - 5);
    const std::string msg = "Object '/w/a' doesn't accept command '" + cut + "'";
    EXPECT_EQ(Fails(word.c_str()), msg);
    // a word cut before its dot is a bare command name
    const std::string longPath = std::string(600, 'p') + ".geti";
    EXPECT_EQ(Fails(longPath.c_str()), "unknown command '" + longPath + "'");
}

TEST_F(TclCmdsTest, ArgumentsAndResultsConvert)
{
    const WordCase cases[] = {
        {"/w/a.seti 42; /w/a.geti", true, "42", ""},
        {"/w/a.seti 0x10; /w/a.geti", true, "16", ""},
        {"/w/a.setf 1.5; /w/a.getf", true, "1.5", ""},
        {"/w/a.setf 1e300; /w/a.getf", true, "Inf", ""},
        {"/w/a.setf -1e300; /w/a.getf", true, "-Inf", ""},
        {"/w/a.setb yes; /w/a.getb", true, "true", ""},
        {"/w/a.setb off; /w/a.getb", true, "false", ""},
        {"/w/a.sets {a b}; /w/a.gets", true, "a b", ""},
        {"/w/a.sets 100%; /w/a.gets", true, "100%", ""},
        {"/w/a.sets :null:; /w/a.gets", true, ":null:", ""},
        {"/w/a.seto /w; /w/a.geto", true, "/w", ""},
        {"/w/a.seto null; /w/a.geto", true, "null", ""},
        {"/w/a.setf 1.5; /w/a.gettwo", true, "1.5 2.5", ""},
        {"/w/a.seti 9; /w/a.getpair", true, "9 :null:", ""},
        {"/w/a.seti 1", true, "", ""},
        {"/w/a.getplain", true, "nObject", ""},
        {"/w/a.getlist", true, "-3 0.5 x :null: true /w/a null {1 {two words}} false", ""},
        {"llength [/w/a.getlist]", true, "9", ""},
        {"/w/a.seto /nope", false, "Broken input args, object '/w/a', command 'seto'",
         "could not lookup '/nope' as object!\n*** Broken input args, object '/w/a', command 'seto'\n"},
        {"/w/a.setlist {1 2}", false, "Broken input args, object '/w/a', command 'setlist'",
         "List values aren't acceptable in arguments.\n*** Broken input args, object '/w/a', command 'setlist'\n"},
    };
    for (const WordCase& c : cases) Check(c);

    Ok("/w/a.sets :null:");
    EXPECT_TRUE(a->sIsNull);
    Ok("/w/a.sets {}");
    EXPECT_FALSE(a->sIsNull);
    Ok("/w/a.seto /w/c");
    EXPECT_EQ(a->o, static_cast<nObject*>(ks->Lookup("/w/c")));
}

TEST_F(TclCmdsTest, UnsupportedListElementIsFatal)
{
    EXPECT_FATAL(Ok("/w/a.getbadlist"), "nTclServer _putOutListArg\\(\\): unsupported argument type!");
}

TEST_F(TclCmdsTest, CommandsRunInsideCommands)
{
    // the inner call of the same command gets a copy of the busy template
    EXPECT_EQ(Ok("/w/a.eval {/w/a.eval {/w/c.seti 5; /w/c.geti}}"), "5");
    EXPECT_EQ(Ok("/w/a.eval {/w/a.seti 11}; /w/a.geti"), "11");
}

TEST_F(TclCmdsTest, CommandsWithoutPathGoToTheLoadersTarget)
{
    nObject* plain = ks->NewUnnamed("ntestplain");
    Ok("sel /w/a");
    nPersistServer::SetCurrentTargetObject(plain);
    // a non-tree object's file makes and selects no tree objects
    EXPECT_EQ(Fails("new nroot /z"), "A non-tree object's file can't make or select tree objects.");
    EXPECT_EQ(Fails("sel /w"), "A non-tree object's file can't make or select tree objects.");
    EXPECT_EQ(ks->Lookup("/z"), nullptr);
    EXPECT_EQ(Ok(".geti"), "3");
    EXPECT_EQ(Ok("geti"), "3");
    EXPECT_EQ(Ok("/w/a.geti"), "7");
    EXPECT_EQ(Fails(".nosuch"), "Object 'nObject' doesn't accept command 'nosuch'");
    nPersistServer::SetCurrentTargetObject(nullptr);
    plain->Release();
    EXPECT_EQ(Ok(".geti"), "7");
}

TEST_F(TclCmdsTest, TreeCommands)
{
    const WordCase cases[] = {
        {"new ntestobj /n/m", true, "/n/m", ""},
        {"/n/m.getclass", true, "ntestobj", ""},
        {"/n.getchildren", true, "/n/m", ""},
        {"exists /n", true, "1", ""},
        {"exists /nope", true, "0", ""},
        {"new nosuchclass /q", false, "",
         "nKernelServer: Couldn't create object '/q' of class 'nosuchclass'.\n"
         "nKernelServer: Couldn't create object of class 'nosuchclass'.\n"},
        {"new ntestobj", false, "Syntax is 'name = new class name'", ""},
        {"sel /n", true, "/n", ""},
        {"psel", true, "/n", ""},
        {"dir", true, "m ", ""},
        {"new nroot z; dir", true, "m z ", ""},
        {"sel /n/m; dir", true, "", ""},
        {"sel /nope", false, "Object '/nope' does not exist.", ""},
        {"psel", true, "/n/m", ""},
        {"sel", false, "Syntax is 'name = sel name'", ""},
        {"psel x", false, "Syntax is 'name = psel'", ""},
        {"dir x", false, "Syntax is 'dir'", ""},
        {"exists", false, "Syntax is 'exists name'", ""},
        {"delete /n/m; exists /n/m", true, "0", ""},
        {"psel", true, "/", ""},
        {"delete /nope", false, "Object '/nope' does not exist.", ""},
        {"delete", false, "Syntax is 'delete name'", ""},
        {"get nothere.n2", false, "Could not load object 'nothere.n2'", ""},
        {"get", false, "Syntax is 'name = get filename'", ""},
    };
    for (const WordCase& c : cases) Check(c);
}

// A word that ran a command once is found directly the next time; it must
// still address whatever its path names now, as the first call did.
TEST_F(TclCmdsTest, AWordRunAgainFollowsTheTreeAsItIsNow)
{
    const WordCase cases[] = {
        {"/w/a.seti 3; /w/a.geti", true, "3", ""},
        {"/w/a.geti", true, "3", ""},
        {"delete /w/a; /w/a.geti", false, "Object '/w/a' does not exist.", ""},
        {"new nroot /w/a; /w/a.geti", false, "Object '/w/a' doesn't accept command 'geti'",
         "*** Object '/w/a' doesn't accept command 'geti'\n"},
        {"delete /w/a; new ntestobj /w/a; /w/a.geti", true, "7", ""},
        // renamed away and back: another object under the same name
        {"/w/c.seti 5; /w/c.setname d; /w/c.geti", false, "Object '/w/c' does not exist.", ""},
        {"/w/d.geti", true, "5", ""},
        // a relative path follows the current object
        {"sel /w; a.geti", true, "7", ""},
        {"sel /w/x.y; new ntestobj a; a.seti 9; a.geti", true, "9", ""},
        {"sel /w; a.geti", true, "7", ""},
        // a word whose command Tcl forgot runs through unknown again
        {"rename ::/w/a.geti {}; /w/a.geti", true, "7", ""},
    };
    for (const WordCase& c : cases) Check(c);
    // beyond the words kept, the rest still run
    EXPECT_EQ(Ok("for {set i 0} {$i < 1100} {incr i} { new ntestobj /many/o$i; /many/o$i.seti $i }; "
                 "/many/o1099.geti"),
              "1099");
}

TEST_F(TclCmdsTest, DeleteRefusesTheRootAndTheRunningServer)
{
    EXPECT_EQ(Fails("delete /"), "Can't delete the root object '/'.");
    EXPECT_EQ(Fails("delete /sys/servers/script"),
              "Can't delete '/sys/servers/script' while the script server in it runs.");
    EXPECT_EQ(Fails("delete /sys"), "Can't delete '/sys' while the script server in it runs.");
    EXPECT_EQ(Ok("exists /sys/servers/script"), "1");
    // another script server may go
    ks->New("ntclserver", "/other");
    EXPECT_EQ(Ok("delete /other; exists /other"), "0");
}

TEST_F(TclCmdsTest, AGuardsScriptErrorStopsTheProgramCleanlyOnlyWithFailOnErrorSet)
{
    struct
    {
        const char* line;
        const char* message;
    } cases[] = {
        {"/sys/servers/file2.setassign :null: /tmp/", "v_setassign_ss: null assign name argument"},
        {"/sys/servers/file2.manglepath :null:", "s_manglepath_s: null path argument"},
        {"new nfilenode /f; /f.open :null: w", "b_open_ss: null file name argument"},
    };
    for (const auto& c : cases)
    {
        // cleared, as on the console: reported, and the program goes on
        EXPECT_EQ(Fails(c.line), c.message);
        EXPECT_NE(TakeLog().find(c.message), std::string::npos) << c.line;
        // set, as for start-up scripts: the script error stops the program
        // with a message and exit code 1, not a signal
        EXPECT_TRUE(this->script->GetFailOnError());
        EXPECT_EXIT(
            {
                RouteStdoutToStderr();
                Ok(c.line);
            },
            ::testing::ExitedWithCode(1), std::string("Tcl error '") + c.message + "'");
    }
    EXPECT_EQ(Ok("/f.isopen"), "false");
}

TEST_F(TclCmdsTest, DeleteRefusesTheKernelsServers)
{
    for (const char* server : {"/sys/servers/file2", "/sys/servers/persist", "/sys/servers/time"})
    {
        const std::string expected = std::string("Can't delete '") + server + "': the kernel's server '" + server +
                                     "' lives there.";
        EXPECT_EQ(Fails((std::string("delete ") + server).c_str()), expected);
        EXPECT_EQ(Ok((std::string("exists ") + server).c_str()), "1");
    }
    // the file server is still there for the next load
    EXPECT_EQ(Fails("get any.n2"), "Could not load object 'any.n2'");
}

TEST_F(TclCmdsTest, AnObjectInUseIsNeitherDeletedNorRenamedNorWhatHoldsIt)
{
    nRoot* used = static_cast<nRoot*>(ks->New("nroot", "/app/servers/used"));
    ks->New("nroot", "/app/servers/used/part");
    ks->AddInUse(used);
    for (const char* path : {"/app/servers/used", "/app/servers", "/app"})
    {
        EXPECT_EQ(Fails((std::string("delete ") + path).c_str()),
                  std::string("Can't delete '") + path + "': '/app/servers/used' is in use by the running application.");
        EXPECT_EQ(Fails((std::string(path) + ".setname other").c_str()),
                  "v_setname_s: '/app/servers/used' is in use by the running application under its name");
    }
    // the kernel's own servers are in use from the start
    EXPECT_EQ(Fails("/sys/servers/persist.setname p"),
              "v_setname_s: '/sys/servers/persist' is in use by the running application under its name");
    // what it holds is its own business
    EXPECT_EQ(Ok("delete /app/servers/used/part; exists /app/servers/used/part"), "0");
    ks->RemInUse(used);
    EXPECT_EQ(Ok("/app.setname other; delete /other; exists /other"), "0");
}

TEST_F(TclCmdsTest, PathsNeverMakeDotChildren)
{
    Ok("new nenv /env; /env.seti 5; new nroot /x; sel /");
    EXPECT_EQ(Ok("/env.clone ../../x"), "null");
    Fails("new nroot ../y");
    EXPECT_EQ(ks->GetRoot()->Find(".."), nullptr);
    EXPECT_EQ(Ok("/x.getclass"), "nroot");
    EXPECT_EQ(Ok("/env.geti"), "5");
}

TEST_F(TclCmdsTest, APathThatDoesNotFitIsNotFoundNeverAPrefix)
{
    Ok("new nroot /a/b");
    const std::string padded = "/a/b" + std::string(600, '/') + "zzz";
    EXPECT_EQ(Fails(("delete " + padded).c_str()).rfind("Object '/a/b//", 0), 0u);
    EXPECT_EQ(Ok("exists /a/b"), "1");
    EXPECT_EQ(Ok(("exists " + padded).c_str()), "0");
}

TEST_F(TclCmdsTest, SetNameRefusesNamesNoPathReaches)
{
    Ok("new nroot /p/a; new nroot /p/b");
    for (const char* bad : {"{}", ".", "..", "x/y", "/"})
    {
        EXPECT_NE(Fails((std::string("/p/a.setname ") + bad).c_str()).find("is no valid object name"),
                  std::string::npos)
            << bad;
    }
    EXPECT_EQ(Fails("/p/a.setname :null:"), "v_setname_s: null name argument");
    EXPECT_EQ(Ok("/p/a.getname"), "a");
    // a sibling's name is allowed: duplicates stay reachable by position
    Ok("/p/a.setname b");
    EXPECT_EQ(Ok("/p.getchildren"), "/p/b /p/b");
}

TEST_F(TclCmdsTest, PutsPrintsTheLastWord)
{
    struct Case
    {
        const char* script;
        const char* printed;
        const char* result;
    } cases[] = {
        {"puts hello", "hello\n", "hello"},
        {"puts -nonewline a b", "b", "b"},
        {"puts stdout {100% %s %d}", "100% %s %d\n", "100% %s %d"},
        {"puts", "", ""},
        {"puts -nonewline", "-nonewline\n", "-nonewline"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Ok(c.script), c.result) << c.script;
        EXPECT_EQ(TakeLog(), c.printed) << c.script;
    }
}

TEST_F(TclCmdsTest, EmitRunsTheBindings)
{
    EXPECT_EQ(Ok("/w/a.addsignal v_changed_f chng"), "true");
    EXPECT_EQ(Ok("/w/a.bindsignal changed /w/c setf 0"), "true");
    EXPECT_EQ(Ok("emit /w/a.changed 2.5"), "");
    EXPECT_EQ(Ok("/w/c.getf"), "2.5");
    Ok("sel /w/a");
    EXPECT_EQ(Ok("emit .changed 3.5; /w/c.getf"), "3.5");

    const WordCase cases[] = {
        {"emit /w/a.nosig", false, "Object '/w/a' doesn't accept signal 'nosig'",
         "*** Object '/w/a' doesn't accept signal 'nosig'\n"},
        {"emit /w/a.changed", false, "Broken input args, object '/w/a', signal 'changed'",
         "*** Broken input args, object '/w/a', signal 'changed'\n"},
        {"emit /w/a.changed x", false, "Broken input args, object '/w/a', signal 'changed'",
         "*** Broken input args, object '/w/a', signal 'changed'\n"},
        {"emit /nope.changed 1", false, "Object '/nope' does not exist.", ""},
        {"emit /w/a.", false, "No command.", ""},
        {"emit", false, "Syntax is 'emit object.signal ?args?'", ""},
    };
    for (const WordCase& c : cases) Check(c);
}

TEST_F(TclCmdsTest, PostQueuesCommandsAndSignals)
{
    Ok("/w/a.addsignal v_changed_f chng");
    Ok("/w/a.bindsignal changed /w/c setf 0");
    const WordCase before[] = {
        {"post 0.5 /w/a.seti 3", false, "Signal server not available, object '/w/a', command/signal 'seti'",
         "*** Signal server not available, object '/w/a', command/signal 'seti'\n"},
        {"post", false, "Syntax is 'post delay object.member ?args?'", ""},
        {"post 1.0", false, "Syntax is 'post delay object.member ?args?'", ""},
    };
    for (const WordCase& c : before) Check(c);

    nSignalServer* signals = static_cast<nSignalServer*>(ks->New("nsignalserver", "/sys/servers/signals"));
    signals->SetClock([] { return 10.0; });

    EXPECT_EQ(Ok("post 0.5 /w/a.seti 3"), "");
    EXPECT_EQ(Ok("post 1 /w/a.changed 4.5"), "");
    EXPECT_EQ(Ok("/w/a.geti"), "7");
    signals->Trigger(10.5);
    EXPECT_EQ(Ok("/w/a.geti"), "3");
    EXPECT_EQ(Ok("/w/c.getf"), "0.0");
    signals->Trigger(11.0);
    EXPECT_EQ(Ok("/w/c.getf"), "4.5");

    const WordCase after[] = {
        {"post 1 /w/a.nosuch", false, "Object '/w/a' doesn't accept signal 'nosuch'",
         "*** Object '/w/a' doesn't accept signal 'nosuch'\n"},
        {"post 1 /w/a.seti x", false, "Broken input args, object '/w/a', command/signal 'seti'",
         "*** Broken input args, object '/w/a', command/signal 'seti'\n"},
        {"post 1 /nope.seti 1", false, "Object '/nope' does not exist.", ""},
        {"for {set i 0} {$i < 512} {incr i} {post 1 /w/a.seti $i}", true, "", ""},
        {"post 1 /w/a.seti 1", false, "Post error, object '/w/a', command/signal 'seti'",
         "*** Post error, object '/w/a', command/signal 'seti'\n"},
    };
    for (const WordCase& c : after) Check(c);
    // of equal due times the one posted last runs first
    signals->Trigger(100.0);
    EXPECT_EQ(Ok("/w/a.geti"), "0");
}
