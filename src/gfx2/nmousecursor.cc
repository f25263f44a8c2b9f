//------------------------------------------------------------------------------
//  nmousecursor.cc
//------------------------------------------------------------------------------
#include "gfx2/nmousecursor.h"
#include "gfx2/ngfxserver2.h"

nMouseCursor::nMouseCursor() :
    hotspotX(0),
    hotspotY(0)
{
}

nMouseCursor::nMouseCursor(const nMouseCursor& rhs) :
    hotspotX(0),
    hotspotY(0)
{
    this->CopyFrom(rhs);
}

nMouseCursor::~nMouseCursor() = default;

/*
 * operator= --
 *     Side effects: a loaded texture of this cursor is released, then the
 *     other's name, hotspot and texture (one reference more) are taken.
 */
nMouseCursor& nMouseCursor::operator=(const nMouseCursor& rhs)
{
    if (this != &rhs)
    {
        if (this->IsLoaded())
        {
            this->Unload();
        }
        this->CopyFrom(rhs);
    }
    return *this;
}

void nMouseCursor::CopyFrom(const nMouseCursor& rhs)
{
    this->filename = rhs.filename;
    this->hotspotX = rhs.hotspotX;
    this->hotspotY = rhs.hotspotY;
    if (rhs.refTexture.isvalid())
    {
        this->refTexture.set(rhs.refTexture.get());
    }
}

/*
 * SetFilename --
 *     Side effects: sets the name; a loaded texture (only then) is released.
 */
void nMouseCursor::SetFilename(const char* path)
{
    n_assert(path);
    this->filename = path;
    if (this->IsLoaded())
    {
        this->Unload();
    }
}

/*
 * Load --
 *     Results: true when the texture is valid: already, or after its load.
 *     Side effects: takes a texture of the file's name from the graphics
 *     server (one reference) and loads it when it is not valid yet.
 */
bool nMouseCursor::Load()
{
    n_assert(!this->IsLoaded());
    n_assert(!this->filename.IsEmpty());
    nTexture2* tex = nGfxServer2::Instance()->NewTexture(this->filename.Get());
    n_assert(tex);
    this->refTexture.adopt(tex);
    if (!tex->IsValid())
    {
        tex->SetFilename(this->filename);
        return tex->Load();
    }
    return true;
}

void nMouseCursor::Unload()
{
    n_assert(this->IsLoaded());
    this->refTexture.reset();
}
