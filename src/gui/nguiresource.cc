//------------------------------------------------------------------------------
//  nguiresource.cc
//------------------------------------------------------------------------------
#include "gui/nguiresource.h"
#include "gfx2/ngfxserver2.h"

nGuiResource::~nGuiResource()
{
    if (this->refTexture.isvalid()) this->Unload();
}

/*
 * SetTexName --
 *     Side effects: gives a held texture back, then stores the name.
 */
void nGuiResource::SetTexName(const char* n)
{
    if (this->refTexture.isvalid()) this->Unload();
    this->texName = n;
}

bool nGuiResource::IsValid() const
{
    return this->refTexture.isvalid() && this->refTexture->IsValid();
}

/*
 * TryLoad --
 *     Results: whether the texture is loaded.
 *     Side effects: gets (or makes) the shared texture of texName from the
 *     graphics server and loads it unless it is loaded already.
 */
bool nGuiResource::TryLoad()
{
    if (this->IsValid()) return true;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (this->texName.IsEmpty() || !gfx) return false;
    if (!this->refTexture.isvalid())
    {
        nTexture2* tex = gfx->NewTexture(this->texName.Get());
        if (!tex) return false;
        this->refTexture.set(tex);
    }
    nTexture2* tex = this->refTexture.get();
    if (tex->IsValid()) return true;
    tex->SetFilename(this->texName);
    return tex->Load();
}

/*
 * Load --
 *     Results: true when the texture is loaded.
 *     Side effects: as TryLoad; a texture that does not load is reported
 *     once and not tried again.
 */
bool nGuiResource::Load()
{
    n_assert(!this->IsValid());
    n_assert(!this->texName.IsEmpty());
    if (this->loadFailed) return false;
    if (!this->TryLoad())
    {
        n_message("nGuiResource: could not load texture %s!\n", this->texName.Get());
        this->loadFailed = true;
        return false;
    }
    return true;
}

/*
 * Unload --
 *     Side effects: one reference less on the texture; the brush holds
 *     none afterwards.
 */
void nGuiResource::Unload()
{
    n_assert(this->refTexture.isvalid());
    nTexture2* tex = this->refTexture.get();
    this->refTexture.invalidate();
    tex->Release();
}

int nGuiResource::GetTextureWidth() const
{
    return this->refTexture.isvalid() ? this->refTexture->GetWidth() : 0;
}

int nGuiResource::GetTextureHeight() const
{
    return this->refTexture.isvalid() ? this->refTexture->GetHeight() : 0;
}

/*
 * GetUvRect --
 *     Results: the uv rectangle of the pixel rectangle: the left and top
 *     pixel edges inset by half a pixel, v flipped (1 at the top of the
 *     image). A texture without a size gives the whole texture, so a bad
 *     image cannot divide by zero.
 *     Side effects: loads the texture when needed; stores the result.
 */
const rectangle& nGuiResource::GetUvRect()
{
    if (!this->IsValid()) this->Load();
    const float w = float(this->GetTextureWidth());
    const float h = float(this->GetTextureHeight());
    if (w <= 0.0f || h <= 0.0f)
    {
        this->uvRect.set(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f));
        return this->uvRect;
    }
    const float x = this->rect.v0.x;
    const float y = this->rect.v0.y;
    const float rw = this->rect.width();
    const float rh = this->rect.height();
    this->uvRect.v0.x = (x + 0.5f) / w;
    this->uvRect.v0.y = 1.0f - (y + rh) / h;
    this->uvRect.v1.x = (x + rw) / w;
    this->uvRect.v1.y = 1.0f - (y + 0.5f) / h;
    return this->uvRect;
}
