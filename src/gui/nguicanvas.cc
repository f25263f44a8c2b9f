//------------------------------------------------------------------------------
//  nguicanvas.cc
//------------------------------------------------------------------------------
#include "gui/nguicanvas.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "gfx2/nfont2.h"
#include "gfx2/ngfxserver2.h"
#include "resource/nresourceserver.h"

namespace
{

/// the text flags Left and ExpandTabs of the graphics server
const uint LabelFlags = 0x8 | 0x80;

nFont2* FindFontResource(const char* name)
{
    nResourceServer* rs = nGuiServer::FindServer<nResourceServer>("/sys/servers/resource", "nresourceserver");
    return rs ? static_cast<nFont2*>(rs->FindResource(name, nResource::Font)) : nullptr;
}

}  // namespace

nGuiCanvas::nGuiCanvas() :
    inCurve(false),
    dirty(true),
    activeCurveId(-1),
    curveColor(0.0f, 0.0f, 0.0f, 0.0f),
    numUpdates(0)
{
}

nGuiCanvas::~nGuiCanvas()
{
}

void nGuiCanvas::BeginCurve(float r, float g, float b, float a)
{
    this->inCurve = true;
    this->activeCurveId = int(this->curves.size());
    this->curveColor = vector4(r, g, b, a);
}

/*
 * AddLineSegment --
 *     Results: false outside a curve.
 *     Side effects: the curve being defined (made at its first segment,
 *     with the colour BeginCurve gave) gets the segment.
 */
bool nGuiCanvas::AddLineSegment(const vector2& start, const vector2& delta)
{
    if (!this->inCurve || this->activeCurveId < 0) return false;
    if (int(this->curves.size()) <= this->activeCurveId)
    {
        this->curves.resize(this->activeCurveId + 1);
        this->curves[this->activeCurveId].color = this->curveColor;
    }
    this->curves[this->activeCurveId].segments.push_back({start, delta});
    return true;
}

void nGuiCanvas::EndCurve()
{
    n_assert(this->inCurve);
    n_assert2(this->activeCurveId >= 0, "this->activeCurveID >= 0");
    this->activeCurveId = -1;
    this->inCurve = false;
    this->dirty = true;
}

int nGuiCanvas::AddTextLabel(const char* text, const vector2& pos, const vector4& color, const char* font)
{
    TextLabel label;
    label.id = int(this->textLabels.size());
    label.color = color;
    label.pos = vector2(pos.x * this->rect.width(), pos.y * this->rect.height());
    label.text = text ? text : "";
    label.font = font ? font : "";
    this->textLabels.push_back(label);
    return label.id;
}

/*
 * GetTextLabelRect --
 *     Results: (position) to (position + text extent in the label's font);
 *     (0,0)-(0,0) with a message for an id that names no label (negative
 *     ones included).
 */
rectangle nGuiCanvas::GetTextLabelRect(int id)
{
    const rectangle empty(vector2(0.0f, 0.0f), vector2(0.0f, 0.0f));
    if (id < 0 || id >= int(this->textLabels.size()))
    {
        n_printf("textlabel with ID %d not found!\n", id);
        return empty;
    }
    const TextLabel& label = this->textLabels[id];
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return empty;
    nFont2* font = FindFontResource(label.font.Get());
    nFont2* previous = gfx->GetFont();
    if (font) gfx->SetFont(font);
    const vector2 extent = gfx->GetTextExtent(label.text);
    gfx->SetFont(previous);
    return rectangle(label.pos, label.pos + extent);
}

void nGuiCanvas::SetRect(const rectangle& r)
{
    nGuiWidget::SetRect(r);
    this->dirty = true;
}

void nGuiCanvas::OnObtainFocus()
{
    nGuiWidget::OnObtainFocus();
    this->dirty = true;
}

void nGuiCanvas::OnShow()
{
}

/*
 * Update --
 *     Side effects: rebuilds the pixel vertices (display size times screen
 *     position) and one run per curve that has segments: its segments'
 *     start points and the last one's end point. Without curves nothing is
 *     allocated. Clears the dirty flag.
 */
void nGuiCanvas::Update()
{
    if (!this->dirty)
    {
        n_printf("Canvas not dirty!\n");
        return;
    }
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return;
    const float W = float(gfx->GetDisplayMode().GetWidth());
    const float H = float(gfx->GetDisplayMode().GetHeight());
    const rectangle s = this->GetScreenSpaceRect();
    size_t count = 0;
    for (const Curve& curve : this->curves)
    {
        if (!curve.segments.empty()) count += curve.segments.size() + 1;
    }
    this->vertices.clear();
    this->vertices.shrink_to_fit();
    this->lineRuns.clear();
    if (count > 0) this->vertices.reserve(count);
    auto toPixel = [&](const vector2& p) {
        return vector2(p.x * s.width() * W + s.v0.x * W, p.y * s.height() * H + s.v0.y * H);
    };
    for (const Curve& curve : this->curves)
    {
        if (curve.segments.empty()) continue;
        this->lineRuns.push_back({int(this->vertices.size()), int(curve.segments.size()) + 1, curve.color});
        for (const Segment& seg : curve.segments) this->vertices.push_back(toPixel(seg.start));
        const Segment& last = curve.segments.back();
        this->vertices.push_back(toPixel(last.start + last.delta));
    }
    this->dirty = false;
    this->numUpdates++;
}

float nGuiCanvas::OwnerAlpha() const
{
    const nGuiWindow* owner = this->GetOwnerWindow();
    return owner ? owner->GetWindowColor().w : 1.0f;
}

void nGuiCanvas::RenderLabels(float alpha)
{
    nGuiServer* gui = nGuiServer::Instance();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return;
    const rectangle screen = this->GetScreenSpaceRect();
    for (const TextLabel& label : this->textLabels)
    {
        nFont2* font = FindFontResource(label.font.Get());
        n_assert2(font, "textfont");
        gfx->SetFont(font);
        const vector2 extent = gfx->GetTextExtent(label.text);
        const vector2 corner = screen.v0 + label.pos;
        vector4 c = label.color;
        c.w = alpha;
        gui->DrawText(label.text.Get(), c, rectangle(corner, corner + extent), LabelFlags);
    }
}

/*
 * RenderLines --
 *     Side effects: the brushes queued so far are drawn first, so the lines
 *     lie above the background; then one 2-D line strip per run.
 */
void nGuiCanvas::RenderLines(float alpha)
{
    if (this->lineRuns.empty()) return;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return;
    nGuiServer::Instance()->FlushBrushes();
    gfx->BeginLines();
    for (const LineRun& run : this->lineRuns)
    {
        vector4 c = run.color;
        c.w = alpha;
        gfx->DrawLines2d(&this->vertices[run.firstVertex], run.numVertices, c);
    }
    gfx->EndLines();
}

/*
 * Render --
 *     Side effects (shown canvases): the default brush, the labels, a
 *     rebuild when dirty, then the lines.
 */
void nGuiCanvas::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    const float alpha = this->OwnerAlpha();
    gui->DrawBrush(this->GetScreenSpaceRect(), this->defaultBrush);
    this->RenderLabels(alpha);
    if (this->dirty) this->Update();
    this->RenderLines(alpha);
}
