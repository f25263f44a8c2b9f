//------------------------------------------------------------------------------
//  The base platform library links no SDL: a program of the lower layers
//  loads SDL's library only when it asks for a box on a display.
//------------------------------------------------------------------------------
#include "usertempdir.h"

#include "platform/nplatformmessagebox.h"

#include <dlfcn.h>

namespace
{

bool SdlLoaded()
{
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (library) dlclose(library);
    return library != nullptr;
}

}  // namespace

TEST(PlatformMessageBox, SdlIsLoadedOnlyForABoxOnADisplay)
{
    ASSERT_FALSE(SdlLoaded());
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(1));
    {
        ScopedEnv ci("CI", "true");
        testing::internal::CaptureStderr();
        EXPECT_FALSE(nPlatformMessageBox::Show(nPlatformMessageBox::Error, "Boxing", "unattended"));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Boxing: unattended\n");
    }
    EXPECT_FALSE(SdlLoaded());

    // a box on a display brings SDL in (whose display here is unreachable: the text
    // goes to standard error, as UnreachableDisplayFallsBackToStandardError checks)
    ScopedEnv ci("CI", nullptr);
    ScopedEnv display("DISPLAY", ":9876");
    ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    testing::internal::CaptureStderr();
    nPlatformMessageBox::Show(nPlatformMessageBox::Information, "Boxing", "display");
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(SdlLoaded());
    EXPECT_FALSE(nPlatformMessageBox::MinimizeWindow(1));
}
