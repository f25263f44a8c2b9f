//------------------------------------------------------------------------------
//  nguiserver_input.cc
//  The mouse, the tooltip, the event listeners and the per-frame input
//  dispatch of the GUI server.
//------------------------------------------------------------------------------
#include "gui/nguiserver.h"
#include "gui/nguitooltip.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"

#include <cstring>

//--- mouse, tooltip, events -------------------------------------------------------------

/*
 * IsMouseOverGui --
 *     Results: true when the root window's top-most window is modal or the
 *     mouse is inside a shown child of the root window.
 */
bool nGuiServer::IsMouseOverGui() const
{
    nGuiWindow* root = this->refRootWindow.get_unsafe();
    if (!root) return false;
    nGuiWindow* top = root->GetTopMostWindow();
    if (top && top->IsModal()) return true;
    for (nRoot* cur = root->GetHead(); cur; cur = cur->GetSucc())
    {
        if (cur->IsA(nGuiWidget::WidgetClass()))
        {
            nGuiWidget* w = static_cast<nGuiWidget*>(cur);
            if (w->IsShown() && w->Inside(this->curMousePos)) return true;
        }
    }
    return false;
}

/*
 * ShowToolTip --
 *     Side effects: asks for the tooltip in this frame. While no tooltip
 *     widget is known, looks for the "Tooltip" child of the gui root (a
 *     missing one, or one of another class, means no tooltip); the call
 *     that finds it only hides it. Later calls set colour and text when
 *     the text changed and show it.
 */
void nGuiServer::ShowToolTip(const char* text, const vector4& color)
{
    n_assert(text);
    this->toolTipSet = true;
    if (!this->refToolTip.isvalid())
    {
        nRoot* gui = this->GetGuiRoot();
        nRoot* tip = gui ? gui->Find("Tooltip") : nullptr;
        if (tip && tip->GetParent() == gui && tip->IsA("nguitooltip"))
        {
            this->refToolTip.set(static_cast<nGuiToolTip*>(tip));
            static_cast<nGuiToolTip*>(tip)->Hide();
        }
        return;
    }
    nGuiToolTip* tip = this->refToolTip.get();
    nRef<nGuiToolTip> alive(tip);
    if (0 != strcmp(tip->GetText(), text))
    {
        tip->SetColor(color);
        tip->SetText(text);
    }
    if (alive.isvalid() && !tip->IsShown()) tip->Show();
}

void nGuiServer::HideToolTip()
{
    if (this->refToolTip.isvalid() && this->refToolTip->IsShown()) this->refToolTip->Hide();
}

bool nGuiServer::IsToolTipShown() const
{
    return this->refToolTip.isvalid() && this->refToolTip->IsShown();
}

void nGuiServer::RegisterEventListener(nGuiWidget* widget)
{
    n_assert(widget);
    for (const auto& ref : this->eventListeners)
    {
        if (ref->get_unsafe() == widget) return;
    }
    auto ref = std::make_unique<nRef<nGuiWidget>>();
    ref->set(widget);
    this->eventListeners.push_back(std::move(ref));
}

void nGuiServer::UnregisterEventListener(nGuiWidget* widget)
{
    for (const auto& ref : this->eventListeners)
    {
        if (ref->get_unsafe() == widget) ref->invalidate();
    }
}

/*
 * PutEvent --
 *     Side effects: OnEvent of every listener still alive, in list order;
 *     the count is taken first, so a listener registered during delivery
 *     misses this event. Listeners may delete any widget: entries only
 *     empty during delivery and are erased by the next Trigger.
 */
void nGuiServer::PutEvent(const nGuiEvent& event)
{
    const size_t num = this->eventListeners.size();
    for (size_t i = 0; i < num; i++)
    {
        nGuiWidget* listener = this->eventListeners[i]->get_unsafe();
        if (listener) listener->OnEvent(event);
    }
}

//--- frame ----------------------------------------------------------------------------

/*
 * DispatchInput --
 *     Side effects: the frame's mouse (device 0x20000) and keyboard
 *     (0x10000) events go to the root window (and tooltip and drag box);
 *     only mouse events move the mouse position. Stops when the root
 *     window dies.
 */
void nGuiServer::DispatchInput()
{
    nInputServer* input = FindServer<nInputServer>("/sys/servers/input", "ninputserver");
    if (!input) return;
    for (nInputEvent* e = input->FirstEvent(); e; e = input->NextEvent(e))
    {
        nGuiWindow* root = this->refRootWindow.get_unsafe();
        if (!root) return;
        if (N_INPUT_MOUSE0 == e->GetDeviceId())
        {
            this->curMousePos.set(e->GetRelXPos(), e->GetRelYPos());
            const vector2 p = this->curMousePos;
            nGuiWidget* drag = this->refDragBox.get_unsafe();
            switch (e->GetType())
            {
                case N_INPUT_MOUSE_MOVE:
                    root->OnMouseMoved(p);
                    if (this->refToolTip.isvalid()) this->refToolTip->OnMouseMoved(p);
                    if (this->refDragBox.isvalid()) this->refDragBox->OnMouseMoved(p);
                    break;
                case N_INPUT_BUTTON_DOWN:
                    if (0 == e->GetButton())
                    {
                        root->OnButtonDown(p);
                        if (drag && this->refDragBox.isvalid() && !this->IsMouseOverGui()) drag->OnButtonDown(p);
                    }
                    else if (1 == e->GetButton())
                    {
                        root->OnRButtonDown(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnRButtonDown(p);
                    }
                    break;
                case N_INPUT_BUTTON_UP:
                    if (0 == e->GetButton())
                    {
                        root->OnButtonUp(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnButtonUp(p);
                    }
                    else if (1 == e->GetButton())
                    {
                        root->OnRButtonUp(p);
                        if (this->refDragBox.isvalid()) this->refDragBox->OnRButtonUp(p);
                    }
                    break;
                default: break;
            }
        }
        else if (N_INPUT_KEYBOARD0 == e->GetDeviceId())
        {
            switch (e->GetType())
            {
                case N_INPUT_KEY_DOWN: root->OnKeyDown(e->GetKey()); break;
                case N_INPUT_KEY_UP: root->OnKeyUp(e->GetKey()); break;
                case N_INPUT_KEY_CHAR: root->OnChar(e->GetChar()); break;
                default: break;
            }
        }
    }
}

/*
 * Trigger --
 *     Side effects (only with a root window): dismissed windows die, empty
 *     listener entries are erased, the frame's input is dispatched and the
 *     root window's OnFrame runs.
 */
void nGuiServer::Trigger()
{
    n_assert(this->guiWindowClass);
    if (!this->refRootWindow.isvalid()) return;
    this->RemoveDismissedWindows();
    std::erase_if(this->eventListeners, [](const std::unique_ptr<nRef<nGuiWidget>>& r) { return !r->isvalid(); });
    if (!this->refRootWindow.isvalid()) return;
    this->DispatchInput();
    if (this->refRootWindow.isvalid()) this->refRootWindow->OnFrame();
}
