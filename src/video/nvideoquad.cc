//------------------------------------------------------------------------------
//  nvideoquad.cc
//------------------------------------------------------------------------------
#include "video/nvideoquad.h"
#include "platform/ngfxdevice.h"
#include "platform/nplatformvideo.h"

#include <cstring>

namespace
{

const char* const VertexProgram =
    "#version 330 core\n"
    "layout(location = 0) in vec3 position;\n"
    "layout(location = 2) in vec2 uv0;\n"
    "out vec2 uv;\n"
    "void main() { gl_Position = vec4(position.xy, 0.0, 1.0); uv = uv0; }\n";

const char* const FragmentProgram =
    "#version 330 core\n"
    "uniform sampler2D picture;\n"
    "in vec2 uv;\n"
    "out vec4 color;\n"
    "void main() { color = vec4(texture(picture, uv).rgb, 1.0); }\n";

/// position (x, y, z) and texture coordinate (u, v)
constexpr int FloatsPerVertex = 5;
constexpr int Stride = FloatsPerVertex * (int)sizeof(float);

}  // namespace

nVideoQuad::~nVideoQuad()
{
    this->End();
}

/*
 * Begin --
 *     Results: false with the reason when the device cannot make the
 *     texture or the program; nothing is held then.
 *     Side effects: releases what an earlier Begin made.
 */
bool nVideoQuad::Begin(nGfxDevice* dev, int w, int h, std::string& error)
{
    this->End();
    if (!dev || !dev->IsOpen())
    {
        error = "the graphics device is not open";
        return false;
    }
    this->device = dev;
    this->width = w;
    this->height = h;
    nGfxTextureDesc desc;
    desc.format = nGfxTexFormat::X8R8G8B8;
    desc.width = w;
    desc.height = h;
    this->texture = dev->CreateTexture(desc);
    std::string log;
    this->program = dev->CreateProgram(VertexProgram, FragmentProgram, log);
    nGfxSamplerDesc samplerDesc;
    samplerDesc.addressU = samplerDesc.addressV = samplerDesc.addressW = nGfxRS::AddressClamp;
    samplerDesc.minFilter = samplerDesc.magFilter = nGfxRS::FilterLinear;
    samplerDesc.mipFilter = nGfxRS::FilterNone;
    this->sampler = dev->CreateSampler(samplerDesc);
    this->vertexBuffer = dev->CreateBuffer(nGfxBufferType::Vertex, 4 * Stride, nGfxUsageDynamic | nGfxUsageWriteOnly,
                                           nGfxPool::Default);
    this->indexBuffer = dev->CreateBuffer(nGfxBufferType::Index16, 6 * (int)sizeof(unsigned short), nGfxUsageWriteOnly,
                                          nGfxPool::Default);
    const nGfxVertexElement elements[2] = {{nGfxLocCoord, 3, 0}, {nGfxLocUv0, 2, 3 * (int)sizeof(float)}};
    this->layout = dev->CreateVertexLayout(elements, 2, Stride, this->vertexBuffer, this->indexBuffer);
    if (!this->texture || !this->program || !this->vertexBuffer || !this->indexBuffer || !this->layout)
    {
        error = this->texture ? "the device cannot draw the picture " + log : "the device cannot make a texture of " +
                                                                                 std::to_string(w) + "x" +
                                                                                 std::to_string(h);
        this->End();
        return false;
    }
    static const unsigned short indices[6] = {0, 1, 2, 2, 1, 3};
    memcpy(dev->LockBuffer(this->indexBuffer), indices, sizeof(indices));
    dev->UnlockBuffer(this->indexBuffer);
    return true;
}

bool nVideoQuad::DeviceAlive() const
{
    return this->device && this->device->IsOpen();
}

/*
 * End --
 *     Side effects: the device objects are released (or only forgotten
 *     when the device was closed and took them along).
 */
void nVideoQuad::End()
{
    if (this->DeviceAlive())
    {
        if (this->layout) this->device->ReleaseVertexLayout(this->layout);
        if (this->vertexBuffer) this->device->ReleaseBuffer(this->vertexBuffer);
        if (this->indexBuffer) this->device->ReleaseBuffer(this->indexBuffer);
        if (this->sampler) this->device->DeleteSampler(this->sampler);
        if (this->program) this->device->DeleteProgram(this->program);
        if (this->texture) this->device->ReleaseTexture(this->texture);
    }
    this->device = nullptr;
    this->texture = nGfxTextureHandle();
    this->program = nGfxProgramHandle();
    this->sampler = nGfxSamplerHandle();
    this->vertexBuffer = this->indexBuffer = nGfxBufferHandle();
    this->layout = nGfxLayoutHandle();
}

/*
 * Upload --
 *     Side effects: the texture holds the frame; a frame of another size
 *     than Begin's is ignored.
 */
void nVideoQuad::Upload(const nPlatformVideoFrame& frame)
{
    if (!this->IsReady() || !this->DeviceAlive() || frame.width != this->width || frame.height != this->height)
    {
        return;
    }
    this->device->UploadTexture(this->texture, 0, 0, frame.bgra.data(), frame.bgra.size());
}

/// opaque, no depth, no culling, no stencil or scissor: the picture covers its rectangle
void nVideoQuad::SetDrawStates()
{
    this->device->SetRenderState(nGfxRS::ZEnable, 0);
    this->device->SetRenderState(nGfxRS::ZWriteEnable, 0);
    this->device->SetRenderState(nGfxRS::AlphaTestEnable, 0);
    this->device->SetRenderState(nGfxRS::AlphaBlendEnable, 0);
    this->device->SetRenderState(nGfxRS::StencilEnable, 0);
    this->device->SetRenderState(nGfxRS::ScissorTestEnable, 0);
    this->device->SetRenderState(nGfxRS::CullMode, nGfxRS::CullNone);
    this->device->SetRenderState(nGfxRS::FillMode, nGfxRS::FillSolid);
    this->device->SetRenderState(nGfxRS::ColorWriteEnable, 0xF);
}

/*
 * Draw --
 *     Side effects: the picture is drawn over (x, y, w, h) of the area
 *     the back buffer covers, cropped at its edges; the device's program, texture unit 0
 *     and the states above are changed.
 */
void nVideoQuad::Draw(int x, int y, int w, int h, int areaWidth, int areaHeight)
{
    if (!this->IsReady() || !this->DeviceAlive() || w <= 0 || h <= 0 || areaWidth <= 0 || areaHeight <= 0)
    {
        return;
    }
    // the whole back buffer, with its viewport
    this->device->SetRenderTarget(nGfxTextureHandle(), nGfxDepthSurfaceHandle());
    const float vw = (float)areaWidth;
    const float vh = (float)areaHeight;
    // the back buffer's row 0 is its top, and the device maps clip-space -1 to row 0
    const float left = 2.0f * (float)x / vw - 1.0f;
    const float right = 2.0f * (float)(x + w) / vw - 1.0f;
    const float top = 2.0f * (float)y / vh - 1.0f;
    const float bottom = 2.0f * (float)(y + h) / vh - 1.0f;
    const float vertices[4 * FloatsPerVertex] = {
        left, top, 0.0f, 0.0f, 0.0f,    right, top, 0.0f, 1.0f, 0.0f,
        left, bottom, 0.0f, 0.0f, 1.0f, right, bottom, 0.0f, 1.0f, 1.0f,
    };
    memcpy(this->device->LockBuffer(this->vertexBuffer), vertices, sizeof(vertices));
    this->device->UnlockBuffer(this->vertexBuffer);

    this->SetDrawStates();
    this->device->UseProgram(this->program);
    const int unit = 0;
    this->device->SetUniform(this->device->GetUniformLocation(this->program, "picture"), nGfxUniform::Int, 1, &unit);
    this->device->BindTexture(0, this->texture, false, this->sampler);
    this->device->DrawIndexedTriangles(this->layout, 0, 6);
}
