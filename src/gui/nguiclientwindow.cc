//------------------------------------------------------------------------------
//  nguiclientwindow.cc
//------------------------------------------------------------------------------
#include "gui/nguiclientwindow.h"
#include "gui/nguibutton.h"
#include "gui/nguiformlayout.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gui/nguitextbutton.h"
#include "kernel/nkernelserver.h"

nGuiClientWindow::nGuiClientWindow() :
    title("NoTitle"),
    flags(Movable | Resizable | CloseButton | TitleBar),
    dragging(false),
    resizing(false),
    dragStartMousePos(0.0f, 0.0f),
    dragStartRect(vector2(0.0f, 0.0f), vector2(0.0f, 0.0f)),
    titleBarHeight(0.0f)
{
    this->rect = rectangle(vector2(0.1f, 0.1f), vector2(0.6f, 0.6f));
    this->fadeInTime = 0.2;
    this->fadeOutTime = 0.2;
}

nGuiClientWindow::~nGuiClientWindow()
{
}

void nGuiClientWindow::SetFlag(ushort flag, bool on)
{
    if (on)
        this->flags |= flag;
    else
        this->flags &= ushort(~flag);
}

void nGuiClientWindow::SetTitle(const char* t)
{
    this->title = t ? t : "";
    if (this->refTitleBar.isvalid()) this->refTitleBar->SetText(this->title.Get());
}

vector2 nGuiClientWindow::BrushSize(const char* brushName)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || !gui->CanResolveBrush(brushName))
    {
        n_printf("nGuiClientWindow: no skin has the brush '%s'\n", brushName);
        return vector2(0.0f, 0.0f);
    }
    return gui->ComputeScreenSpaceBrushSize(brushName);
}

/*
 * NewChild --
 *     Results: a new child of the class under the kernel's current object,
 *     or null (with a message) when an object of another class already
 *     has the name.
 */
nRoot* nGuiClientWindow::NewChild(const char* className, const char* name)
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* old = ks->GetCwd() ? ks->GetCwd()->Find(name) : nullptr;
    if (old && !old->IsA(className))
    {
        n_printf("nGuiClientWindow: '%s' is taken by an object of another class\n", name);
        return nullptr;
    }
    return static_cast<nRoot*>(ks->New(className, name));
}

/*
 * CreateChildren --
 *     Side effects: with this window as the kernel's current object,
 *     creates the title bar, close button and size button its flags ask
 *     for and the form "Layout"; titleBarHeight from the brush "titlebar".
 */
void nGuiClientWindow::CreateChildren()
{
    nGuiServer* gui = nGuiServer::Instance();
    nGuiSkin* skin = gui->GetSkin();
    n_assert(skin);
    if (this->defaultBrush.GetName().IsEmpty()) this->SetDefaultBrush("window");
    this->titleBarHeight = 0.6f * BrushSize("titlebar").y;
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this);
    if (this->HasTitleBar())
    {
        nGuiTextButton* bar = static_cast<nGuiTextButton*>(NewChild("nguitextbutton", "TitleBar"));
        if (bar)
        {
            bar->SetDefaultBrush("titlebar");
            bar->SetPressedBrush("titlebar");
            bar->SetHighlightBrush("titlebar");
            bar->SetText(this->title.Get());
            bar->SetColor(skin->GetTitleTextColor());
            bar->SetPressedOffset(vector2(0.0f, 0.0f));
            bar->SetStickyMouse(this->IsMovable());
            this->refTitleBar.adopt(bar);
        }
    }
    if (this->HasCloseButton())
    {
        nGuiButton* btn = static_cast<nGuiButton*>(NewChild("nguibutton", "CloseButton"));
        if (btn)
        {
            btn->SetDefaultBrush("close_n");
            btn->SetPressedBrush("close_p");
            btn->SetHighlightBrush("close_h");
            this->refCloseButton.adopt(btn);
        }
    }
    if (this->IsResizable())
    {
        nGuiButton* btn = static_cast<nGuiButton*>(NewChild("nguibutton", "SizeButton"));
        if (btn)
        {
            btn->SetDefaultBrush("size_n");
            btn->SetPressedBrush("size_p");
            btn->SetHighlightBrush("size_h");
            btn->SetStickyMouse(true);
            this->refSizeButton.adopt(btn);
        }
    }
    this->refFormLayout.adopt(static_cast<nGuiFormLayout*>(NewChild("nguiformlayout", "Layout")));
    ks->PopCwd();
}

/*
 * OnShow --
 *     Side effects: builds the decorations (only once: showing a shown
 *     window again keeps them) and lays them out now, registers the window
 *     as an event listener, then the window's OnShow. Without a current
 *     skin the window shows undecorated, with a message.
 */
void nGuiClientWindow::OnShow()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || !gui->GetSkin())
    {
        n_printf("nGuiClientWindow %s: no current skin, shown without decorations\n", this->GetName());
        nGuiWindow::OnShow();
        return;
    }
    const bool decorated = this->refFormLayout.isvalid() || this->refCloseButton.isvalid() ||
                           this->refSizeButton.isvalid() || this->refTitleBar.isvalid();
    if (!decorated) this->CreateChildren();
    this->UpdateLayout(this->rect);
    gui->RegisterEventListener(this);
    nGuiWindow::OnShow();
}

/*
 * OnHide --
 *     Side effects: stops listening, deletes the decorations and the
 *     layout with its content, then the widget's OnHide.
 */
void nGuiClientWindow::OnHide()
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (gui) gui->UnregisterEventListener(this);
    this->dragging = false;
    this->resizing = false;
    this->refCloseButton.reset();
    this->refSizeButton.reset();
    this->refTitleBar.reset();
    this->refFormLayout.reset();
    nGuiWindow::OnHide();
}

void nGuiClientWindow::SetRect(const rectangle& r)
{
    if (this->shown) this->UpdateLayout(r);
    nGuiWindow::SetRect(r);
}

/*
 * UpdateLayout --
 *     Side effects: the close button at the right end of the title bar,
 *     inset 0.005; the size button in the bottom-right corner; the title
 *     bar across the top; the layout inside the skin's window border,
 *     above the size button. Nothing without a current skin.
 */
void nGuiClientWindow::UpdateLayout(const rectangle& r)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGuiSkin* skin = gui ? gui->GetSkin() : nullptr;
    if (!skin) return;
    const float w = r.width();
    const float h = r.height();
    if (this->refCloseButton.isvalid())
    {
        const vector2 s = BrushSize("close_n");
        const float top = (this->titleBarHeight - s.y) * 0.5f;
        this->refCloseButton->SetRect(rectangle(vector2(w - (s.x + 0.005f), top), vector2(w - 0.005f, top + s.y)));
    }
    if (this->refSizeButton.isvalid())
    {
        const vector2 s = BrushSize("size_n");
        this->refSizeButton->SetRect(rectangle(vector2(w - s.x, h - s.y), vector2(w, h)));
    }
    if (this->refTitleBar.isvalid())
    {
        this->refTitleBar->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(w, this->titleBarHeight)));
    }
    if (this->refFormLayout.isvalid())
    {
        const vector4& border = skin->GetWindowBorder();
        const float top = (this->refTitleBar.isvalid() ? this->titleBarHeight : 0.0f) + border.y;
        const float bottom =
            (this->refSizeButton.isvalid() ? this->refSizeButton->GetRect().v0.y : h) - border.w;
        this->refFormLayout->SetRect(rectangle(vector2(border.x, top), vector2(w - border.z, bottom)));
    }
}

/*
 * OnEvent --
 *     Side effects: the title bar moves the window (when movable), the
 *     close button closes it, the size button resizes it (when
 *     resizable); then the widget's OnEvent.
 */
void nGuiClientWindow::OnEvent(const nGuiEvent& event)
{
    nGuiWidget* w = event.GetWidget();
    const int type = event.GetType();
    if (w && w == this->refTitleBar.get_unsafe() && this->IsMovable())
    {
        if (nGuiEvent::ButtonDown == type)
            this->BeginMove();
        else if (nGuiEvent::ButtonUp == type)
            this->EndMove();
    }
    else if (w && w == this->refCloseButton.get_unsafe())
    {
        if (nGuiEvent::ButtonUp == type) this->Close();
    }
    else if (w && w == this->refSizeButton.get_unsafe() && this->IsResizable())
    {
        if (nGuiEvent::ButtonDown == type)
            this->BeginResize();
        else if (nGuiEvent::ButtonUp == type)
            this->EndResize();
    }
    nGuiWindow::OnEvent(event);
}

void nGuiClientWindow::BeginMove()
{
    n_assert(this->IsMovable());
    this->dragging = true;
    this->dragStartMousePos = nGuiServer::Instance()->GetMousePos();
    this->dragStartRect = this->rect;
}

void nGuiClientWindow::EndMove()
{
    this->dragging = false;
}

void nGuiClientWindow::CancelMove()
{
    if (!this->dragging) return;
    this->dragging = false;
    this->SetRect(this->dragStartRect);
}

void nGuiClientWindow::BeginResize()
{
    n_assert(this->IsResizable());
    this->resizing = true;
    this->dragStartMousePos = nGuiServer::Instance()->GetMousePos();
    this->dragStartRect = this->rect;
}

void nGuiClientWindow::EndResize()
{
    this->resizing = false;
}

void nGuiClientWindow::CancelResize()
{
    if (!this->resizing) return;
    this->resizing = false;
    this->SetRect(this->dragStartRect);
}

/*
 * OnMouseMoved --
 *     Side effects: while dragging, the window follows the mouse and stays
 *     on screen with its size; while resizing, the bottom-right corner
 *     follows, no smaller than minSize and not past the screen's right and
 *     bottom edges; then the window's OnMouseMoved.
 */
bool nGuiClientWindow::OnMouseMoved(const vector2& mousePos)
{
    const vector2 d = mousePos - this->dragStartMousePos;
    if (this->dragging)
    {
        rectangle r(this->dragStartRect.v0 + d, this->dragStartRect.v1 + d);
        nGuiServer::MoveRectToVisibleArea(r);
        this->SetRect(r);
    }
    else if (this->resizing)
    {
        rectangle r(this->dragStartRect.v0, this->dragStartRect.v1 + d);
        if (r.width() < this->minSize.x) r.v1.x = r.v0.x + this->minSize.x;
        if (r.height() < this->minSize.y) r.v1.y = r.v0.y + this->minSize.y;
        if (r.v1.x > 1.0f) r.v1.x = 1.0f;
        if (r.v1.y > 1.0f) r.v1.y = 1.0f;
        this->SetRect(r);
    }
    return nGuiWindow::OnMouseMoved(mousePos);
}

void nGuiClientWindow::DismissSiblings()
{
    nRoot* parent = this->GetParent();
    if (!parent) return;
    for (nRoot* cur = parent->GetHead(); cur; cur = cur->GetSucc())
    {
        if (cur != this && cur->IsA(this->GetClass())) static_cast<nGuiWindow*>(cur)->SetDismissed(true);
    }
}
