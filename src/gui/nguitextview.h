#ifndef N_GUITEXTVIEW_H
#define N_GUITEXTVIEW_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextView
    @ingroup Gui

    A list of coloured text lines with a vertical slider child "Slider"
    (class "nguislider2", made when shown and released when hidden),
    scrolling by the input states "ScrollUp" and "ScrollDown", and an
    optional selection. The view is a form layout that ties the slider to
    its top, right and bottom edges; its class is registered below
    "nguiwidget", so the layout's script commands are not the view's.
*/
#include "gui/nguiformlayout.h"
#include "gfx2/nfont2.h"
#include "util/narray.h"
#include "kernel/nstrongref.h"

class nGuiSlider2;

class nGuiTextView : public nGuiFormLayout
{
public:
    nGuiTextView();

    void OnShow() override;
    void OnHide() override;
    void OnFrame() override;
    void OnEvent(const nGuiEvent& event) override;
    bool OnButtonDown(const vector2& mousePos) override;
    void SetRect(const rectangle& r) override;
    void Render() override;

    virtual void BeginAppend();
    virtual void AppendLine(const char* text);
    virtual void AppendColoredLine(const char* text, const vector4& color);
    virtual int GetNumLines() const { return this->textArray.Size(); }
    void EndAppend();

    void SetFont(const char* name);
    const char* GetFont() const { return this->fontName.Get(); }
    /// the font resource, resolved now if needed; null when there is none
    nFont2* FindFont();
    void SetBorder(float b) { this->border = b; }
    float GetBorder() const { return this->border; }
    void SetTextColor(const vector4& c) { this->textColor = c; }
    const vector4& GetTextColor() const { return this->textColor; }
    void SetSelectionEnabled(bool b) { this->selectionEnabled = b; }
    bool GetSelectionEnabled() const { return this->selectionEnabled; }
    void SetSelectionIndex(int i) { this->selectionIndex = i; }
    int GetSelectionIndex() const { return this->selectionIndex; }
    /// first visible line, kept within 0..max(0, lines - visible lines)
    void SetFirstLine(int l);
    int GetFirstLine() const { return this->firstLine; }
    const char* GetLine(int i) const { return this->textArray[i].Get(); }
    const vector4& GetLineColor(int i) const { return this->colorArray[i]; }
    /// how many whole lines fit the view's height (0 without a usable line height)
    int GetNumVisibleLines();
    float GetLineHeight() const { return this->lineHeight; }
    /// set the resolved font on the graphics server
    void SetGfxFont();
    /// the slider child while shown, or null
    nGuiSlider2* GetSlider() const;

protected:
    ~nGuiTextView() override;

    /// the font resource (and the line height); fatal when there is none
    nFont2* ResolveFont();
    /// range, current value and visible range of the slider
    void UpdateSlider();
    /// show the slider only when not every line fits
    void UpdateSliderVisibility();

    nRef<nFont2> refFont;
    nStrongRef<nGuiSlider2> refSlider;
    nString fontName;
    float lineHeight;
    float border;
    vector4 textColor;
    nArray<nString> textArray;
    nArray<vector4> colorArray;
    bool selectionEnabled;
    int firstLine;
    int selectionIndex;
    /// the unknown font of fontName was reported
    bool fontReported = false;
};
#endif
