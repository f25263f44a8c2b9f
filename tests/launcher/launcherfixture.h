#ifndef TESTS_LAUNCHER_LAUNCHERFIXTURE_H
#define TESTS_LAUNCHER_LAUNCHERFIXTURE_H
//------------------------------------------------------------------------------
//  The launcher on the dialog host in a temporary home, with a stand-in
//  game that returns at once, and the player's mouse and keyboard made
//  with Tk's event generate.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "launcher/nlauncher.h"
#include "platform/nplatformdialog.h"

#include <map>
#include <memory>
#include <string>

class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// the preferences written into "home:prefs.n2" through a kernel of the program's own
    void StorePrefs(const std::map<std::string, std::string>& values);
    /// the preferences read from "home:prefs.n2" as the game reads them (no other kernel may exist)
    std::map<std::string, std::string> ReadPrefs();

    /// start the launcher
    void Start();
    /// handle what is waiting
    void Pump();
    /// a mouse click on the control
    void Click(int id);
    /// a mouse click on a row of the resolution list
    void ClickRow(int row);
    /// a key pressed where the keyboard focus is
    void PressKey(const char* key);
    /// a script that runs ms after the window shows, inside whatever loop is waiting then
    void WhenShown(const std::string& window, int ms, const std::string& script);

    std::unique_ptr<nPlatformDialogHost> host;
    std::unique_ptr<nLauncher> launcher;
    std::string home;
    /// what the stand-in game saw: one entry per game
    std::vector<std::map<std::string, std::string>> games;
    /// the display's mode sizes the launcher is given: every standard size fits
    std::vector<nLauncher::Size> displayModes = {{1600, 1200}};
    /// the stand-in game's answer
    bool gameOpens = true;
    std::string gameFailure;
};
#endif
