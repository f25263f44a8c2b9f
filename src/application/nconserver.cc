//------------------------------------------------------------------------------
//  nconserver.cc
//------------------------------------------------------------------------------
#include "application/nconserver.h"
#include "gfx2/nfont2.h"
#include "gfx2/ngfxserver2.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nref.h"
#include "kernel/nscriptserver.h"
#include "mathlib/vector.h"
#include "util/nutf8.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

nConServer* nConServer::Singleton = nullptr;

namespace
{

/// the key codes the console edits with
enum ConsoleKey
{
    KeyBack = 4,
    KeyReturn = 6,
    KeyCtrl = 8,
    KeyEnd = 16,
    KeyHome = 17,
    KeyLeft = 18,
    KeyUp = 19,
    KeyRight = 20,
    KeyDown = 21,
    KeyInsert = 26,
    KeyDelete = 27,
};

/// the codes whose key events the open console takes: editing keys,
/// digits, letters and the number pad; the rest stay with the mappings
bool InKeyTable(int key)
{
    switch (key)
    {
        case 4: case 6: case 7: case 8: case 13: case 16: case 17: case 18: case 19: case 20: case 21:
        case 26: case 27:
            return true;
        default:
            return (key >= 29 && key <= 64) || (key >= 68 && key <= 83);
    }
}

/// the font height the console lays its rows out with
const int FontHeight = 16;
/// at most this many log lines are collected for the view
const int MaxLogLines = 512;
/// at most this many characters of a log line are drawn
const int MaxDrawnChars = 1020;

const vector4 ConsoleColour(1.0f, 0.69f, 0.43f, 1.0f);
const vector4 WatcherColour(0.43f, 0.69f, 1.0f, 1.0f);
/// under the console's rows: dark enough for its orange text to stand out
/// against any picture of the game
const vector4 BackdropColour(0.06f, 0.05f, 0.08f, 1.0f);

/// the non-empty lines of a line buffer, newest first, at most max. The
/// buffer cuts a longer line into full buffer lines; those pieces are
/// joined again (a full line followed by an empty one was whole: its
/// newline came after it)
std::vector<std::string> NewestLines(const nLineBuffer& buf, int max)
{
    std::vector<const char*> raw;
    int l = buf.GetTailLine();
    for (;;)
    {
        const char* text = buf.GetLine(l);
        raw.push_back(text ? text : "");
        if (l == buf.GetHeadLine()) break;
        l = (l + N_NUM_LINES - 1) % N_NUM_LINES;
    }
    std::vector<std::string> lines;
    bool continued = false;
    for (auto it = raw.rbegin(); it != raw.rend(); ++it)
    {
        const size_t length = strlen(*it);
        if (continued && length > 0)
        {
            lines.back() += *it;
        }
        else if (length > 0)
        {
            lines.emplace_back(*it);
        }
        continued = length >= size_t(N_LINE_LEN - 1);
    }
    std::reverse(lines.begin(), lines.end());
    if (int(lines.size()) > max) lines.resize(size_t(max));
    return lines;
}

}  // namespace

/*
 * nConServer --
 *     Side effects: becomes the singleton; looks up the class "nenv" the
 *     watchers list.
 */
nConServer::nConServer() :
    refInputServer("/sys/servers/input", "ninputserver"),
    refScriptServer("/sys/servers/script", "nscriptserver"),
    envClass(nullptr),
    consoleOpen(false),
    watchersOpen(false),
    historyCursor(0),
    cursorPos(0),
    overwrite(false),
    ctrlDown(false),
    scrollOffset(0)
{
    n_assert(0 == Singleton);
    Singleton = this;
    this->envClass = kernelServer->FindClass("nenv");
    n_assert(this->envClass);
    memset(this->editLine, 0, sizeof(this->editLine));
}

nConServer::~nConServer()
{
    n_assert(Singleton);
    Singleton = nullptr;
}

void nConServer::Watch(const char* pattern)
{
    this->watchPattern = pattern;
    this->watchersOpen = true;
}

int nConServer::LineLength() const
{
    return int(strlen(this->editLine));
}

/*
 * Trigger --
 *     Side effects: while the console is open, every event of the frame
 *     that EditLine uses is marked handled, so the mappings skip it.
 */
void nConServer::Trigger()
{
    if (!this->consoleOpen || !this->refInputServer.isvalid()) return;
    nInputServer* input = this->refInputServer.get();
    for (nInputEvent* e = input->FirstEvent(); e; e = input->NextEvent(e))
    {
        if (this->EditLine(e)) e->SetHandled();
    }
}

/*
 * EditLine --
 *     Results: true when the event was a printable character or a key of
 *     the console's key table.
 *     Side effects: edits the line, moves the cursor, walks the history,
 *     scrolls the view or runs the line, by the key.
 */
bool nConServer::EditLine(const nInputEvent* e)
{
    switch (e->GetType())
    {
        case N_INPUT_KEY_CHAR:
            if (e->GetChar() < 32 || (e->GetChar() >= 127 && e->GetChar() <= 159)) return false;
            this->InsertChar(e->GetChar());
            return true;
        case N_INPUT_KEY_UP:
            if (e->GetKey() == KeyCtrl) this->ctrlDown = false;
            return InKeyTable(e->GetKey());
        case N_INPUT_KEY_DOWN:
            break;
        default:
            return false;
    }
    const int len = this->LineLength();
    switch (e->GetKey())
    {
        case KeyBack: this->Backspace(); break;
        case KeyReturn: this->Execute(); break;
        case KeyCtrl: this->ctrlDown = true; break;
        case KeyEnd: this->cursorPos = len; break;
        case KeyHome: this->cursorPos = 0; break;
        case KeyLeft:
            if (this->ctrlDown) this->WordLeft();
            else this->cursorPos = nUtf8::PrevChar(this->editLine, this->cursorPos);
            break;
        case KeyUp:
            if (this->ctrlDown) this->scrollOffset++;
            else this->HistoryUp();
            break;
        case KeyRight:
            if (this->ctrlDown) this->WordRight();
            else this->cursorPos = nUtf8::NextChar(this->editLine, len, this->cursorPos);
            break;
        case KeyDown:
            // scrolling below the newest line would only hide lines
            if (this->ctrlDown) this->scrollOffset = this->scrollOffset > 0 ? this->scrollOffset - 1 : 0;
            else this->HistoryDown();
            break;
        case KeyInsert: this->overwrite = !this->overwrite; break;
        case KeyDelete: this->DeleteChar(); break;
        default: break;
    }
    return InKeyTable(e->GetKey());
}

/*
 * InsertChar --
 *     Side effects: puts the character of code c at the cursor in its
 *     UTF-8 form (the text renderer's) and advances past it. Inserting
 *     pushes the rest of the line right, dropping whole characters that
 *     would pass the last byte; overwriting replaces the character at the
 *     cursor or extends the line at its end. A character that does not fit
 *     before the last byte is dropped. The line always stays terminated
 *     within its 512 bytes.
 */
void nConServer::InsertChar(int c)
{
    const int last = LineSize - 1;
    char bytes[4];
    const int n = nUtf8::Encode(c, bytes);
    if (n <= 0 || this->cursorPos + n > last) return;
    const int len = this->LineLength();
    const int replaced = this->overwrite ? nUtf8::NextChar(this->editLine, len, this->cursorPos) - this->cursorPos : 0;
    std::string line(this->editLine, size_t(len));
    line.replace(size_t(this->cursorPos), size_t(replaced), bytes, size_t(n));
    if (int(line.size()) > last) line.resize(size_t(nUtf8::CutLength(line.c_str(), last)));
    memcpy(this->editLine, line.c_str(), line.size() + 1);
    this->cursorPos += n;
}

void nConServer::Backspace()
{
    if (this->cursorPos > 0)
    {
        this->cursorPos = nUtf8::PrevChar(this->editLine, this->cursorPos);
        this->DeleteChar();
    }
}

void nConServer::DeleteChar()
{
    const int len = this->LineLength();
    if (this->cursorPos < len)
    {
        const int next = nUtf8::NextChar(this->editLine, len, this->cursorPos);
        memmove(&this->editLine[this->cursorPos], &this->editLine[next], size_t(len - next + 1));
    }
}

/*
 * WordLeft --
 *     Side effects: the cursor moves left over spaces, then to the first
 *     character of the word before them.
 */
void nConServer::WordLeft()
{
    int c = this->cursorPos;
    while (c > 0 && this->editLine[c - 1] == ' ') c--;
    while (c > 0 && this->editLine[c - 1] != ' ') c--;
    this->cursorPos = c;
}

/*
 * WordRight --
 *     Side effects: the cursor moves at least one place right, over the
 *     rest of the word and the spaces after it, to the next word.
 */
void nConServer::WordRight()
{
    const int len = this->LineLength();
    int c = this->cursorPos;
    c = nUtf8::NextChar(this->editLine, len, c);
    while (c < len && this->editLine[c] == ' ') c++;
    while (c < len && this->editLine[c] != ' ') c++;
    while (c < len && this->editLine[c] == ' ') c++;
    this->cursorPos = c;
}

void nConServer::AddToHistory()
{
    this->historyCursor = 0;
    if (this->editLine[0])
    {
        this->history.Put(this->editLine);
        this->history.Put("\n");
    }
}

void nConServer::HistoryUp()
{
    this->historyCursor++;
    this->CopyHistoryLine();
}

void nConServer::HistoryDown()
{
    if (this->historyCursor > 0) this->historyCursor--;
    this->CopyHistoryLine();
}

/*
 * CopyHistoryLine --
 *     Side effects: walks historyCursor lines back from the line being
 *     written (the newest entry is one back); reaching the oldest line
 *     first takes the cursor back by one and stops there. The line found
 *     becomes the edit line with the cursor at its end.
 */
void nConServer::CopyHistoryLine()
{
    int l = this->history.GetTailLine();
    for (int i = 0; i < this->historyCursor; i++)
    {
        if (l == this->history.GetHeadLine())
        {
            this->historyCursor--;
            break;
        }
        l = (l + N_NUM_LINES - 1) % N_NUM_LINES;
    }
    const char* text = this->history.GetLine(l);
    memset(this->editLine, 0, sizeof(this->editLine));
    if (text) strncpy(this->editLine, text, LineSize - 1);
    this->cursorPos = this->LineLength();
}

nString nConServer::Prompt()
{
    return this->refScriptServer.isvalid() ? this->refScriptServer->Prompt() : nString();
}

/*
 * Execute --
 *     Side effects: the line goes into the history; the prompt and the
 *     line are logged; a non-empty line runs through the script server
 *     with fail-on-error cleared, so a script error is reported, never
 *     fatal, and a non-empty result is logged; the line is emptied and the
 *     view scrolls back to the newest line.
 */
void nConServer::Execute()
{
    this->AddToHistory();
    n_printf("%s%s\n", this->Prompt().Get(), this->editLine);
    if (this->editLine[0] && this->refScriptServer.isvalid())
    {
        nScriptServer* script = this->refScriptServer.get();
        const bool failOnError = script->GetFailOnError();
        script->SetFailOnError(false);
        nString result;
        script->Run(this->editLine, result);
        // the line may have deleted the script server
        if (this->refScriptServer.isvalid()) this->refScriptServer->SetFailOnError(failOnError);
        if (!result.IsEmpty()) n_printf("%s\n", result.Get());
    }
    memset(this->editLine, 0, sizeof(this->editLine));
    this->cursorPos = 0;
    this->scrollOffset = 0;
}

/*
 * Render --
 *     Side effects: queues the console's text (when open) or the watchers'
 *     (when watching) on the graphics server.
 */
void nConServer::Render()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx) return;
    const int displayHeight = gfx->GetDisplayMode().GetHeight();
    if (displayHeight <= 0) return;
    if (this->consoleOpen)
    {
        this->RenderConsole(FontHeight, displayHeight);
    }
    else if (this->watchersOpen)
    {
        this->RenderWatchers(FontHeight, displayHeight);
    }
}

/*
 * WrapRows --
 *     Results: the rows the text takes across the display in the font of
 *     the queued text (the graphics server's current font when it has
 *     none), broken at spaces, or inside a word wider than the display;
 *     at least one row. The current font is restored.
 */
std::vector<std::string> nConServer::WrapRows(const nString& text)
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    nRef<nFont2> previous;
    previous.set(gfx->GetFont());
    nFont2* font = gfx->GetDefaultFont();
    if (font) gfx->SetFont(font);
    // the text starts at the left edge and its shadow lies a pixel right of it
    const float width = 1.0f - 2.0f / float(std::max(1, int(gfx->GetDisplayMode().GetWidth())));
    nString wrapped;
    gfx->FitText(text, vector2(width, FLT_MAX), wrapped);
    if (font) gfx->SetFont(previous.get_unsafe());
    std::vector<std::string> rows;
    std::string all = wrapped.IsEmpty() ? std::string() : std::string(wrapped.Get());
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
    {
        rows.push_back(all.substr(start, end - start));
    }
    rows.push_back(all.substr(start));
    return rows;
}

/*
 * DrawBackdrop --
 *     Side effects: the display's full width from its top down to the
 *     pixel row is covered in the console's dark backdrop, one line per
 *     pixel row (lines draw opaque, so the game shows through nowhere).
 */
void nConServer::DrawBackdrop(int bottom)
{
    nGfxServer2* gfx = nGfxServer2::Instance();
    const float width = float(gfx->GetDisplayMode().GetWidth());
    if (bottom <= 0 || width <= 0.0f) return;
    std::vector<vector2> zigzag;
    zigzag.reserve(size_t(bottom) * 2);
    for (int y = 0; y < bottom; y++)
    {
        const float row = float(y) + 0.5f;
        const bool rightward = 0 == (y & 1);
        zigzag.emplace_back(rightward ? 0.0f : width, row);
        zigzag.emplace_back(rightward ? width : 0.0f, row);
    }
    gfx->BeginLines();
    gfx->DrawLines2d(zigzag.data(), int(zigzag.size()), BackdropColour);
    gfx->EndLines();
}

/*
 * RenderConsole --
 *     Side effects: a dark backdrop under the console's rows, the visible
 *     log rows, oldest at the top, then the prompt and the edit line with
 *     '|' at the cursor. A line wider than the display takes as many rows
 *     as it needs; the scroll offset counts rows and is clamped to the
 *     rows there are.
 */
void nConServer::RenderConsole(int fontHeight, int displayHeight)
{
    n_assert(this->consoleOpen);
    n_assert(fontHeight > 0);
    n_assert(displayHeight > 0);
    nLogHandler* log = kernelServer->GetLogHandler();
    const nLineBuffer* buf = log ? log->GetLineBuffer() : nullptr;
    if (!buf) return;
    const std::vector<std::string> lines = NewestLines(*buf, MaxLogLines);

    nString edit = this->Prompt();
    nString head;
    head.Set(this->editLine, this->cursorPos);
    edit.Append(head);
    edit.Append("|");
    edit.Append(&this->editLine[this->cursorPos]);
    const std::vector<std::string> editRows = this->WrapRows(edit);

    // a display lower than a few rows still gets one row and no negative count
    const int rows = std::max(1, displayHeight / fontHeight);
    const int reserved = 3 + int(editRows.size());
    const int visible = std::max(0, rows - reserved);
    // the log's rows, newest first, as far back as the view can reach
    std::vector<std::string> logRows;
    for (size_t i = 0; i < lines.size() && int(logRows.size()) <= visible + this->scrollOffset; i++)
    {
        nString line;
        line.Set(lines[i].c_str(), nUtf8::CutLength(lines[i].c_str(), int(std::min(lines[i].size(), size_t(MaxDrawnChars)))));
        const std::vector<std::string> wrapped = this->WrapRows(line);
        logRows.insert(logRows.end(), wrapped.rbegin(), wrapped.rend());
    }
    const int numRows = int(logRows.size());
    int last = rows + this->scrollOffset - reserved;
    if (last >= numRows)
    {
        last = numRows - 1;
        this->scrollOffset = numRows - rows + reserved - 1;
    }
    int first = last - visible;
    if (first < 0)
    {
        first = 0;
        this->scrollOffset = 0;
    }

    const int drawnRows = std::max(0, last - first + 1) + int(editRows.size());
    this->DrawBackdrop(std::min(displayHeight, drawnRows * displayHeight / rows + fontHeight / 4));
    nGfxServer2* gfx = nGfxServer2::Instance();
    float y = -1.0f;
    const float step = 2.0f / float(rows);
    for (int i = last; i >= first; i--)
    {
        gfx->AddText(nString((logRows[size_t(i)] + "\n").c_str()), ConsoleColour, -1.0f, y);
        y += step;
    }
    for (const std::string& row : editRows)
    {
        gfx->AddText(nString(row.c_str()), ConsoleColour, -1.0f, y);
        y += step;
    }
}

/*
 * RenderWatchers --
 *     Side effects: one line per "/sys/var" value whose name matches the
 *     pattern, formatted by its type.
 */
void nConServer::RenderWatchers(int fontHeight, int displayHeight)
{
    n_assert(this->watchersOpen);
    n_assert(this->envClass);
    n_assert(fontHeight > 0);
    n_assert(displayHeight > 0);
    nRoot* vars = kernelServer->Lookup("/sys/var");
    if (!vars) return;
    nGfxServer2* gfx = nGfxServer2::Instance();
    const int rows = std::max(1, displayHeight / fontHeight);
    const float step = 2.0f / float(rows);
    float y = -1.0f;
    for (nRoot* child = vars->GetHead(); child; child = child->GetSucc())
    {
        if (!child->IsA(this->envClass) || !n_strmatch(child->GetName(), this->watchPattern.Get())) continue;
        const nEnv* env = static_cast<nEnv*>(child);
        char line[1024];
        const char* name = env->GetName();
        switch (env->GetType())
        {
            case nArg::Int: snprintf(line, sizeof(line), "%s: %d\n", name, env->GetI()); break;
            case nArg::Float: snprintf(line, sizeof(line), "%s: %f\n", name, env->GetF()); break;
            case nArg::String: snprintf(line, sizeof(line), "%s: %s\n", name, env->GetS()); break;
            case nArg::Bool: snprintf(line, sizeof(line), "%s: %s\n", name, env->GetB() ? "true" : "false"); break;
            case nArg::Float4:
            {
                const nFloat4& f = env->GetF4();
                snprintf(line, sizeof(line), "%s: %f %f %f %f\n", name, f.x, f.y, f.z, f.w);
                break;
            }
            default: snprintf(line, sizeof(line), "%s: <unknown data type>\n", name); break;
        }
        gfx->AddText(nString(line), WatcherColour, -1.0f, y);
        y += step;
    }
}
