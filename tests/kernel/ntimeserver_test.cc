//------------------------------------------------------------------------------
//  The time server. The clock is driven in lock mode wherever a value is
//  compared; free-running checks compare only against bounds read from the
//  same monotonic counter around the calls.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/ntimeserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "platform/nplatformclock.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace
{

/// seconds on the counter the time server reads
double Now()
{
    return (double)nPlatformClock::Counter() / (double)nPlatformClock::Frequency();
}

/// the smallest step the time server's conversion can lose
const double Tick = 1e-9;

class TimeTest : public KernelTest
{
protected:
    nTimeServer* Time() { return nTimeServer::Instance(); }

    /// runs a command with at most one float input; returns its float output or 0
    float Run(const char* name, float in = 0.0f)
    {
        nCmdProto* proto = Time()->GetClass()->FindCmdByName(name);
        EXPECT_NE(proto, nullptr) << name;
        nCmd* cmd = proto->NewCmd();
        if (proto->GetNumInArgs() == 1) cmd->In()->SetF(in);
        Time()->Dispatch(cmd);
        const float out = proto->GetNumOutArgs() == 1 ? cmd->Out()->GetF() : 0.0f;
        proto->RelCmd(cmd);
        return out;
    }
};

}  // namespace

TEST_F(TimeTest, KernelCreatesTheSingletonAndTearsItDown)
{
    nRoot* obj = ks->Lookup("/sys/servers/time");
    ASSERT_NE(obj, nullptr);
    EXPECT_STREQ(obj->GetClass()->GetProperName(), "nTimeServer");
    EXPECT_EQ(obj, Time());
    EXPECT_EQ(ks->GetTimeServerObject(), obj);
    EXPECT_EQ(ks->NewUnnamedObject("ntimeserver"), nullptr);  // the class refuses a second one
    ks.reset();
    EXPECT_FATAL(nTimeServer::Instance(), ASSERTION_TEXT("Singleton"));
    ks = std::make_unique<nKernelServer>();
    EXPECT_EQ(ks->Lookup("/sys/servers/time"), Time());
}

TEST_F(TimeTest, LockedClockAdvancesExactlyPerTrigger)
{
    const double before = Time()->GetTime();
    Time()->LockDeltaT(0.04);
    const double start = Time()->GetTime();
    EXPECT_GE(start, before);
    EXPECT_EQ(Time()->GetLockDeltaT(), 0.04);
    double expected = start;
    for (int i = 0; i < 50; i++)
    {
        EXPECT_EQ(Time()->GetTime(), expected);
        Time()->Trigger();
        expected += 0.04;
    }
    // stopped and locked: Trigger does not advance
    Time()->StopTime();
    Time()->Trigger();
    EXPECT_EQ(Time()->GetTime(), expected);
    Time()->StartTime();
    // locking again while locked keeps the locked time
    Time()->LockDeltaT(0.5);
    EXPECT_EQ(Time()->GetTime(), expected);
    Time()->ResetTime();
    EXPECT_EQ(Time()->GetTime(), 0.0);
    Time()->SetTime(7.0);
    Time()->Trigger();
    EXPECT_EQ(Time()->GetTime(), 7.5);
}

TEST_F(TimeTest, UnlockingContinuesFromTheLockedTime)
{
    Time()->LockDeltaT(0.25);
    for (int i = 0; i < 40; i++) Time()->Trigger();
    const double locked = Time()->GetTime();
    const double t0 = Now();
    Time()->LockDeltaT(0.0);
    const double t = Time()->GetTime();
    const double elapsed = Now() - t0;
    EXPECT_EQ(Time()->GetLockDeltaT(), 0.0);
    EXPECT_GE(t, locked - Tick);
    EXPECT_LE(t, locked + elapsed + Tick);
}

TEST_F(TimeTest, UnlockingAnUnlockedClockDoesNotJump)
{
    Time()->LockDeltaT(0.25);
    Time()->Trigger();
    Time()->LockDeltaT(0.0);
    n_sleep(0.002);  // the running clock moves away from the last locked time
    const double before = Time()->GetTime();
    Time()->LockDeltaT(0.0);
    EXPECT_GE(Time()->GetTime(), before);
}

TEST_F(TimeTest, StoppedIntervalIsCutOut)
{
    const double r0 = Now();
    const double t0 = Time()->GetTime();
    Time()->StopTime();
    const double s0 = Now();
    const double frozen = Time()->GetTime();
    n_sleep(0.02);  // the stopped interval
    EXPECT_EQ(Time()->GetTime(), frozen);
    const double s1 = Now();
    Time()->StartTime();
    const double t1 = Time()->GetTime();
    const double r1 = Now();
    EXPECT_GE(t1, frozen);
    EXPECT_LE(t1 - t0, (r1 - r0) - (s1 - s0) + Tick);
}

TEST_F(TimeTest, SetAndResetWhileStopped)
{
    Time()->StopTime();
    Time()->SetTime(10.0);
    EXPECT_EQ(Time()->GetTime(), 10.0);
    EXPECT_EQ(Time()->GetTime(), 10.0);
    Time()->StartTime();
    EXPECT_GE(Time()->GetTime(), 10.0);

    Time()->StopTime();
    n_sleep(0.002);  // the reset happens well after the stop
    Time()->ResetTime();
    EXPECT_EQ(Time()->GetTime(), 0.0);
    Time()->StartTime();
    EXPECT_GE(Time()->GetTime(), 0.0);
}

TEST_F(TimeTest, StopAndStartTwiceOnlyPrint)
{
    testing::internal::CaptureStdout();
    Time()->StartTime();
    Time()->StopTime();
    const double frozen = Time()->GetTime();
    Time()->StopTime();
    EXPECT_EQ(Time()->GetTime(), frozen);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Time already started!\nTime already stopped!\n");
}

TEST_F(TimeTest, FrameTimeIsFrozenBetweenTriggers)
{
    Time()->LockDeltaT(0.1);
    Time()->SetTime(1.0);
    EXPECT_EQ(Time()->GetFrameTime(), Time()->GetTime());
    Time()->EnableFrameTime();
    Time()->Trigger();
    EXPECT_DOUBLE_EQ(Time()->GetFrameTime(), 1.1);
    Time()->SetTime(3.0);  // a set time is seen at once
    EXPECT_EQ(Time()->GetFrameTime(), 3.0);
    Time()->DisableFrameTime();
    Time()->Trigger();
    EXPECT_DOUBLE_EQ(Time()->GetFrameTime(), 3.1);

    // free-running: the frame time holds while the clock moves on
    Time()->LockDeltaT(0.0);
    Time()->EnableFrameTime();
    const double frame = Time()->GetFrameTime();
    n_sleep(0.002);
    EXPECT_EQ(Time()->GetFrameTime(), frame);
    EXPECT_GT(Time()->GetTime(), frame);
}

TEST_F(TimeTest, NegativeStepsAreFatalForEngineCode)
{
    Time()->WaitDeltaT(0.0015);
    EXPECT_EQ(Time()->GetWaitDeltaT(), 0.0015);
    Time()->WaitDeltaT(0.0);
    EXPECT_FATAL(Time()->WaitDeltaT(-0.5), ASSERTION_TEXT("dt >= 0.0"));
    EXPECT_FATAL(Time()->LockDeltaT(-0.5), ASSERTION_TEXT("dt >= 0.0"));
}

TEST_F(TimeTest, ScriptCommands)
{
    std::vector<std::pair<std::string, nFourCC>> cmds;
    for (nHashNode* n = Time()->GetClass()->GetCmdList()->GetHead(); n; n = n->GetSucc())
    {
        const nCmdProto* proto = static_cast<nCmdProto*>(n);
        cmds.emplace_back(proto->GetProtoDef(), proto->GetId());
    }
    const std::vector<std::pair<std::string, nFourCC>> expected = {
        {"v_resettime_v", N_FOURCC('R', 'E', 'S', 'T')},
        {"v_stoptime_v", N_FOURCC('S', 'T', 'O', 'P')},
        {"v_starttime_v", N_FOURCC('S', 'T', 'R', 'T')},
        {"f_gettime_v", N_FOURCC('G', 'E', 'T', 'T')},
        {"v_settime_f", N_FOURCC('S', 'E', 'T', 'T')},
        {"v_lockdeltat_f", N_FOURCC('L', 'D', 'L', 'T')},
        {"v_waitdeltat_f", N_FOURCC('W', 'T', 'D', 'T')},
        {"f_getlockdeltat_v", N_FOURCC('G', 'L', 'D', 'T')},
        {"f_getwaitdeltat_v", N_FOURCC('G', 'W', 'D', 'T')},
        {"v_enableframetime_v", N_FOURCC('E', 'N', 'F', 'T')},
        {"v_disableframetime_v", N_FOURCC('D', 'S', 'F', 'T')},
        {"f_getframetime_v", N_FOURCC('G', 'T', 'F', 'T')},
    };
    EXPECT_EQ(cmds, expected);

    Run("lockdeltat", 0.5f);
    EXPECT_EQ(Run("getlockdeltat"), 0.5f);
    Run("settime", 2.0f);
    Run("enableframetime");
    Time()->Trigger();
    EXPECT_EQ(Run("gettime"), 2.5f);
    EXPECT_EQ(Run("getframetime"), 2.5f);
    Run("disableframetime");
    Run("resettime");
    EXPECT_EQ(Run("gettime"), 0.0f);
    Run("waitdeltat", 0.001f);
    EXPECT_EQ(Run("getwaitdeltat"), 0.001f);
    Run("stoptime");
    Time()->Trigger();
    EXPECT_EQ(Run("gettime"), 0.0f);
    Run("starttime");

    // a script's bad values are script errors and change nothing
    testing::internal::CaptureStdout();
    Run("lockdeltat", -1.0f);
    Run("waitdeltat", NAN);
    Run("settime", INFINITY);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Run("getlockdeltat"), 0.5f);
    EXPECT_EQ(Run("getwaitdeltat"), 0.001f);
    EXPECT_EQ(Run("gettime"), 0.0f);
    EXPECT_NE(out.find("v_lockdeltat_f: step -1 is outside 0..3.40282e+38\n"), std::string::npos) << out;
    EXPECT_NE(out.find("v_waitdeltat_f: step is not a finite number\n"), std::string::npos) << out;
    EXPECT_NE(out.find("v_settime_f: time is not a finite number\n"), std::string::npos) << out;
}

TEST_F(TimeTest, HugeTimesDoNotOverflowTheCounter)
{
    Time()->StopTime();
    Time()->SetTime(1e300);
    EXPECT_GT(Time()->GetTime(), 1e9);
    Time()->SetTime(-1e300);
    EXPECT_LT(Time()->GetTime(), -1e9);
}
