#-------------------------------------------------------------------------------
#   startup.tcl
#
#   The game's start-up script. The application runs it when it opens and
#   then calls the procedures below by name: the assigns and the render
#   path, the fonts and the skin, the input mappings of each state, the
#   menus, and what a match shows. The windows are built by the files it
#   sources: gui.tcl (skin, fonts, widget helpers), menus.tcl (progression
#   and menus) and match.tcl (the match's windows).
#-------------------------------------------------------------------------------

source proj:data/scripts/gui.tcl
source proj:data/scripts/menus.tcl
source proj:data/scripts/match.tcl

#   OnStartup: the assigns under which the game finds its data. The window's
#   size and kind come from the launcher's preferences, which the game
#   applies itself when it makes its preference server.
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
    $fs.setassign gui      proj:data/gui/
    $fs.setassign save     appdata:boxing/save/
}

#   OnGraphicsStartup: the display mode is set and the display opens next:
#   the window gets the game's name, and the scene server its render path.
proc OnGraphicsStartup {} {
    set gfx /sys/servers/gfx
    lassign [$gfx.getdisplaymode] title type x y w h vsync
    $gfx.setdisplaymode "Velkoran" $type $x $y $w $h $vsync
    /sys/servers/scene.setrenderpathfilename proj:data/shaders/renderpath.xml
}

#   OnMapInput: the input server exists; the menu's keys hold until a state
#   maps its own.
proc OnMapInput {} {
    MapMainMenuInput
}

#   OnGuiServerOpen, OnGuiServerClose: the GUI server's hooks. The fonts
#   and the skin serve the system GUI and the game's windows alike.
proc OnGuiServerOpen {} {
    AddFonts
    MakeSkin
}

proc OnGuiServerClose {} {
    ForgetMenus
    ForgetHud
}

#   MapIntroInput: the intro video; Escape and Space end it by themselves.
proc MapIntroInput {} {
    MapInput {
        keyb0:return.down script:SkipIntro
        mouse0:btn0.down  script:SkipIntro
    }
}

#   ShowMainMenu: at program start the intro plays first, once per run;
#   after it, and coming back from anywhere but a match, the main menu.
proc ShowMainMenu {} {
    EnsurePlayer
    if {!$::introPlayed} {
        set ::introPlayed 1
        $::app.setstate intro
        return
    }
    if {$::mainMenuWindow eq "" || ![exists $::mainMenuWindow]} { BuildMainMenu }
}

#   MapMainMenuInput: Return starts a match like the menu's button.
proc MapMainMenuInput {} {
    MapInput {
        keyb0:return.down script:MainMenuReturn
    }
}

#   Return in the main menu, once the menu shows.
proc MainMenuReturn {} {
    if {$::mainMenuWindow ne "" && [exists $::mainMenuWindow]} { StartMatch }
}

#   ShowPreStartWindow: the window before a fight, at Start match and
#   coming back from a match.
proc ShowPreStartWindow {} {
    if {$::preStartWindow ne "" && [exists $::preStartWindow]} { return }
    BuildPreStartWindow
}

#   MapPreStartMenuInput: Return fights, Escape goes back to the main menu.
proc MapPreStartMenuInput {} {
    MapInput {
        keyb0:return.down script:Fight
        keyb0:esc.down    script:BackToMainMenu
    }
}

#   OnMenuStateEnter: back from a match; its windows go.
proc OnMenuStateEnter {} {
    CloseHud
}

#   CloseMenuWindow: the menu is left for another state.
proc CloseMenuWindow {} {
    CloseMenuWindows
}

#   OnGameStateEnter: the match is set up (the player boxer has made its
#   bars); what is left of an earlier match goes, the HUD comes.
proc OnGameStateEnter {} {
    CloseHud
    BuildHud
}

#   MapGameInput: the boxer's orders. The player's boxer follows the mouse;
#   the left button or J punches left, the right button or K right; Shift
#   or Q held makes it a hook, Ctrl or E an uppercut; Space held guards; B
#   or the middle button takes a bonus; C changes the camera; P pauses;
#   Escape leaves for the menu.
proc MapGameInput {} {
    MapInput {
        mouse0:btn0.down   btn0_down
        keyb0:j.down       btn0_down
        mouse0:btn1.down   btn1_down
        keyb0:k.down       btn1_down
        keyb0:shift.pressed hook
        keyb0:q.pressed    hook
        keyb0:ctrl.pressed uppercut
        keyb0:e.pressed    uppercut
        keyb0:space.down   space_down
        keyb0:space.up     space_up
        keyb0:b.down       take-bonus
        mouse0:btn2.down   take-bonus
        keyb0:c.down       next-camera
        keyb0:p.down       script:TogglePause
        keyb0:esc.down     script:LeaveMatch
    }
}

#   ShowYouWon, ShowYouLost: the end of a match.
proc ShowYouWon {} {
    ShowResult "VICTORY" "You won!" "Your opponent is down."
}

proc ShowYouLost {} {
    ShowResult "DEFEAT" "You lost" "You went down. Try again."
}

#   The player's bonuses: the notification while one is waiting to be
#   taken, and an icon for each bonus that runs for a time.
proc ShowBonusNotification {} {
    ShowBonusNote 1
}

proc HideBonusNotification {} {
    ShowBonusNote 0
}

proc ShowSlowModeIcon {} {
    ShowBonusIcon slow 0 "Slow motion"
}

proc ShowVulnerableAIIcon {} {
    ShowBonusIcon openenemy 1 "Open guard"
}

proc ShowFatalPunchIcon {} {
    ShowBonusIcon fatalpunch 2 "Fatal punch"
}
