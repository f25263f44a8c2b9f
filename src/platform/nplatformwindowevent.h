#ifndef N_PLATFORMWINDOWEVENT_H
#define N_PLATFORMWINDOWEVENT_H
//------------------------------------------------------------------------------
/**
    @class nPlatformWindowEvent
    @ingroup Platform

    One event of the render window's own kinds as nPlatformWindow's pump
    hands it out, in the window system's terms but free of SDL: keys come
    as window-system virtual keys, mouse buttons as the engine's numbers,
    text as UTF-8. Events of the pump's range that nobody handles come as
    Other, so that the count of drained events stays the queue's.
*/

class nPlatformWindowEvent
{
public:
    enum Kind
    {
        Other = 0,
        /// a signal asked the program to end
        Quit,
        /// the user asked to close the window
        Close,
        FocusGained,
        FocusLost,
        Minimized,
        /// restored or maximised
        Restored,
        /// the window needs painting
        Exposed,
        /// the pointer entered the window
        Entered,
        KeyDown,
        KeyUp,
        Text,
        MouseMove,
        ButtonDown,
        ButtonUp,
    };

    /// room for one text event's UTF-8 bytes and the terminating 0
    static constexpr int TextSize = 32;

    Kind kind = Other;
    /// KeyDown, KeyUp: the virtual key (nPlatformVirtualKey), 0 for a key without one
    int virtualKey = 0;
    /// KeyDown: a repeat of a held key
    bool repeat = false;
    /// KeyDown, KeyUp: Return (main or keypad) with Alt held
    bool altReturn = false;
    /// MouseMove, ButtonDown, ButtonUp: the window position in pixels
    int x = 0;
    int y = 0;
    /// ButtonDown, ButtonUp: 0 left, 1 right, 2 middle, -1 another button
    int button = -1;
    /// Text: the typed characters, UTF-8, 0-terminated
    char text[TextSize] = {};
};
#endif
