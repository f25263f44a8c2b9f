#ifndef N_GFXHANDLE_H
#define N_GFXHANDLE_H
//------------------------------------------------------------------------------
/**
    @class nGfxHandle
    @ingroup Platform

    The handle of one kind of graphics device object. Each kind has its
    own tag, so a texture handle cannot be passed where a buffer is meant;
    the raw id is the backend's number for the object (0 is none) and is
    only taken out where a backend or a log needs it.
*/
#include <cstddef>
#include <functional>

template <typename Tag, typename Raw>
class nGfxHandle
{
public:
    using RawType = Raw;

    /// no object
    constexpr nGfxHandle() = default;
    constexpr explicit nGfxHandle(Raw id) : id(id) {}

    /// the backend's number for the object, 0 for none
    constexpr Raw GetRaw() const { return this->id; }
    constexpr bool IsValid() const { return this->id != 0; }
    constexpr explicit operator bool() const { return this->IsValid(); }

    friend constexpr bool operator==(nGfxHandle a, nGfxHandle b) { return a.id == b.id; }
    friend constexpr bool operator!=(nGfxHandle a, nGfxHandle b) { return a.id != b.id; }

private:
    Raw id = 0;
};

template <typename Tag, typename Raw>
struct std::hash<nGfxHandle<Tag, Raw>>
{
    size_t operator()(nGfxHandle<Tag, Raw> h) const noexcept { return std::hash<Raw>()(h.GetRaw()); }
};

// buffers and layouts are numbered by the device's own store, the other
// kinds by the objects the backend makes
struct nGfxBufferTag;
struct nGfxLayoutTag;
struct nGfxTextureTag;
struct nGfxDepthSurfaceTag;
struct nGfxProgramTag;
struct nGfxSamplerTag;

using nGfxBufferHandle = nGfxHandle<nGfxBufferTag, int>;
using nGfxLayoutHandle = nGfxHandle<nGfxLayoutTag, int>;
using nGfxTextureHandle = nGfxHandle<nGfxTextureTag, unsigned int>;
using nGfxDepthSurfaceHandle = nGfxHandle<nGfxDepthSurfaceTag, unsigned int>;
using nGfxProgramHandle = nGfxHandle<nGfxProgramTag, unsigned int>;
using nGfxSamplerHandle = nGfxHandle<nGfxSamplerTag, unsigned int>;
#endif
