//------------------------------------------------------------------------------
//  The Tcl server: running strings, functions and files, errors under both
//  values of the fail-on-error flag, the quit request and the prompt.
//------------------------------------------------------------------------------
#include "scriptfixture.h"

#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "file/nfilepackage.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

TEST_F(ScriptTest, RunYieldsTheResultText)
{
    struct Case
    {
        const char* script;
        const char* result;
    } cases[] = {
        {"", ""},
        {"return 5", "5"},
        {"set a 3; expr {$a * 2}", "6"},
        {"format %.2f 1.5", "1.50"},
        {"list a {b c}", "a {b c}"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Ok(c.script), c.result) << c.script;
    }
}

TEST_F(ScriptTest, RunFunctionRunsANameWithArguments)
{
    Ok("proc add {a b} { return [expr {$a + $b}] }");
    nString result;
    EXPECT_TRUE(script->RunFunction("add 40 2", result));
    EXPECT_STREQ(result.Get(), "42");
}

TEST_F(ScriptTest, ScriptErrorIsLoggedWhenNotFatal)
{
    EXPECT_EQ(Fails("error boom"), "boom");
    EXPECT_EQ(TakeLog(), "*** Tcl error 'boom'\n");
    // the interpreter stays usable after an error
    EXPECT_EQ(Ok("return ok"), "ok");
}

TEST_F(ScriptTest, ScriptErrorIsFatalByDefault)
{
    EXPECT_TRUE(script->GetFailOnError());
    nString result;
    EXPECT_FATAL(script->Run("error boom", result), "\\*\\*\\* Tcl error 'boom'");
    EXPECT_FATAL(script->RunFunction("nosuchfunction", result), "\\*\\*\\* Tcl error 'unknown command 'nosuchfunction''");
}

TEST_F(ScriptTest, ARunWithATimeLimitStopsWaitsAndLoopsAsAScriptError)
{
    script->SetFailOnError(false);
    // each would run for ever or for long: waits in Tcl's event loop, busy
    // loops, and a catch around them
    for (const char* line : {"vwait ::neverset", "after 100000", "while 1 {}", "catch {vwait ::neverset}; set ok 1",
                             "proc spin {} { spin2 }; proc spin2 {} { while 1 { incr n } }; spin"})
    {
        SCOPED_TRACE(line);
        nString result;
        EXPECT_FALSE(script->RunWithTimeLimit(line, result, 50));
        EXPECT_STREQ(result.Get(), "time limit of 50 ms exceeded");
        EXPECT_EQ(TakeLog(), "*** Tcl error 'time limit of 50 ms exceeded'\n");
        // the interpreter has no limit afterwards
        EXPECT_EQ(Ok("after 60; return ok"), "ok");
    }
    nString result;
    EXPECT_TRUE(script->RunWithTimeLimit("expr {6 * 7}", result, 50));
    EXPECT_STREQ(result.Get(), "42");
}

TEST_F(ScriptTest, TriggerIsFalseOnceAfterExit)
{
    EXPECT_TRUE(script->Trigger());
    EXPECT_EQ(Ok("exit"), "");
    EXPECT_FALSE(script->Trigger());
    EXPECT_TRUE(script->Trigger());
    // the script goes on after exit: it only asks the main loop to stop
    EXPECT_EQ(Ok("exit; return after"), "after");
    EXPECT_FALSE(script->Trigger());
    EXPECT_EQ(Fails("exit 0"), "Syntax is 'exit'");
    EXPECT_TRUE(script->Trigger());
}

TEST_F(ScriptTest, PromptIsTheCurrentObject)
{
    EXPECT_STREQ(script->Prompt().Get(), "/> ");
    Ok("sel /sys/servers");
    EXPECT_STREQ(script->Prompt().Get(), "/sys/servers> ");
}

TEST_F(ScriptTest, TheBaseServerRunsAndWritesNothing)
{
    nScriptServer* base = static_cast<nScriptServer*>(ks->New("nscriptserver", "/base"));
    nString result("kept");
    EXPECT_FALSE(base->Run("return 1", result));
    EXPECT_FALSE(base->RunFunction("f", result));
    EXPECT_FALSE(base->RunScript("x.tcl", result));
    EXPECT_STREQ(result.Get(), "kept");
    EXPECT_EQ(base->WriteBegin("x.n2", base), nullptr);
    EXPECT_FALSE(base->WriteBeginNewObject(nullptr, base, base));
    EXPECT_FALSE(base->WriteBeginNewObjectCmd(nullptr, base, base, nullptr));
    EXPECT_FALSE(base->WriteBeginSelObject(nullptr, base, base));
    EXPECT_FALSE(base->WriteCmd(nullptr, nullptr));
    EXPECT_FALSE(base->WriteEndObject(nullptr, base, base));
    EXPECT_FALSE(base->WriteEnd(nullptr));
    EXPECT_TRUE(base->Prompt().IsEmpty());
    EXPECT_TRUE(base->GetFailOnError());
    EXPECT_EQ(base->GetSelectMethod(), 0);
    EXPECT_TRUE(base->Trigger());
    base->SetQuitRequested(true);
    EXPECT_FALSE(base->Trigger());
    EXPECT_TRUE(base->Trigger());
}

TEST_F(ScriptTest, ServersOfSeveralKernelsInTurn)
{
    Ok("set keep 1");
    ks.reset();
    ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nfile_package, nsignals_package, nscript_package, ntest_package});
    ks->SetLogHandler(&log);
    script = static_cast<nScriptServer*>(ks->New("ntclserver", "/sys/servers/script"));
    // a fresh interpreter: nothing of the old one is left
    EXPECT_EQ(Ok("info exists keep"), "0");
    EXPECT_EQ(Ok("new ntestobj /t"), "/t");
}
