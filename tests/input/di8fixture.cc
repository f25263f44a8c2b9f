//------------------------------------------------------------------------------
//  The DirectInput server test fixture.
//------------------------------------------------------------------------------
#include "di8fixture.h"

#include "file/nfilepackage.h"
#include "input/ndi8package.h"
#include "input/ninputpackage.h"
#include "kernel/nenv.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

void DI8Test::SetUp()
{
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        nfile_package, nsignals_package, nscript_package, ninput_package, ndi8_package});
    this->ks->SetLogHandler(&this->log);
    this->ks->New("ntclserver", "/sys/servers/script");
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/env/hwnd"))->SetI(7);
}

void DI8Test::TearDown()
{
    this->ks.reset();
    if (this->pad)
    {
        SDL_JoystickClose(this->pad);
        this->pad = nullptr;
    }
    while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0))
    {
        SDL_JoystickDetachVirtual(0);
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void DI8Test::Start(bool withPad)
{
    if (withPad)
    {
        this->padIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, PadAxes, PadButtons, 0);
        ASSERT_GE(this->padIndex, 0) << SDL_GetError();
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(this->padIndex), guid, sizeof(guid));
        const std::string mapping = std::string(guid) +
                                    ",Test Pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,leftstick:b7,"
                                    "rightstick:b8,leftshoulder:b9,rightshoulder:b10,dpup:b11,dpdown:b12,"
                                    "dpleft:b13,dpright:b14,leftx:a0,lefty:a1,rightx:a2,righty:a3,"
                                    "lefttrigger:a4,righttrigger:a5,";
        ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(this->padIndex));
        this->pad = SDL_JoystickOpen(this->padIndex);
        ASSERT_TRUE(this->pad) << SDL_GetError();
    }
    this->server = static_cast<nDI8Server*>(this->ks->New("ndi8server", "/sys/servers/input"));
    this->server->SetFocusCheck([this](unsigned int windowId) { return this->focused && 7 == windowId; });
}

std::vector<SeenEvent> DI8Test::Frame()
{
    // the window's pump in the game: the system's queue pumped, the window's own kinds taken
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_QUIT, SDL_MOUSEBUTTONUP);
    this->time += FrameTime;
    this->server->Trigger(this->time);
    std::vector<SeenEvent> seen;
    for (nInputEvent* e = this->server->FirstEvent(); e; e = this->server->NextEvent(e))
    {
        seen.push_back({e->GetType(), e->GetDeviceId(), e->GetIndex(), e->GetAxisValue()});
    }
    this->server->FlushEvents();
    return seen;
}

std::string DI8Test::Channel(const char* path)
{
    nRoot* obj = this->ks->Lookup(path);
    if (!obj || !obj->IsA("nenv")) return "";
    const char* s = static_cast<nEnv*>(obj)->GetS();
    return s ? s : "";
}

std::string DI8Test::TakeLog()
{
    std::string text;
    text.swap(this->log.text);
    return text;
}

std::vector<SeenEvent> Only(const std::vector<SeenEvent>& events, nInputType type, int deviceId, int index)
{
    std::vector<SeenEvent> out;
    for (const SeenEvent& e : events)
    {
        if (e.type == type && e.deviceId == deviceId && e.index == index) out.push_back(e);
    }
    return out;
}
