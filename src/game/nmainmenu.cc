//------------------------------------------------------------------------------
//  nmainmenu.cc
//------------------------------------------------------------------------------
#include "game/nmainmenu.h"
#include "game/napp.h"
#include "gui/nguiserver.h"

namespace
{

/// runs the procedure when the game application is there to run it
void Run(const char* procName)
{
    if (nApp::HasInstance()) nApp::Instance()->RunScript(procName);
}

}  // namespace

nMainMenu::nMainMenu() = default;

nMainMenu::~nMainMenu() = default;

/*
 * OnStateEnter --
 *     Side effects: the GUI server switches its system GUI; coming from
 *     "game" the script procedures "ShowPreStartWindow",
 *     "MapPreStartMenuInput" and "OnMenuStateEnter" run, otherwise
 *     "ShowMainMenu" and "MapMainMenuInput".
 */
void nMainMenu::OnStateEnter(const nString& prevState)
{
    if (nGuiServer* gui = nGuiServer::InstanceOrNull()) gui->ToggleSystemGui();
    if (prevState == "game")
    {
        Run("ShowPreStartWindow");
        Run("MapPreStartMenuInput");
        Run("OnMenuStateEnter");
    }
    else
    {
        Run("ShowMainMenu");
        Run("MapMainMenuInput");
    }
}

/*
 * OnStateLeave --
 *     Side effects: the script procedure "CloseMenuWindow" runs, once per
 *     leaving, whatever the next state.
 */
void nMainMenu::OnStateLeave(const nString& /*nextState*/)
{
    Run("CloseMenuWindow");
}
