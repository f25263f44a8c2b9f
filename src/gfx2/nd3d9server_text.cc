//------------------------------------------------------------------------------
//  nd3d9server_text.cc
//  Fonts, immediate text and the queued text of the Direct3D 9 server.
//------------------------------------------------------------------------------
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9font.h"
#include "gfx2/nd3d9text.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cmath>

namespace
{

/// trunc(size x relative), kept to a range that stays an int
int ToPixels(float relative, int size)
{
    const double d = double(relative) * double(size);
    return std::isfinite(d) ? int(std::clamp(std::trunc(d), -1e8, 1e8)) : 0;
}

/// the layout format of the server's text flags (WordBreak is done on the text)
int LayoutFormat(uint flags)
{
    int format = 0;
    if (flags & nFont2::Bottom) format |= nTextLayout::Bottom;
    if (flags & nFont2::Center) format |= nTextLayout::Center;
    if (flags & nFont2::Right) format |= nTextLayout::Right;
    if (flags & nFont2::VCenter) format |= nTextLayout::VCenter;
    if (flags & nFont2::NoClip) format |= nTextLayout::NoClip;
    if (flags & nFont2::ExpandTabs) format |= nTextLayout::ExpandTabs;
    return format;
}

/// the code points of a text
std::vector<uint32_t> Decode(const nString& text)
{
    std::vector<uint32_t> cps;
    const char* s = text.IsEmpty() ? "" : text.Get();
    nTextLayout::Decode(s, strlen(s), cps);
    return cps;
}

}  // namespace

nPlatformFontRegistry& nD3D9Server::GetFontRegistry()
{
    return this->text->fontRegistry;
}

int nD3D9Server::GetNumTextNodes() const
{
    return int(this->text->textNodes.size());
}

/*
 * OnTextDeviceLost --
 *     Side effects: the text batch gives up its effect and device
 *     objects; queued text is dropped.
 */
void nD3D9Server::OnTextDeviceLost()
{
    this->text->batch.Release();
    this->text->textNodes.clear();
}

/*
 * NewFont --
 *     Results: the font resource of that name (made when new) with the
 *     description set, one more reference; null without a resource server
 *     or when an object of another class holds the font's pooled name.
 */
nFont2* nD3D9Server::NewFont(const char* rsrcName, const nFontDesc& fontDesc)
{
    nResourceServer* rs = this->ResourceServer();
    nFont2* font = rs ? static_cast<nFont2*>(rs->NewResource("nd3d9font", rsrcName, nResource::Font)) : nullptr;
    if (!font)
    {
        // no server, or a script's object holds the pooled name (reported there)
        return nullptr;
    }
    font->SetFontDesc(fontDesc);
    return font;
}

/*
 * DrawText --
 *     Side effects: the text is drawn in the current font (loaded first
 *     when needed) into the rectangle (relative to the display, y down),
 *     aligned by the flags, wrapped at spaces with WordBreak; between
 *     BeginText and EndText its glyphs join those of the texts before it.
 *     Without a current font, with an empty text, a font that does not
 *     load or outside a scene, nothing is drawn.
 */
void nD3D9Server::DrawText(const nString& str, const vector4& color, const rectangle& rect, uint flags)
{
    nD3D9Font* font = dynamic_cast<nD3D9Font*>(this->GetFont());
    if (!font || str.IsEmpty())
    {
        return;
    }
    if (!font->IsLoaded() && !font->Load())
    {
        return;
    }
    const int width = this->GetDisplayMode().GetWidth();
    const int height = this->GetDisplayMode().GetHeight();
    nTextRect pixels;
    pixels.left = ToPixels(rect.v0.x, width);
    pixels.top = ToPixels(rect.v0.y, height);
    pixels.right = ToPixels(rect.v1.x, width);
    pixels.bottom = ToPixels(rect.v1.y, height);

    nString wrapped;
    if (flags & nFont2::WordBreak)
    {
        this->BreakLines(str, rect, wrapped);
    }
    const std::vector<uint32_t> cps = Decode((flags & nFont2::WordBreak) ? wrapped : str);
    nD3D9TextBatch& batch = this->text->batch;
    const uint32_t argb = PackColor(color.x, color.y, color.z, color.w);
    if (batch.IsBegun())
    {
        font->DrawText(&batch, cps, pixels, LayoutFormat(flags), argb);
    }
    else if (batch.Begin())
    {
        font->DrawText(&batch, cps, pixels, LayoutFormat(flags), argb);
        batch.End();
    }
}

/*
 * BeginText --
 *     Side effects: text kept from an earlier BeginText is drawn; the
 *     batch then gathers the glyphs of the DrawText calls until EndText
 *     (or the end of the scene), drawing them only when it is full, the
 *     atlas texture changes or a font's atlas starts over, beforeDraw
 *     running first each time. Outside a scene nothing is kept.
 */
void nD3D9Server::BeginText(std::function<void()> beforeDraw)
{
    nD3D9TextBatch& batch = this->text->batch;
    batch.End();
    if (batch.Begin())
    {
        batch.SetBeforeDraw(std::move(beforeDraw));
    }
}

void nD3D9Server::EndText()
{
    this->text->batch.End();
}

/*
 * GetTextExtent --
 *     Results: the size of the text in the current font relative to the
 *     display: the width of its widest line, measured with a "." appended
 *     to every line less the width of the "." (so that trailing blanks
 *     count), and the height of all its lines; (0, 0) without a current
 *     font or when it does not load.
 */
vector2 nD3D9Server::GetTextExtent(const nString& str)
{
    nD3D9Font* font = dynamic_cast<nD3D9Font*>(this->GetFont());
    if (!font || (!font->IsLoaded() && !font->Load()))
    {
        return vector2(0.0f, 0.0f);
    }
    const int format = nTextLayout::CalcRect | nTextLayout::NoClip;
    nTextRect dotRect;
    font->DrawText(nullptr, Decode(nString(".")), dotRect, format, 0);
    // every line gets its dot, so that the widest line is measured whole
    // whichever line it is
    const std::vector<uint32_t> plain = Decode(str);
    std::vector<uint32_t> cps;
    cps.reserve(plain.size() + 8);
    for (size_t i = 0; i < plain.size(); i++)
    {
        const bool crlf = '\n' == plain[i] && i > 0 && '\r' == plain[i - 1];
        if (('\r' == plain[i] || '\n' == plain[i]) && !crlf)
        {
            cps.push_back('.');
        }
        cps.push_back(plain[i]);
    }
    cps.push_back('.');
    nTextRect textRect;
    font->DrawText(nullptr, cps, textRect, format, 0);
    const int width = std::max(1, int(this->GetDisplayMode().GetWidth()));
    const int height = std::max(1, int(this->GetDisplayMode().GetHeight()));
    const int textWidth = (textRect.right - textRect.left) - (dotRect.right - dotRect.left);
    return vector2(float(textWidth) / float(width), float(textRect.bottom - textRect.top) / float(height));
}

void nD3D9Server::AddText(const nString& str, const vector4& color, float xPos, float yPos)
{
    nD3D9TextNode node;
    node.text = str;
    node.color = color;
    node.x = xPos;
    node.y = yPos;
    this->text->textNodes.push_back(node);
}

/*
 * DrawTextBuffer --
 *     Side effects: every queued text is drawn in the default font on a
 *     single line without clipping, first its shadow (black with the
 *     text's alpha) one pixel right and down, then the text; the queue is
 *     emptied. Text kept since BeginText is drawn and the current mesh
 *     unset first.
 */
void nD3D9Server::DrawTextBuffer()
{
    std::vector<nD3D9TextNode>& nodes = this->text->textNodes;
    if (nodes.empty())
    {
        return;
    }
    n_assert(this->IsDeviceOpen());
    // text kept since BeginText was drawn before the queue
    this->EndText();
    this->SetMesh(nullptr);
    nD3D9Font* font = dynamic_cast<nD3D9Font*>(this->refDefaultFont.get_unsafe());
    nD3D9TextBatch& batch = this->text->batch;
    if (font && font->IsLoaded() && batch.Begin())
    {
        const int width = this->GetDisplayMode().GetWidth();
        const int height = this->GetDisplayMode().GetHeight();
        const int format = nTextLayout::NoClip | nTextLayout::SingleLine;
        for (const nD3D9TextNode& node : nodes)
        {
            const std::vector<uint32_t> cps = Decode(node.text);
            nTextRect r;
            r.left = ToPixels((node.x + 1.0f) * 0.5f, width) + 1;
            r.top = ToPixels((node.y + 1.0f) * 0.5f, height) + 1;
            r.right = width;
            r.bottom = height;
            font->DrawText(&batch, cps, r, format, PackColor(0.0f, 0.0f, 0.0f, node.color.w));
            r.left--;
            r.top--;
            font->DrawText(&batch, cps, r, format, PackColor(node.color.x, node.color.y, node.color.z, node.color.w));
        }
        batch.End();
    }
    nodes.clear();
}
