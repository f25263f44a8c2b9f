#ifndef N_MOUSECURSOR_H
#define N_MOUSECURSOR_H
//------------------------------------------------------------------------------
/**
    @class nMouseCursor
    @ingroup Gfx2

    A custom mouse cursor, copied by value: the image file, the texture
    made from it (one reference per loaded copy) and the hotspot.
*/
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "util/nstring.h"
#include "gfx2/ntexture2.h"

class nMouseCursor
{
public:
    nMouseCursor();
    nMouseCursor(const nMouseCursor& rhs);
    /// unloads the texture when loaded
    ~nMouseCursor();
    /// unloads this cursor, then shares the other's texture
    nMouseCursor& operator=(const nMouseCursor& rhs);

    /// set the image file; a loaded texture is unloaded
    void SetFilename(const char* path);
    const char* GetFilename() const { return this->filename.Get(); }
    void SetHotspotX(int x) { this->hotspotX = x; }
    int GetHotspotX() const { return this->hotspotX; }
    void SetHotspotY(int y) { this->hotspotY = y; }
    int GetHotspotY() const { return this->hotspotY; }

    /// get the texture through the graphics server and load it; true on success
    bool Load();
    /// release the texture
    void Unload();
    /// true while a texture is held
    bool IsLoaded() const { return this->refTexture.isvalid(); }
    /// the texture, or null
    nTexture2* GetTexture() const { return this->refTexture.get_unsafe(); }

private:
    /// share the other's name, hotspot and texture (one more reference)
    void CopyFrom(const nMouseCursor& rhs);

    nString filename;
    nStrongRef<nTexture2> refTexture;
    int hotspotX;
    int hotspotY;
};
#endif
