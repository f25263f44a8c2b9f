#ifndef N_GUIEVENT_H
#define N_GUIEVENT_H
//------------------------------------------------------------------------------
/**
    @class nGuiEvent
    @ingroup Gui

    What a widget tells the GUI server's listeners: the widget that emitted
    it (the reference empties when the widget dies) and the event type.
*/
#include "kernel/nref.h"

class nGuiWidget;

class nGuiEvent
{
public:
    enum Type
    {
        InvalidType = 0,
        ButtonDown,
        ButtonUp,
        RButtonDown,
        RButtonUp,
        DoubleClick,
        Char,
        KeyDown,
        KeyUp,
        Show,
        Action,
        Enabled,
        Disabled,
        SliderChanged,
        SelectionChanged,
        SelectionDblClicked,
        DialogCancel,
        DialogOk,
        WheelUp,
        WheelDown,
        MenuEntrySelected,
        DragBoxStarted,
        DragBoxFinished,
        DragBoxCancelled,
        DragBoxUpdated,
        NumTypes,
    };

    nGuiEvent(nGuiWidget* widget, Type type);
    nGuiEvent(const nGuiEvent&) = delete;
    nGuiEvent& operator=(const nGuiEvent&) = delete;

    /// the widget that emitted the event, or null when it has died since
    nGuiWidget* GetWidget() const;
    Type GetType() const { return this->type; }

    /// the name of a type ("" for an invalid one)
    static const char* TypeToString(Type t);
    /// the type of a name; InvalidType for an unknown or null name
    static Type StringToType(const char* str);

private:
    nRef<nGuiWidget> refWidget;
    Type type;
};
#endif
