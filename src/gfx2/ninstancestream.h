#ifndef N_INSTANCESTREAM_H
#define N_INSTANCESTREAM_H
//------------------------------------------------------------------------------
/**
    @class nInstanceStream
    @ingroup Gfx2

    Per-instance shader values replayed by the graphics server's instanced
    draw: a declaration of components (a Float, Float4 or Matrix44 shader
    parameter each), fixed when the stream loads, and a growable array of
    floats, one instance after the other. Writers lock it for writing and
    append; the server locks it for reading and reads the components of
    each instance in declaration order.
*/
#include "resource/nresource.h"
#include "gfx2/nshaderstate.h"
#include "mathlib/matrix44.h"
#include "kernel/narg.h"
#include "util/narray.h"

class nInstanceStream : public nResource
{
public:
    /// lock flags
    enum LockFlags
    {
        Read = (1 << 0),
        Write = (1 << 1),
        Append = (1 << 2),
    };

    /// one per-instance value: its type (Float, Float4 or Matrix44) and parameter
    struct Component
    {
        nShaderState::Type type = nShaderState::Void;
        nShaderState::Param param = nShaderState::InvalidParameter;
        int offset = 0;
        Component() = default;
        Component(nShaderState::Type t, nShaderState::Param p) : type(t), param(p) {}
    };
    typedef nArray<Component> Declaration;

    nInstanceStream();

    /// the declaration (only while unloaded)
    void SetDeclaration(const Declaration& decl);
    const Declaration& GetDeclaration() const { return this->streamDecl; }
    /// floats per instance (0 while unloaded)
    int GetStride() const { return this->stride; }
    /// the instances the floats hold; 0 while unloaded
    int GetNumInstances() const;
    /// the floats written so far
    int GetNumFloats() const { return this->streamArray.Size(); }

    /// lock for reading (the first float) or writing (the array emptied)
    float* Lock(int flags);
    void Unlock();
    bool IsLocked() const { return 0 != this->lockFlags; }

    /// append values while locked for writing
    void WriteFloat(float f);
    void WriteFloat4(const nFloat4& f);
    void WriteMatrix44(const matrix44& m);
    /// read values while locked for reading, advancing the read position
    float ReadFloat();
    nFloat4 ReadFloat4();
    matrix44 ReadMatrix44();

    /// the bytes of the allocated floats while valid, else 0
    int GetByteSize() override;

protected:
    /// a loaded resource unloads before it dies
    ~nInstanceStream() override;
    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// the floats left to read from readPtr
    int FloatsLeft() const;

    Declaration streamDecl;
    int lockFlags;
    int stride;
    float* readPtr;
    nArray<float> streamArray;
};
#endif
