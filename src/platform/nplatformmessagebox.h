#ifndef N_PLATFORMMESSAGEBOX_H
#define N_PLATFORMMESSAGEBOX_H
//------------------------------------------------------------------------------
/**
    @class nPlatformMessageBox
    @ingroup Platform

    Message boxes for the user, debugger output and the one window call
    an error report needs. A box is shown only when a display exists and
    the run is not unattended (CI unset); otherwise the text goes to
    standard error, so an unattended run never waits for a click.

    The boxes are SDL's, but SDL's library is loaded only when a box is
    shown (and found, not loaded, to minimise a window), so that the
    programs of the lower layers link and load no part of the media stack.
*/

class nPlatformMessageBox
{
public:
    enum Kind
    {
        Information = 0,
        Error = 1,
        Plain = 2,
    };

    /// whether a box may be shown: DISPLAY or WAYLAND_DISPLAY set and CI unset
    static bool CanShow();
    /// show text in a box titled title (blocks until closed); else write "title: text" to stderr.
    /// Returns true when a box was shown.
    static bool Show(Kind kind, const char* title, const char* text);
    /// minimise the SDL window with that id; false when SDL video is not running or there is no such window
    static bool MinimizeWindow(int windowId);
    /// debugger output: the text on standard error
    static void DebugOutput(const char* text);
};
#endif
