//------------------------------------------------------------------------------
//  nplatformdialog.cc
//------------------------------------------------------------------------------
#include "platform/nplatformdialog.h"
#include "platform/nplatformmessagebox.h"

#include <tcl.h>
#include <tk.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace
{

/*
 * KeepNumericLocale --
 *     Tcl and Tk set the locale from the environment when they start;
 *     numbers everywhere in the engine keep the "C" format.
 * Side effects: LC_NUMERIC back to "C".
 */
void KeepNumericLocale()
{
    setlocale(LC_NUMERIC, "C");
}

/*
 * NotifyProc --
 *     The Tcl side of a control's binding: "<cmd> <id> <code>" queues a
 *     command, "<cmd> return" presses the focused or default button.
 * Results: TCL_OK; TCL_ERROR for words it does not know.
 * Side effects: one command queued in the dialog.
 */
int NotifyProc(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    nPlatformDialog* dialog = static_cast<nPlatformDialog*>(clientData);
    if (objc == 2 && 0 == strcmp(Tcl_GetString(objv[1]), "return"))
    {
        dialog->PressDefault();
        return TCL_OK;
    }
    int id = 0;
    int code = 0;
    if (objc != 3 || Tcl_GetIntFromObj(interp, objv[1], &id) != TCL_OK ||
        Tcl_GetIntFromObj(interp, objv[2], &code) != TCL_OK)
    {
        Tcl_SetObjResult(interp, Tcl_NewStringObj("usage: notify id code | notify return", -1));
        return TCL_ERROR;
    }
    dialog->Notify(id, code);
    return TCL_OK;
}

}  // namespace

//------------------------------------------------------------------------------
/*
 * nPlatformDialogHost --
 *     Side effects: a Tcl interpreter with Tk, its main window withdrawn
 *     (dialogs are windows of their own). When Tk cannot start, the
 *     interpreter is deleted again and GetError says why.
 */
nPlatformDialogHost::nPlatformDialogHost() :
    interp(nullptr)
{
    Tcl_FindExecutable(nullptr);
    KeepNumericLocale();
    Tcl_Interp* ip = Tcl_CreateInterp();
    if (Tcl_Init(ip) != TCL_OK || Tk_Init(ip) != TCL_OK)
    {
        this->error = Tcl_GetStringResult(ip);
        Tcl_DeleteInterp(ip);
        KeepNumericLocale();
        return;
    }
    KeepNumericLocale();
    this->interp = ip;
    this->Eval("wm withdraw .");
}

/*
 * ~nPlatformDialogHost --
 *     Side effects: every window destroyed, the interpreter deleted.
 */
nPlatformDialogHost::~nPlatformDialogHost()
{
    if (this->interp)
    {
        this->Eval("destroy .");
        Tcl_DeleteInterp(this->interp);
        this->interp = nullptr;
    }
}

/*
 * Eval --
 *     Results: true when the script ran without error; its result, or
 *     the error message, in result when given.
 */
bool nPlatformDialogHost::Eval(const std::string& script, std::string* result)
{
    if (!this->interp) return false;
    const int code = Tcl_EvalEx(this->interp, script.c_str(), -1, TCL_EVAL_GLOBAL);
    if (result) *result = Tcl_GetStringResult(this->interp);
    return code == TCL_OK;
}

/*
 * EvalWords --
 *     Runs one command made of the words as they are: no substitution
 *     happens in any of them, so texts from anywhere are safe.
 * Results: as Eval.
 */
bool nPlatformDialogHost::EvalWords(const std::vector<std::string>& words, std::string* result)
{
    if (!this->interp || words.empty()) return false;
    std::vector<Tcl_Obj*> objs;
    objs.reserve(words.size());
    for (const std::string& w : words)
    {
        Tcl_Obj* obj = Tcl_NewStringObj(w.c_str(), (int)w.size());
        Tcl_IncrRefCount(obj);
        objs.push_back(obj);
    }
    const int code = Tcl_EvalObjv(this->interp, (int)objs.size(), objs.data(), TCL_EVAL_GLOBAL);
    for (Tcl_Obj* obj : objs) Tcl_DecrRefCount(obj);
    if (result) *result = Tcl_GetStringResult(this->interp);
    return code == TCL_OK;
}

/*
 * ProcessEvents --
 *     Side effects: with wait, blocks until one event arrives and handles
 *     it; then handles everything that is pending without waiting.
 */
void nPlatformDialogHost::ProcessEvents(bool wait)
{
    if (!this->interp) return;
    if (wait) Tcl_DoOneEvent(TCL_ALL_EVENTS);
    while (Tcl_DoOneEvent(TCL_ALL_EVENTS | TCL_DONT_WAIT))
    {
    }
}

//------------------------------------------------------------------------------
/*
 * nPlatformDialog --
 *     Side effects: a withdrawn, fixed-size top-level window centred on
 *     the screen, with its font, its notify command, and Return, Escape
 *     and the close button bound.
 */
nPlatformDialog::nPlatformDialog(nPlatformDialogHost& h, const char* name, const char* caption, int width,
                                 int height, int pointSize, const nPlatformDialog* owner) :
    host(h),
    path(std::string(".") + name),
    font(std::string("nDialogFont_") + name),
    notifyCmd(std::string("nDialogNotify_") + name),
    baseX(4),
    baseY(8),
    anonymous(0),
    defaultId(0),
    ended(false),
    result(0)
{
    if (!this->host.IsOpen()) return;
    Tcl_CreateObjCommand(this->host.GetInterp(), this->notifyCmd.c_str(), NotifyProc, this, nullptr);
    // a generic family that the system resolves to its own sans-serif face
    this->host.EvalWords({"font", "create", this->font, "-family", "sans-serif", "-size", std::to_string(pointSize)});
    this->MeasureFont();

    const int w = this->ToPixelsX(width);
    const int hgt = this->ToPixelsY(height);
    this->host.EvalWords({"toplevel", this->path, "-width", std::to_string(w), "-height", std::to_string(hgt)});
    this->host.EvalWords({"wm", "withdraw", this->path});
    this->host.EvalWords({"wm", "title", this->path, caption});
    this->host.EvalWords({"wm", "resizable", this->path, "0", "0"});
    this->host.EvalWords({"pack", "propagate", this->path, "0"});
    if (owner) this->host.EvalWords({"wm", "transient", this->path, owner->GetPath()});
    this->host.Eval("wm geometry " + this->path + " +[expr {([winfo screenwidth .] - " + std::to_string(w) +
                    ") / 2}]+[expr {([winfo screenheight .] - " + std::to_string(hgt) + ") / 2}]");
    this->host.EvalWords({"wm", "protocol", this->path, "WM_DELETE_WINDOW",
                          this->notifyCmd + " " + std::to_string(CancelId) + " " + std::to_string(Clicked)});
    this->host.EvalWords({"bind", this->path, "<Key-Return>", this->notifyCmd + " return"});
    this->host.EvalWords({"bind", this->path, "<Key-KP_Enter>", this->notifyCmd + " return"});
    this->host.EvalWords({"bind", this->path, "<Key-Escape>",
                          this->notifyCmd + " " + std::to_string(CancelId) + " " + std::to_string(Clicked)});
}

/*
 * ~nPlatformDialog --
 *     Side effects: the window, its picture, font and command are gone.
 */
nPlatformDialog::~nPlatformDialog()
{
    if (!this->host.IsOpen()) return;
    this->host.EvalWords({"grab", "release", this->path});
    this->host.EvalWords({"destroy", this->path});
    if (!this->image.empty()) this->host.EvalWords({"image", "delete", this->image});
    this->host.EvalWords({"font", "delete", this->font});
    Tcl_DeleteCommand(this->host.GetInterp(), this->notifyCmd.c_str());
}

/*
 * MeasureFont --
 *     The system's rule: the average width is half of one more than the
 *     width of the 52 letters over 26; the height is the line height.
 * Side effects: baseX and baseY; they stay 4 and 8 (one pixel per unit)
 *     when the font cannot be measured.
 */
void nPlatformDialog::MeasureFont()
{
    const int width = atoi(this->Query({"font", "measure", this->font,
                                        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"}).c_str());
    const int height = atoi(this->Query({"font", "metrics", this->font, "-linespace"}).c_str());
    if (width > 0) this->baseX = (width / 26 + 1) / 2;
    if (height > 0) this->baseY = height;
}

/*
 * Query --
 *     Results: the result of the command, empty on error.
 */
std::string nPlatformDialog::Query(const std::vector<std::string>& words)
{
    std::string answer;
    if (!this->host.EvalWords(words, &answer)) return std::string();
    return answer;
}

/*
 * NewControl --
 *     Results: a fresh Tk path below the dialog; with an id other than 0
 *     it becomes the control of that id.
 */
std::string nPlatformDialog::NewControl(int id, const char* kind)
{
    const std::string control = this->path + "." + kind +
                                std::to_string(id ? id : ++this->anonymous) + (id ? "" : "_static");
    if (id) this->controls[id] = control;
    return control;
}

/*
 * Place --
 *     Side effects: the control at the rectangle, converted to pixels.
 */
void nPlatformDialog::Place(const std::string& control, const nDialogRect& r)
{
    this->host.EvalWords({"place", control, "-x", std::to_string(this->ToPixelsX(r.x)), "-y",
                          std::to_string(this->ToPixelsY(r.y)), "-width", std::to_string(this->ToPixelsX(r.w)),
                          "-height", std::to_string(this->ToPixelsY(r.h))});
}

std::string nPlatformDialog::ControlPath(int id) const
{
    const auto it = this->controls.find(id);
    return (it == this->controls.end()) ? std::string() : it->second;
}

/*
 * AddButton --
 *     Side effects: a push button whose press queues (id, Clicked); the
 *     default one is drawn as such and answers Return.
 */
void nPlatformDialog::AddButton(int id, const char* text, const nDialogRect& r, bool isDefault)
{
    const std::string b = this->NewControl(id, "button");
    this->host.EvalWords({"button", b, "-text", text, "-font", this->font, "-default", "normal", "-command",
                          this->notifyCmd + " " + std::to_string(id) + " " + std::to_string(Clicked)});
    this->Place(b, r);
    this->isPushButton[id] = true;
    if (isDefault) this->SetDefaultButton(id);
}

/*
 * AddCheckBox --
 *     Side effects: a check box that toggles itself and queues
 *     (id, Clicked).
 */
void nPlatformDialog::AddCheckBox(int id, const char* text, const nDialogRect& r)
{
    const std::string c = this->NewControl(id, "check");
    this->host.EvalWords({"checkbutton", c, "-text", text, "-font", this->font, "-anchor", "w", "-variable",
                          "nDialogCheck" + c, "-command",
                          this->notifyCmd + " " + std::to_string(id) + " " + std::to_string(Clicked)});
    this->host.EvalWords({"set", "nDialogCheck" + c, "0"});
    this->Place(c, r);
}

/*
 * AddListBox --
 *     Side effects: a single-selection list with a vertical scroll bar;
 *     every change of the selection by the user queues (id, SelChange).
 */
void nPlatformDialog::AddListBox(int id, const nDialogRect& r)
{
    const std::string frame = this->NewControl(0, "listframe");
    const std::string l = frame + ".list" + std::to_string(id);
    const std::string s = frame + ".scroll";
    this->controls[id] = l;
    this->host.EvalWords({"frame", frame, "-borderwidth", "1", "-relief", "sunken"});
    this->host.EvalWords({"listbox", l, "-font", this->font, "-selectmode", "browse", "-exportselection", "0",
                          "-borderwidth", "0", "-activestyle", "none", "-yscrollcommand", s + " set"});
    this->host.EvalWords({"scrollbar", s, "-orient", "vertical", "-command", l + " yview"});
    this->host.EvalWords({"pack", s, "-side", "right", "-fill", "y"});
    this->host.EvalWords({"pack", l, "-side", "left", "-fill", "both", "-expand", "1"});
    this->host.EvalWords({"bind", l, "<<ListboxSelect>>",
                          this->notifyCmd + " " + std::to_string(id) + " " + std::to_string(SelChange)});
    this->Place(frame, r);
}

void nPlatformDialog::AddGroupBox(const char* text, const nDialogRect& r)
{
    const std::string g = this->NewControl(0, "group");
    this->host.EvalWords({"labelframe", g, "-text", text, "-font", this->font});
    this->Place(g, r);
    this->host.EvalWords({"lower", g});
}

void nPlatformDialog::AddStatic(const char* text, const nDialogRect& r)
{
    const std::string t = this->NewControl(0, "text");
    this->host.EvalWords({"label", t, "-text", text, "-font", this->font, "-anchor", "w", "-justify", "left",
                          "-borderwidth", "0", "-padx", "0", "-pady", "0"});
    this->Place(t, r);
}

/*
 * AddPicture --
 *     Results: false when the file is no image Tk reads (PNG, PPM, GIF).
 *     Side effects: a label showing the image in its real size.
 */
bool nPlatformDialog::AddPicture(const char* file, int x, int y)
{
    const std::string name = "nDialogImage_" + this->path.substr(1);
    if (!this->host.EvalWords({"image", "create", "photo", name, "-file", file})) return false;
    this->image = name;
    const std::string p = this->NewControl(0, "picture");
    this->host.EvalWords({"label", p, "-image", name, "-borderwidth", "2", "-relief", "sunken"});
    this->host.EvalWords({"place", p, "-x", std::to_string(this->ToPixelsX(x)), "-y",
                          std::to_string(this->ToPixelsY(y))});
    return true;
}

void nPlatformDialog::ListAddString(int id, const char* text)
{
    this->host.EvalWords({this->ControlPath(id), "insert", "end", text});
}

int nPlatformDialog::ListGetCount(int id)
{
    return atoi(this->Query({this->ControlPath(id), "size"}).c_str());
}

int nPlatformDialog::ListGetCurSel(int id)
{
    const std::string sel = this->Query({this->ControlPath(id), "curselection"});
    return sel.empty() ? -1 : atoi(sel.c_str());
}

void nPlatformDialog::ListSetCurSel(int id, int index)
{
    const std::string l = this->ControlPath(id);
    this->host.EvalWords({l, "selection", "clear", "0", "end"});
    if (index < 0 || index >= this->ListGetCount(id)) return;
    this->host.EvalWords({l, "selection", "set", std::to_string(index)});
    this->host.EvalWords({l, "see", std::to_string(index)});
}

bool nPlatformDialog::IsChecked(int id)
{
    return this->Query({"set", "nDialogCheck" + this->ControlPath(id)}) == "1";
}

void nPlatformDialog::SetChecked(int id, bool checked)
{
    this->host.EvalWords({"set", "nDialogCheck" + this->ControlPath(id), checked ? "1" : "0"});
}

/*
 * Show --
 *     Side effects: the window is mapped and raised; waits until the
 *     window system has shown it.
 */
void nPlatformDialog::Show()
{
    this->host.EvalWords({"wm", "deiconify", this->path});
    this->host.EvalWords({"raise", this->path});
    this->host.Eval("update idletasks");
}

void nPlatformDialog::Hide()
{
    this->host.EvalWords({"wm", "withdraw", this->path});
    this->host.Eval("update idletasks");
}

bool nPlatformDialog::IsVisible()
{
    return this->Query({"wm", "state", this->path}) == "normal";
}

void nPlatformDialog::SetFocus(int id)
{
    const std::string c = this->ControlPath(id);
    if (!c.empty()) this->host.EvalWords({"focus", "-force", c});
}

int nPlatformDialog::GetFocus()
{
    const std::string f = this->Query({"focus"});
    for (const auto& [id, control] : this->controls)
    {
        if (control == f) return id;
    }
    return 0;
}

/*
 * SetDefaultButton --
 *     Side effects: the push button is drawn as the default and answers
 *     Return; every other push button loses that.
 */
void nPlatformDialog::SetDefaultButton(int id)
{
    if (!this->isPushButton.count(id)) return;
    for (const auto& [buttonId, push] : this->isPushButton)
    {
        if (push)
        {
            this->host.EvalWords({this->ControlPath(buttonId), "configure", "-default",
                                  buttonId == id ? "active" : "normal"});
        }
    }
    this->defaultId = id;
}

/*
 * PressDefault --
 *     Side effects: queues (focused push button, Clicked), else
 *     (default button, Clicked); nothing when there is neither.
 */
void nPlatformDialog::PressDefault()
{
    const int focused = this->GetFocus();
    if (focused && this->isPushButton.count(focused))
    {
        this->Notify(focused, Clicked);
    }
    else if (this->defaultId)
    {
        this->Notify(this->defaultId, Clicked);
    }
}

/*
 * ShowMessage --
 *     Side effects: a modal message box above the dialog when boxes can
 *     be shown (a display, not an unattended run); else "title: text" on
 *     standard error.
 */
void nPlatformDialog::ShowMessage(const char* title, const char* text)
{
    if (!nPlatformMessageBox::CanShow() || !this->host.IsOpen())
    {
        nPlatformMessageBox::Show(nPlatformMessageBox::Information, title, text);
        return;
    }
    std::vector<std::string> words = {"tk_messageBox", "-icon", "warning", "-title", title, "-message", text};
    if (this->IsVisible())
    {
        words.push_back("-parent");
        words.push_back(this->path);
    }
    this->host.EvalWords(words);
}

bool nPlatformDialog::NextCommand(Command& cmd)
{
    if (this->commands.empty()) return false;
    cmd = this->commands.front();
    this->commands.pop_front();
    return true;
}

void nPlatformDialog::End(int res)
{
    this->result = res;
    this->ended = true;
}

/*
 * BeginModal --
 *     Side effects: shown with the keyboard focus on its default button
 *     (else on the window), so that its keys reach it and not the owner;
 *     the input of the program's other windows held back (a grab the
 *     window system may refuse: the dialog still runs).
 */
void nPlatformDialog::BeginModal()
{
    this->ended = false;
    this->Show();
    const std::string target = this->defaultId ? this->ControlPath(this->defaultId) : std::string();
    this->host.EvalWords({"focus", "-force", target.empty() ? this->path : target});
    this->host.Eval("catch {grab set " + this->path + "}");
}

void nPlatformDialog::EndModal()
{
    this->host.EvalWords({"grab", "release", this->path});
    this->Hide();
}
