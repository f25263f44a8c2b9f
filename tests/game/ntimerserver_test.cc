//------------------------------------------------------------------------------
//  The timer server: one-shot timers in scaled time that flip their flag
//  once, the engine random generator and the game's float rounding.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "application/napplicationpackage.h"
#include "gui/nguipackage.h"
#include "gfx2/ngfx2package.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "variable/nvariablepackage.h"
#include "game/nfloat2int.h"
#include "misc/nmiscpackage.h"
#include "game/ngamepackage.h"
#include "game/ntimer.h"
#include "game/ntimerserver.h"
#include "kernel/nkernelserver.h"
#include "util/assertdeath.h"

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nmisc_package, nvariable_package, nresource_package, ngfx2_package, nscene_package, napplication_package, ngui_package, ngame_package});
        this->timers = static_cast<nTimerServer*>(this->ks->New("ntimerserver", "/sys/servers/timer"));
    }
    void TearDown() override
    {
        this->timers->Release();
        this->ks.reset();
    }
    /// a started timer of the duration for the flag, set true as the game does
    int Started(bool& flag, float duration)
    {
        flag = true;
        int id = this->timers->AddTimer(&flag, &duration);
        this->timers->Start(&id);
        return id;
    }
    void Trigger(float dt) { this->timers->Trigger(&dt); }

    std::unique_ptr<nKernelServer> ks;
    nTimerServer* timers = nullptr;
};

TEST_F(TimerTest, NewTimerHasRunItsDurationAndNeverFires)
{
    bool flag = true;
    float d = 1.5f;
    int id = this->timers->AddTimer(&flag, &d);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(nTimerServer::Instance(), this->timers);
    EXPECT_FLOAT_EQ(this->timers->GetTimer(&id)->GetElapsed(), 1.5f);
    EXPECT_FALSE(this->timers->IsRunning(&id));
    this->Trigger(10.0f);
    EXPECT_TRUE(flag);
    EXPECT_FLOAT_EQ(this->timers->GetTimer(&id)->GetElapsed(), 1.5f);
}

TEST_F(TimerTest, StartedTimerFiresOnceOnTheThirdStep)
{
    bool flag;
    int id = this->Started(flag, 1.0f);
    this->Trigger(0.4f);
    this->Trigger(0.4f);
    EXPECT_TRUE(flag);
    EXPECT_TRUE(this->timers->IsRunning(&id));
    this->Trigger(0.4f);
    EXPECT_FALSE(flag);
    EXPECT_FALSE(this->timers->IsRunning(&id));
    EXPECT_EQ(this->timers->GetTimer(&id)->GetElapsed(), 1.0f);
    // once only: a fired timer stays quiet
    this->Trigger(5.0f);
    EXPECT_FALSE(flag);
}

TEST_F(TimerTest, ZeroDurationFiresOnFirstPositiveStep)
{
    bool flag;
    this->Started(flag, 0.0f);
    this->Trigger(0.0f);
    EXPECT_TRUE(flag);
    this->Trigger(0.001f);
    EXPECT_FALSE(flag);
}

TEST_F(TimerTest, SetTimeOnRunningTimerFiresOnNextAdvance)
{
    bool flag;
    int id = this->Started(flag, 10.0f);
    this->Trigger(1.0f);
    float d = 2.0f;
    this->timers->SetTime(&id, &d);
    EXPECT_EQ(this->timers->GetTimer(&id)->GetElapsed(), 2.0f);
    this->Trigger(0.001f);
    EXPECT_FALSE(flag);
}

TEST_F(TimerTest, RestartKeepsTargetAndFiringFlipsWhateverItHolds)
{
    bool flag;
    int id = this->Started(flag, 1.0f);
    this->Trigger(0.5f);
    this->timers->Start(&id);
    EXPECT_TRUE(flag);
    EXPECT_EQ(this->timers->GetTimer(&id)->GetElapsed(), 0.0f);
    this->Trigger(0.9f);
    EXPECT_TRUE(flag);
    flag = false;  // out of step with the timer: firing still inverts
    this->Trigger(0.2f);
    EXPECT_TRUE(flag);
}

TEST_F(TimerTest, TimersAdvanceTogetherAndAreRemovedTogether)
{
    bool a;
    bool b;
    this->Started(a, 0.5f);
    int second = this->Started(b, 1.5f);
    EXPECT_EQ(second, 1);
    this->Trigger(1.0f);
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    this->timers->RemoveAllTimers();
    EXPECT_EQ(this->timers->GetNumTimers(), 0);
    this->Trigger(1.0f);
    EXPECT_TRUE(b);
    bool c;
    EXPECT_EQ(this->Started(c, 1.0f), 0);
}

TEST_F(TimerTest, IndexOutsideTheArrayIsFatal)
{
    bool flag;
    float d = 1.0f;
    this->timers->AddTimer(&flag, &d);
    for (int bad : {-1, 1})
    {
        EXPECT_ASSERT_DEATH(this->timers->SetTime(&bad, &d), "i >= 0 && i < m_Timers.Size()");
        EXPECT_ASSERT_DEATH(this->timers->Start(&bad), "i >= 0 && i < m_Timers.Size()");
    }
}

TEST(Float2IntTest, RoundsHalfwayUpAndSaturates)
{
    struct Case
    {
        float in;
        int out;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.49f, 0},      {0.5f, 1},         {-0.5f, 0},       {2.5f, 3},         {-2.5f, -2},
        {0.49999997f, 0}, {-0.49999997f, 0}, {1.0f, 1},        {-1.5f, -1},       {-1.6f, -2},
        {nan, 0},        {1e10f, INT_MAX},  {-1e10f, INT_MIN}, {inf, INT_MAX},   {-inf, INT_MIN},
        {2147483520.0f, 2147483520}, {-2147483648.0f, INT_MIN}, {8388607.5f, 8388608},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(n_float2int(c.in), c.out) << "for " << c.in;
    }
}
