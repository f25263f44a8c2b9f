//------------------------------------------------------------------------------
//  ngfxbufferstore.cc
//------------------------------------------------------------------------------
#include "platform/ngfxbufferstore.h"

/*
 * AddBuffer --
 *     Results: the handle of a new buffer with a zeroed shadow, marked
 *     for upload.
 */
nGfxBufferHandle nGfxBufferStore::AddBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool)
{
    const int handle = this->nextHandle++;
    Buffer& b = this->buffers[handle];
    b.type = type;
    b.usage = usage;
    b.pool = pool;
    b.shadow.assign((size_t)byteSize, 0);
    return nGfxBufferHandle(handle);
}

nGfxBufferStore::Buffer* nGfxBufferStore::GetBuffer(nGfxBufferHandle handle)
{
    auto it = this->buffers.find(handle.GetRaw());
    return it == this->buffers.end() ? nullptr : &it->second;
}

const nGfxBufferStore::Buffer* nGfxBufferStore::GetBuffer(nGfxBufferHandle handle) const
{
    auto it = this->buffers.find(handle.GetRaw());
    return it == this->buffers.end() ? nullptr : &it->second;
}

/*
 * AddLayout --
 *     Results: the handle of a new layout holding a copy of the elements.
 */
nGfxLayoutHandle nGfxBufferStore::AddLayout(const nGfxVertexElement* elements, int numElements, int stride,
                                            nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer)
{
    const int handle = this->nextHandle++;
    Layout& l = this->layouts[handle];
    l.elements.assign(elements, elements + numElements);
    l.stride = stride;
    l.vertexBuffer = vertexBuffer;
    l.indexBuffer = indexBuffer;
    return nGfxLayoutHandle(handle);
}

nGfxBufferStore::Layout* nGfxBufferStore::GetLayout(nGfxLayoutHandle handle)
{
    auto it = this->layouts.find(handle.GetRaw());
    return it == this->layouts.end() ? nullptr : &it->second;
}

/*
 * Clear --
 *     Side effects: forgets every buffer and layout (the backend has
 *     deleted its objects before).
 */
void nGfxBufferStore::Clear()
{
    this->buffers.clear();
    this->layouts.clear();
}
