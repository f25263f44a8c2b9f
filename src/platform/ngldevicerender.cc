//------------------------------------------------------------------------------
//  ngldevicerender.cc -- draws over the primitive types, the line drawer
//  and frame read-back of nGLDevice
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "platform/ngldevice.h"

#include <GL/glcorearb.h>

#include <algorithm>
#include <cstring>

namespace
{

/// the GL mode of an engine primitive type (callers have checked it)
GLenum GLMode(nGfxPrimitive primType)
{
    static const GLenum modes[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_STRIP,
                                   GL_TRIANGLE_FAN};
    return modes[static_cast<int>(primType)];
}

// The line drawer's program: 3-D points through the matrix (row vectors,
// uploaded as they are) or 2-D points in pixels, both ending with the
// layer's y flip and depth remap so that row 0 is the top.
const char* const lineVertexSource = R"(#version 330 core
layout(location = 0) in vec3 nPosition;
uniform mat4 nLineMatrix;
uniform vec2 nLinePixels;
void main()
{
    if (nLinePixels.x > 0.0)
    {
        gl_Position = vec4(2.0 * nPosition.x / nLinePixels.x - 1.0, 1.0 - 2.0 * nPosition.y / nLinePixels.y, 0.0, 1.0);
    }
    else
    {
        gl_Position = nLineMatrix * vec4(nPosition, 1.0);
    }
    gl_Position.y = -gl_Position.y;
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
}
)";

const char* const lineFragmentSource = R"(#version 330 core
uniform vec4 nLineColor;
out vec4 nFragColor;
void main()
{
    nFragColor = nLineColor;
}
)";

}  // namespace

/*
 * WriteRange --
 *     Side effects: the bytes go into the buffer bound to
 *     GL_COPY_WRITE_BUFFER at offset. A dynamic buffer's range is one that
 *     no queued draw reads (fresh storage or past what was drawn from), so
 *     it is written without waiting for them: a plain sub-data write would
 *     make a software rasteriser finish or copy the buffer first, at every
 *     small batch.
 */
static void WriteRange(bool dynamic, size_t offset, size_t bytes, const unsigned char* data)
{
    if (0 == bytes)
    {
        return;
    }
    if (dynamic)
    {
        void* dst = glMapBufferRange(GL_COPY_WRITE_BUFFER, (GLintptr)offset, (GLsizeiptr)bytes,
                                     GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT | GL_MAP_INVALIDATE_RANGE_BIT);
        if (dst)
        {
            memcpy(dst, data, bytes);
            glUnmapBuffer(GL_COPY_WRITE_BUFFER);
            return;
        }
    }
    glBufferSubData(GL_COPY_WRITE_BUFFER, (GLintptr)offset, (GLsizeiptr)bytes, data);
}

/*
 * UploadRange --
 *     Side effects: a changed shadow goes to its GL buffer, only its first
 *     'needed' bytes (all for 0). A streamed buffer (dynamic, with an
 *     alignment) puts the change behind its last upload, rounded up to
 *     the alignment, so that draws still reading earlier data are left
 *     alone; only a change that no longer fits there gets fresh storage
 *     (orphaning, as a discarding lock did) and goes to its start. Other
 *     dynamic buffers get fresh storage at every change. An unchanged
 *     buffer whose device copy is shorter than needed gets the missing
 *     bytes, moving whole when they do not fit behind it.
 */
void nGLDevice::UploadRange(nGfxBufferHandle buffer, size_t needed, size_t align)
{
    nGfxBufferStore::Buffer* b = this->store.GetBuffer(buffer);
    if (!b)
    {
        return;
    }
    const size_t size = b->shadow.size();
    needed = (0 == needed) ? size : std::min(needed, size);
    const bool dynamic = 0 != (b->usage & nGfxUsageDynamic);
    const bool streamed = dynamic && align > 0;
    // a copy placed for another stride, or away from the start for a draw
    // that reads from there, has to move
    const bool placed = streamed ? 0 == b->deviceOffset % align : 0 == b->deviceOffset;
    if (!b->dirty && placed && needed <= b->uploadedBytes)
    {
        return;
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, b->deviceName);
    if (!b->dirty && placed && b->deviceOffset + needed <= size)
    {
        // nothing was put behind the copy since, so the tail can follow it
        WriteRange(dynamic, (size_t)(b->deviceOffset + b->uploadedBytes), needed - b->uploadedBytes,
                   b->shadow.data() + b->uploadedBytes);
        b->uploadedBytes = needed;
    }
    else
    {
        size_t offset = 0;
        if (streamed)
        {
            const size_t end = b->deviceOffset + b->uploadedBytes;
            offset = (end + align - 1) / align * align;
            if (offset > size || needed > size - offset)
            {
                offset = 0;
            }
        }
        if (dynamic && 0 == offset)
        {
            glBufferData(GL_COPY_WRITE_BUFFER, (GLsizeiptr)size, nullptr, GL_STREAM_DRAW);
        }
        WriteRange(dynamic, offset, needed, b->shadow.data());
        b->deviceOffset = offset;
        b->uploadedBytes = needed;
        b->dirty = false;
    }
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}

/*
 * PrepareLayout --
 *     Results: false for an unknown layout or a closed device; else the
 *     vertex the draw's indices (or first vertex) count from and the
 *     byte offset of its first index in the GL buffers.
 *     Side effects: uploads the bytes the draw reads of every vertex
 *     stream and of the indices; binds the framebuffer drawn into. A
 *     layout of one vertex stream streams its dynamic buffers; one of
 *     several keeps them at the start, as its streams share one vertex
 *     numbering.
 */
bool nGLDevice::PrepareLayout(nGfxLayoutHandle layout, size_t vertexBytes, size_t indexBytes, int& baseVertex,
                              size_t& indexOffset)
{
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    if (!this->framebuffer || !l)
    {
        return false;
    }
    auto extra = this->streamBuffers.find(layout.GetRaw());
    const bool oneStream = extra == this->streamBuffers.end() || extra->second.empty();
    const size_t stride = (oneStream && l->stride > 0) ? (size_t)l->stride : 0;
    this->UploadRange(l->vertexBuffer, vertexBytes, stride);
    if (!oneStream)
    {
        for (nGfxBufferHandle vb : extra->second) this->UploadRange(vb, 0, 0);
    }
    if (l->indexBuffer)
    {
        this->UploadRange(l->indexBuffer, indexBytes, oneStream ? sizeof(unsigned short) : 0);
    }
    const nGfxBufferStore::Buffer* vb = this->store.GetBuffer(l->vertexBuffer);
    const nGfxBufferStore::Buffer* ib = this->store.GetBuffer(l->indexBuffer);
    baseVertex = (vb && stride > 0) ? (int)(vb->deviceOffset / stride) : 0;
    indexOffset = ib ? ib->deviceOffset : 0;
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    return true;
}

/*
 * DrawIndexedPrimitives --
 *     Side effects: draws the primitives from the layout's 16-bit indices
 *     with the program in use; nothing for no primitives or a range
 *     outside the index buffer.
 */
void nGLDevice::DrawIndexedPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int minVertex, int numVertices,
                                      int firstIndex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    const nGfxBufferStore::Buffer* ib = l ? this->store.GetBuffer(l->indexBuffer) : nullptr;
    if (0 == n || !ib || firstIndex < 0 || (size_t)((long long)firstIndex + n) * 2 > ib->shadow.size())
    {
        return;
    }
    const long long lastVertex = (long long)std::max(minVertex, 0) + std::max(numVertices, 0);
    const size_t vertexBytes = (numVertices > 0) ? (size_t)(lastVertex * l->stride) : 0;
    int baseVertex = 0;
    size_t indexOffset = 0;
    if (!this->PrepareLayout(layout, vertexBytes, (size_t)(firstIndex + n) * 2, baseVertex, indexOffset))
    {
        return;
    }
    glBindVertexArray(l->deviceName);
    glDrawElementsBaseVertex(GLMode(primType), n, GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(indexOffset + (size_t)firstIndex * sizeof(unsigned short)),
                             baseVertex);
    glBindVertexArray(0);
}

/*
 * DrawPrimitives --
 *     Side effects: draws the primitives from the layout's vertices in
 *     order; nothing for no primitives or a range outside the buffer.
 */
void nGLDevice::DrawPrimitives(nGfxLayoutHandle layout, nGfxPrimitive primType, int firstVertex, int primCount)
{
    const int n = nGfxPrimitiveElements(primType, primCount);
    const nGfxBufferStore::Layout* l = this->store.GetLayout(layout);
    const nGfxBufferStore::Buffer* vb = l ? this->store.GetBuffer(l->vertexBuffer) : nullptr;
    if (0 == n || !vb || firstVertex < 0 || l->stride <= 0)
    {
        return;
    }
    const size_t bytes = (size_t)((long long)firstVertex + n) * (size_t)l->stride;
    int baseVertex = 0;
    size_t indexOffset = 0;
    if (bytes > vb->shadow.size() || !this->PrepareLayout(layout, bytes, 0, baseVertex, indexOffset))
    {
        return;
    }
    glBindVertexArray(l->deviceName);
    glDrawArrays(GLMode(primType), firstVertex + baseVertex, n);
    glBindVertexArray(0);
}

/*
 * CreateStreamLayout --
 *     Results: the handle of a vertex array whose elements read their own
 *     stream's buffer; 0 while closed or without streams.
 */
nGfxLayoutHandle nGLDevice::CreateStreamLayout(const nGfxVertexElement* elements, const int* streams,
                                               int numElements, const nGfxBufferHandle* vertexBuffers,
                                               const int* strides, int numStreams, nGfxBufferHandle indexBuffer)
{
    if (!this->context || numStreams < 1)
    {
        return nGfxLayoutHandle();
    }
    const nGfxLayoutHandle handle =
        this->store.AddLayout(elements, numElements, strides[0], vertexBuffers[0], indexBuffer);
    nGfxBufferStore::Layout* l = this->store.GetLayout(handle);
    const nGfxBufferStore::Buffer* ib = this->store.GetBuffer(indexBuffer);
    glGenVertexArrays(1, &l->deviceName);
    glBindVertexArray(l->deviceName);
    for (int i = 0; i < numElements; i++)
    {
        const int s = streams[i];
        const nGfxBufferStore::Buffer* vb = (s >= 0 && s < numStreams) ? this->store.GetBuffer(vertexBuffers[s]) : nullptr;
        if (!vb)
        {
            continue;
        }
        const nGfxVertexElement& e = elements[i];
        glBindBuffer(GL_ARRAY_BUFFER, vb->deviceName);
        glEnableVertexAttribArray((GLuint)e.location);
        glVertexAttribPointer((GLuint)e.location, e.numFloats, GL_FLOAT, GL_FALSE, strides[s],
                              reinterpret_cast<const void*>((size_t)e.byteOffset));
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib ? ib->deviceName : 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    this->streamBuffers[handle.GetRaw()].assign(vertexBuffers + 1, vertexBuffers + numStreams);
    return handle;
}

/*
 * MakeLineObjects --
 *     Results: true when the line program and its buffers exist.
 */
bool nGLDevice::MakeLineObjects()
{
    if (this->lineProgram)
    {
        return true;
    }
    std::string log;
    this->lineProgram = this->CreateProgram(lineVertexSource, lineFragmentSource, log).GetRaw();
    if (!this->lineProgram)
    {
        SDL_Log("nGLDevice: the line program does not build: %s", log.c_str());
        return false;
    }
    this->lineMatrixLocation = glGetUniformLocation(this->lineProgram, "nLineMatrix");
    this->lineColorLocation = glGetUniformLocation(this->lineProgram, "nLineColor");
    this->linePixelLocation = glGetUniformLocation(this->lineProgram, "nLinePixels");
    glGenVertexArrays(1, &this->lineVao);
    glGenBuffers(1, &this->lineVbo);
    glBindVertexArray(this->lineVao);
    glBindBuffer(GL_ARRAY_BUFFER, this->lineVbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

/*
 * DrawLineStrip --
 *     Side effects: draws the connected line in one colour over whatever
 *     is drawn, without depth test, culling or blending, as the line
 *     drawer of the engine's first platform did; the render states and
 *     the program in use are put back afterwards.
 */
void nGLDevice::DrawLineStrip(const float* points, int numPoints, const float* matrix, const float rgba[4])
{
    if (!this->framebuffer || !points || numPoints < 2 || !this->MakeLineObjects())
    {
        return;
    }
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    glUseProgram(this->lineProgram);
    static const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    glUniformMatrix4fv(this->lineMatrixLocation, 1, GL_FALSE, matrix ? matrix : identity);
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    glUniform2f(this->linePixelLocation, matrix ? 0.0f : (float)vp[2], matrix ? 0.0f : (float)vp[3]);
    glUniform4fv(this->lineColorLocation, 1, rgba);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    glBindVertexArray(this->lineVao);
    glBindBuffer(GL_ARRAY_BUFFER, this->lineVbo);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)numPoints * 3 * sizeof(float), points, GL_STREAM_DRAW);
    glDrawArrays(GL_LINE_STRIP, 0, numPoints);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram((GLuint)previousProgram);
    for (int s : {nGfxRS::ZEnable, nGfxRS::CullMode, nGfxRS::AlphaBlendEnable, nGfxRS::StencilEnable})
    {
        this->ApplyRenderState(s, this->GetRenderState(s));
    }
}

/*
 * ReadFrame --
 *     Results: the back buffer's pixels as RGBA rows, row 0 on top (the
 *     presented frame: Present leaves the back buffer as it showed it).
 */
bool nGLDevice::ReadFrame(std::vector<unsigned char>& rgba, int& width, int& height)
{
    if (!this->framebuffer)
    {
        return false;
    }
    width = this->params.width;
    height = this->params.height;
    rgba.assign((size_t)width * height * 4, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, this->framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, this->CurrentFramebuffer());
    return glGetError() == GL_NO_ERROR;
}

/*
 * SetViewport --
 *     Side effects: the rectangle and depth range drawing goes to; the
 *     layer's y flip puts row 0 of the target at GL's row 0, so the
 *     rectangle needs no turning. Sizes below 0 become 0.
 */
void nGLDevice::SetViewport(int x, int y, int w, int h, float minZ, float maxZ)
{
    if (!this->context)
    {
        return;
    }
    glViewport(x, y, std::max(w, 0), std::max(h, 0));
    auto unit = [](float z) { return (z > 0.0f) ? std::min(z, 1.0f) : 0.0f; };
    glDepthRange(unit(minZ), unit(maxZ));
}

/*
 * ReleaseRenderObjects --
 *     Side effects: the line drawer's objects and the stream tables are
 *     gone (context current).
 */
void nGLDevice::ReleaseRenderObjects()
{
    if (this->lineProgram)
    {
        glDeleteProgram(this->lineProgram);
        glDeleteVertexArrays(1, &this->lineVao);
        glDeleteBuffers(1, &this->lineVbo);
        this->lineProgram = this->lineVao = this->lineVbo = 0;
    }
    this->streamBuffers.clear();
}
