//------------------------------------------------------------------------------
//  headlessgame.cc: the game application itself, headless (see headlessgame.h).
//------------------------------------------------------------------------------
#include "headlessgame.h"

#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"
#include "launcher/nboxingkernel.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

N_IMPLEMENT_MODULE(headlessapp, HeadlessApp, "napp", nullptr)

void HeadlessApp::DoFrame()
{
    if (this->beforeFrame) this->beforeFrame(this->frame);
    nApp::DoFrame();
    if (this->afterFrame) this->afterFrame(this->frame);
    this->frame++;
    if (this->frame >= this->lastFrame) this->SetQuitRequested(true);
}

std::string HeadlessGame::MakeHome()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "headless-XXXXXX").string();
    if (!mkdtemp(&tmpl[0])) return std::string();
    const std::filesystem::path home(tmpl);
    const auto recursive = std::filesystem::copy_options::recursive;
    std::filesystem::copy(HEADLESS_DATA_DIR, home, recursive);
    std::filesystem::create_directories(home / "data" / "shaders");
    std::filesystem::copy(ENGINE_SHADERS_DIR, home / "data" / "shaders", recursive);
    return tmpl + "/";
}

HeadlessGame::HeadlessGame(const std::string& home)
{
    // no display and no sound card: SDL's offscreen driver and OpenAL's null device
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    this->ks = nNewBoxingKernel(home);
    this->ks->SetLogHandler(&this->log);
    N_ADD_MODULE(this->ks.get(), headlessapp);
    this->app = static_cast<HeadlessApp*>(this->ks->New("headlessapp", "/theApp"));
    this->app->SetStartupScript(nString("home:startup.tcl"));
}

HeadlessGame::~HeadlessGame()
{
    this->Close();
    this->app->Release();
    this->ks.reset();
}

bool HeadlessGame::Open()
{
    return this->app->Open();
}

void HeadlessGame::Run(int frames)
{
    this->app->SetLastFrame(this->app->GetFrame() + frames);
    this->app->SetQuitRequested(false);
    this->app->Run();
}

void HeadlessGame::Close()
{
    if (this->app->IsOpen()) this->app->Close();
}

std::string HeadlessGame::Script(const std::string& cmd)
{
    nScriptServer* script = static_cast<nScriptServer*>(this->ks->Lookup("/sys/servers/script"));
    nString result;
    if (!script || !script->Run(cmd.c_str(), result)) return std::string("error: ") + result.Get();
    return result.Get();
}

std::vector<std::string> HeadlessGame::TakeCalls()
{
    std::istringstream in(this->Script("TakeCalls"));
    std::vector<std::string> calls;
    std::string name;
    while (in >> name) calls.push_back(name);
    return calls;
}

void HeadlessGame::MoveMouse(float x, float y)
{
    const nDisplayMode2& mode = nGfxServer2::Instance()->GetDisplayMode();
    this->mouseX = (int)(x * (float)mode.GetWidth());
    this->mouseY = (int)(y * (float)mode.GetHeight());
    SDL_Event e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = this->mouseX;
    e.motion.y = this->mouseY;
    SDL_PushEvent(&e);
}

void HeadlessGame::LeftButton(bool down)
{
    SDL_Event e = {};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = this->mouseX;
    e.button.y = this->mouseY;
    SDL_PushEvent(&e);
}

void HeadlessGame::PlayerInput(int frame)
{
    if (frame == 0) this->Script("StartMatch");
    this->MoveMouse(0.5f, 0.25f);
    if (frame % 20 == 0) this->LeftButton(true);
    else if (frame % 20 == 1) this->LeftButton(false);
}
