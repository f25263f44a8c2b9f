//------------------------------------------------------------------------------
//  nwindowprefs.cc
//------------------------------------------------------------------------------
#include "game/nwindowprefs.h"
#include "gfx2/ndisplaymode2.h"
#include "kernel/ntypes.h"
#include "misc/nprefserver.h"

#include <cstring>

namespace
{

/*
 * ParseSide --
 *     Results: true with the value in side when the text is a plain
 *     decimal number (digits only, at most five) within [min, max].
 */
bool ParseSide(const char* text, int min, int& side)
{
    const size_t len = strlen(text);
    if (len == 0 || len > 5) return false;
    int value = 0;
    for (size_t i = 0; i < len; i++)
    {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (value < min || value > nWindowPrefsMaxSide) return false;
    side = value;
    return true;
}

/*
 * ApplySize --
 *     Side effects: the mode's width and height from the preferences
 *     when both are usable; a message when either is unusable. Both
 *     unwritten: nothing.
 */
void ApplySize(nPrefServer* prefs, nDisplayMode2& mode)
{
    const nString width = prefs->ReadString(nString("window-width"));
    const nString height = prefs->ReadString(nString("window-height"));
    if (width.IsEmpty() && height.IsEmpty()) return;
    int w = 0;
    int h = 0;
    if (ParseSide(width.Get(), nWindowPrefsMinWidth, w) && ParseSide(height.Get(), nWindowPrefsMinHeight, h))
    {
        mode.SetWidth((ushort)w);
        mode.SetHeight((ushort)h);
        return;
    }
    n_message("The preferences ask for a window of %.32s x %.32s, which the game cannot use; "
              "it opens %d x %d instead.\n",
              width.Get(), height.Get(), (int)mode.GetWidth(), (int)mode.GetHeight());
}

/*
 * ApplyType --
 *     Side effects: full screen for "fullscreen", a window for
 *     "windowed"; a window with a message for any other written text.
 */
void ApplyType(nPrefServer* prefs, nDisplayMode2& mode)
{
    const nString type = prefs->ReadString(nString("window-type"));
    if (type.IsEmpty()) return;
    if (type == "fullscreen")
    {
        mode.SetType(nDisplayMode2::Fullscreen);
        return;
    }
    mode.SetType(nDisplayMode2::Windowed);
    if (type != "windowed")
    {
        n_message("The preferences ask for a window type '%.32s', which the game does not know; "
                  "it opens a window.\n",
                  type.Get());
    }
}

}  // namespace

void nApplyWindowPrefs(nPrefServer* prefs, nDisplayMode2& mode)
{
    n_assert(prefs);
    ApplySize(prefs, mode);
    ApplyType(prefs, mode);
}
