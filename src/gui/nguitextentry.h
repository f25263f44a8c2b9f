#ifndef N_GUITEXTENTRY_H
#define N_GUITEXTENTRY_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextEntry
    @ingroup Gui

    A one-line input field. A click activates it; typed characters go into
    its edit line; Return, Escape, a click elsewhere or hiding commit the
    text and fire the widget's command. The label's own text is not used:
    the entry's text is the edit line.
*/
#include "gui/neditline.h"
#include "gui/nguitextlabel.h"

#include <memory>

class nGuiTextEntry : public nGuiTextLabel
{
public:
    /// where the cursor goes on activation
    enum CursorPos
    {
        Start = 0,
        CenterPos = 1,
        End = 2,
    };
    /// the largest edit line a script may ask for
    static const int MaxLength = 65536;

    nGuiTextEntry();

    void SetText(const char* text) override;
    const char* GetText() const override;
    bool OnMouseMoved(const vector2& mousePos) override;
    bool OnButtonDown(const vector2& mousePos) override;
    bool OnChar(int chr) override;
    bool OnKeyDown(int key) override;
    void OnHide() override;
    void Render() override;

    void SetActive(bool b);
    bool GetActive() const { return this->active; }
    /// a new empty edit line of n bytes; n outside 1..MaxLength is refused
    /// with a message. Results: whether it was taken.
    bool SetMaxLength(int n);
    int GetMaxLength() const;
    void SetEmptyText(const char* text);
    const char* GetEmptyText() const { return this->emptyText.Get(); }
    void SetOverstrike(bool b);
    bool GetOverstrike() const { return this->overstrike; }
    void SetInitialCursorPos(int pos);
    int GetInitialCursorPos() const { return this->initialCursorPos; }
    void SetCursorBrush(const char* name) { this->cursorBrush.SetName(name); }
    const char* GetCursorBrush() const { return this->cursorBrush.GetName().Get(); }
    /// the edit line (for the cursor position)
    const nEditLine& GetEditLine() const { return *this->lineEditor; }
    /// the cursor's screen rectangle in the entry's font
    rectangle CursorRect();

protected:
    ~nGuiTextEntry() override;

    /// empty text gets the empty text, the command runs, the entry goes
    /// inactive. Results: false when the command deleted the entry.
    bool Commit();
    /// the text's width in the graphics server's current font
    static float Width(const char* text, int len);

    bool active;
    bool justActivated;
    std::unique_ptr<nEditLine> lineEditor;
    nString emptyText;
    nGuiBrush cursorBrush;
    bool overstrike;
    int initialCursorPos;
};
#endif
