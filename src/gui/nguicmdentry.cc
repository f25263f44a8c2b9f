//------------------------------------------------------------------------------
//  nguicmdentry.cc
//------------------------------------------------------------------------------
#include "gui/nguicmdentry.h"
#include "gui/nguikeys.h"
#include "kernel/nkernelserver.h"
#include "kernel/nlinebuffer.h"
#include "kernel/nloghandler.h"

#include <cstring>
#include <vector>

namespace
{

/// at most this many log lines are shown
const int MaxLogLines = 511;

}  // namespace

nGuiCmdEntry::nGuiCmdEntry() :
    refScriptServer("/sys/servers/script", "nscriptserver"),
    editLine(1024),
    ctrlDown(false),
    historyCursor(0),
    history(16, 16)
{
}

nGuiCmdEntry::~nGuiCmdEntry()
{
}

nRoot* nGuiCmdEntry::GetCwd() const
{
    return this->refCwd.isvalid() ? this->refCwd.get() : nKernelServer::Instance()->GetRoot();
}

nString nGuiCmdEntry::Prompt()
{
    if (!this->refScriptServer.isvalid()) return nString();
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this->GetCwd());
    nString prompt = this->refScriptServer->Prompt();
    ks->PopCwd();
    return prompt;
}

nString nGuiCmdEntry::PromptLine()
{
    nString line = this->Prompt();
    nString head;
    head.Set(this->editLine.GetContent(), this->editLine.GetCursorPos());
    line.Append(head);
    line.Append("|");
    line.Append(this->editLine.GetContent() + this->editLine.GetCursorPos());
    return line;
}

void nGuiCmdEntry::OnShow()
{
    this->refCwd.set(nKernelServer::Instance()->GetCwd());
    this->UpdateTabComplete();
    nGuiTextView::OnShow();
}

/*
 * AppendLogLines --
 *     Side effects: appends the newest non-empty lines of the log's line
 *     buffer, oldest first, one fewer than fit the view (at most 511).
 */
void nGuiCmdEntry::AppendLogLines()
{
    int n = this->GetNumVisibleLines() - 1;
    if (n <= 0) return;
    if (n > MaxLogLines) n = MaxLogLines;
    nLogHandler* log = nKernelServer::Instance()->GetLogHandler();
    const nLineBuffer* buf = log ? log->GetLineBuffer() : nullptr;
    if (!buf) return;
    std::vector<const char*> lines;
    int l = buf->GetTailLine();
    for (;;)
    {
        const char* text = buf->GetLine(l);
        if (text && text[0]) lines.push_back(text);
        if (l == buf->GetHeadLine() || int(lines.size()) >= n) break;
        l = (l + N_NUM_LINES - 1) % N_NUM_LINES;
    }
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) this->AppendLine(*it);
}

void nGuiCmdEntry::OnFrame()
{
    if (!this->shown) return;
    this->BeginAppend();
    this->AppendLogLines();
    if (this->focus) this->AppendLine(this->PromptLine().Get());
    this->EndAppend();
    nGuiTextView::OnFrame();
}

bool nGuiCmdEntry::OnChar(int chr)
{
    if (this->editLine.IsCharValid(chr))
    {
        this->editLine.InsertChar(chr);
        this->UpdateTabComplete();
    }
    return nGuiWidget::OnChar(chr);
}

/*
 * OnKeyDown --
 *     Results: true for the keys the entry takes (Tab and Ctrl only act).
 *     Side effects: edits the line, walks the history, completes a name or
 *     runs the line; the completion follows the word before the cursor.
 */
bool nGuiCmdEntry::OnKeyDown(int key)
{
    nEditLine& line = this->editLine;
    switch (key)
    {
        case nGuiKey::Back: line.Backspace(); break;
        case nGuiKey::Tab: this->DoTabComplete(); return false;
        case nGuiKey::Return:
            // a line that deleted this entry leaves nothing to update
            if (!this->Execute()) return true;
            break;
        case nGuiKey::Ctrl: this->ctrlDown = true; return false;
        case nGuiKey::End: line.CursorEnd(); break;
        case nGuiKey::Home: line.CursorHome(); break;
        case nGuiKey::Left:
            if (this->ctrlDown) line.WordLeft();
            else line.CursorLeft();
            break;
        case nGuiKey::Up: this->HistoryBack(); break;
        case nGuiKey::Right:
            if (this->ctrlDown) line.WordRight();
            else line.CursorRight();
            break;
        case nGuiKey::Down: this->HistoryForward(); break;
        case nGuiKey::Insert: line.ToggleOverstrike(); return true;
        case nGuiKey::Delete: line.Delete(); break;
        default: return false;
    }
    this->UpdateTabComplete();
    return true;
}

bool nGuiCmdEntry::OnKeyUp(int key)
{
    if (nGuiKey::Ctrl == key) this->ctrlDown = false;
    return false;
}

void nGuiCmdEntry::HistoryBack()
{
    if (0 == this->history.Size()) return;
    if (--this->historyCursor < 0) this->historyCursor = 0;
    this->editLine.SetContent(this->history[this->historyCursor].Get());
    this->editLine.CursorEnd();
}

void nGuiCmdEntry::HistoryForward()
{
    if (0 == this->history.Size()) return;
    const int last = this->history.Size() - 1;
    if (++this->historyCursor > last) this->historyCursor = last;
    this->editLine.SetContent(this->history[this->historyCursor].Get());
    this->editLine.CursorEnd();
}

/*
 * Execute --
 *     Side effects: logs the prompt and the line as text; runs the line in
 *     the entry's current object with fail-on-error cleared (an error is
 *     reported, never fatal) and logs a non-empty result; a non-empty line
 *     goes into the history; the line is emptied. A current object the
 *     line selected becomes the entry's; the kernel's is put back (or "/"
 *     when it died).
 *     Results: false when the line deleted the entry, which is gone then.
 */
bool nGuiCmdEntry::Execute()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRef<nRoot> previous(ks->GetCwd());
    nRoot* cwd = this->GetCwd();
    ks->SetCwd(cwd);
    nRef<nGuiCmdEntry> self(this);
    const nString text(this->editLine.GetContent());
    n_printf("%s%s\n", this->Prompt().Get(), text.Get());
    if (this->refScriptServer.isvalid())
    {
        // the line may delete the script server or this entry
        nRef<nScriptServer> script(this->refScriptServer.get());
        const bool failOnError = script->GetFailOnError();
        script->SetFailOnError(false);
        nString result;
        script->Run(text.Get(), result);
        if (script.isvalid()) script->SetFailOnError(failOnError);
        if (!result.IsEmpty()) n_printf("%s\n", result.Get());
    }
    nRoot* after = ks->GetCwd();
    ks->SetCwd(previous.isvalid() ? previous.get() : nullptr);
    if (!self.isvalid()) return false;
    if (!text.IsEmpty())
    {
        this->history.Append(text);
        this->historyCursor = this->history.Size();
    }
    this->editLine.Clear();
    if (after != cwd)
    {
        this->refCwd.set(after);
        this->UpdateTabComplete();
    }
    return true;
}

/*
 * UpdateTabComplete --
 *     Side effects: the word before the cursor is split at its last "/":
 *     the part after it becomes the prefix, and the children of the object
 *     the part before it names (relative to the entry's current object)
 *     the candidates; a name that resolves to nothing gives none.
 */
void nGuiCmdEntry::UpdateTabComplete()
{
    const char* text = this->editLine.GetContent();
    const int cursor = this->editLine.GetCursorPos();
    int start = cursor;
    while (start > 0 && ' ' != text[start - 1]) start--;
    int slash = cursor;
    while (slash > start && '/' != text[slash - 1]) slash--;
    nString prefix;
    prefix.Set(text + slash, cursor - slash);
    nString dir;
    dir.Set(text + start, slash - start);
    this->tabComplete.SetPrefix(prefix);
    this->tabComplete.Clear();

    nKernelServer* ks = nKernelServer::Instance();
    nRoot* obj = this->GetCwd();
    if (!dir.IsEmpty())
    {
        ks->PushCwd(obj);
        obj = ks->Lookup(dir.Get());
        ks->PopCwd();
    }
    if (!obj) return;
    for (nRoot* child = obj->GetHead(); child; child = child->GetSucc())
    {
        if (child->GetName() && child->GetName()[0]) this->tabComplete.AddCandidate(nString(child->GetName()));
    }
}

/*
 * DoTabComplete --
 *     Side effects: the partial name before the cursor is replaced by the
 *     next matching child name; repeated Tabs cycle through the matches.
 */
void nGuiCmdEntry::DoTabComplete()
{
    const nString next = this->tabComplete.GetNext();
    if (next.IsEmpty()) return;
    this->editLine.DeleteLeftToSeparators(" /");
    this->editLine.InsertString(next.Get());
}
