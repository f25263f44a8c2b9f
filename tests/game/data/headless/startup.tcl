#-------------------------------------------------------------------------------
#   startup.tcl of the headless match
#
#   The smallest data a whole match runs on: every procedure the program
#   calls appends its name to ::calls, so that a test sees what the game
#   asked of its scripts and in which order. The clock advances exactly
#   1/60 s per frame from 0, StartMatch begins a match of the player
#   "/usr/players/me", and the left mouse button punches.
#-------------------------------------------------------------------------------

set ::calls {}

proc Record {name} {
    lappend ::calls $name
}

#   TakeCalls: the calls since the last TakeCalls, oldest first.
proc TakeCalls {} {
    set taken $::calls
    set ::calls {}
    return $taken
}

proc OnStartup {} {
    Record OnStartup
    set fs /sys/servers/file2
    $fs.setassign gfxlib   proj:gfxlib/
    $fs.setassign objects  proj:objects/
    $fs.setassign levels   proj:levels/
    $fs.setassign sound    proj:sounds/
    $fs.setassign lights   proj:lights/
    $fs.setassign textures proj:textures/
    # locked first, then set: every frame time is the same step from 0
    /sys/servers/time.lockdeltat [expr {1.0 / 60.0}]
    /sys/servers/time.settime 0
}

#   OnGraphicsStartup: a small window, nobody looks at it.
proc OnGraphicsStartup {} {
    Record OnGraphicsStartup
    /sys/servers/gfx.setdisplaymode Headless windowed 0 0 160 120 false
    /sys/servers/scene.setrenderpathfilename home:data/shaders/renderpath.xml
}

proc OnMapInput {} {
    Record OnMapInput
}

#   OnGuiServerOpen: the fonts the match's labels ask for.
proc OnGuiServerOpen {} {
    Record OnGuiServerOpen
    foreach font {game-bar name score wintitle} {
        /sys/servers/gui.addsystemfont $font Arial 16 false false false
    }
}

proc OnGuiServerClose {} {
    Record OnGuiServerClose
}

proc MapIntroInput {} {
    Record MapIntroInput
}

proc ShowMainMenu {} {
    Record ShowMainMenu
}

#   StartMatch: what the menu's start button does (the test presses it);
#   not called from a state's entry, where the switch would come too early
#   to take effect.
proc StartMatch {} {
    /theApp/appstates/game.setplayerproto /usr/players/me
    /theApp.setstate game
}

proc MapMainMenuInput {} {
    Record MapMainMenuInput
}

proc ShowPreStartWindow {} {
    Record ShowPreStartWindow
}

proc MapPreStartMenuInput {} {
    Record MapPreStartMenuInput
}

proc OnMenuStateEnter {} {
    Record OnMenuStateEnter
}

proc CloseMenuWindow {} {
    Record CloseMenuWindow
}

proc OnGameStateEnter {} {
    Record OnGameStateEnter
}

proc MapGameInput {} {
    Record MapGameInput
    set in /sys/servers/input
    $in.beginmap
    $in.map mouse0:btn0.down btn0_down
    $in.endmap
}

proc ShowYouWon {} {
    Record ShowYouWon
}

proc ShowYouLost {} {
    Record ShowYouLost
}

proc ShowBonusNotification {} {
    Record ShowBonusNotification
}

proc HideBonusNotification {} {
    Record HideBonusNotification
}

proc ShowSlowModeIcon {} {
    Record ShowSlowModeIcon
}

proc ShowVulnerableAIIcon {} {
    Record ShowVulnerableAIIcon
}

proc ShowFatalPunchIcon {} {
    Record ShowFatalPunchIcon
}
