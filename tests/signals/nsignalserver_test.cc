//------------------------------------------------------------------------------
//  The signal server's queue, driven by a clock the tests set.
//------------------------------------------------------------------------------
#include "signalfixture.h"

#include "signals/nsignalserver.h"
#include "kernel/ntimeserver.h"
#include "util/assertdeath.h"

#include <string>
#include <vector>

namespace
{

typedef std::vector<std::string> Strings;

double g_now = 0.0;

double TestClock()
{
    return g_now;
}

class SignalServerTest : public SignalTest
{
protected:
    void SetUp() override
    {
        SignalTest::SetUp();
        g_now = 100.0;
        this->server = static_cast<nSignalServer*>(this->ks->New("nsignalserver", "/sys/servers/signal"));
        this->server->SetClock(TestClock);
    }

    /// posts "v_record_is" on an object with its inputs written
    bool PostRecord(double relT, nObject* obj, int i, const char* s)
    {
        nCmdProto* proto = obj->GetClass()->FindCmdByName("record");
        nCmd* cmd = proto->NewCmd();
        cmd->In()->SetI(i);
        cmd->In()->SetS(s);
        if (this->server->PostCmd(relT, obj, cmd)) return true;
        proto->RelCmd(cmd);
        return false;
    }

    nSignalServer* server = nullptr;
};

}  // namespace

TEST_F(SignalServerTest, PostedCommandsRunWhenDueWithTheirInputs)
{
    // the inputs were written (the command's cursor is past them): the
    // server rewinds before it dispatches
    ASSERT_TRUE(PostRecord(2.0, t1, 7, "seven"));
    ASSERT_TRUE(PostRecord(1.0, t2, 8, "eight"));
    this->server->Trigger(100.5);
    EXPECT_TRUE(g_calls.empty());
    this->server->Trigger(101.0);
    EXPECT_EQ(g_calls, (Strings{"t2:record:8:eight"}));
    this->server->Trigger(101.9);
    this->server->Trigger(102.0);
    EXPECT_EQ(g_calls, (Strings{"t2:record:8:eight", "t1:record:7:seven"}));
    g_calls.clear();
    this->server->Trigger(1000.0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SignalServerTest, AmongEqualDueTimesTheLastPostedRunsFirst)
{
    ASSERT_TRUE(PostRecord(1.0, t1, 1, "first"));
    ASSERT_TRUE(PostRecord(1.0, t1, 2, "second"));
    ASSERT_TRUE(PostRecord(0.5, t1, 3, "earlier"));
    g_now = 100.5;
    ASSERT_TRUE(PostRecord(0.5, t1, 4, "third"));
    this->server->Trigger(101.0);
    EXPECT_EQ(g_calls, (Strings{"t1:record:3:earlier", "t1:record:4:third", "t1:record:2:second", "t1:record:1:first"}));
}

TEST_F(SignalServerTest, PostedSignalsAreEmittedLater)
{
    ASSERT_TRUE(e->BindSignal("fire", t1, "record", 0));
    ASSERT_TRUE(e->BindSignal("fire", t2, "record", 1));
    EXPECT_TRUE(e->PostSignal(0.25, Signal("fire"), 5, "posted"));
    this->server->Trigger(100.2);
    EXPECT_TRUE(g_calls.empty());
    this->server->Trigger(100.25);
    EXPECT_EQ(g_calls, (Strings{"t1:record:5:posted", "t2:record:5:posted"}));
    // the signal's command went back to it
    nCmd* cmd = Signal("fire")->NewCmd();
    nCmd* second = Signal("fire")->NewCmd();
    EXPECT_NE(cmd, second);
    Signal("fire")->RelCmd(second);
    Signal("fire")->RelCmd(cmd);
}

TEST_F(SignalServerTest, ThePoolHolds512Entries)
{
    for (int i = 0; i < 512; i++)
    {
        ASSERT_TRUE(PostRecord(1.0, t1, i, "x")) << i;
    }
    EXPECT_FALSE(PostRecord(1.0, t1, 512, "x"));
    EXPECT_FALSE(e->PostSignal(1.0, Signal("ping")));
    this->server->Trigger(101.0);
    EXPECT_EQ(g_calls.size(), 512u);
    EXPECT_TRUE(PostRecord(1.0, t1, 513, "x"));
}

TEST_F(SignalServerTest, EntriesOfDeadObjectsAreDropped)
{
    ASSERT_TRUE(PostRecord(1.0, t1, 1, "dies"));
    ASSERT_TRUE(PostRecord(1.0, t2, 2, "lives"));
    t1->Release();
    this->server->Trigger(101.0);
    EXPECT_EQ(g_calls, (Strings{"t2:record:2:lives"}));
}

TEST_F(SignalServerTest, DestroyingTheServerGivesPendingCommandsBack)
{
    nCmdProto* record = t1->GetClass()->FindCmdByName("record");
    nCmd* tmpl = record->NewCmd();
    record->RelCmd(tmpl);
    ASSERT_TRUE(PostRecord(5.0, t1, 1, "never"));
    nCmd* copy = record->NewCmd();
    EXPECT_NE(copy, tmpl);  // the template waits in the queue
    record->RelCmd(copy);
    this->server->Release();
    this->server = nullptr;
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(record->NewCmd(), tmpl);
    record->RelCmd(tmpl);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(e->PostSignal(1.0, Signal("fire"), 1, "no server"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("no signal server"), std::string::npos);
}

TEST_F(SignalServerTest, OneServerAtATime)
{
    EXPECT_EQ(nSignalServer::Instance(), this->server);
    EXPECT_EQ(this->ks->NewNoFail("nsignalserver", "/sys/servers/signal2"), nullptr);  // the class refuses a second one
    this->server->Release();
    EXPECT_ASSERT_DEATH(nSignalServer::Instance(), "0 != Singleton");
}

TEST_F(SignalServerTest, DueTimesFollowTheTimeServersFrameTime)
{
    this->server->SetClock(nullptr);
    nTimeServer* timeServer = nTimeServer::Instance();
    timeServer->StopTime();
    timeServer->SetTime(50.0);
    ASSERT_TRUE(PostRecord(2.0, t1, 1, "x"));
    this->server->Trigger(51.9);
    EXPECT_TRUE(g_calls.empty());
    this->server->Trigger(52.0);
    EXPECT_EQ(g_calls.size(), 1u);

    // the frozen frame time counts, not the live time running past it
    timeServer->SetTime(60.0);
    timeServer->EnableFrameTime();
    timeServer->StartTime();
    ASSERT_TRUE(PostRecord(1.0, t1, 2, "y"));
    this->server->Trigger(60.9);
    EXPECT_EQ(g_calls.size(), 1u);
    this->server->Trigger(61.0);
    EXPECT_EQ(g_calls.size(), 2u);

    // without a time server due times count from 0
    static_cast<nRoot*>(timeServer)->Release();
    ASSERT_EQ(this->ks->GetTimeServerObject(), nullptr);
    ASSERT_TRUE(PostRecord(2.0, t1, 3, "z"));
    this->server->Trigger(1.9);
    EXPECT_EQ(g_calls.size(), 2u);
    this->server->Trigger(2.0);
    EXPECT_EQ(g_calls.size(), 3u);
}
