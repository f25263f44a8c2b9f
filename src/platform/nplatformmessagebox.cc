//------------------------------------------------------------------------------
//  nplatformmessagebox.cc
//------------------------------------------------------------------------------
#include "platform/nplatformmessagebox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL.h>
#include <dlfcn.h>

namespace
{

/// SDL's library, loaded only for a box: the programs of the system layer
/// and the kernel never load the media stack for what they may never show.
const char* const sdlLibrary = "libSDL2-2.0.so.0";

/*
 * LoadedSdl --
 *     Results: the handle of SDL's library when this process has it
 *     loaded already (the game's window does), null otherwise. Never
 *     loads it.
 */
void* LoadedSdl()
{
    return dlopen(sdlLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
}

/*
 * Sdl --
 *     Results: the handle of SDL's library, loaded at the first call that
 *     needs it and kept for the process's life; null when it cannot be
 *     loaded.
 */
void* Sdl()
{
    static void* const library = dlopen(sdlLibrary, RTLD_NOW | RTLD_LOCAL);
    return library;
}

/*
 * Call --
 *     Results: the function of that name in the library, typed by SDL's
 *     own declaration (only its type is used: nothing links SDL); null
 *     when it is missing.
 */
template <typename Function>
Function* Call(void* library, const char* name)
{
    return library ? reinterpret_cast<Function*>(dlsym(library, name)) : nullptr;
}

/*
 * EnvSet --
 *     Results: true when the variable exists and is not empty.
 */
bool EnvSet(const char* name)
{
    const char* value = getenv(name);
    return value && value[0];
}

/*
 * WriteToStderr --
 *     Side effects: "title: text" on standard error, ended by a newline,
 *     flushed at once (the program may abort right after).
 */
void WriteToStderr(const char* title, const char* text)
{
    const size_t len = strlen(text);
    fprintf(stderr, "%s: %s%s", title, text, (len && text[len - 1] == '\n') ? "" : "\n");
    fflush(stderr);
}

}  // namespace

bool nPlatformMessageBox::CanShow()
{
    return (EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY")) && !EnvSet("CI");
}

/*
 * Show --
 *     Side effects: an SDL message box when CanShow(), waiting for the
 *     user (SDL's library loaded for it if the process has not yet); when
 *     no box can be shown, or SDL fails to show one (a display variable
 *     naming an unreachable server, no SDL library), the text on standard
 *     error.
 * Results: true when a box was shown.
 */
bool nPlatformMessageBox::Show(Kind kind, const char* title, const char* text)
{
    if (CanShow())
    {
        Uint32 flags = 0;
        if (kind == Information) flags = SDL_MESSAGEBOX_INFORMATION;
        else if (kind == Error) flags = SDL_MESSAGEBOX_ERROR;
        auto* showBox = Call<decltype(SDL_ShowSimpleMessageBox)>(Sdl(), "SDL_ShowSimpleMessageBox");
        if (showBox && showBox(flags, title, text, nullptr) == 0) return true;
    }
    WriteToStderr(title, text);
    return false;
}

/*
 * MinimizeWindow --
 *     Side effects: asks the window system to minimise the window.
 * Results: true when the window exists and was asked.
 */
bool nPlatformMessageBox::MinimizeWindow(int windowId)
{
    // without SDL in the process there is no SDL window to minimise
    void* library = LoadedSdl();
    if (!library || windowId <= 0) return false;
    auto* wasInit = Call<decltype(SDL_WasInit)>(library, "SDL_WasInit");
    auto* windowFromId = Call<decltype(SDL_GetWindowFromID)>(library, "SDL_GetWindowFromID");
    auto* minimize = Call<decltype(SDL_MinimizeWindow)>(library, "SDL_MinimizeWindow");
    SDL_Window* window = nullptr;
    if (wasInit && windowFromId && minimize && wasInit(SDL_INIT_VIDEO) != 0)
    {
        window = windowFromId((Uint32)windowId);
        if (window) minimize(window);
    }
    dlclose(library);
    return window != nullptr;
}

void nPlatformMessageBox::DebugOutput(const char* text)
{
    fputs(text, stderr);
    fflush(stderr);
}
