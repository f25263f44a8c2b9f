//------------------------------------------------------------------------------
//  nguitextentry.cc
//------------------------------------------------------------------------------
#include "gui/nguitextentry.h"
#include "gui/nguikeys.h"
#include "gui/nguiserver.h"
#include "gfx2/ngfxserver2.h"

nGuiTextEntry::nGuiTextEntry() :
    active(false),
    justActivated(false),
    lineEditor(new nEditLine(48)),
    overstrike(false),
    initialCursorPos(End)
{
}

nGuiTextEntry::~nGuiTextEntry()
{
}

void nGuiTextEntry::SetText(const char* str)
{
    n_assert(str);
    this->lineEditor->SetContent(str);
}

const char* nGuiTextEntry::GetText() const
{
    const char* content = this->lineEditor->GetContent();
    n_assert(content);
    return content;
}

/*
 * SetMaxLength --
 *     Results: whether n was taken.
 *     Side effects: a new, empty edit line of n bytes (n - 1 characters)
 *     with the entry's overstrike flag; the text is lost. A size below 1
 *     or above MaxLength is refused with a message and changes nothing.
 */
bool nGuiTextEntry::SetMaxLength(int n)
{
    if (n < 1 || n > MaxLength)
    {
        n_printf("nGuiTextEntry %s: maximum length %d is not within 1..%d\n", this->GetName(), n, MaxLength);
        return false;
    }
    this->lineEditor.reset(new nEditLine(n));
    this->lineEditor->SetOverstrike(this->overstrike);
    return true;
}

int nGuiTextEntry::GetMaxLength() const
{
    n_assert(this->lineEditor);
    return this->lineEditor->GetSize();
}

void nGuiTextEntry::SetEmptyText(const char* str)
{
    n_assert(str);
    this->emptyText = str;
}

void nGuiTextEntry::SetOverstrike(bool b)
{
    this->overstrike = b;
    this->lineEditor->SetOverstrike(b);
}

void nGuiTextEntry::SetInitialCursorPos(int pos)
{
    n_assert(pos != CenterPos);
    this->initialCursorPos = pos;
}

/*
 * SetActive --
 *     Side effects: activating puts the cursor at the start or the end and
 *     marks the frame of activation, in which Return and Escape are not
 *     taken; deactivating only clears the flag.
 */
void nGuiTextEntry::SetActive(bool b)
{
    if (!b)
    {
        this->active = false;
        return;
    }
    if (this->active) return;
    this->active = true;
    this->justActivated = true;
    switch (this->initialCursorPos)
    {
        case Start: this->lineEditor->CursorHome(); break;
        case End: this->lineEditor->CursorEnd(); break;
        default: n_error("Invalid initialCursorPos: %d", this->initialCursorPos);
    }
}

bool nGuiTextEntry::Commit()
{
    if (0 == this->lineEditor->GetLength()) this->lineEditor->SetContent(this->emptyText.Get());
    nRef<nGuiTextEntry> self(this);
    this->OnAction();
    if (!self.isvalid()) return false;
    this->SetActive(false);
    return true;
}

bool nGuiTextEntry::OnMouseMoved(const vector2& mousePos)
{
    this->mouseOver = this->Inside(mousePos);
    return nGuiWidget::OnMouseMoved(mousePos);
}

/*
 * OnButtonDown --
 *     Results: always false, so a click never ends the parent's search.
 *     Side effects: a click over the entry activates it; a click elsewhere
 *     commits an active entry.
 */
bool nGuiTextEntry::OnButtonDown(const vector2& /*mousePos*/)
{
    if (this->mouseOver)
        this->SetActive(true);
    else if (this->active)
        this->Commit();
    return false;
}

bool nGuiTextEntry::OnChar(int chr)
{
    if (this->active) this->lineEditor->InsertChar(chr);
    return false;
}

/*
 * OnKeyDown --
 *     Results: true for the editing keys of an active entry.
 *     Side effects: edits the line; Return and Escape commit, except in
 *     the frame of activation.
 */
bool nGuiTextEntry::OnKeyDown(int key)
{
    n_assert(this->lineEditor);
    if (!this->active) return false;
    nEditLine& line = *this->lineEditor;
    switch (key)
    {
        case nGuiKey::Back: line.Backspace(); return true;
        case nGuiKey::Return:
        case nGuiKey::Escape:
            if (this->justActivated) return false;
            this->Commit();
            return true;
        case nGuiKey::End: line.CursorEnd(); return true;
        case nGuiKey::Home: line.CursorHome(); return true;
        case nGuiKey::Left: line.CursorLeft(); return true;
        case nGuiKey::Right: line.CursorRight(); return true;
        case nGuiKey::Insert: line.ToggleOverstrike(); return true;
        case nGuiKey::Delete: line.Delete(); return true;
        default: return false;
    }
}

void nGuiTextEntry::OnHide()
{
    if (this->active) this->Commit();
}

float nGuiTextEntry::Width(const char* text, int len)
{
    nString s;
    s.Set(text, len);
    return nGfxServer2::Instance()->GetTextExtent(s).x;
}

/*
 * CursorRect --
 *     Results: the cursor's screen rectangle: as wide and high as the
 *     character under it (a space at the end; a zero width becomes 0.005),
 *     centred vertically, placed after the text before the cursor as the
 *     alignment lays the text out. The graphics server must have the
 *     entry's font set.
 */
rectangle nGuiTextEntry::CursorRect()
{
    rectangle r = this->GetScreenSpaceRect();
    r.v0 += this->border;
    r.v1 -= this->border;
    const char* text = this->GetText();
    const int len = this->lineEditor->GetLength();
    const int pos = this->lineEditor->GetCursorPos() < len ? this->lineEditor->GetCursorPos() : len;
    nString under(" ");
    if (pos < len) under.Set(text + pos, 1);
    const vector2 ext = nGfxServer2::Instance()->GetTextExtent(under);
    const float w = ext.x > 0.0f ? ext.x : 0.005f;
    float x;
    if (Left == this->alignment)
        x = r.v0.x + Width(text, pos);
    else if (Center == this->alignment)
        x = r.v0.x + (r.width() - Width(text, len)) * 0.5f + Width(text, pos);
    else
        x = r.v1.x - Width(text + pos, len - pos);
    const float top = r.v0.y;
    const float hr = r.height();
    return rectangle(vector2(x, top + (hr - ext.y) * 0.5f), vector2(x + w, top + (hr + ext.y) * 0.5f));
}

/*
 * Render --
 *     Side effects: ends the frame of activation; draws the brush (pressed
 *     while active, highlight under the mouse), the cursor while active
 *     (only in the on half of the blink period when blinking) and the text.
 */
void nGuiTextEntry::Render()
{
    this->justActivated = false;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!this->shown || !gui || !gfx) return;
    nGuiBrush& brush = this->active ? this->pressedBrush : (this->mouseOver ? this->highlightBrush : this->defaultBrush);
    gui->DrawBrush(this->GetScreenSpaceRect(), brush);
    // an unknown font was reported: the box without text
    nFont2* font = this->ResolveFont();
    if (!font) return;
    gfx->SetFont(font);
    if (this->active && (!this->blinking || this->IsBlinkPhaseOn()))
    {
        gui->DrawBrush(this->CursorRect(), this->cursorBrush);
    }
    uint flags = TextVCenter;
    flags |= Left == this->alignment ? TextLeft : (Center == this->alignment ? TextCenter : TextRight);
    rectangle r = this->GetScreenSpaceRect();
    r.v0 += this->border;
    r.v1 -= this->border;
    const char* text = this->GetText();
    if (text[0]) gui->DrawText(text, this->color, r, flags);
}
