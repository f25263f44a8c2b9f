//------------------------------------------------------------------------------
//  nplatformmessagebox.cc
//------------------------------------------------------------------------------
#include "platform/nplatformmessagebox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <SDL.h>

namespace
{

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
 *     user; when no box can be shown, or SDL fails to show one (a display
 *     variable naming an unreachable server), the text on standard error.
 * Results: true when a box was shown.
 */
bool nPlatformMessageBox::Show(Kind kind, const char* title, const char* text)
{
    if (CanShow())
    {
        Uint32 flags = 0;
        if (kind == Information) flags = SDL_MESSAGEBOX_INFORMATION;
        else if (kind == Error) flags = SDL_MESSAGEBOX_ERROR;
        if (SDL_ShowSimpleMessageBox(flags, title, text, nullptr) == 0) return true;
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
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || windowId <= 0) return false;
    SDL_Window* window = SDL_GetWindowFromID((Uint32)windowId);
    if (!window) return false;
    SDL_MinimizeWindow(window);
    return true;
}

void nPlatformMessageBox::DebugOutput(const char* text)
{
    fputs(text, stderr);
    fflush(stderr);
}
