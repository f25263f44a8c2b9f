//------------------------------------------------------------------------------
//  nbar.cc
//------------------------------------------------------------------------------
#include "game/nbar.h"
#include "game/ngamegui.h"
#include "gfx2/ngfxserver2.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "kernel/nkernelserver.h"

namespace
{

const char* const ViewClass = "nguitextureview";

nGuiWidget* NewWidget(const void* owner, const char* className, const char* suffix)
{
    char name[96];
    nGameGui::UniqueName(owner, suffix, name, sizeof(name));
    return nGameGui::NewRootWidget(className, name);
}

nGuiTextureView* NewView(const void* owner, const char* suffix)
{
    return static_cast<nGuiTextureView*>(NewWidget(owner, ViewClass, suffix));
}

}  // namespace

/*
 * nBar --
 *     Side effects: the frame, bar, trail and text widgets in the GUI's
 *     root window, each asserted, drawn frame, trail, bar, text; without a GUI root window (a game
 *     without GUI) the bar has no widgets and its setters do nothing.
 */
nBar::nBar() :
    length(0.001f)
{
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || !gui->GetRootWindowPointer())
    {
        n_printf("nBar: no GUI root window to hold the bar\n");
        return;
    }
    this->m_refFrame.adopt(NewView(this, "_frame"));
    n_assert(m_refFrame.isvalid());
    this->m_refBar.adopt(NewView(this, "_bar"));
    n_assert(m_refBar.isvalid());
    this->m_refBarTrail.adopt(NewView(this, "_bar-trail"));
    n_assert(m_refBarTrail.isvalid());
    this->m_refTextLabel.adopt(static_cast<nGuiTextLabel*>(NewWidget(this, "nguitextlabel", "_text")));
    n_assert(m_refTextLabel.isvalid());
    // the root window draws its children in order: the trail lies behind
    // the filled part, so that the lost part shows the trail and the fill
    // keeps its own colour; the label on top
    nRoot* window = gui->GetRootWindowPointer();
    for (nRoot* front : {static_cast<nRoot*>(this->m_refBar.get()), static_cast<nRoot*>(this->m_refTextLabel.get())})
    {
        front->Remove();
        window->AddTail(front);
    }
}

nBar::~nBar() = default;

nGuiTextureView* nBar::GetFrame() const
{
    n_assert(m_refFrame.isvalid());
    return this->m_refFrame.get();
}

nGuiTextureView* nBar::GetBar() const
{
    n_assert(m_refBar.isvalid());
    return this->m_refBar.get();
}

nGuiTextureView* nBar::GetTrail() const
{
    n_assert(m_refBarTrail.isvalid());
    return this->m_refBarTrail.get();
}

nGuiTextLabel* nBar::GetTextLabel() const
{
    n_assert(m_refTextLabel.isvalid());
    return this->m_refTextLabel.get();
}

/*
 * ShowTexture --
 *     Side effects: the graphics server's texture of that name, loaded
 *     from the path when it is not valid yet, is shown by the widget. A
 *     texture that does not load is the data's fault: it is reported and
 *     the widget shows none, the match goes on.
 */
void nBar::ShowTexture(int slot, nGuiTextureView* view, const char* path)
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!view || !gfx || !path) return;
    nTexture2* tex = gfx->NewTexture(path);
    if (!tex) return;
    if (!tex->IsValid())
    {
        tex->SetFilename(nString(path));
        if (!tex->Load())
        {
            n_printf("nBar: failed to load texture '%s'!\n", path);
            tex->Release();
            return;
        }
    }
    this->textures[slot].adopt(tex);
    view->SetTexture(tex);
}

void nBar::SetFrameTexture(const char* path)
{
    if (this->m_refFrame.isvalid()) ShowTexture(0, this->m_refFrame.get(), path);
}

void nBar::SetBarTexture(const char* path)
{
    if (this->m_refBar.isvalid()) ShowTexture(1, this->m_refBar.get(), path);
}

void nBar::SetTrailTexture(const char* path)
{
    if (this->m_refBarTrail.isvalid()) ShowTexture(2, this->m_refBarTrail.get(), path);
}

/*
 * SetValue --
 *     Side effects: a negative value hides the bar (and nothing shows it
 *     again); otherwise the bar spans length x v from its left edge and
 *     the trail the full length. A widget a script deleted is left out.
 */
void nBar::SetValue(float v)
{
    if (!this->m_refBar.isvalid()) return;
    if (v < 0.0f)
    {
        this->m_refBar->Hide();
        return;
    }
    rectangle r = this->m_refBar->GetRect();
    r.v1.x = r.v0.x + this->length * v;
    this->m_refBar->SetRect(r);
    if (!this->m_refBarTrail.isvalid()) return;
    r.v1.x = r.v0.x + this->length;
    this->m_refBarTrail->SetRect(r);
}
