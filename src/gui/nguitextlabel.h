#ifndef N_GUITEXTLABEL_H
#define N_GUITEXTLABEL_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextLabel
    @ingroup Gui

    A label with a line of text in a font. The font resource is resolved on
    first use; a later SetFont only stores the name.
*/
#include "gui/nguilabel.h"
#include "gfx2/nfont2.h"

class nGuiTextLabel : public nGuiLabel
{
public:
    enum Alignment
    {
        Left = 0,
        Center = 1,
        Right = 2,
    };
    /// the graphics server's text flags
    enum
    {
        TextCenter = 0x4,
        TextLeft = 0x8,
        TextRight = 0x10,
        TextVCenter = 0x20,
        TextNoClip = 0x40,
        TextExpandTabs = 0x80,
    };

    nGuiTextLabel();

    void Render() override;
    virtual void SetText(const char* text);
    virtual const char* GetText() const;

    void SetFont(const char* name);
    const char* GetFont() const { return this->fontName.Get(); }
    void SetAlignment(int a) { this->alignment = a; }
    int GetAlignment() const { return this->alignment; }
    void SetColor(const vector4& c) { this->color = c; }
    const vector4& GetColor() const { return this->color; }
    void SetBlinkColor(const vector4& c) { this->blinkColor = c; }
    void SetPressedOffset(const vector2& o) { this->pressedOffset = o; }
    const vector2& GetPressedOffset() const { return this->pressedOffset; }
    void SetBorder(const vector2& b) { this->border = b; }
    const vector2& GetBorder() const { return this->border; }
    void SetClipping(bool b) { this->clipping = b; }
    bool GetClipping() const { return this->clipping; }
    void SetVCenter(bool b) { this->vCenter = b; }
    bool GetVCenter() const { return this->vCenter; }
    void SetInt(int i);
    /// the text read as a decimal integer, clamped to the int range; 0 for no number
    int GetInt() const;
    /// the text's size in this label's font
    vector2 GetTextExtent();
    /// the text as the label shows it: broken into lines, or shortened
    /// with "...", where it is too wide for the rectangle (see FitText)
    nString GetShownText();
    /// the font resource, resolved now if needed; null when there is none
    nFont2* FindFont();

protected:
    ~nGuiTextLabel() override;

    /// the font resource; null, reported once, when there is none
    nFont2* ResolveFont();
    /// the flags handed to DrawText
    uint TextFlags() const;
    /// draw the text (moved by the pressed offset when pressed)
    void RenderText(bool pressed);
    /// the rectangle the text is drawn into (inside the border)
    rectangle TextRect() const;
    /// the text fitted to the rectangle in the graphics server's current font
    const nString& FitText(const rectangle& r);

    nString fontName;
    nRef<nFont2> refFont;
    /// the unknown font was reported
    bool fontReported = false;
    nString text;
    vector4 color;
    vector4 blinkColor;
    vector2 pressedOffset;
    int alignment;
    vector2 border;
    bool clipping;
    bool vCenter;
    /// what FitText last made, and of what: the text, font, box and display
    struct Fitted
    {
        nString text;
        nString source;
        const nFont2* font = nullptr;
        vector2 size;
        int displayWidth = 0;
        int displayHeight = 0;
    } fitted;
};
#endif
