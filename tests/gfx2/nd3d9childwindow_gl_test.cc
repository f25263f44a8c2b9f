//------------------------------------------------------------------------------
//  The render window inside a window of another program: under Xvfb the
//  test makes an X11 window, names it in "/sys/env/parent_hwnd" and finds
//  the render window inside it, sized to its client area, carrying the
//  icon the display mode names. On other drivers the tests are skipped.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nenv.h"
#include "resource/nresourceserver.h"
#include "usertempdir.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace
{

class ChildWindowTest : public WindowTest
{
protected:
    void SetUp() override
    {
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        if (!driver || 0 != std::strcmp(driver, "x11"))
        {
            GTEST_SKIP() << "a parent window needs X11";
        }
        WindowTest::SetUp();
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        this->dpy = XOpenDisplay(nullptr);
        ASSERT_NE(this->dpy, nullptr);
        this->parent = XCreateSimpleWindow(this->dpy, DefaultRootWindow(this->dpy), 0, 0, 200, 150, 0, 0, 0);
        XMapWindow(this->dpy, this->parent);
        XSync(this->dpy, False);
        this->dir = MakeTempDir("childwindowtest");
    }

    void TearDown() override
    {
        if (this->gfx)
        {
            if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
            this->gfx->Release();
            WindowTest::TearDown();
        }
        if (this->dpy)
        {
            XDestroyWindow(this->dpy, this->parent);
            XCloseDisplay(this->dpy);
        }
        if (!this->dir.empty()) std::filesystem::remove_all(this->dir);
    }

    void SetParent(int id)
    {
        static_cast<nEnv*>(this->ks->New("nenv", "/sys/env/parent_hwnd"))->SetI(id);
    }

    /// the X11 window of the render window
    Window RenderWindow() const
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        SDL_Window* w = SDL_GetWindowFromID((Uint32)this->gfx->GetWindowHandler().GetHwnd());
        return (w && SDL_GetWindowWMInfo(w, &info)) ? info.info.x11.window : 0;
    }

    Window ParentOf(Window w) const
    {
        Window root = 0, par = 0, *children = nullptr;
        unsigned int n = 0;
        XQueryTree(this->dpy, w, &root, &par, &children, &n);
        if (children) XFree(children);
        return par;
    }

    nD3D9Server* gfx = nullptr;
    Display* dpy = nullptr;
    Window parent = 0;
    std::string dir;
};

}  // namespace

TEST_F(ChildWindowTest, TheRenderWindowLivesInTheParentCutToItsClientAreaWithTheIconOfTheMode)
{
    // a 4 x 3 image as the icon, in a format the image reader knows
    std::string ppm = "P6\n4 3\n255\n";
    ppm.append(4 * 3 * 3, '\x80');
    const std::string icon = this->dir + "/icon.ppm";
    WriteWholeFile(icon, ppm);
    this->SetParent((int)this->parent);
    nDisplayMode2 mode("child", nDisplayMode2::Windowed, 10, 20, 640, 480, false);
    mode.SetIcon(icon.c_str());
    this->gfx->SetDisplayMode(mode);
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_STREQ(nPlatformWindow::GetVideoDriver(), "x11");

    EXPECT_EQ(this->gfx->GetParentHwnd(), (int)this->parent);
    const nDisplayMode2& now = this->gfx->GetDisplayMode();
    EXPECT_EQ(now.GetType(), nDisplayMode2::ChildWindow);
    EXPECT_EQ(now.GetWidth(), 190);
    EXPECT_EQ(now.GetHeight(), 130);
    const Window w = this->RenderWindow();
    ASSERT_NE(w, 0u);
    XSync(this->dpy, False);
    EXPECT_EQ(this->ParentOf(w), this->parent);
    XWindowAttributes attrs;
    ASSERT_TRUE(XGetWindowAttributes(this->dpy, w, &attrs));
    EXPECT_EQ(attrs.x, 10);
    EXPECT_EQ(attrs.y, 20);
    EXPECT_EQ(attrs.width, 190);
    EXPECT_EQ(attrs.height, 130);

    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(this->dpy, w, XInternAtom(this->dpy, "_NET_WM_ICON", False), 0, 2, False,
                                 XA_CARDINAL, &type, &format, &count, &after, &data),
              Success);
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(reinterpret_cast<long*>(data)[0], 4);
    EXPECT_EQ(reinterpret_cast<long*>(data)[1], 3);
    XFree(data);

    // closing is the parent program's business
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, (Uint32)this->gfx->GetWindowHandler().GetHwnd());
    EXPECT_TRUE(this->gfx->Trigger());
}

TEST_F(ChildWindowTest, AParentThatIsNoWindowIsReportedAndTheWindowStaysTopLevel)
{
    this->SetParent(0x7ffffff0);
    this->gfx->SetDisplayMode(nDisplayMode2("alone", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
    ASSERT_TRUE(this->gfx->OpenDisplay());
    ASSERT_STREQ(nPlatformWindow::GetVideoDriver(), "x11");
    EXPECT_EQ(this->gfx->GetParentHwnd(), 0);
    EXPECT_EQ(this->gfx->GetDisplayMode().GetType(), nDisplayMode2::Windowed);
    EXPECT_EQ(this->gfx->GetDisplayMode().GetWidth(), 64);
    EXPECT_NE(this->log.text.find("cannot open the window inside parent"), std::string::npos);
    EXPECT_NE(this->ParentOf(this->RenderWindow()), this->parent);
}
