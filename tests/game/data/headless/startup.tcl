#-------------------------------------------------------------------------------
#   startup.tcl of the headless match
#
#   The smallest data a whole match runs on: every procedure the program
#   calls appends its name to ::calls, so that a test sees what the game
#   asked of its scripts and in which order. The clock advances exactly
#   1/60 s per frame from 0, the menu goes straight into a match of the
#   player "/usr/players/me", and the left mouse button punches.
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
    # locked first, then set: every frame time is the same step from 0
    /sys/servers/time.lockdeltat [expr {1.0 / 60.0}]
    /sys/servers/time.settime 0
}

proc OnGraphicsStartup {} {
    Record OnGraphicsStartup
    /sys/servers/scene.setrenderpathfilename home:data/shaders/renderpath.xml
}

proc OnMapInput {} {
    Record OnMapInput
}

proc OnGuiServerOpen {} {
    Record OnGuiServerOpen
}

proc OnGuiServerClose {} {
    Record OnGuiServerClose
}

proc MapIntroInput {} {
    Record MapIntroInput
}

#   ShowMainMenu: no menu here; the player goes straight into a match.
proc ShowMainMenu {} {
    Record ShowMainMenu
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
