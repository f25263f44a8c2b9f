#ifndef N_CONSERVER_H
#define N_CONSERVER_H
//------------------------------------------------------------------------------
/**
    @class nConServer
    @ingroup Application

    The in-game command console at "/sys/servers/console". While open it
    shows the tail of the log with an edit line below it, takes the keys it
    edits with from the frame's input events before the mappings see them,
    and runs an entered line through the script server with fail-on-error
    cleared. While closed it can show "watchers": the "/sys/var" values whose
    names match a glob pattern.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"
#include "kernel/nlinebuffer.h"
#include "input/ninputconsole.h"
#include "util/nstring.h"

#include <string>
#include <vector>

class nInputServer;
class nInputEvent;
class nScriptServer;
class nClass;

class nConServer : public nRoot, public nInputConsole
{
public:
    /// the edit line's size, its terminator included
    enum { LineSize = 512 };

    nConServer();
    /// the console, or null when none exists
    static nConServer* InstanceOrNull() { return Singleton; }

    void Open() { this->consoleOpen = true; }
    void Close() { this->consoleOpen = false; }
    void Toggle() { this->consoleOpen = !this->consoleOpen; }
    bool IsOpen() const { return this->consoleOpen; }
    /// show the "/sys/var" values whose names match the glob pattern
    void Watch(const char* pattern);
    void Unwatch() { this->watchersOpen = false; }

    /// while open, edit from the frame's events and mark the ones used as handled
    void Trigger() override;
    /// one event: true when the console used it
    bool EditLine(const nInputEvent* e);
    /// draw the console when open, else the watchers when watching
    void Render();
    /// log the prompt and the line, run it (script errors are not fatal), empty the line
    void Execute();

    const char* GetEditLine() const { return this->editLine; }
    int GetCursorPos() const { return this->cursorPos; }
    int GetScrollOffset() const { return this->scrollOffset; }

protected:
    ~nConServer() override;

private:
    void InsertChar(int c);
    void Backspace();
    void DeleteChar();
    void WordLeft();
    void WordRight();
    void AddToHistory();
    void HistoryUp();
    void HistoryDown();
    /// the history line historyCursor steps back from the newest into the edit line
    void CopyHistoryLine();
    int LineLength() const;
    /// the script server's prompt, empty without a script server
    nString Prompt();
    void RenderConsole(int fontHeight, int displayHeight);
    /// the rows a text takes across the display
    std::vector<std::string> WrapRows(const nString& text);
    /// cover the display from its top down to the pixel row
    void DrawBackdrop(int bottom);
    void RenderWatchers(int fontHeight, int displayHeight);

    static nConServer* Singleton;

    nAutoRef<nInputServer> refInputServer;
    nAutoRef<nScriptServer> refScriptServer;
    nClass* envClass;
    bool consoleOpen;
    bool watchersOpen;
    int historyCursor;
    nLineBuffer history;
    int cursorPos;
    bool overwrite;
    bool ctrlDown;
    int scrollOffset;
    nString watchPattern;
    char editLine[LineSize];
};
#endif
