//------------------------------------------------------------------------------
//  nd3d9server_render.cc -- the per-frame side of nD3D9Server: scenes,
//  clearing, transforms into the shared shader, binding, the draw calls,
//  instanced replay, lines and shapes
//------------------------------------------------------------------------------
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9mesharray.h"
#include "gfx2/nd3d9texture.h"
#include "kernel/ntimeserver.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cmath>
#include <vector>

/*
 * GetPrimitiveCount --
 *     Results: the primitives n indices (or vertices) give: n points, n/2
 *     lines, n-1 strip lines, n/3 triangles, n-2 strip or fan triangles;
 *     0 for an unknown type and never below 0 (a strip of too few
 *     elements draws nothing).
 */
int nD3D9Server::GetPrimitiveCount(int primType, int n)
{
    int count = 0;
    switch (primType)
    {
        case PointList: count = n; break;
        case LineList: count = n / 2; break;
        case LineStrip: count = n - 1; break;
        case TriangleList: count = n / 3; break;
        case TriangleStrip:
        case TriangleFan: count = n - 2; break;
        default: count = 0; break;
    }
    return std::max(count, 0);
}

/*
 * PackColor --
 *     Results: ARGB with each channel trunc(value x 255), the value
 *     clamped to 0..1 first so that out-of-range colours do not wrap into
 *     other channels' bits; NaN counts as 0.
 */
unsigned int nD3D9Server::PackColor(float red, float green, float blue, float alpha)
{
    auto channel = [](float v) -> unsigned int {
        if (!(v > 0.0f)) return 0u;
        if (v > 1.0f) v = 1.0f;
        return (unsigned int)(v * 255.0f) & 0xFF;
    };
    return (channel(alpha) << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
}

/*
 * GetSharedShader --
 *     Results: the server's "shared" shader while it is loaded, else null.
 */
nShader2* nD3D9Server::GetSharedShader() const
{
    nShader2* s = this->refSharedShader.get_unsafe();
    return (s && s->IsLoaded()) ? s : nullptr;
}

/*
 * NewMeshArray --
 *     Results: the shared "nd3d9mesharray" resource of the name (made
 *     unloaded when new, one more reference); null without a resource
 *     server.
 */
nMeshArray* nD3D9Server::NewMeshArray(const char* rsrcName)
{
    nResourceServer* rs = this->ResourceServer();
    return rs ? static_cast<nMeshArray*>(rs->NewResource("nd3d9mesharray", rsrcName, nResource::Mesh)) : nullptr;
}

//--- scenes -----------------------------------------------------------------------

/*
 * BeginScene --
 *     Results: false when the display is closed, the base refuses, or the
 *     device cannot draw now (lost, or its reset failed); the caller then
 *     skips the frame.
 *     Side effects: the frame's lights are emptied; the cursor is brought
 *     up to date; the shared "Time" and "DisplayResolution" are set.
 */
bool nD3D9Server::BeginScene()
{
    n_assert(!this->inBeginScene);
    if (!this->displayOpen || !this->IsDeviceOpen())
    {
        return false;
    }
    if (!nGfxServer2::BeginScene())
    {
        return false;
    }
    this->inBeginScene = false;
    if (!this->TestResetDevice())
    {
        return false;
    }
    // background loads read on the loader thread reach the device here,
    // on the thread that owns it
    if (this->refResourceServer.isvalid())
    {
        this->refResourceServer->UploadLoadedResources();
    }
    this->UpdateCursor();
    this->UpdateSharedSceneParams();
    this->inBeginScene = true;
    return true;
}

/*
 * UpdateSharedSceneParams --
 *     Side effects: "Time" is the time server's time; "DisplayResolution"
 *     the size of the render target drawn into, else of the display mode.
 */
void nD3D9Server::UpdateSharedSceneParams()
{
    nShader2* shared = this->GetSharedShader();
    if (!shared)
    {
        return;
    }
    shared->SetFloat(nShaderState::Time, (float)nTimeServer::Instance()->GetTime());
    nFloat4 res = {0.0f, 0.0f, 0.0f, 0.0f};
    const nTexture2* target = this->GetRenderTarget();
    if (target)
    {
        res.x = (float)target->GetWidth();
        res.y = (float)target->GetHeight();
    }
    else
    {
        res.x = (float)this->presentParams.width;
        res.y = (float)this->presentParams.height;
    }
    shared->SetFloat4(nShaderState::DisplayResolution, res);
}

/*
 * EndScene --
 *     Side effects: text kept since BeginText is drawn and the scene
 *     ends; render targets may change now.
 */
void nD3D9Server::EndScene()
{
    n_assert(this->inBeginScene);
    n_assert(this->IsDeviceOpen());
    this->EndText();
    nGfxServer2::EndScene();
}

/*
 * PresentScene --
 *     Side effects: counts the frame, publishes the statistics and shows
 *     the back buffer in the window (the device blits and swaps).
 */
void nD3D9Server::PresentScene()
{
    n_assert(!this->inBeginScene);
    if (!this->IsDeviceOpen())
    {
        return;
    }
    this->statsFrameCount++;
    this->UpdateStatistics();
    this->PresentDevice();
    nGfxServer2::PresentScene();
}

/*
 * Clear --
 *     Side effects: clears the chosen buffers of the target drawn into.
 *     The colour, depth and stencil write masks are opened and the
 *     scissor test switched off through the device's state cache first,
 *     so that whatever the last pass left does not mask the clear; the
 *     stencil is cleared only when the depth format has one. The colour
 *     reaches the device as given (NaN as 0).
 */
void nD3D9Server::Clear(int bufferFlags, float red, float green, float blue, float alpha, float z, int stencil)
{
    if (!this->IsDeviceOpen())
    {
        return;
    }
    int flags = bufferFlags & (ColorBuffer | DepthBuffer);
    const nGfxFormat depthFormat = this->presentParams.depthStencilFormat;
    if ((bufferFlags & StencilBuffer) && (nGfxFormat::D24S8 == depthFormat || nGfxFormat::D24X4S4 == depthFormat))
    {
        flags |= StencilBuffer;
    }
    this->device->SetRenderState(nGfxRS::ColorWriteEnable, 0xF);
    this->device->SetRenderState(nGfxRS::ZWriteEnable, 1);
    this->device->SetRenderState(nGfxRS::StencilWriteMask, 0xFFFFFFFF);
    this->device->SetRenderState(nGfxRS::ScissorTestEnable, 0);
    // A fixed-point target clamps the colour as packing into ARGB did; a
    // float target keeps values outside 0..1, which render paths rely on.
    auto finite = [](float v) { return std::isnan(v) ? 0.0f : v; };
    this->device->Clear(flags, finite(red), finite(green), finite(blue), finite(alpha),
                        std::isnan(z) ? 1.0f : std::clamp(z, 0.0f, 1.0f), stencil);
}

//--- camera, viewport, transforms, lights ---------------------------------------------

/*
 * SetCamera --
 *     Side effects: the camera's projection becomes the Projection
 *     transform (and so reaches the shared shader) while the device is open.
 */
void nD3D9Server::SetCamera(const nCamera2& cam)
{
    nGfxServer2::SetCamera(cam);
    if (this->IsDeviceOpen())
    {
        this->SetTransform(Projection, this->camera.GetProjection());
    }
}

/*
 * SetViewport --
 *     Side effects: the device draws into the viewport's rectangle
 *     (truncated to whole pixels, NaN as 0) with its depth range.
 */
void nD3D9Server::SetViewport(const nViewport& vp)
{
    nGfxServer2::SetViewport(vp);
    if (this->IsDeviceOpen())
    {
        auto whole = [](float v) { return (std::isfinite(v) && std::fabs(v) < 1e9f) ? (int)v : 0; };
        this->device->SetViewport(whole(vp.x), whole(vp.y), whole(vp.width), whole(vp.height), vp.nearZ, vp.farZ);
    }
}

/*
 * SetTransform --
 *     Side effects: the base stores the matrix and its derived ones; the
 *     shared shader gets every matrix and position that changed with it.
 */
void nD3D9Server::SetTransform(TransformType type, const matrix44& matrix)
{
    nGfxServer2::SetTransform(type, matrix);
    nShader2* shared = this->GetSharedShader();
    if (!shared)
    {
        return;
    }
    bool setMVP = false, setEyePos = false, setModelEyePos = false, setModelLightProj = false,
         setModelLightPos = false, setLightPos = false;
    const matrix44* t = this->transform;
    switch (type)
    {
        case Model:
            shared->SetMatrix(nShaderState::Model, t[Model]);
            shared->SetMatrix(nShaderState::InvModel, t[InvModel]);
            shared->SetMatrix(nShaderState::ModelView, t[ModelView]);
            shared->SetMatrix(nShaderState::InvModelView, t[InvModelView]);
            setModelEyePos = setModelLightPos = setMVP = setModelLightProj = true;
            break;
        case View:
            shared->SetMatrix(nShaderState::View, t[View]);
            shared->SetMatrix(nShaderState::InvView, t[InvView]);
            shared->SetMatrix(nShaderState::ModelView, t[ModelView]);
            shared->SetMatrix(nShaderState::InvModelView, t[InvModelView]);
            setEyePos = setModelEyePos = setMVP = true;
            break;
        case Projection:
            shared->SetMatrix(nShaderState::Projection, t[Projection]);
            setMVP = setModelLightProj = true;
            break;
        case Texture0:
        case Texture1:
        case Texture2:
        case Texture3:
            shared->SetMatrix((nShaderState::Param)(nShaderState::TextureTransform0 + (type - Texture0)), t[type]);
            break;
        case Light:
            setLightPos = setModelLightPos = setModelLightProj = true;
            break;
        default: break;
    }
    if (setMVP) shared->SetMatrix(nShaderState::ModelViewProjection, t[ModelViewProjection]);
    if (setEyePos) shared->SetVector3(nShaderState::EyePos, t[InvView].pos_component());
    if (setModelEyePos) shared->SetVector3(nShaderState::ModelEyePos, t[InvModelView].pos_component());
    if (setModelLightProj) shared->SetMatrix(nShaderState::ModelLightProjection, t[ModelLightProjection]);
    if (setModelLightPos) shared->SetVector3(nShaderState::ModelLightPos, t[InvModelLight].pos_component());
    if (setLightPos) shared->SetVector3(nShaderState::LightPos, t[Light].pos_component());
}

/*
 * AddLight --
 *     Results: the number of lights of the frame.
 *     Side effects: the first light of a frame sets the Light transform
 *     and the shared light colours; later ones only join the list.
 */
int nD3D9Server::AddLight(const nLight& light)
{
    const int num = nGfxServer2::AddLight(light);
    if (1 == num)
    {
        this->SetTransform(Light, light.transform);
        nShader2* shared = this->GetSharedShader();
        if (shared)
        {
            shared->SetVector4(nShaderState::LightDiffuse, light.diffuse);
            shared->SetVector4(nShaderState::LightSpecular, light.specular);
            shared->SetVector4(nShaderState::LightAmbient, light.ambient);
            shared->SetVector4(nShaderState::LightDiffuse1, light.secondaryDiffuse);
        }
    }
    return num;
}

//--- binding --------------------------------------------------------------------------

/*
 * SetMesh --
 *     Side effects: a bound mesh array is unbound first; a different mesh
 *     binds its vertex layout (buffers and indices together on this
 *     device); null unbinds. The same mesh again touches nothing.
 */
void nD3D9Server::SetMesh(nMesh2* mesh)
{
    if (mesh)
    {
        if (this->GetMeshArray())
        {
            this->SetMeshArray(nullptr);
        }
        if (mesh != this->GetMesh())
        {
            nD3D9Mesh* m = static_cast<nD3D9Mesh*>(mesh);
            n_assert2(m->IsLoaded() && m->GetVertexBuffer(), "The mesh must have a vertex buffer!\n");
            if (m->GetNumIndices() > 0)
            {
                n_assert2(m->GetIndexBuffer(), "The mesh must have a index buffer!\n");
            }
            const nGfxLayoutHandle d3dVDecl = m->GetVertexDeclaration();
            n_assert(d3dVDecl);
            this->curVertexLayout = d3dVDecl;
        }
    }
    else
    {
        this->curVertexLayout = nGfxLayoutHandle();
    }
    nGfxServer2::SetMesh(mesh);
}

/*
 * SetMeshArray --
 *     Side effects: as SetMesh, for the layout over all streams of the
 *     array; a bound mesh is unbound first.
 */
void nD3D9Server::SetMeshArray(nMeshArray* meshArray)
{
    if (meshArray)
    {
        if (this->GetMesh())
        {
            this->SetMesh(nullptr);
        }
        if (meshArray != this->GetMeshArray())
        {
            nD3D9MeshArray* a = static_cast<nD3D9MeshArray*>(meshArray);
            nMesh2* first = a->GetMeshAt(0);
            n_assert2(first && first->IsLoaded() && static_cast<nD3D9Mesh*>(first)->GetIndexBuffer(),
                      "The mesh at stream 0 must provide a valid IndexBuffer!\n");
            const nGfxLayoutHandle d3dVDecl = a->GetVertexDeclaration();
            n_assert(d3dVDecl);
            this->curVertexLayout = d3dVDecl;
        }
    }
    else
    {
        this->curVertexLayout = nGfxLayoutHandle();
    }
    nGfxServer2::SetMeshArray(meshArray);
}

/*
 * SetTexture --
 *     Side effects: the texture goes to the stage's texture unit unless it
 *     is there already; stage n is the unit an effect's n-th sampler
 *     reads.
 */
void nD3D9Server::SetTexture(int stage, nTexture2* tex)
{
    n_assert((stage >= 0) && (stage < MaxTextureStages));
    if (this->IsDeviceOpen())
    {
        // an effect binds its samplers' textures to the units in sampler
        // order, so the unit may hold another texture than this stage last
        // got: the device's binding decides, not the stage's record
        const nD3D9Texture* t = static_cast<const nD3D9Texture*>(tex);
        const nGfxTextureHandle devTex = t ? t->GetDeviceTexture() : nGfxTextureHandle();
        if (this->device->GetBoundTexture(stage) != devTex)
        {
            const bool cube = t && nTexture2::TEXTURE_CUBE == t->GetType();
            this->device->BindTexture(stage, devTex, cube, nGfxSamplerHandle());
        }
    }
    if (this->GetTexture(stage) != tex)
    {
        nGfxServer2::SetTexture(stage, tex);
    }
}

/*
 * SetShader --
 *     Side effects: the shader becomes current unless it is already; it
 *     is begun only by the draw calls (or by the caller of the NS draws).
 */
void nD3D9Server::SetShader(nShader2* shader)
{
    if (this->GetShader() != shader)
    {
        nGfxServer2::SetShader(shader);
    }
}

//--- draw calls -------------------------------------------------------------------------

namespace
{

// the device numbers its primitive types as the server does
static_assert(static_cast<int>(nGfxPrimitive::PointList) == nGfxServer2::PointList &&
              static_cast<int>(nGfxPrimitive::LineList) == nGfxServer2::LineList &&
              static_cast<int>(nGfxPrimitive::LineStrip) == nGfxServer2::LineStrip &&
              static_cast<int>(nGfxPrimitive::TriangleList) == nGfxServer2::TriangleList &&
              static_cast<int>(nGfxPrimitive::TriangleStrip) == nGfxServer2::TriangleStrip &&
              static_cast<int>(nGfxPrimitive::TriangleFan) == nGfxServer2::TriangleFan);

nGfxPrimitive DevicePrimitive(nGfxServer2::PrimitiveType primType)
{
    return static_cast<nGfxPrimitive>(primType);
}

}  // namespace

/*
 * DrawRange --
 *     Results: the primitives the current ranges give.
 *     Side effects: one device draw of them with the bound layout (none
 *     for no primitives).
 */
int nD3D9Server::DrawRange(PrimitiveType primType, bool indexed)
{
    if (indexed)
    {
        const int prims = GetPrimitiveCount(primType, this->indexRangeNum);
        this->device->DrawIndexedPrimitives(this->curVertexLayout, DevicePrimitive(primType), this->vertexRangeFirst,
                                            this->vertexRangeNum, this->indexRangeFirst, prims);
        return prims;
    }
    const int prims = GetPrimitiveCount(primType, this->vertexRangeNum);
    this->device->DrawPrimitives(this->curVertexLayout, DevicePrimitive(primType), this->vertexRangeFirst, prims);
    return prims;
}

/*
 * DrawPasses --
 *     Side effects: the current shader runs every pass of its technique
 *     and each pass draws the current ranges; one draw call is counted
 *     per pass and the primitives once.
 */
void nD3D9Server::DrawPasses(PrimitiveType primType, bool indexed)
{
    n_assert(this->IsDeviceOpen() && this->inBeginScene);
    n_assert((0 != this->GetMesh()) || (0 != this->GetMeshArray()));
    nShader2* shader = this->GetShader();
    n_assert(shader);
    int prims = 0;
    const int numPasses = shader->Begin(false);
    for (int pass = 0; pass < numPasses; pass++)
    {
        shader->BeginPass(pass);
        prims = this->DrawRange(primType, indexed);
        shader->EndPass();
        this->statsNumDrawCalls++;
    }
    shader->End();
    this->statsNumPrimitives += prims;
}

/*
 * DrawOnce --
 *     Side effects: with an instance stream set, the instanced replay;
 *     otherwise the current shader's changes are committed (the caller
 *     runs its pass) and the ranges drawn once, one draw call counted.
 */
void nD3D9Server::DrawOnce(PrimitiveType primType, bool indexed)
{
    if (this->DrawInstanced(primType, indexed))
    {
        return;
    }
    n_assert(this->IsDeviceOpen() && this->inBeginScene);
    n_assert((0 != this->GetMesh()) || (0 != this->GetMeshArray()));
    nShader2* shader = this->GetShader();
    if (shader)
    {
        shader->CommitChanges();
    }
    this->statsNumPrimitives += this->DrawRange(primType, indexed);
    this->statsNumDrawCalls++;
}

void nD3D9Server::DrawIndexed(PrimitiveType primType)
{
    this->DrawPasses(primType, true);
}

void nD3D9Server::Draw(PrimitiveType primType)
{
    this->DrawPasses(primType, false);
}

void nD3D9Server::DrawIndexedNS(PrimitiveType primType)
{
    this->DrawOnce(primType, true);
}

void nD3D9Server::DrawNS(PrimitiveType primType)
{
    this->DrawOnce(primType, false);
}

/*
 * DrawInstanced --
 *     Results: false when no instance stream is set (the caller draws
 *     once).
 *     Side effects: for each instance of the stream, its values go to the
 *     current shader in declaration order and the range is drawn; one
 *     draw call is counted for the batch and the primitives once per
 *     instance. A stream that is not loaded replays nothing.
 */
bool nD3D9Server::DrawInstanced(PrimitiveType primType, bool indexed)
{
    nInstanceStream* stream = this->GetInstanceStream();
    if (!stream)
    {
        return false;
    }
    n_assert(this->IsDeviceOpen() && this->inBeginScene);
    n_assert((0 != this->GetMesh()) || (0 != this->GetMeshArray()));
    nShader2* shader = this->GetShader();
    n_assert(shader);
    const int numInstances = stream->GetNumInstances();
    if (numInstances <= 0)
    {
        return true;
    }
    const nInstanceStream::Declaration& decl = stream->GetDeclaration();
    stream->Lock(nInstanceStream::Read);
    int prims = 0;
    for (int i = 0; i < numInstances; i++)
    {
        for (int c = 0; c < decl.Size(); c++)
        {
            const nInstanceStream::Component& comp = decl[c];
            switch (comp.type)
            {
                case nShaderState::Float: shader->SetFloat(comp.param, stream->ReadFloat()); break;
                case nShaderState::Float4: shader->SetFloat4(comp.param, stream->ReadFloat4()); break;
                case nShaderState::Matrix44: shader->SetMatrix(comp.param, stream->ReadMatrix44()); break;
                default: break;
            }
        }
        shader->CommitChanges();
        prims = this->DrawRange(primType, indexed);
    }
    stream->Unlock();
    this->statsNumDrawCalls++;
    this->statsNumPrimitives += prims * numInstances;
    return true;
}

//--- lines --------------------------------------------------------------------------------

/*
 * BeginLines, EndLines --
 *     Side effects: the line state of the base; lines draw one by one.
 */
void nD3D9Server::BeginLines()
{
    n_assert(this->IsDeviceOpen());
    nGfxServer2::BeginLines();
}

/*
 * DrawLines3d --
 *     Side effects: a connected line through the points, transformed by
 *     the current ModelViewProjection, in the colour (clamped like Clear).
 */
void nD3D9Server::DrawLines3d(const vector3* vertexList, int numVertices, const vector4& color)
{
    n_assert(vertexList);
    n_assert(numVertices > 0);
    n_assert(this->inBeginLines);
    n_assert(this->IsDeviceOpen());
    std::vector<float> points((size_t)numVertices * 3);
    for (int i = 0; i < numVertices; i++)
    {
        points[i * 3 + 0] = vertexList[i].x;
        points[i * 3 + 1] = vertexList[i].y;
        points[i * 3 + 2] = vertexList[i].z;
    }
    const unsigned int argb = PackColor(color.x, color.y, color.z, color.w);
    const float rgba[4] = {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                           ((argb >> 24) & 0xFF) / 255.0f};
    const matrix44& mvp = this->GetTransform(ModelViewProjection);
    this->device->DrawLineStrip(points.data(), numVertices, &mvp.m[0][0], rgba);
}

/*
 * DrawLines2d --
 *     Side effects: a connected line through the points given in pixels
 *     of the viewport (row 0 on top).
 */
void nD3D9Server::DrawLines2d(const vector2* vertexList, int numVertices, const vector4& color)
{
    n_assert(vertexList);
    n_assert(numVertices > 0);
    n_assert(this->inBeginLines);
    n_assert(this->IsDeviceOpen());
    std::vector<float> points((size_t)numVertices * 3, 0.0f);
    for (int i = 0; i < numVertices; i++)
    {
        points[i * 3 + 0] = vertexList[i].x;
        points[i * 3 + 1] = vertexList[i].y;
    }
    const unsigned int argb = PackColor(color.x, color.y, color.z, color.w);
    const float rgba[4] = {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                           ((argb >> 24) & 0xFF) / 255.0f};
    this->device->DrawLineStrip(points.data(), numVertices, nullptr, rgba);
}

void nD3D9Server::EndLines()
{
    nGfxServer2::EndLines();
}

//--- shapes ---------------------------------------------------------------------------------

/*
 * BeginShapes --
 *     Side effects: the shape meshes are made on first use (so that a
 *     program that draws no shapes never builds them); the "shape" shader
 *     begins with state saving; it must have exactly one pass.
 */
void nD3D9Server::BeginShapes()
{
    nGfxServer2::BeginShapes();
    if (!this->shapeMeshes[Box].isvalid() && this->IsDeviceOpen())
    {
        this->CreateShapeMeshes();
    }
    nShader2* shader = this->refShapeShader.get_unsafe();
    if (shader && shader->IsLoaded())
    {
        const int numPasses = shader->Begin(true);
        n_assert(1 == numPasses);
    }
}

/*
 * DrawShape --
 *     Side effects: draws the shape mesh with the model matrix in the
 *     colour through the "shape" shader.
 */
void nD3D9Server::DrawShape(ShapeType type, const matrix44& model, const vector4& color)
{
    n_assert(type >= Box && type <= Teapot);
    n_assert(this->shapeMeshes[type].isvalid());
    n_assert(this->inBeginShapes);
    nShader2* shader = this->refShapeShader.get_unsafe();
    if (!shader || !shader->IsLoaded())
    {
        return;
    }
    if (shader->IsParameterUsed(nShaderState::MatDiffuse))
    {
        shader->SetVector4(nShaderState::MatDiffuse, color);
    }
    this->PushTransform(Model, model);
    nD3D9Mesh* mesh = static_cast<nD3D9Mesh*>(this->shapeMeshes[type].get());
    // the shared shader and the shape shader share the matrices through
    // the effect pool; the shape shader reads them at BeginPass
    shader->BeginPass(0);
    this->device->DrawIndexedPrimitives(mesh->GetVertexDeclaration(), nGfxPrimitive::TriangleList, 0,
                                        mesh->GetNumVertices(), 0, mesh->GetNumIndices() / 3);
    shader->EndPass();
    this->PopTransform(Model);
    this->statsNumDrawCalls++;
    this->statsNumPrimitives += mesh->GetNumIndices() / 3;
}

/*
 * EndShapes --
 *     Side effects: the "shape" shader ends (its saved states come back).
 */
void nD3D9Server::EndShapes()
{
    nGfxServer2::EndShapes();
    nShader2* shader = this->refShapeShader.get_unsafe();
    if (shader && shader->IsLoaded())
    {
        shader->End();
    }
}
