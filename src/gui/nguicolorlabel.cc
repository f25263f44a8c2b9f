//------------------------------------------------------------------------------
//  nguicolorlabel.cc
//------------------------------------------------------------------------------
#include "gui/nguicolorlabel.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"
#include "gfx2/ngfxserver2.h"

nGuiColorLabel::nGuiColorLabel() : color(1.0f, 1.0f, 1.0f, 1.0f)
{
}

nGuiColorLabel::~nGuiColorLabel()
{
    this->ReleaseTexture();
}

void nGuiColorLabel::ReleaseTexture()
{
    if (this->refTexture.isvalid())
    {
        nTexture2* tex = this->refTexture.get();
        this->refTexture.invalidate();
        tex->Release();
    }
}

/*
 * ValidateTexture --
 *     Results: whether the label holds a loaded texture.
 *     Side effects: gets the texture prefix + "white" + postfix of the
 *     current skin through the graphics server and loads it; a file that
 *     does not load is reported once, and the label draws nothing.
 */
bool nGuiColorLabel::ValidateTexture()
{
    if (this->refTexture.isvalid() && this->refTexture->IsValid()) return true;
    if (this->textureFailed) return false;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    nGuiSkin* skin = gui ? gui->GetSkin() : nullptr;
    if (!skin || !gfx) return false;
    nString name = skin->GetTexturePrefix();
    name += "white";
    name += skin->GetTexturePostfix();
    if (!this->refTexture.isvalid())
    {
        nTexture2* tex = gfx->NewTexture(name.Get());
        if (!tex) return false;
        this->refTexture.set(tex);
    }
    nTexture2* tex = this->refTexture.get();
    if (!tex->IsLoaded())
    {
        tex->SetFilename(name);
        if (!tex->Load())
        {
            n_message("nGuiColorLabel: failed to load texture '%s'!\n", name.Get());
            this->textureFailed = true;
            return false;
        }
    }
    return tex->IsValid();
}

void nGuiColorLabel::OnHide()
{
    this->ReleaseTexture();
    nGuiWidget::OnHide();
}

void nGuiColorLabel::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || !this->ValidateTexture()) return;
    gui->DrawTexture(this->GetScreenSpaceRect(), rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)), this->color,
                     this->refTexture.get());
}
