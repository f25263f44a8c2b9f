#ifndef N_GUICMDENTRY_H
#define N_GUICMDENTRY_H
//------------------------------------------------------------------------------
/**
    @class nGuiCmdEntry
    @ingroup Gui

    An on-screen script console on a text view: the newest log lines and,
    while focused, a prompt line. Typed lines run through the script server
    with fail-on-error cleared, in the entry's own current object (which a
    "sel" changes); lines go into a history; Tab completes the names of
    the children of the object the word before the cursor points to. A
    current object that dies makes the entry work in "/".
*/
#include "gui/neditline.h"
#include "gui/nguitextview.h"
#include "gui/ntabcomplete.h"
#include "kernel/nautoref.h"
#include "kernel/nscriptserver.h"

class nGuiCmdEntry : public nGuiTextView
{
public:
    nGuiCmdEntry();

    void OnShow() override;
    void OnFrame() override;
    bool OnChar(int chr) override;
    bool OnKeyDown(int key) override;
    bool OnKeyUp(int key) override;

    const nEditLine& GetEditLine() const { return this->editLine; }
    /// the entry's current object ("/" when it died)
    nRoot* GetCwd() const;
    int GetHistorySize() const { return this->history.Size(); }
    /// run the edit line and clear it; false when the line deleted the entry (do not touch it then)
    bool Execute();
    /// the prompt, the text before the cursor, "|" and the rest
    nString PromptLine();

protected:
    ~nGuiCmdEntry() override;

    void AppendLogLines();
    void HistoryBack();
    void HistoryForward();
    void UpdateTabComplete();
    void DoTabComplete();
    /// the script server's prompt in the entry's current object
    nString Prompt();

    nAutoRef<nScriptServer> refScriptServer;
    nEditLine editLine;
    bool ctrlDown;
    int historyCursor;
    nArray<nString> history;
    nRef<nRoot> refCwd;
    nTabComplete tabComplete;
};
#endif
