#ifndef N_LAUNCHER_H
#define N_LAUNCHER_H
//------------------------------------------------------------------------------
/**
    @class nLauncher
    @ingroup Launcher

    The launcher dialog the program starts with: the player picks a
    screen resolution and full screen or a window (both stored as
    preferences), looks at the credits, and presses PLAY, which hides the
    launcher, runs one game in a kernel of its own and shows the launcher
    again with QUIT focused. QUIT or closing the dialog ends it.

    The launcher keeps its preferences in a small kernel of its own that
    lives only while the dialog is shown; exactly one kernel exists at any
    time, and "home:prefs.n2" carries the choices to the game. The dialog
    windows belong to the dialog host, which outlives every kernel.
*/
#include "platform/nplatformdialog.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class nKernelServer;
class nPrefServer;

class nLauncher
{
public:
    /// control ids of the launcher and the credits dialog
    enum
    {
        IdPlay = 1,
        IdQuit = 2,
        IdCredits = 1005,
        IdResolution = 1010,
        IdFullscreen = 1011,
        IdCreditsOk = 1,
        IdWebAddress = 1016,
    };

    /// one game for a home directory: true when it opened and ran, else false with a
    /// message for the player
    using GameRun = std::function<bool(const std::string& home, std::string& failure)>;
    /// a screen size: width, height
    using Size = std::pair<int, int>;
    /// the mode sizes of the display the game will run on
    using DisplayModes = std::function<std::vector<Size>()>;

    explicit nLauncher(nPlatformDialogHost& host);
    ~nLauncher();
    nLauncher(const nLauncher&) = delete;
    nLauncher& operator=(const nLauncher&) = delete;

    /// what PLAY runs; the real game unless replaced
    void SetGameRun(GameRun run) { this->gameRun = std::move(run); }
    /// where the list's sizes come from; the display's (through SDL) unless replaced
    void SetDisplayModes(DisplayModes modes) { this->displayModes = std::move(modes); }
    /// the resolution list's rows for a display with these mode sizes
    static std::vector<Size> ListedSizes(const std::vector<Size>& modes);
    /// the home directory (ending in "/") of every kernel; empty: the program's own
    void SetHome(const std::string& dir) { this->home = dir; }

    /// the launcher until QUIT or close; 0
    int Run();

    /// the dialog made, filled from the preferences and shown (Run begins so)
    void Start();
    /// handle the window events and the player's commands that are waiting; with wait,
    /// wait for one first
    void Pump(bool wait);
    /// whether QUIT or close ended the launcher
    bool IsEnded() const;
    /// the launcher dialog, 0 before Start
    nPlatformDialog* GetDialog() const { return this->dialog.get(); }
    /// the launcher kernel's preference server, 0 while a game runs
    nPrefServer* GetPrefServer() const { return this->prefServer; }
    /// whether a game is running
    bool IsGameRunning() const { return this->gameRunning; }

    /// the game's web address, the caption of the credits' address button
    static const char* const WebAddress;

private:
    void OpenLauncherKernel();
    void CloseLauncherKernel();
    /// the controls, the list, the selection and the check from the preferences
    void InitDialog();
    void AddControls();
    void SelectStoredResolution();
    void OnCommand(const nPlatformDialog::Command& cmd);
    void OnResolutionChanged();
    void OnFullscreenClicked();
    void RunGame();
    void ShowCreditsDialog();
    void OpenWebPage();

    nPlatformDialogHost& host;
    std::unique_ptr<nPlatformDialog> dialog;
    std::unique_ptr<nKernelServer> kernelServer;
    nPrefServer* prefServer;
    bool gameRunning;
    GameRun gameRun;
    DisplayModes displayModes;
    /// the sizes the resolution list shows, row by row
    std::vector<Size> sizes;
    std::string home;
};
#endif
