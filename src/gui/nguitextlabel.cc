//------------------------------------------------------------------------------
//  nguitextlabel.cc
//------------------------------------------------------------------------------
#include "gui/nguitextlabel.h"
#include "gui/nguiserver.h"
#include "gfx2/ngfxserver2.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

nGuiTextLabel::nGuiTextLabel() :
    fontName("GuiDefault"),
    color(1.0f, 1.0f, 1.0f, 1.0f),
    blinkColor(0.9f, 0.9f, 0.9f, 1.0f),
    pressedOffset(0.0015f, 0.0015f),
    alignment(Center),
    border(0.005f, 0.0f),
    clipping(true),
    vCenter(true)
{
}

nGuiTextLabel::~nGuiTextLabel()
{
}

void nGuiTextLabel::SetText(const char* str)
{
    n_assert(str);
    this->text = str;
}

const char* nGuiTextLabel::GetText() const
{
    return this->text.Get();
}

void nGuiTextLabel::SetFont(const char* name)
{
    n_assert(name);
    this->fontName = name;
    this->fontReported = false;
}

void nGuiTextLabel::SetInt(int i)
{
    char buf[32];
    snprintf(buf, sizeof(buf), "%d", i);
    this->SetText(buf);
}

/*
 * GetInt --
 *     Results: the text as a decimal integer (leading blanks and a sign
 *     allowed), clamped to the int range; 0 when it does not start with
 *     a number.
 */
int nGuiTextLabel::GetInt() const
{
    const char* str = this->GetText();
    if (!str) return 0;
    errno = 0;
    const long v = strtol(str, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

/*
 * FindFont --
 *     Results: the font resource named fontName (resolved once and kept),
 *     or null when the resource server has none.
 */
nFont2* nGuiTextLabel::FindFont()
{
    if (!this->refFont.isvalid())
    {
        nResourceServer* rs = nGuiServer::FindServer<nResourceServer>("/sys/servers/resource", "nresourceserver");
        nResource* res = rs ? rs->FindResource(this->fontName.Get(), nResource::Font) : nullptr;
        this->refFont.set(static_cast<nFont2*>(res));
    }
    return this->refFont.get_unsafe();
}

nFont2* nGuiTextLabel::ResolveFont()
{
    nFont2* font = this->FindFont();
    if (!font && !this->fontReported)
    {
        n_printf("nGuiTextLabel %s: Unknown font '%s'!\n", this->GetName(), this->fontName.Get());
        this->fontReported = true;
    }
    return font;
}

uint nGuiTextLabel::TextFlags() const
{
    uint flags = TextCenter;
    if (Left == this->alignment)
        flags = TextLeft;
    else if (Right == this->alignment)
        flags = TextRight;
    if (!this->clipping) flags |= TextNoClip;
    if (this->vCenter) flags |= TextVCenter;
    return flags;
}

/*
 * RenderText --
 *     Side effects: draws a non-empty text in the label's font inside the
 *     screen rectangle inset by the border; pressed text is moved by the
 *     pressed offset, and blinking text takes the blink colour in the last
 *     two thirds of each period.
 */
void nGuiTextLabel::RenderText(bool pressed)
{
    const char* str = this->GetText();
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!str || !str[0] || !gui || !gfx) return;
    // an unknown font was reported: no text
    nFont2* font = this->ResolveFont();
    if (!font) return;
    gfx->SetFont(font);
    rectangle r = this->TextRect();
    // a clipped text too wide for its rectangle is broken into lines or
    // shortened rather than cut at both edges
    const char* shown = this->clipping ? this->FitText(r).Get() : str;
    if (!shown) return;
    vector4 c = this->color;
    if (pressed)
    {
        r.v0 += this->pressedOffset;
        r.v1 += this->pressedOffset;
    }
    else if (this->blinking && this->blinkRate > 0.0 && fmod(GuiTime(), this->blinkRate) > this->blinkRate / 3.0)
    {
        c = this->blinkColor;
    }
    gui->DrawText(shown, c, r, this->TextFlags());
}

rectangle nGuiTextLabel::TextRect() const
{
    rectangle r = this->GetScreenSpaceRect();
    r.v0 += this->border;
    r.v1 -= this->border;
    return r;
}

/*
 * FitText --
 *     Results: the label's text as it fits r in the graphics server's
 *     current font, with a pixel to spare across (the drawn rectangle's
 *     edges are cut to whole pixels); kept until the text, the font, the
 *     box or the display changes.
 */
const nString& nGuiTextLabel::FitText(const rectangle& r)
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    const int w = std::max(1, int(gfx->GetDisplayMode().GetWidth()));
    const int h = std::max(1, int(gfx->GetDisplayMode().GetHeight()));
    const vector2 size(r.width() - 1.0f / float(w), r.height());
    Fitted& f = this->fitted;
    if (f.source != this->text || f.font != gfx->GetFont() || !(f.size == size) || f.displayWidth != w ||
        f.displayHeight != h)
    {
        f.source = this->text;
        f.font = gfx->GetFont();
        f.size = size;
        f.displayWidth = w;
        f.displayHeight = h;
        gfx->FitText(this->text, size, f.text);
    }
    return f.text;
}

/*
 * GetShownText --
 *     Results: the text as Render draws it into the current rectangle
 *     (the text itself without clipping); empty without a graphics
 *     server or font. The graphics server's current font is restored.
 */
nString nGuiTextLabel::GetShownText()
{
    nFont2* font = this->ResolveFont();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !font) return nString();
    if (!this->clipping) return this->text;
    nRef<nFont2> previous;
    previous.set(gfx->GetFont());
    gfx->SetFont(font);
    const nString shown = this->FitText(this->TextRect());
    gfx->SetFont(previous.get_unsafe());
    return shown;
}

void nGuiTextLabel::Render()
{
    if (!this->shown) return;
    nGuiLabel::Render();
    this->RenderText(false);
}

/*
 * GetTextExtent --
 *     Results: the size of the text in this label's font (the graphics
 *     server's current font is restored); (0, 0) without a graphics server.
 */
vector2 nGuiTextLabel::GetTextExtent()
{
    nFont2* font = this->ResolveFont();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !font) return vector2(0.0f, 0.0f);
    nRef<nFont2> previous;
    previous.set(gfx->GetFont());
    gfx->SetFont(font);
    const char* str = this->GetText();
    const vector2 extent = gfx->GetTextExtent(nString(str ? str : ""));
    gfx->SetFont(previous.get_unsafe());
    return extent;
}
