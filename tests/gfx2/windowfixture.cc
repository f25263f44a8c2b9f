//------------------------------------------------------------------------------
//  The window test fixture.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "kernel/nfileserver2.h"

#include "file/nfilepackage.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "resource/nresourcepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

#include <cstring>

void WindowTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        nfile_package, nsignals_package, nscript_package, nresource_package, ngfx2_package, ninput_package});
    this->ks->SetLogHandler(&this->log);
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
    this->input = static_cast<nInputServer*>(this->ks->New("ninputserver", "/sys/servers/input"));
    // the server loads its "shape" and "shared" effects from here when the display opens
    nFileServer2::Instance()->SetAssign("shaders", ENGINE_SHADERS_DIR);
}

void WindowTest::TearDown()
{
    this->ks.reset();
}

std::vector<SeenEvent> WindowTest::TakeEvents()
{
    std::vector<SeenEvent> seen;
    for (nInputEvent* e = this->input->FirstEvent(); e; e = this->input->NextEvent(e))
    {
        seen.push_back({e->GetType(), e->GetDeviceId(), e->GetIndex()});
    }
    this->input->FlushEvents();
    return seen;
}

nInputEvent* WindowTest::FirstEvent()
{
    nInputEvent* e = this->input->FirstEvent();
    EXPECT_NE(e, nullptr);
    return e;
}

std::string WindowTest::Tcl(const std::string& str)
{
    nString result;
    EXPECT_TRUE(this->script->Run(str.c_str(), result)) << str << ": " << result.Get();
    return result.Get();
}

void WindowTest::PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode sc, Uint16 mod, Uint8 repeat)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.key.state = (SDL_KEYDOWN == type) ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = sc;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void WindowTest::PushText(const char* text)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    strncpy(e.text.text, text, sizeof(e.text.text) - 1);
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void WindowTest::PushWindowEvent(Uint8 event, Uint32 windowId)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.windowID = windowId;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void WindowTest::PushMotion(int x, int y)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

void WindowTest::PushButton(Uint32 type, Uint8 button, int x, int y)
{
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    e.button.button = button;
    e.button.state = (SDL_MOUSEBUTTONDOWN == type) ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}
