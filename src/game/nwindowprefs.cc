//------------------------------------------------------------------------------
//  nwindowprefs.cc
//------------------------------------------------------------------------------
#include "game/nwindowprefs.h"
#include "gfx2/ndisplaymode2.h"
#include "kernel/ntypes.h"
#include "misc/nprefserver.h"

#include <algorithm>
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
 * FitToScreen --
 *     Results: false when the screen sizes are known and w x h exceeds
 *     the largest of them in either direction; w and h then hold the
 *     largest screen size (by area) that fits and is at least the
 *     smallest accepted, or stay as they are when there is none.
 */
bool FitToScreen(const nScreenSizes& screen, int& w, int& h)
{
    int maxW = 0;
    int maxH = 0;
    for (const std::pair<int, int>& s : screen)
    {
        maxW = std::max(maxW, s.first);
        maxH = std::max(maxH, s.second);
    }
    if (screen.empty() || (w <= maxW && h <= maxH)) return true;
    long best = 0;
    for (const std::pair<int, int>& s : screen)
    {
        const long area = (long)s.first * s.second;
        if (s.first >= nWindowPrefsMinWidth && s.second >= nWindowPrefsMinHeight && s.first <= nWindowPrefsMaxSide &&
            s.second <= nWindowPrefsMaxSide && area > best)
        {
            best = area;
            w = s.first;
            h = s.second;
        }
    }
    return false;
}

/*
 * ApplySize --
 *     Side effects: the mode's width and height from the preferences
 *     when both are usable and fit the screen; the largest screen size
 *     that fits, with a message, for a size larger than the screen; a
 *     message when either is unusable. Both unwritten: nothing.
 */
void ApplySize(nPrefServer* prefs, nDisplayMode2& mode, const nScreenSizes& screen)
{
    const nString width = prefs->ReadString(nString("window-width"));
    const nString height = prefs->ReadString(nString("window-height"));
    if (width.IsEmpty() && height.IsEmpty()) return;
    int w = 0;
    int h = 0;
    if (ParseSide(width.Get(), nWindowPrefsMinWidth, w) && ParseSide(height.Get(), nWindowPrefsMinHeight, h))
    {
        const int askedW = w;
        const int askedH = h;
        if (!FitToScreen(screen, w, h))
        {
            const bool found = w != askedW || h != askedH;
            if (!found)
            {
                w = mode.GetWidth();
                h = mode.GetHeight();
            }
            n_message("The preferences ask for a window of %d x %d, larger than the screen; "
                      "it opens %d x %d instead.\n",
                      askedW, askedH, w, h);
        }
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

void nApplyWindowPrefs(nPrefServer* prefs, nDisplayMode2& mode, const nScreenSizes& screen)
{
    n_assert(prefs);
    ApplySize(prefs, mode, screen);
    ApplyType(prefs, mode);
}
