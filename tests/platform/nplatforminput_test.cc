//------------------------------------------------------------------------------
//  The device layer under the input devices: axis scaling, hats, the
//  record queue and its result codes.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatforminput.h"

TEST(PlatformInput, AxisScaleHasDeadZoneAndSaturation)
{
    const struct
    {
        int sdl;
        int expected;
    } cases[] = {
        {-32768, 0},     {32767, 65535}, {0, 32768},  {-1, 32768},   {400, 32768},  // 1.2%: inside the dead zone
        {-32765, 0},     {32766, 65535},                                          // beyond the saturation
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.expected, nPlatformInput::ScaleAxis(c.sdl)) << c.sdl;
    }
    // halfway out is scaled past the dead zone
    const int half = nPlatformInput::ScaleAxis(16384);
    EXPECT_GT(half, 32768 + 15900);
    EXPECT_LT(half, 32768 + 16384);
}

TEST(PlatformInput, HatsAreClockwiseFromNorth)
{
    const struct
    {
        int hat;
        int pov;
    } cases[] = {
        {SDL_HAT_CENTERED, 0xFFFF}, {SDL_HAT_UP, 0},         {SDL_HAT_RIGHTUP, 4500},   {SDL_HAT_RIGHT, 9000},
        {SDL_HAT_RIGHTDOWN, 13500}, {SDL_HAT_DOWN, 18000},   {SDL_HAT_LEFTDOWN, 22500}, {SDL_HAT_LEFT, 27000},
        {SDL_HAT_LEFTUP, 31500},    {SDL_HAT_UP | SDL_HAT_DOWN, 0xFFFF},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.pov, nPlatformInput::PovFromHat(c.hat)) << c.hat;
    }
}

TEST(PlatformInput, QueueHolds128AndReportsTheOverflow)
{
    nPlatformInputDevice dev({nPlatformInputDevice::Joystick, "j", "j", 2, 2, 0, 0, 65535});
    dev.Put(0, 1);
    nPlatformInputRecord buf[nPlatformInputDevice::BufferSize + 10];
    int count = 10;
    EXPECT_EQ(nPlatformInputResult::NotAcquired, dev.GetDeviceData(buf, count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(nPlatformInputResult::OtherAppHasPrio, dev.Acquire(false));
    EXPECT_EQ(nPlatformInputResult::Ok, dev.Acquire(true));
    EXPECT_EQ(nPlatformInputResult::BufferOverflow, dev.Acquire(true)) << "already acquired";
    count = 10;
    EXPECT_EQ(nPlatformInputResult::Ok, dev.GetDeviceData(buf, count));
    EXPECT_EQ(0, count) << "nothing is kept while unacquired";

    for (int i = 0; i < 200; i++) dev.Put(48, i);
    count = 100;
    EXPECT_EQ(nPlatformInputResult::BufferOverflow, dev.GetDeviceData(buf, count));
    EXPECT_EQ(100, count);
    EXPECT_EQ(0, buf[0].data);
    count = nPlatformInputDevice::BufferSize + 10;
    EXPECT_EQ(nPlatformInputResult::Ok, dev.GetDeviceData(buf, count));
    EXPECT_EQ(28, count);
    EXPECT_EQ(127, buf[27].data) << "the oldest are kept";

    dev.MarkLost();
    EXPECT_EQ(nPlatformInputResult::InputLost, dev.Acquire(true));
    count = 10;
    EXPECT_EQ(nPlatformInputResult::InputLost, dev.GetDeviceData(buf, count));
}

TEST(PlatformInput, WithoutJoysticksKeyboardAndMouseRemain)
{
    nPlatformInput input;
    std::string error, joystickError;
    ASSERT_TRUE(input.Open(false, error, joystickError)) << error;
    EXPECT_FALSE(joystickError.empty());
    ASSERT_EQ(2, input.GetNumDevices());
    EXPECT_EQ(nPlatformInputDevice::Keyboard, input.GetDevice(0)->GetCaps().type);
    EXPECT_EQ(nPlatformInputDevice::Mouse, input.GetDevice(1)->GetCaps().type);
    EXPECT_EQ(5, input.GetDevice(1)->GetCaps().numButtons);
    EXPECT_FALSE(input.HasFocus()) << "no window has the focus";
    input.SetFocusCheck([](unsigned int) { return true; });
    EXPECT_TRUE(input.HasFocus());
}
