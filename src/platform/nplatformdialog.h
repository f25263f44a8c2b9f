#ifndef N_PLATFORMDIALOG_H
#define N_PLATFORMDIALOG_H
//------------------------------------------------------------------------------
/**
    @file nplatformdialog.h
    @ingroup Platform

    Small modal dialogs laid out in dialog units, on Tk in a Tcl
    interpreter of their own.

    nPlatformDialogHost owns the interpreter with Tk loaded; it lives as
    long as the program shows dialogs, independently of any engine kernel.
    nPlatformDialog is one top-level dialog window in it: push buttons,
    check boxes, list boxes, group boxes, static texts and a picture are
    placed from dialog units (a quarter of the dialog font's average
    character width across, an eighth of its height down). The user's
    actions become commands (control id, notification) that the owner
    takes out with NextCommand outside of any Tcl evaluation, so that a
    command may run anything, even another interpreter's scripts.

    Keyboard as in the usual dialogs: Return presses the focused push
    button, else the default one; Escape and closing the window give the
    command of id CancelId.
*/
#include <deque>
#include <map>
#include <string>
#include <vector>

struct Tcl_Interp;

//------------------------------------------------------------------------------
class nPlatformDialogHost
{
public:
    /// the interpreter with Tk; IsOpen() is false when Tk cannot start (no display)
    nPlatformDialogHost();
    ~nPlatformDialogHost();
    nPlatformDialogHost(const nPlatformDialogHost&) = delete;
    nPlatformDialogHost& operator=(const nPlatformDialogHost&) = delete;

    /// whether Tk runs
    bool IsOpen() const { return this->interp != nullptr; }
    /// why Tk does not run
    const std::string& GetError() const { return this->error; }
    /// run a script; its result (or error message) into result when given; false on error
    bool Eval(const std::string& script, std::string* result = nullptr);
    /// run one command whose words are taken literally; false on error
    bool EvalWords(const std::vector<std::string>& words, std::string* result = nullptr);
    /// handle every pending window event, idle task and timer; with wait, wait for one first
    void ProcessEvents(bool wait);
    /// the interpreter (for the dialogs' own commands)
    Tcl_Interp* GetInterp() const { return this->interp; }

private:
    Tcl_Interp* interp;
    std::string error;
};

//------------------------------------------------------------------------------
/// a rectangle in dialog units
struct nDialogRect
{
    int x, y, w, h;
};

class nPlatformDialog
{
public:
    /// notifications of a command
    enum Notification
    {
        Clicked = 0,    ///< a push button or check box was pressed
        SelChange = 1,  ///< the selection of a list box changed
    };
    /// the command that Escape and the window's close button give
    static const int CancelId = 2;

    /// what the user did
    struct Command
    {
        int id;
        int code;
    };

    /// a hidden, centred dialog named name ("." + name in Tk), sized in dialog units, in a
    /// sans-serif font of pointSize points, above the owner when one is given
    nPlatformDialog(nPlatformDialogHost& host, const char* name, const char* caption, int width, int height,
                    int pointSize, const nPlatformDialog* owner);
    ~nPlatformDialog();
    nPlatformDialog(const nPlatformDialog&) = delete;
    nPlatformDialog& operator=(const nPlatformDialog&) = delete;

    //--- controls (rectangles in dialog units) -----------------------------------
    void AddButton(int id, const char* text, const nDialogRect& r, bool isDefault);
    void AddCheckBox(int id, const char* text, const nDialogRect& r);
    void AddListBox(int id, const nDialogRect& r);
    void AddGroupBox(const char* text, const nDialogRect& r);
    void AddStatic(const char* text, const nDialogRect& r);
    /// an image file in its own size with a sunken edge; false (nothing added) when it cannot be read
    bool AddPicture(const char* file, int x, int y);

    //--- list boxes and check boxes ------------------------------------------------
    void ListAddString(int id, const char* text);
    int ListGetCount(int id);
    /// the selected row, -1 when none
    int ListGetCurSel(int id);
    /// select a row (no command follows); -1 or a row outside the list selects none
    void ListSetCurSel(int id, int index);
    bool IsChecked(int id);
    /// set the check (no command follows)
    void SetChecked(int id, bool checked);

    //--- the window ---------------------------------------------------------------
    void Show();
    void Hide();
    bool IsVisible();
    /// the keyboard focus to the control
    void SetFocus(int id);
    /// the control that has the keyboard focus, 0 when none of this dialog's
    int GetFocus();
    /// make the push button the one default button
    void SetDefaultButton(int id);
    /// the default push button's id, 0 when there is none
    int GetDefaultButton() const { return this->defaultId; }
    /// a message above the dialog (blocks until closed); on standard error when no box can be shown
    void ShowMessage(const char* title, const char* text);

    //--- commands and ending -----------------------------------------------------------
    /// queue a command as the user's (the controls' bindings call it)
    void Notify(int id, int code) { this->commands.push_back(Command{id, code}); }
    /// Return was pressed: the focused push button's command, else the default button's
    void PressDefault();
    /// take the oldest waiting command; false when none waits
    bool NextCommand(Command& cmd);
    /// forget every waiting command
    void DropCommands() { this->commands.clear(); }
    /// end the dialog with a result: the modal loop returns it
    void End(int result);
    bool IsEnded() const { return this->ended; }
    int GetResult() const { return this->result; }
    /// show, take the input, wait until End; every command goes to the handler; hidden again after
    template <class HANDLER> int RunModal(HANDLER&& handler)
    {
        this->BeginModal();
        Command cmd;
        while (!this->ended)
        {
            this->host.ProcessEvents(true);
            while (!this->ended && this->NextCommand(cmd)) handler(cmd);
        }
        this->EndModal();
        return this->result;
    }

    //--- geometry and names -----------------------------------------------------------
    /// the Tk path of the window
    const std::string& GetPath() const { return this->path; }
    /// the Tk path of a control, empty when there is no such control
    std::string ControlPath(int id) const;
    /// dialog units to pixels, as the system converts them
    int ToPixelsX(int units) const { return units * this->baseX / 4; }
    int ToPixelsY(int units) const { return units * this->baseY / 8; }

private:
    /// the font's average character width and height
    void MeasureFont();
    /// a new control path for the id; registered under the id when it is not 0
    std::string NewControl(int id, const char* kind);
    /// place a control at a rectangle in dialog units
    void Place(const std::string& control, const nDialogRect& r);
    /// a control's Tk answer to the words
    std::string Query(const std::vector<std::string>& words);
    void BeginModal();
    void EndModal();

    nPlatformDialogHost& host;
    std::string path;
    std::string font;
    std::string notifyCmd;
    std::string image;
    int baseX;
    int baseY;
    std::map<int, std::string> controls;
    std::map<int, bool> isPushButton;
    int anonymous;
    int defaultId;
    std::deque<Command> commands;
    bool ended;
    int result;
};
#endif
