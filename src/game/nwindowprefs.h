#ifndef N_WINDOWPREFS_H
#define N_WINDOWPREFS_H
//------------------------------------------------------------------------------
/**
    @file nwindowprefs.h
    @ingroup Game

    The game window's size and kind from the preferences the launcher
    writes: "window-width" and "window-height" (decimal texts) and
    "window-type" ("fullscreen" or "windowed"). The file holding them can
    be edited by hand, so every value is checked.
*/
#include <utility>
#include <vector>

class nPrefServer;
class nDisplayMode2;

/// the smallest and largest window sides the game accepts from the preferences
const int nWindowPrefsMinWidth = 320;
const int nWindowPrefsMinHeight = 240;
const int nWindowPrefsMaxSide = 16384;

/// the display's mode sizes (width, height), as the launcher offers them; none when unknown
typedef std::vector<std::pair<int, int>> nScreenSizes;

/// size and type from the preferences into the mode: keys never written keep the mode's
/// values; an unusable size keeps the mode's size, a size larger than the screen (the
/// largest of the screen sizes in each direction; not checked without sizes) becomes the
/// largest screen size of at least the smallest accepted size that fits, an unknown type
/// makes a window; each unusable value is reported with n_message
void nApplyWindowPrefs(nPrefServer* prefs, nDisplayMode2& mode, const nScreenSizes& screen);
#endif
