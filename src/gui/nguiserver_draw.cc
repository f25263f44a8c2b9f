//------------------------------------------------------------------------------
//  nguiserver_draw.cc
//  Clip rectangles, the brush batch, the kept text and Render of the GUI
//  server.
//------------------------------------------------------------------------------
#include "gui/nguiserver.h"
#include "gui/nguibrush.h"
#include "gui/nguiresource.h"
#include "gui/nguitooltip.h"
#include "gui/nguiwidget.h"
#include "gui/nguiwindow.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshader2.h"
#include "gfx2/ntexture2.h"
#include "mathlib/matrix44.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace
{

/// the vertex components of a GUI vertex: coord, normal, uv0
const int GuiVertexComponents = 7;
/// floats per GUI vertex
const int GuiVertexWidth = 8;
/// colours closer than this share a batch
const float ColorTolerance = 0.001f;

bool ColorDiffers(const vector4& a, const vector4& b)
{
    return fabsf(a.x - b.x) > ColorTolerance || fabsf(a.y - b.y) > ColorTolerance ||
           fabsf(a.z - b.z) > ColorTolerance || fabsf(a.w - b.w) > ColorTolerance;
}

/// Results: (a.left, a.top) twice when a and b do not overlap or either is
/// empty, else the overlap.
rectangle Intersect(const rectangle& a, const rectangle& b)
{
    if (a.v0.x >= b.v1.x || a.v1.x <= b.v0.x || a.v0.y >= b.v1.y || a.v1.y <= b.v0.y || a.area() <= 0.0f ||
        b.area() <= 0.0f)
    {
        return rectangle(a.v0, a.v0);
    }
    return rectangle(vector2(n_max(a.v0.x, b.v0.x), n_max(a.v0.y, b.v0.y)),
                     vector2(n_min(a.v1.x, b.v1.x), n_min(a.v1.y, b.v1.y)));
}

/// Results: the screen area the glyphs of a text drawn into r can cover.
/// The graphics server cuts them to r's pixels (edges truncated) and puts
/// them half a pixel up and left; unclipped text can go anywhere.
rectangle TextArea(const rectangle& r, uint flags, const nDisplayMode2& mode)
{
    if (flags & nFont2::NoClip) return rectangle(vector2(-FLT_MAX, -FLT_MAX), vector2(FLT_MAX, FLT_MAX));
    const double w = double(std::max(1, int(mode.GetWidth())));
    const double h = double(std::max(1, int(mode.GetHeight())));
    auto edge = [](float v, double size) { return float((std::trunc(double(v) * size) - 0.5) / size); };
    return rectangle(vector2(edge(r.v0.x, w), edge(r.v0.y, h)), vector2(edge(r.v1.x, w), edge(r.v1.y, h)));
}

/// whether a brush over r may cover pixels of text in area: edges closer
/// than a quarter pixel count as touching
bool Covers(const rectangle& r, const rectangle& area, const nDisplayMode2& mode)
{
    const float sx = 0.25f / float(std::max(1, int(mode.GetWidth())));
    const float sy = 0.25f / float(std::max(1, int(mode.GetHeight())));
    return r.v0.x < area.v1.x + sx && area.v0.x < r.v1.x + sx && r.v0.y < area.v1.y + sy && area.v0.y < r.v1.y + sy;
}

/// one GUI vertex: position (x, y, 0), normal (0, 0, 1), uv
float* PutVertex(float* p, float x, float y, float u, float v)
{
    p[0] = x;
    p[1] = y;
    p[2] = 0.0f;
    p[3] = 0.0f;
    p[4] = 0.0f;
    p[5] = 1.0f;
    p[6] = u;
    p[7] = v;
    return p + GuiVertexWidth;
}

}  // namespace

//--- drawing ----------------------------------------------------------------------------

void nGuiServer::PushClipRect(const rectangle& rect)
{
    if (!this->clipRectStack.empty() && rect.area() > 0.0f)
    {
        this->clipRectStack.push_back(Intersect(this->clipRectStack.back(), rect));
    }
    else
    {
        this->clipRectStack.push_back(rect);
    }
}

bool nGuiServer::GetClipRect(rectangle& rect) const
{
    if (this->clipRectStack.empty()) return false;
    rect = this->clipRectStack.back();
    return true;
}

void nGuiServer::MoveRectToVisibleArea(rectangle& rect)
{
    vector2 d(0.0f, 0.0f);
    if (rect.v0.x < 0.0f)
        d.x = -rect.v0.x;
    else if (rect.v1.x > 1.0f)
        d.x = 1.0f - rect.v1.x;
    if (rect.v0.y < 0.0f)
        d.y = -rect.v0.y;
    else if (rect.v1.y > 1.0f)
        d.y = 1.0f - rect.v1.y;
    rect.v0 += d;
    rect.v1 += d;
}

/*
 * SetBatchTexture --
 *     Side effects: the texture is the batch's and the effect's. Like an
 *     effect's texture it is held while the effect names it: the widget
 *     that drew it may release it before the next frame, whose passes
 *     upload every value of the effect again.
 */
void nGuiServer::SetBatchTexture(nTexture2* tex)
{
    this->curTexture = tex;
    nShader2* shader = this->refShader.get_unsafe();
    if (shader && shader->IsParameterUsed(nShaderState::DiffMap0))
    {
        shader->SetTexture(nShaderState::DiffMap0, tex);
        this->HoldTexture(tex);
    }
}

void nGuiServer::HoldTexture(nTexture2* tex)
{
    this->heldTexture.set(tex);
}

void nGuiServer::SetBatchColor(const vector4& c)
{
    this->curColor = c;
    nShader2* shader = this->refShader.get_unsafe();
    if (shader && shader->IsParameterUsed(nShaderState::MatDiffuse)) shader->SetVector4(nShaderState::MatDiffuse, c);
}

/*
 * DrawBrush --
 *     Side effects: draws the brush's texture rectangle over rect; an
 *     empty brush name draws nothing.
 */
void nGuiServer::DrawBrush(const rectangle& rect, nGuiBrush& brush)
{
    if (brush.GetName().IsEmpty()) return;
    nGuiResource* res = brush.GetGuiResource();
    // an unknown brush or a texture that does not load was reported: nothing to draw
    if (!res || (!res->IsValid() && !res->Load())) return;
    const rectangle uv = res->GetUvRect();
    this->DrawTexture(rect, uv, res->GetColor(), res->GetTexture());
}

/*
 * DrawTexture --
 *     Side effects: clips against the top clip rectangle (cutting the uvs
 *     in proportion); draws the kept text first when the quad may cover
 *     it, the batch when the texture or the colour (tolerance 0.001)
 *     changes or the buffer is full; appends the quad as two triangles.
 *     Outside Render (no buffer) nothing is drawn.
 */
void nGuiServer::DrawTexture(const rectangle& rect, const rectangle& uvRect, const vector4& color, nTexture2* tex)
{
    n_assert(tex);
    rectangle r = rect;
    rectangle u = uvRect;
    if (!this->clipRectStack.empty())
    {
        r = Intersect(this->clipRectStack.back(), rect);
        if (r.area() <= 0.0f) return;
        const float sx = rect.width() != 0.0f ? u.width() / rect.width() : 0.0f;
        const float sy = rect.height() != 0.0f ? u.height() / rect.height() : 0.0f;
        u.v0.x += (r.v0.x - rect.v0.x) * sx;
        u.v1.x += (r.v1.x - rect.v1.x) * sx;
        u.v0.y -= (r.v1.y - rect.v1.y) * sy;
        u.v1.y -= (r.v0.y - rect.v0.y) * sy;
    }
    if (!this->vertexPointer) return;
    if (this->textPending)
    {
        nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
        if (!gfx || Covers(r, this->textArea, gfx->GetDisplayMode()))
        {
            this->DrawPendingText();
            if (!this->vertexPointer) return;
        }
    }
    const vector4 c(color.x * this->globalColor.x, color.y * this->globalColor.y, color.z * this->globalColor.z,
                    color.w * this->globalColor.w);
    const bool newTexture = tex != this->curTexture;
    const bool newColor = ColorDiffers(c, this->curColor);
    if (newTexture || newColor || this->curVertex + 6 >= this->maxVertices)
    {
        this->DrawBrushBatch();
        if (!this->vertexPointer) return;
        if (newTexture) this->SetBatchTexture(tex);
        if (newColor) this->SetBatchColor(c);
    }
    const float x0 = r.v0.x - 0.5f;
    const float x1 = r.v1.x - 0.5f;
    const float y0 = -(r.v0.y - 0.5f);
    const float y1 = -(r.v1.y - 0.5f);
    const float ua = u.v0.x;
    const float ub = u.v1.x;
    const float va = 1.0f - u.v1.y;
    const float vb = 1.0f - u.v0.y;
    float* p = this->vertexPointer + this->curVertex * GuiVertexWidth;
    p = PutVertex(p, x0, y0, ua, va);
    p = PutVertex(p, x1, y0, ub, va);
    p = PutVertex(p, x1, y1, ub, vb);
    p = PutVertex(p, x0, y0, ua, va);
    p = PutVertex(p, x1, y1, ub, vb);
    PutVertex(p, x0, y1, ua, vb);
    this->curVertex += 6;
}

/*
 * DrawBrushBatch --
 *     Side effects: draws the vertices written so far and starts a new
 *     batch in fresh buffer memory.
 */
void nGuiServer::DrawBrushBatch()
{
    if (this->curVertex > 0 && this->vertexPointer)
    {
        this->dynMesh.Swap(this->curVertex, this->vertexPointer);
        this->curVertex = 0;
    }
    this->brushesUnderText = false;
}

/*
 * DrawPendingText --
 *     Side effects: the text kept in the graphics server is drawn, after
 *     the queued brushes when some of them came before it. Brushes queued
 *     after it cover none of it, so they may wait.
 */
void nGuiServer::DrawPendingText()
{
    if (!this->textPending) return;
    this->textPending = false;
    if (nGfxServer2* gfx = nGfxServer2::InstanceOrNull()) gfx->EndText();
}

void nGuiServer::FlushBrushes()
{
    this->DrawBrushBatch();
    this->DrawPendingText();
}

/*
 * DrawText --
 *     Side effects: the text, clipped to the top clip rectangle, its alpha
 *     times the global alpha, goes to the graphics server. In a pass the
 *     server keeps it with the pass's other texts, to draw them at once
 *     over the brushes queued before it (which it has the GUI draw first);
 *     its text batch gives the brushes drawn later their mesh and effect
 *     pass back.
 */
void nGuiServer::DrawText(const char* text, const vector4& color, const rectangle& rect, uint flags)
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !text) return;
    rectangle r = rect;
    if (!this->clipRectStack.empty()) r = Intersect(this->clipRectStack.back(), rect);
    if (this->vertexPointer)
    {
        if (this->curVertex > 0) this->brushesUnderText = true;
        const rectangle area = TextArea(r, flags, gfx->GetDisplayMode());
        if (!this->textPending)
        {
            gfx->BeginText([this]() {
                if (this->brushesUnderText) this->DrawBrushBatch();
            });
            this->textPending = true;
            this->textArea = area;
        }
        else
        {
            this->textArea.set(vector2(n_min(this->textArea.v0.x, area.v0.x), n_min(this->textArea.v0.y, area.v0.y)),
                               vector2(n_max(this->textArea.v1.x, area.v1.x), n_max(this->textArea.v1.y, area.v1.y)));
        }
    }
    vector4 c = color;
    c.w *= this->globalColor.w;
    gfx->DrawText(nString(text), c, r, flags);
}

/*
 * ComputeGuiTransform --
 *     Results: the model matrix that scales and moves the unit quad (x, y
 *     in -0.5..0.5) onto the screen, just in front of the near plane:
 *     screen points go through the inverse projection (affine part, no
 *     division), times the near distance, times 1.1.
 */
matrix44 nGuiServer::ComputeGuiTransform(const matrix44& projection, float nearPlane)
{
    matrix44 inv = projection;
    inv.invert();
    auto map = [&inv, nearPlane](float sx, float sy) {
        const float x = 2.0f * sx - 1.0f;
        const float y = 2.0f * sy - 1.0f;
        const float z = 1.0f;
        vector3 p(x * inv.m[0][0] + y * inv.m[1][0] + z * inv.m[2][0] + inv.m[3][0],
                  x * inv.m[0][1] + y * inv.m[1][1] + z * inv.m[2][1] + inv.m[3][1],
                  x * inv.m[0][2] + y * inv.m[1][2] + z * inv.m[2][2] + inv.m[3][2]);
        return p * (nearPlane * 1.1f);
    };
    const vector3 p0 = map(0.0f, 0.0f);
    const vector3 p1 = map(1.0f, 1.0f);
    matrix44 m;
    m.scale(p1 - p0);
    m.translate((p0 + p1) * 0.5f);
    return m;
}

bool nGuiServer::ValidateMesh()
{
    if (this->dynMesh.IsValid()) return true;
    return this->dynMesh.Initialize(nGfxServer2::TriangleList, GuiVertexComponents, 0, false, true);
}

/*
 * ValidateShader --
 *     Results: whether the GUI shader is loaded.
 *     Side effects: gets the shader "shaders:gui.fx" once and loads it.
 */
bool nGuiServer::ValidateShader()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return false;
    if (!this->refShader.isvalid())
    {
        nShader2* shader = gfx->NewShader(nullptr);
        if (!shader) return false;
        shader->SetFilename("shaders:gui.fx");
        this->refShader.set(shader);
    }
    if (!this->refShader->IsValid())
    {
        const bool guiShaderLoaded = this->refShader->Load();
        n_assert(guiShaderLoaded);
    }
    return true;
}

/*
 * Render --
 *     Side effects (only with a root window): per shader pass, the root
 *     window, the tooltip (hidden first when nobody asked for it this
 *     frame) and the drag box are drawn with identity view and the GUI
 *     model transform, the pass's kept text last; the tooltip request is
 *     cleared.
 */
void nGuiServer::Render()
{
    if (!this->refRootWindow.isvalid()) return;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !this->ValidateMesh() || !this->ValidateShader()) return;
    nShader2* shader = this->refShader.get();
    gfx->PushTransform(nGfxServer2::View, matrix44());
    gfx->PushTransform(nGfxServer2::Model, ComputeGuiTransform(gfx->GetTransform(nGfxServer2::Projection),
                                                               gfx->GetCamera().GetNearPlane()));
    gfx->SetShader(shader);
    const int numPasses = shader->Begin(false);
    for (int pass = 0; pass < numPasses; pass++)
    {
        shader->BeginPass(pass);
        this->curTexture = nullptr;
        this->curColor.set(0.0f, 0.0f, 0.0f, 0.0f);
        this->curVertex = 0;
        this->textPending = false;
        this->brushesUnderText = false;
        this->dynMesh.Begin(this->vertexPointer, this->maxVertices);
        if (this->refRootWindow.isvalid()) this->refRootWindow->Render();
        if (this->refToolTip.isvalid())
        {
            if (this->refToolTip->IsShown() && !this->toolTipSet) this->refToolTip->Hide();
            if (this->refToolTip.isvalid()) this->refToolTip->Render();
        }
        this->toolTipSet = false;
        if (this->refDragBox.isvalid()) this->refDragBox->Render();
        this->dynMesh.End(this->vertexPointer ? this->curVertex : 0);
        this->vertexPointer = nullptr;
        this->curVertex = 0;
        this->DrawPendingText();
        shader->EndPass();
    }
    shader->End();
    gfx->PopTransform(nGfxServer2::Model);
    gfx->PopTransform(nGfxServer2::View);
}
