//------------------------------------------------------------------------------
//  The input devices and the axis filter on their own, fed raw data.
//------------------------------------------------------------------------------
#include "inputfixture.h"

#include "input/naxisfilter.h"
#include "input/njoystickdevice.h"
#include "input/nrelmousedevice.h"
#include "util/assertdeath.h"

#include <vector>

namespace
{

/// the frame's events as (type, index, value), and the frame flushed
std::vector<std::tuple<int, int, float>> Take(nInputServer* is)
{
    std::vector<std::tuple<int, int, float>> out;
    for (nInputEvent* e = is->FirstEvent(); e; e = is->NextEvent(e))
    {
        out.emplace_back(e->GetType(), e->GetIndex(), e->GetAxisValue());
    }
    is->FlushEvents();
    return out;
}

float LastAxis(const std::vector<std::tuple<int, int, float>>& events, int axis)
{
    float v = -99.0f;
    for (const auto& [type, index, value] : events)
    {
        if (N_INPUT_AXIS_MOVE == type && index == axis) v = value;
    }
    return v;
}

}  // namespace

TEST(AxisFilter, HistoryAverageAndCap)
{
    nAxisFilter f;
    EXPECT_EQ(4, f.GetHistorySize());
    f.SetHistorySize(3);
    f.Push(3.0f);
    EXPECT_FLOAT_EQ(1.0f, f.GetAverage());
    f.Push(6.0f);
    f.Push(9.0f);
    f.Push(12.0f);
    EXPECT_FLOAT_EQ(9.0f, f.GetAverage()) << "the oldest fell out";
    EXPECT_EQ(12.0f, f.Get(0));
    f.SetHistorySize(20);
    EXPECT_EQ(8, f.GetHistorySize());
    EXPECT_EQ(0.0f, f.GetAverage()) << "a new size starts empty";
}

TEST(AxisFilterDeathTest, HistoryOfOneIsAProgrammingError)
{
    nAxisFilter f;
    EXPECT_ASSERT_DEATH(f.SetHistorySize(1), "historySize > 1");
}

using JoystickDeviceTest = InputTest;

TEST_F(JoystickDeviceTest, PovSectors)
{
    nJoystickDevice joy(this->ks.get(), this->input, 0, 2, 4, 1);
    joy.SetAxisRange(0, 100);
    const struct
    {
        int raw;
        float h, v;
    } cases[] = {
        {0, 0, -1},      {2250, 0, -1},   {2251, 1, -1},  {6750, 1, -1},     {9000, 1, 0},
        {13500, 1, 1},   {18000, 0, 1},   {22500, -1, 1}, {27000, -1, 0},    {31500, -1, -1},
        {33750, -1, -1}, {33751, 0, -1},  {0xFFFF, 0, 0}, {-1, 0, 0},
    };
    const int base = 4;  // after two axes
    for (const auto& c : cases)
    {
        joy.OnPov(0, c.raw);
        const auto events = Take(this->input);
        EXPECT_EQ(c.h < 0 ? 1.0f : 0.0f, LastAxis(events, base + 0)) << c.raw;
        EXPECT_EQ(c.h > 0 ? 1.0f : 0.0f, LastAxis(events, base + 1)) << c.raw;
        EXPECT_EQ(c.v < 0 ? 1.0f : 0.0f, LastAxis(events, base + 2)) << c.raw;
        EXPECT_EQ(c.v > 0 ? 1.0f : 0.0f, LastAxis(events, base + 3)) << c.raw;
    }
}

TEST_F(JoystickDeviceTest, AxisBeyondTheDeviceAndPovBeyondItAreIgnored)
{
    nJoystickDevice joy(this->ks.get(), this->input, 0, 2, 4, 1);
    joy.SetAxisRange(0, 100);
    joy.OnAxis(2, 0);
    joy.OnAxis(3, 0);
    joy.OnAxis(1000, 0);
    joy.OnAxis(-1, 0);
    joy.OnPov(1, 9000);
    joy.OnPov(3, 9000);
    EXPECT_TRUE(Take(this->input).empty());
}

TEST_F(JoystickDeviceTest, EmptyRangeSendsZeroAndNearCentreIsZero)
{
    nJoystickDevice joy(this->ks.get(), this->input, 0, 1, 0, 0);
    joy.SetAxisRange(0, 0);
    joy.OnAxis(0, 12345);
    auto events = Take(this->input);
    EXPECT_EQ(0.0f, LastAxis(events, 0));
    EXPECT_EQ(0.0f, LastAxis(events, 1));

    nJoystickDevice joy2(this->ks.get(), this->input, 1, 1, 0, 0);
    joy2.SetAxisRange(0, 1000);
    joy2.OnAxis(0, 504);  // 0.8% off the centre
    events = Take(this->input);
    EXPECT_EQ(0.0f, LastAxis(events, 1));
}

TEST_F(JoystickDeviceTest, FrameTimeIsKept)
{
    nRelMouseDevice mouse(this->ks.get(), this->input, 0, 3, 5);
    mouse.BeginFrame(0.5);
    EXPECT_EQ(0.5, mouse.GetFrameTime());
    mouse.OnAxis(7, 10);  // no such axis
    mouse.EndFrame();
    for (const auto& [type, index, value] : Take(this->input))
    {
        EXPECT_EQ(N_INPUT_AXIS_MOVE, type);
        EXPECT_LT(index, 4);
        EXPECT_EQ(0.0f, value);
    }
}
