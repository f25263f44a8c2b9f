//------------------------------------------------------------------------------
//  nguitextbutton.cc
//------------------------------------------------------------------------------
#include "gui/nguitextbutton.h"
#include "gui/nguiserver.h"

nGuiTextButton::nGuiTextButton() : nGuiPressable(false)
{
}

nGuiTextButton::~nGuiTextButton()
{
}

/*
 * Render --
 *     Side effects (shown buttons): pressed, highlight (mouse over or blink
 *     phase) or default brush, then the text, moved while pressed.
 */
void nGuiTextButton::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    gui->DrawBrush(this->GetScreenSpaceRect(), this->PressLook());
    this->RenderText(this->pressed);
}
