//------------------------------------------------------------------------------
//  nd3d9text.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9text.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/nshader2.h"
#include "gfx2/ntexture2.h"
#include "gfx2/nmesh2.h"

#include <algorithm>

namespace
{

/// floats per vertex: position (3), texel (2), colour (4)
const int VertexFloats = 9;
/// quads gathered before they are drawn
const int MaxBatchQuads = 2048;

}  // namespace

const int nD3D9TextBatch::VertexComponents = nMesh2::Coord | nMesh2::Uv0 | nMesh2::Color;

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
    nShader2* shader = this->refShader.isvalid() ? this->refShader.get() : nullptr;
    if ((shader && shader->IsValid()) || this->shaderFailed)
    {
        return (shader && shader->IsValid()) ? shader : nullptr;
    }
    if (!shader)
    {
        shader = this->server->NewShader("text");
        this->refShader.adopt(shader);
    }
    if (shader && !shader->IsLoaded())
    {
        shader->SetFilename("shaders:text.fx");
        shader->Load();
    }
    if (!shader || !shader->IsValid())
    {
        n_printf("nD3D9Server: the text effect 'shaders:text.fx' could not be loaded; text is not drawn\n");
        this->shaderFailed = true;
        return nullptr;
    }
    return shader;
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
    if (!this->server->IsDeviceOpen() || !this->server->InBeginScene() || !this->GetShader())
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
    this->beforeDraw = nullptr;
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
 *     Side effects: the before-draw function runs, then the gathered
 *     quads are drawn with the current texture through the text effect's
 *     passes, the effect being the server's current shader meanwhile; then
 *     they are forgotten.
 */
void nD3D9TextBatch::Flush()
{
    nShader2* shader = this->refShader.isvalid() ? this->refShader.get() : nullptr;
    if (this->inBegin && !this->vertices.empty() && this->texture && shader && shader->IsValid() &&
        this->server->IsDeviceOpen() && this->server->InBeginScene())
    {
        if (this->beforeDraw)
        {
            this->beforeDraw();
        }
        nShader2* previous = this->server->GetShader();
        if (previous)
        {
            previous->AddRef();
        }
        // text is drawn in the middle of other batches (the GUI's brushes
        // between its labels): their mesh is bound again afterwards
        nMesh2* previousMesh = this->server->GetMesh();
        nMeshArray* previousMeshArray = this->server->GetMeshArray();
        this->server->SetShader(shader);
        shader->SetTexture(nShaderState::DiffMap0, this->texture);
        const int passes = shader->Begin(true);
        for (int p = 0; p < passes; p++)
        {
            shader->BeginPass(p);
            this->DrawQuads();
            shader->EndPass();
        }
        shader->End();
        if (previousMeshArray)
        {
            this->server->SetMeshArray(previousMeshArray);
        }
        else
        {
            this->server->SetMesh(previousMesh);
        }
        this->server->SetShader(previous);
        if (nD3D9Shader* d3d9Previous = dynamic_cast<nD3D9Shader*>(previous))
        {
            d3d9Previous->ResumePass();
        }
        if (previous)
        {
            previous->Release();
        }
        this->numQuadsDrawn += int(this->vertices.size() / (4 * VertexFloats));
    }
    this->vertices.clear();
}

/*
 * DrawQuads --
 *     Side effects: the quads go through the dynamic mesh (made on first
 *     use) as indexed triangles, as many per draw as it holds.
 */
void nD3D9TextBatch::DrawQuads()
{
    if (!this->mesh)
    {
        this->mesh = std::make_unique<nDynamicMesh>();
    }
    if (!this->mesh->IsValid() && !this->mesh->Initialize(nGfxServer2::TriangleList, VertexComponents, 0, true))
    {
        return;
    }
    float* vertexPtr = nullptr;
    ushort* indexPtr = nullptr;
    int maxVertices = 0, maxIndices = 0;
    this->mesh->BeginIndexed(vertexPtr, indexPtr, maxVertices, maxIndices);
    const int maxQuads = std::min(maxVertices / 4, maxIndices / 6);
    const size_t numQuads = this->vertices.size() / (4 * VertexFloats);
    int quadsInMesh = 0;
    for (size_t q = 0; q < numQuads && maxQuads > 0; q++)
    {
        if (quadsInMesh == maxQuads)
        {
            this->mesh->SwapIndexed(quadsInMesh * 4, quadsInMesh * 6, vertexPtr, indexPtr);
            quadsInMesh = 0;
        }
        const float* src = &this->vertices[q * 4 * VertexFloats];
        std::copy(src, src + 4 * VertexFloats, vertexPtr + size_t(quadsInMesh) * 4 * VertexFloats);
        const ushort base = ushort(quadsInMesh * 4);
        const ushort quad[6] = {base, ushort(base + 1), ushort(base + 2), base, ushort(base + 2), ushort(base + 3)};
        std::copy(quad, quad + 6, indexPtr + quadsInMesh * 6);
        quadsInMesh++;
    }
    this->mesh->EndIndexed(quadsInMesh * 4, quadsInMesh * 6);
}

/*
 * Release --
 *     Side effects: the effect and the dynamic mesh are given back; the
 *     next Begin and draw make them again.
 */
void nD3D9TextBatch::Release()
{
    this->mesh.reset();
    this->refShader.reset();
    this->shaderFailed = false;
    this->vertices.clear();
    this->texture = nullptr;
    this->inBegin = false;
    this->beforeDraw = nullptr;
}
