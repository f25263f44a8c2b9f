#ifndef N_GAMEGUI_H
#define N_GAMEGUI_H
//------------------------------------------------------------------------------
/**
    @class nGameGui
    @ingroup Game

    Where the match's own widgets (name labels, HUD bars, damage labels)
    live: directly in the GUI server's root window, not below the objects
    that own them. A game without GUI server or root window (a test that
    needs none) gets no widget, and its owner goes on without.
*/
class nGuiWidget;

class nGameGui
{
public:
    /**
        Results: a new widget of the class and name in the GUI server's
        root window (an object of that name already there is released
        first), or 0 when there is no GUI server, no root window or no
        widget class of that name.
    */
    static nGuiWidget* NewRootWidget(const char* className, const char* name);
    /// a name unique to the object (its address in decimal), with the suffix
    static void UniqueName(const void* owner, const char* suffix, char* buf, int size);
};
#endif
