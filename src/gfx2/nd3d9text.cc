//------------------------------------------------------------------------------
//  nd3d9text.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9text.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nshader2.h"
#include "gfx2/ntexture2.h"
#include "platform/ngfxvertexlocations.h"

#include <algorithm>

namespace
{

/// floats per vertex: position (3), texel (2), colour (4)
const int VertexFloats = 9;
/// quads per draw call
const int MaxBatchQuads = 2048;

}  // namespace

nD3D9TextBatch::nD3D9TextBatch(nD3D9Server* s) :
    server(s)
{
}

nD3D9TextBatch::~nD3D9TextBatch()
{
    this->Release();
}

/*
 * GetShader --
 *     Results: the loaded "text" effect, null when it cannot be loaded
 *     (reported once).
 */
nShader2* nD3D9TextBatch::GetShader()
{
    if (this->shader && this->shader->IsValid())
    {
        return this->shader;
    }
    if (this->shaderFailed)
    {
        return nullptr;
    }
    if (!this->shader)
    {
        this->shader = this->server->NewShader("text");
    }
    if (this->shader && !this->shader->IsLoaded())
    {
        this->shader->SetFilename("shaders:text.fx");
        this->shader->Load();
    }
    if (!this->shader || !this->shader->IsValid())
    {
        n_printf("nD3D9Server: the text effect 'shaders:text.fx' could not be loaded; text is not drawn\n");
        this->shaderFailed = true;
        return nullptr;
    }
    return this->shader;
}

/*
 * Begin --
 *     Results: false when nothing can be drawn now.
 *     Side effects: the batch gathers quads until End.
 */
bool nD3D9TextBatch::Begin()
{
    n_assert(!this->inBegin);
    this->vertices.clear();
    this->texture = nullptr;
    if (!this->server->IsDeviceOpen() || !this->GetShader())
    {
        return false;
    }
    this->inBegin = true;
    return true;
}

void nD3D9TextBatch::End()
{
    if (this->inBegin)
    {
        this->Flush();
        this->inBegin = false;
    }
    this->vertices.clear();
    this->texture = nullptr;
}

void nD3D9TextBatch::SetTexture(nTexture2* tex)
{
    if (tex != this->texture)
    {
        this->Flush();
        this->texture = tex;
    }
}

/*
 * AddQuad --
 *     Side effects: four vertices in clip space (the pixel corners of the
 *     Direct3D 9 sprite, half a pixel up and left, over the current
 *     viewport); a full batch is drawn first. Ignored outside Begin/End.
 */
void nD3D9TextBatch::AddQuad(const float pos[4], const float texels[4], uint32_t argb)
{
    if (!this->inBegin)
    {
        return;
    }
    if (this->vertices.size() >= size_t(MaxBatchQuads) * 4 * VertexFloats)
    {
        this->Flush();
    }
    int vx = 0, vy = 0, vw = 1, vh = 1;
    float minZ = 0.0f, maxZ = 1.0f;
    this->server->GetDevice()->GetViewport(vx, vy, vw, vh, minZ, maxZ);
    const float sx = 2.0f / float(std::max(vw, 1));
    const float sy = 2.0f / float(std::max(vh, 1));
    const float r = float((argb >> 16) & 0xFF) / 255.0f;
    const float g = float((argb >> 8) & 0xFF) / 255.0f;
    const float b = float(argb & 0xFF) / 255.0f;
    const float a = float((argb >> 24) & 0xFF) / 255.0f;
    const float corners[4][4] = {
        {pos[0], pos[1], texels[0], texels[1]},
        {pos[2], pos[1], texels[2], texels[1]},
        {pos[2], pos[3], texels[2], texels[3]},
        {pos[0], pos[3], texels[0], texels[3]},
    };
    for (const auto& c : corners)
    {
        const float v[VertexFloats] = {(c[0] - 0.5f) * sx - 1.0f, 1.0f - (c[1] - 0.5f) * sy, 0.0f, c[2], c[3], r, g, b, a};
        this->vertices.insert(this->vertices.end(), v, v + VertexFloats);
    }
}

/*
 * Flush --
 *     Side effects: the gathered quads are drawn with the current
 *     texture through the text effect's pass, then forgotten.
 */
void nD3D9TextBatch::Flush()
{
    if (this->inBegin && !this->vertices.empty() && this->texture && this->shader && this->shader->IsValid() &&
        this->server->IsDeviceOpen())
    {
        this->shader->SetTexture(nShaderState::DiffMap0, this->texture);
        const int passes = this->shader->Begin(true);
        for (int p = 0; p < passes; p++)
        {
            this->shader->BeginPass(p);
            this->DrawVertices();
            this->shader->EndPass();
        }
        this->shader->End();
        this->numQuadsDrawn += int(this->vertices.size() / (4 * VertexFloats));
    }
    this->vertices.clear();
}

/*
 * DrawVertices --
 *     Side effects: the gathered quads drawn as indexed triangles through
 *     the batch's own buffers on the device, made on first use.
 */
void nD3D9TextBatch::DrawVertices()
{
    nGfxDevice* dev = this->server->GetDevice();
    const int numQuads = int(this->vertices.size() / (4 * VertexFloats));
    const int vertexBytes = MaxBatchQuads * 4 * VertexFloats * int(sizeof(float));
    if (0 == this->layout)
    {
        const int indexBytes = MaxBatchQuads * 6 * int(sizeof(unsigned short));
        this->vertexBuffer = dev->CreateBuffer(nGfxBufferType::Vertex, vertexBytes, nGfxUsageDynamic | nGfxUsageWriteOnly,
                                               nGfxPool::Default);
        this->indexBuffer = dev->CreateBuffer(nGfxBufferType::Index16, indexBytes, nGfxUsageWriteOnly, nGfxPool::Managed);
        unsigned short* idx = static_cast<unsigned short*>(dev->LockBuffer(this->indexBuffer));
        if (!idx)
        {
            this->Release();
            return;
        }
        for (int q = 0; q < MaxBatchQuads; q++)
        {
            const unsigned short base = (unsigned short)(q * 4);
            const unsigned short quad[6] = {base, (unsigned short)(base + 1), (unsigned short)(base + 2),
                                            base, (unsigned short)(base + 2), (unsigned short)(base + 3)};
            std::copy(quad, quad + 6, idx + q * 6);
        }
        dev->UnlockBuffer(this->indexBuffer);
        const int stride = VertexFloats * int(sizeof(float));
        const nGfxVertexElement elements[3] = {{nGfxLocCoord, 3, 0},
                                               {nGfxLocUv0, 2, 3 * int(sizeof(float))},
                                               {nGfxLocColor, 4, 5 * int(sizeof(float))}};
        this->layout = dev->CreateVertexLayout(elements, 3, stride, this->vertexBuffer, this->indexBuffer);
    }
    float* dst = static_cast<float*>(dev->LockBuffer(this->vertexBuffer));
    if (!dst || 0 == this->layout)
    {
        return;
    }
    std::copy(this->vertices.begin(), this->vertices.end(), dst);
    dev->UnlockBuffer(this->vertexBuffer);
    dev->DrawIndexedTriangles(this->layout, 0, numQuads * 6);
}

/*
 * Release --
 *     Side effects: the effect reference and the device objects go; the
 *     next Begin makes them again.
 */
void nD3D9TextBatch::Release()
{
    nGfxDevice* dev = this->server->GetDevice();
    if (dev && dev->IsOpen())
    {
        if (this->layout)
        {
            dev->ReleaseVertexLayout(this->layout);
        }
        if (this->vertexBuffer)
        {
            dev->ReleaseBuffer(this->vertexBuffer);
        }
        if (this->indexBuffer)
        {
            dev->ReleaseBuffer(this->indexBuffer);
        }
    }
    this->layout = this->vertexBuffer = this->indexBuffer = 0;
    if (this->shader)
    {
        this->shader->Release();
        this->shader = nullptr;
    }
    this->shaderFailed = false;
    this->vertices.clear();
    this->texture = nullptr;
    this->inBegin = false;
}
