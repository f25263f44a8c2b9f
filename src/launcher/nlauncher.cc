//------------------------------------------------------------------------------
//  nlauncher.cc
//------------------------------------------------------------------------------
#include "launcher/nlauncher.h"
#include "launcher/nboxingkernel.h"
#include "launcher/ngamerun.h"

#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "misc/nprefserver.h"
#include "platform/nplatformwindow.h"
#include "tools/napplauncher.h"

#include <algorithm>
#include <cstdio>

const char* const nLauncher::WebAddress = "https://velkoran.example/";

namespace
{

/// the sizes the launcher always knows, in the order it lists them
const nLauncher::Size StandardSizes[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}};
/// the smallest size the game's screens are laid out for
const nLauncher::Size SmallestSize = {640, 480};

const char* const Caption = "VELKORAN";
const char* const PictureFile = "home:data/launcher/launcher.png";
// short enough for the credits' 162 dialog units
const char* const CreditLines[] = {
    "Code and design: the VELKORAN team",
    "Art and sound: our own generators",
};

}  // namespace

nLauncher::nLauncher(nPlatformDialogHost& h) :
    host(h),
    prefServer(nullptr),
    gameRunning(false),
    gameRun([](const std::string& dir, std::string& failure) { return nRunBoxingGame(dir, failure); }),
    displayModes(nPlatformWindow::DisplayModes)
{
}

/*
 * ListedSizes --
 *     Results: the rows of the resolution list for a display with these
 *     mode sizes: the standard sizes that fit the largest mode, in their
 *     order, then the display's other sizes of at least 640x480 from the
 *     smallest up (wide screens among them); the standard sizes alone when
 *     the display reports none, 640x480 alone when none fits.
 */
std::vector<nLauncher::Size> nLauncher::ListedSizes(const std::vector<Size>& modes)
{
    std::vector<Size> rows;
    if (modes.empty())
    {
        return std::vector<Size>(std::begin(StandardSizes), std::end(StandardSizes));
    }
    int maxW = 0;
    int maxH = 0;
    for (const Size& m : modes)
    {
        maxW = std::max(maxW, m.first);
        maxH = std::max(maxH, m.second);
    }
    for (const Size& s : StandardSizes)
    {
        if (s.first <= maxW && s.second <= maxH) rows.push_back(s);
    }
    std::vector<Size> extra;
    for (const Size& m : modes)
    {
        const bool big = m.first >= SmallestSize.first && m.second >= SmallestSize.second;
        if (big && std::find(rows.begin(), rows.end(), m) == rows.end() &&
            std::find(extra.begin(), extra.end(), m) == extra.end())
        {
            extra.push_back(m);
        }
    }
    std::sort(extra.begin(), extra.end());
    rows.insert(rows.end(), extra.begin(), extra.end());
    if (rows.empty()) rows.push_back(SmallestSize);
    return rows;
}

/*
 * ~nLauncher --
 *     Side effects: the launcher kernel is torn down (saving the
 *     preferences) before the dialog goes.
 */
nLauncher::~nLauncher()
{
    this->CloseLauncherKernel();
}

/*
 * OpenLauncherKernel --
 *     Side effects: a kernel with the program's packages, its Tcl server
 *     and the script preference server "/sys/servers/pref" (opened on
 *     first use) named for the game.
 */
void nLauncher::OpenLauncherKernel()
{
    this->kernelServer = nNewBoxingKernel(this->home);
    this->kernelServer->New("ntclserver", "/sys/servers/script");
    this->prefServer = static_cast<nPrefServer*>(this->kernelServer->New("nscriptprefserver", "/sys/servers/pref"));
    this->prefServer->SetApplicationName(nString("Boxing"));
    this->prefServer->SetCompanyName(nString("ZORVEK Games"));
}

/*
 * CloseLauncherKernel --
 *     Side effects: the preference server released (which saves
 *     "home:prefs.n2"), then the kernel deleted. Nothing when there is
 *     no launcher kernel.
 */
void nLauncher::CloseLauncherKernel()
{
    if (this->prefServer)
    {
        this->prefServer->Release();
        this->prefServer = nullptr;
    }
    this->kernelServer.reset();
}

/*
 * AddControls --
 *     Side effects: the launcher's controls in their dialog-unit places;
 *     the picture is left out (with a log line) when its file is missing.
 */
void nLauncher::AddControls()
{
    nPlatformDialog* d = this->dialog.get();
    d->AddGroupBox("Graphics settings", {214, 10, 82, 89});
    d->AddButton(IdPlay, "PLAY", {214, 103, 82, 20}, true);
    d->AddButton(IdCredits, "CREDITS", {214, 125, 82, 20}, false);
    d->AddButton(IdQuit, "QUIT", {214, 169, 82, 20}, false);
    d->AddListBox(IdResolution, {219, 31, 70, 50});
    d->AddCheckBox(IdFullscreen, "Fullscreen", {219, 84, 52, 9});
    d->AddStatic("Screen resolution", {220, 21, 62, 8});
    const nString picture = this->kernelServer->GetFileServer()->ManglePath(PictureFile);
    if (!d->AddPicture(picture.Get(), 7, 7))
    {
        n_printf("nLauncher: the picture '%s' cannot be shown\n", picture.Get());
    }
}

/*
 * SelectStoredResolution --
 *     Side effects: the row of the stored "window-width" and
 *     "window-height" is selected, else the first row of that width; none
 *     when no row has it.
 */
void nLauncher::SelectStoredResolution()
{
    const nString width = this->prefServer->ReadString(nString("window-width"));
    const nString height = this->prefServer->ReadString(nString("window-height"));
    int row = -1;
    int widthRow = -1;
    for (int i = 0; i < int(this->sizes.size()) && row < 0; i++)
    {
        if (width != std::to_string(this->sizes[i].first).c_str()) continue;
        if (widthRow < 0) widthRow = i;
        if (height == std::to_string(this->sizes[i].second).c_str()) row = i;
    }
    this->dialog->ListSetCurSel(IdResolution, row >= 0 ? row : widthRow);
}

/*
 * InitDialog --
 *     Side effects: the launcher kernel opens; the list is filled with the
 *     sizes the display can show, the stored resolution selected and
 *     Fullscreen checked when the stored type is "fullscreen".
 */
void nLauncher::InitDialog()
{
    this->OpenLauncherKernel();
    this->AddControls();
    this->sizes = ListedSizes(this->displayModes());
    for (const Size& r : this->sizes)
    {
        const std::string text = std::to_string(r.first) + "x" + std::to_string(r.second);
        this->dialog->ListAddString(IdResolution, text.c_str());
    }
    this->SelectStoredResolution();
    const nString type = this->prefServer->ReadString(nString("window-type"));
    this->dialog->SetChecked(IdFullscreen, type == "fullscreen");
}

void nLauncher::Start()
{
    this->dialog = std::make_unique<nPlatformDialog>(this->host, "launcher", Caption, 303, 201, 8, nullptr);
    this->InitDialog();
    this->dialog->Show();
    this->dialog->SetFocus(IdPlay);
}

bool nLauncher::IsEnded() const
{
    return this->dialog && this->dialog->IsEnded();
}

/*
 * Pump --
 *     Side effects: window events handled; every waiting command of the
 *     player carried out, in order, until the launcher ends.
 */
void nLauncher::Pump(bool wait)
{
    this->host.ProcessEvents(wait);
    nPlatformDialog::Command cmd;
    while (!this->IsEnded() && this->dialog->NextCommand(cmd)) this->OnCommand(cmd);
}

/*
 * Run --
 *     Results: 0.
 *     Side effects: the launcher is shown and runs until QUIT or close;
 *     the launcher kernel is gone afterwards (preferences saved).
 */
int nLauncher::Run()
{
    this->Start();
    while (!this->IsEnded()) this->Pump(true);
    this->dialog->Hide();
    this->CloseLauncherKernel();
    return 0;
}

/*
 * OnCommand --
 *     Side effects: the command's action; nothing while a game runs.
 */
void nLauncher::OnCommand(const nPlatformDialog::Command& cmd)
{
    if (this->gameRunning) return;
    if (cmd.id == IdResolution && cmd.code == nPlatformDialog::SelChange) this->OnResolutionChanged();
    else if (cmd.id == IdFullscreen && cmd.code == nPlatformDialog::Clicked) this->OnFullscreenClicked();
    else if (cmd.id == IdPlay) this->RunGame();
    else if (cmd.id == IdCredits) this->ShowCreditsDialog();
    else if (cmd.id == IdQuit) this->dialog->End(IdQuit);
}

/*
 * OnResolutionChanged --
 *     Side effects: "window-width" and then "window-height" of the
 *     selected row; nothing when no row is selected.
 */
void nLauncher::OnResolutionChanged()
{
    const int row = this->dialog->ListGetCurSel(IdResolution);
    if (row < 0 || row >= int(this->sizes.size())) return;
    this->prefServer->WriteString(nString("window-width"), nString(std::to_string(this->sizes[row].first).c_str()));
    this->prefServer->WriteString(nString("window-height"), nString(std::to_string(this->sizes[row].second).c_str()));
}

void nLauncher::OnFullscreenClicked()
{
    const bool full = this->dialog->IsChecked(IdFullscreen);
    this->prefServer->WriteString(nString("window-type"), nString(full ? "fullscreen" : "windowed"));
}

/*
 * RunGame --
 *     Side effects: the launcher hides and its kernel goes (saving the
 *     preferences); one game runs; what the player did to the hidden
 *     launcher meanwhile is dropped; the launcher kernel comes back and
 *     the launcher shows again, with QUIT focused and default after a
 *     game, with a message when the game could not start; after a game
 *     that a signal ended (SIGTERM) the launcher ends instead.
 */
void nLauncher::RunGame()
{
    this->dialog->Hide();
    this->CloseLauncherKernel();

    this->gameRunning = true;
    std::string failure;
    const bool ran = this->gameRun(this->home, failure);
    this->host.ProcessEvents(false);
    this->dialog->DropCommands();
    this->gameRunning = false;

    this->OpenLauncherKernel();
    // the session ends the program: the game has saved, the launcher goes too
    if (nPlatformWindow::TakeEndRequest())
    {
        this->dialog->End(IdQuit);
        return;
    }
    this->dialog->Show();
    if (ran)
    {
        this->dialog->SetFocus(IdQuit);
        this->dialog->SetDefaultButton(IdQuit);
    }
    else
    {
        this->dialog->ShowMessage(Caption, failure.empty() ? "The game could not start." : failure.c_str());
    }
}

/*
 * ShowCreditsDialog --
 *     Side effects: the credits dialog above the launcher, with the
 *     focus, until OK, Escape or its close button; its address button
 *     opens the web page; what reached the launcher meanwhile is dropped.
 */
void nLauncher::ShowCreditsDialog()
{
    nPlatformDialog credits(this->host, "credits", "Credits", 186, 89, 8, this->dialog.get());
    credits.AddButton(IdCreditsOk, "OK", {70, 68, 50, 14}, true);
    credits.AddStatic(CreditLines[0], {17, 17, 162, 8});
    credits.AddStatic(CreditLines[1], {17, 31, 162, 8});
    credits.AddButton(IdWebAddress, WebAddress, {30, 46, 123, 15}, false);
    credits.RunModal([&credits, this](const nPlatformDialog::Command& cmd) {
        if (cmd.id == IdCreditsOk || cmd.id == nPlatformDialog::CancelId) credits.End(2);
        else if (cmd.id == IdWebAddress) this->OpenWebPage();
    });
    // a key that reached the launcher meanwhile (Escape is its QUIT) is not the player's answer to it
    this->dialog->DropCommands();
    this->dialog->SetFocus(IdCredits);
}

/*
 * OpenWebPage --
 *     Side effects: the desktop opens the game's web address; a log line
 *     when it cannot.
 */
void nLauncher::OpenWebPage()
{
    nAppLauncher appLauncher(this->kernelServer.get());
    appLauncher.SetUrl(WebAddress);
    appLauncher.SetExecutable("null");
    if (!appLauncher.Launch()) n_printf("nLauncher: could not open '%s'\n", WebAddress);
}
