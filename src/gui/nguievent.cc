//------------------------------------------------------------------------------
//  nguievent.cc
//------------------------------------------------------------------------------
#include "gui/nguievent.h"
#include "gui/nguiwidget.h"

#include <cstring>

namespace
{

const char* const TypeNames[nGuiEvent::NumTypes] = {
    "",
    "ButtonDown",
    "ButtonUp",
    "RButtonDown",
    "RButtonUp",
    "DoubleClick",
    "Char",
    "KeyDown",
    "KeyUp",
    "Show",
    "Action",
    "Enabled",
    "Disabled",
    "SliderChanged",
    "SelectionChanged",
    "SelectionDblClicked",
    "DialogCancel",
    "DialogOk",
    "WheelUp",
    "WheelDown",
    "MenuEntrySelected",
    "DragBoxStarted",
    "DragBoxFinished",
    "DragBoxCancelled",
    "DragBoxUpdated",
};

}  // namespace

nGuiEvent::nGuiEvent(nGuiWidget* widget, Type t) : type(t)
{
    this->refWidget.set(widget);
}

nGuiWidget* nGuiEvent::GetWidget() const
{
    return this->refWidget.get_unsafe();
}

/*
 * TypeToString --
 *     Results: the type's name, "" for InvalidType or a value out of range.
 */
const char* nGuiEvent::TypeToString(Type t)
{
    if (t <= InvalidType || t >= NumTypes) return "";
    return TypeNames[t];
}

/*
 * StringToType --
 *     Results: the type of that name; InvalidType (0) for null, "" or an
 *     unknown name.
 */
nGuiEvent::Type nGuiEvent::StringToType(const char* str)
{
    if (!str) return InvalidType;
    for (int i = 1; i < NumTypes; i++)
    {
        if (0 == strcmp(str, TypeNames[i])) return Type(i);
    }
    return InvalidType;
}
