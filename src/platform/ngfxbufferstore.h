#ifndef N_GFXBUFFERSTORE_H
#define N_GFXBUFFERSTORE_H
//------------------------------------------------------------------------------
/**
    @class nGfxBufferStore
    @ingroup Platform

    The buffers and vertex layouts of a graphics device by handle, each
    buffer with its CPU shadow and a flag that says the shadow changed
    since the last upload. The backends keep their own object names
    beside (0 for a device that makes none).
*/
#include "platform/ngfxdevice.h"

#include <map>
#include <vector>

class nGfxBufferStore
{
public:
    struct Buffer
    {
        nGfxBufferType type = nGfxBufferType::Vertex;
        int usage = 0;
        nGfxPool pool = nGfxPool::Managed;
        std::vector<unsigned char> shadow;
        /// the shadow changed since the device last got it
        bool dirty = true;
        /// the leading bytes the device holds since the last change
        size_t uploadedBytes = 0;
        /// where in the device storage those bytes start (streamed buffers
        /// append each change behind the last one)
        size_t deviceOffset = 0;
        unsigned int deviceName = 0;
    };
    struct Layout
    {
        std::vector<nGfxVertexElement> elements;
        int stride = 0;
        nGfxBufferHandle vertexBuffer;
        nGfxBufferHandle indexBuffer;
        unsigned int deviceName = 0;
    };

    /// a new buffer of byteSize zero bytes; its handle
    nGfxBufferHandle AddBuffer(nGfxBufferType type, int byteSize, int usage, nGfxPool pool);
    /// the buffer of a handle, null for an unknown one
    Buffer* GetBuffer(nGfxBufferHandle handle);
    const Buffer* GetBuffer(nGfxBufferHandle handle) const;
    void RemoveBuffer(nGfxBufferHandle handle) { this->buffers.erase(handle.GetRaw()); }

    /// a new layout; its handle
    nGfxLayoutHandle AddLayout(const nGfxVertexElement* elements, int numElements, int stride,
                               nGfxBufferHandle vertexBuffer, nGfxBufferHandle indexBuffer);
    Layout* GetLayout(nGfxLayoutHandle handle);
    void RemoveLayout(nGfxLayoutHandle handle) { this->layouts.erase(handle.GetRaw()); }

    std::map<int, Buffer>& Buffers() { return this->buffers; }
    std::map<int, Layout>& Layouts() { return this->layouts; }
    void Clear();

private:
    std::map<int, Buffer> buffers;
    std::map<int, Layout> layouts;
    int nextHandle = 1;
};
#endif
