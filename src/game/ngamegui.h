#ifndef N_GAMEGUI_H
#define N_GAMEGUI_H
//------------------------------------------------------------------------------
/**
    @class nGameGui
    @ingroup Game

    What the match asks of the GUI server and its widgets: switching the
    system GUI and the boxers' name labels. The calls go through the GUI
    classes' script commands by name, checked against their prototypes,
    so the game needs no GUI header; where the GUI server or a widget
    class is missing (a game without GUI, a test) a call does nothing and
    says so once.
*/
#include "util/nstring.h"

class nObject;
class nRoot;

class nGameGui
{
public:
    /// the GUI server switches between the system GUI and the user's
    static void ToggleSystemGui();
    /// a text label of the name below the GUI's root window, or 0 when there is no GUI to hold it
    static nRoot* NewTextLabel(const nString& name);
    /// the label's text
    static void SetText(nRoot* label, const char* text);
    /// the label's rectangle in screen units
    static void SetRect(nRoot* label, float left, float top, float right, float bottom);
    /// "left", "center" or "right"
    static void SetAlignment(nRoot* label, const char* align);
    static void SetFont(nRoot* label, const char* font);
    static void SetVCenter(nRoot* label, bool b);
    static void Show(nRoot* label);
    static void Hide(nRoot* label);

    /**
        Runs the object's command of that prototype with the given inputs
        (ints, doubles, bools as ints, const char*), writing a string
        output, if any, into result.
        Results: false (reported once per prototype) when the object's
        class has no command of exactly that prototype.
    */
    static bool Call(nObject* obj, nString* result, const char* protoDef, ...);
};
#endif
