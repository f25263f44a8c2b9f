#ifndef N_GUIRESOURCE_H
#define N_GUIRESOURCE_H
//------------------------------------------------------------------------------
/**
    @class nGuiResource
    @ingroup Gui

    One brush of a skin: a pixel rectangle of a texture and a colour. The
    texture is shared by file name with every other brush that uses it and
    is loaded on first use.
*/
#include "kernel/nref.h"
#include "mathlib/rectangle.h"
#include "mathlib/vector4.h"
#include "util/nstring.h"
#include "gfx2/ntexture2.h"

class nGuiResource
{
public:
    nGuiResource() = default;
    nGuiResource(const nGuiResource&) = delete;
    nGuiResource& operator=(const nGuiResource&) = delete;
    ~nGuiResource();

    void SetName(const char* n) { this->name = n; }
    const nString& GetName() const { return this->name; }
    /// the full texture file name; a loaded texture is given back first
    void SetTexName(const char* n);
    const nString& GetTexName() const { return this->texName; }
    /// the rectangle in texture pixels
    void SetRect(const rectangle& r) { this->rect = r; }
    const rectangle& GetRect() const { return this->rect; }
    void SetColor(const vector4& c) { this->color = c; }
    const vector4& GetColor() const { return this->color; }

    /// get and load the texture; false, reported once, when the file does not load
    bool Load();
    /// get and load the texture; false when the file does not load
    bool TryLoad();
    /// give the texture back
    void Unload();
    /// a texture is held and valid
    bool IsValid() const;
    nTexture2* GetTexture() const { return this->refTexture.get_unsafe(); }
    int GetTextureWidth() const;
    int GetTextureHeight() const;
    /// the brush's uv rectangle (v flipped), loading the texture when needed
    const rectangle& GetUvRect();

private:
    nString name;
    nString texName;
    rectangle rect;
    rectangle uvRect;
    vector4 color = vector4(1.0f, 1.0f, 1.0f, 1.0f);
    nRef<nTexture2> refTexture;
    /// the texture did not load: not tried again each frame
    bool loadFailed = false;
};
#endif
