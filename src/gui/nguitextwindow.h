#ifndef N_GUITEXTWINDOW_H
#define N_GUITEXTWINDOW_H
//------------------------------------------------------------------------------
/**
    @class nGuiTextWindow
    @ingroup Gui

    A client window that shows a text file in a text view (class
    "nguitextview", driven through its script commands) above a Close
    button. No file name shows "No filename!"; a file that cannot be opened
    shows the error line instead of its text.
*/
#include "gui/nguiclientwindow.h"
#include "kernel/nstrongref.h"

class nGuiTextWindow : public nGuiClientWindow
{
public:
    nGuiTextWindow();

    void OnShow() override;
    void OnHide() override;
    void OnEvent(const nGuiEvent& event) override;

    void SetTextFile(const char* name) { this->textFile = name ? name : ""; }
    const char* GetTextFile() const { return this->textFile.Get(); }
    /// the text view (null while hidden or when its class is missing)
    nGuiWidget* GetTextView() const { return this->refTextView.get_unsafe(); }

protected:
    ~nGuiTextWindow() override;

private:
    /// build the Close button and the text view inside the layout
    void CreateContent(nGuiFormLayout* layout);
    /// fill the text view with the file's lines (or the error line)
    void LoadText();
    /// run a command of the text view by its prototype; false when it has none
    bool CallView(const char* protoDef, const char* arg);

    nString textFile;
    nStrongRef<nGuiWidget> refTextView;
    nStrongRef<nGuiTextButton> refCloseButton;
};
#endif
