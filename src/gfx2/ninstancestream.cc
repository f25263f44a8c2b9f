//------------------------------------------------------------------------------
//  ninstancestream.cc
//------------------------------------------------------------------------------
#include "gfx2/ninstancestream.h"
#include "gfx2/ngfxserver2.h"

nInstanceStream::nInstanceStream() :
    lockFlags(0),
    stride(0),
    readPtr(nullptr),
    streamArray(0, 128)
{
    this->streamArray.SetFlags(nArray<float>::DoubleGrowSize);
}

nInstanceStream::~nInstanceStream()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

void nInstanceStream::SetDeclaration(const Declaration& decl)
{
    n_assert(this->IsUnloaded());
    this->streamDecl = decl;
}

/*
 * LoadResource --
 *     Results: true.
 *     Side effects: each component gets its float offset inside one
 *     instance; the stride is their sum; state Valid. A component of
 *     another type is a fatal error.
 */
bool nInstanceStream::LoadResource()
{
    n_assert(this->IsUnloaded());
    n_assert(this->streamDecl.Size() > 0);
    n_assert(!this->IsLocked());
    n_assert(0 == this->readPtr);
    n_assert(this->streamArray.IsEmpty());
    this->stride = 0;
    for (int i = 0; i < this->streamDecl.Size(); i++)
    {
        Component& c = this->streamDecl[i];
        c.offset = this->stride;
        switch (c.type)
        {
            case nShaderState::Float: this->stride += 1; break;
            case nShaderState::Float4: this->stride += 4; break;
            case nShaderState::Matrix44: this->stride += 16; break;
            default: n_error("nInstanceStream: Invalid data type in stream declaration!");
        }
    }
    this->SetState(Valid);
    return true;
}

/*
 * UnloadResource --
 *     Side effects: unbound from the graphics server when it is the
 *     current stream; the floats are emptied; stride 0; state Unloaded.
 */
void nInstanceStream::UnloadResource()
{
    n_assert(!this->IsUnloaded());
    n_assert(!this->IsLocked());
    n_assert(0 == this->readPtr);
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (gfx && gfx->GetInstanceStream() == this)
    {
        gfx->SetInstanceStream(nullptr);
    }
    this->streamArray.Clear();
    this->stride = 0;
    this->SetState(Unloaded);
}

/*
 * GetNumInstances --
 *     Results: the float count divided by the stride; 0 while the stream
 *     is not loaded (the stride is 0 then).
 */
int nInstanceStream::GetNumInstances() const
{
    return (this->stride > 0) ? this->streamArray.Size() / this->stride : 0;
}

/*
 * GetByteSize --
 *     Results: the allocated floats' bytes of a valid stream, else 0.
 */
int nInstanceStream::GetByteSize()
{
    return this->IsValid() ? this->streamArray.AllocSize() * (int)sizeof(float) : 0;
}

float* nInstanceStream::Lock(int flags)
{
    n_assert(!this->IsLocked());
    n_assert(0 != flags);
    n_assert(0 == this->readPtr);
    n_assert(this->IsValid());
    if (flags & Write)
    {
        this->streamArray.Clear();
    }
    if (flags & Read)
    {
        n_assert(0 == (flags & Append));
        this->readPtr = this->streamArray.Begin();
    }
    this->lockFlags = flags;
    return this->readPtr;
}

void nInstanceStream::Unlock()
{
    n_assert(this->IsLocked());
    if (this->lockFlags & Read)
    {
        n_assert(this->readPtr <= this->streamArray.End());
    }
    this->readPtr = nullptr;
    this->lockFlags = 0;
}

void nInstanceStream::WriteFloat(float f)
{
    n_assert(this->lockFlags & (Write | Append));
    this->streamArray.Append(f);
}

void nInstanceStream::WriteFloat4(const nFloat4& f)
{
    this->WriteFloat(f.x);
    this->WriteFloat(f.y);
    this->WriteFloat(f.z);
    this->WriteFloat(f.w);
}

void nInstanceStream::WriteMatrix44(const matrix44& m)
{
    for (int r = 0; r < 4; r++)
    {
        for (int c = 0; c < 4; c++) this->WriteFloat(m.m[r][c]);
    }
}

int nInstanceStream::FloatsLeft() const
{
    return this->readPtr ? (int)(this->streamArray.End() - this->readPtr) : 0;
}

float nInstanceStream::ReadFloat()
{
    n_assert(this->FloatsLeft() >= 1);
    return *this->readPtr++;
}

nFloat4 nInstanceStream::ReadFloat4()
{
    n_assert(this->FloatsLeft() >= 4);
    nFloat4 f = {this->readPtr[0], this->readPtr[1], this->readPtr[2], this->readPtr[3]};
    this->readPtr += 4;
    return f;
}

matrix44 nInstanceStream::ReadMatrix44()
{
    n_assert(this->FloatsLeft() >= 16);
    const float* p = this->readPtr;
    matrix44 m(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15]);
    this->readPtr += 16;
    return m;
}
