#-------------------------------------------------------------------------------
#   startup.tcl
#
#   The game's start-up script. The application runs it when it opens and
#   then calls the procedures below by name; every procedure the program
#   calls is defined here, even where it has nothing to do yet.
#-------------------------------------------------------------------------------

#   OnStartup: the assigns under which the game finds its data.
proc OnStartup {} {
    set fs /sys/servers/file2
    $fs.setassign gfxlib   proj:data/gfxlib/
    $fs.setassign objects  proj:data/objects/
    $fs.setassign levels   proj:data/levels/
    $fs.setassign meshes   proj:data/meshes/
    $fs.setassign sound    proj:data/sounds/
    $fs.setassign textures proj:data/textures/
    $fs.setassign shaders  proj:data/shaders/
    $fs.setassign lights   proj:data/lights/
    $fs.setassign video    proj:data/video/
}

#   OnGraphicsStartup: called once the display mode is set.
proc OnGraphicsStartup {} {
}

#   OnMapInput: the input mappings, called once the input server exists.
proc OnMapInput {} {
}

#   OnGuiServerOpen, OnGuiServerClose: the GUI server's hooks.
proc OnGuiServerOpen {} {
}

proc OnGuiServerClose {} {
}

#   The intro's and the menu's hooks. The menu windows themselves are not
#   written yet; until they are, these do nothing.
#   MapIntroInput: the input mapping while the intro video plays.
proc MapIntroInput {} {
}

#   ShowMainMenu, MapMainMenuInput: the main menu at program start and
#   after the intro.
proc ShowMainMenu {} {
}

proc MapMainMenuInput {} {
}

#   ShowPreStartWindow, MapPreStartMenuInput, OnMenuStateEnter: the menu
#   when the player comes back from a match.
proc ShowPreStartWindow {} {
}

proc MapPreStartMenuInput {} {
}

proc OnMenuStateEnter {} {
}

#   CloseMenuWindow: the menu is left for another state.
proc CloseMenuWindow {} {
}

#   The match's hooks. The HUD windows themselves are not written yet;
#   until they are, these do nothing.
#   OnGameStateEnter, MapGameInput: entering a match and its input mapping.
proc OnGameStateEnter {} {
}

proc MapGameInput {} {
}

#   ShowYouWon, ShowYouLost: the end of a match.
proc ShowYouWon {} {
}

proc ShowYouLost {} {
}

#   The player's bonuses: the notification and the icons.
proc ShowBonusNotification {} {
}

proc HideBonusNotification {} {
}

proc ShowSlowModeIcon {} {
}

proc ShowVulnerableAIIcon {} {
}

proc ShowFatalPunchIcon {} {
}
