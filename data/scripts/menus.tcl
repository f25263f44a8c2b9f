#-------------------------------------------------------------------------------
#   menus.tcl
#
#   The player's progression and the menus: the main menu at program start,
#   the window before a fight that names the next opponent, and the way
#   into a match and out of the program.
#-------------------------------------------------------------------------------

#   Forgets the menu's windows, which are kept by path (empty when not shown).
proc ForgetMenus {} {
    set ::mainMenuWindow ""
    set ::preStartWindow ""
    set ::preStartDialog ""
}
ForgetMenus
set ::introPlayed 0

#   The application and its match state.
set ::app /theApp
proc GameState {} { return "$::app/appstates/game" }

#-------------------------------------------------------------------------------
#   The player's progression. The game loads "/usr/players" from the
#   players' file and saves it when it ends; the player boxer writes what a
#   match earned into its prototype there. On the first run there is no
#   player yet: the library's player becomes the first one.
#-------------------------------------------------------------------------------

#   The first player under "/usr/players", made from the library's player
#   when there is none; the match state is told to build the boxer from it.
#   Results: its path, or "" when the game data has no player to start with.
proc EnsurePlayer {} {
    if {![exists /usr/players]} { new nroot /usr/players }
    if {[llength [/usr/players.getchildren]] == 0} {
        if {![exists /usr/lib/objects/player]} {
            puts "startup.tcl: the game data has no player prototype '/usr/lib/objects/player'; no match can start"
            return ""
        }
        set cwd [psel]
        sel /usr/players
        /usr/lib/objects/player.clone player
        sel $cwd
    }
    set player [lindex [/usr/players.getchildren] 0]
    [GameState].setplayerproto $player
    return $player
}

#   A value of a prototype's nenv child, or the fallback when it is missing.
proc ProtoValue {proto key fallback} {
    if {![exists $proto/$key]} { return $fallback }
    switch [$proto/$key.gettype] {
        int    { return [$proto/$key.geti] }
        float  { return [$proto/$key.getf] }
        string { return [$proto/$key.gets] }
    }
    return $fallback
}

#   The prototype of the opponent the player meets next: as the match
#   chooses it, the highest one below the index when the index runs past
#   the last opponent. The library is looked through once, whatever the
#   index (a saved one may be huge).
proc NextOpponent {player} {
    set n [ProtoValue $player next-enemy 0]
    if {[exists /usr/lib/objects/_ai$n]} { return /usr/lib/objects/_ai$n }
    if {![exists /usr/lib/objects]} { return "" }
    set best -1
    foreach obj [/usr/lib/objects.getchildren] {
        if {[regexp {^/usr/lib/objects/_ai(0|[1-9][0-9]*)$} $obj -> i] && $i < $n && $i > $best} {
            set best $i
        }
    }
    if {$best < 0} { return "" }
    return /usr/lib/objects/_ai$best
}

#   What the last match earned, from the buffer the player boxer leaves:
#   the score gained and the statistics that grew. Empty when nothing grew.
proc LastMatchGains {} {
    if {![exists /usr/player-buffer]} { return "" }
    set parts {}
    set score [expr {int([ProtoValue /usr/player-buffer score 0])}]
    if {$score > 0} { lappend parts "+$score score" }
    foreach {key label} {health health energy energy energy-rec-rate recovery strike-length reach
                         strength strength fist-mass punch move-speed speed lightness agility
                         accuracy accuracy} {
        set steps [expr {int(round([ProtoValue /usr/player-buffer $key 0]))}]
        # a no-break space keeps a statistic and its steps on one line
        if {$steps > 0} { lappend parts "$label\u00a0+$steps" }
    }
    return [join $parts ", "]
}

#-------------------------------------------------------------------------------
#   Main menu.
#-------------------------------------------------------------------------------

proc BuildMainMenu {} {
    set w [BackdropWindow]
    TextLabel $w title "VELKORAN" title 0.02 0.04 0.98 0.22
    $w/title.setcolor 0.95 0.75 0.25 1
    TextLabel $w subtitle "THE BOXING GAME" subtitle 0.02 0.21 0.98 0.28
    $w/subtitle.setcolor 0.85 0.85 0.9 1
    Picture $w ring ring 0.08 0.33 0.48 0.86
    TextButton $w start "Start match" StartMatch 0.60 0.46 0.93 0.56
    TextButton $w quit "Quit" QuitGame 0.60 0.61 0.93 0.71
    TextLabel $w hint "Return starts a match" small 0.58 0.74 0.95 0.79
    $w/hint.setcolor 0.7 0.7 0.78 1
    # a saved progress that could not be read, or that this copy will not
    # save; room for three lines, as it names a file by its whole path
    set notice [expr {[exists [GameState]] ? [[GameState].getsavenotice] : ""}]
    if {$notice ne ""} {
        TextLabel $w notice $notice small 0.02 0.87 0.98 0.99
        $w/notice.setcolor 1 0.55 0.45 1
    }
    set ::mainMenuWindow $w
}

#   Start match: the window that names the next opponent.
proc StartMatch {} {
    DismissIfThere $::mainMenuWindow
    set ::mainMenuWindow ""
    ShowPreStartWindow
    MapPreStartMenuInput
}

#   Back: from the window before a fight to the main menu.
proc BackToMainMenu {} {
    DismissIfThere $::preStartDialog
    DismissIfThere $::preStartWindow
    set ::preStartDialog ""
    set ::preStartWindow ""
    ShowMainMenu
    MapMainMenuInput
}

#   Fight: the match begins with the next frame.
proc Fight {} {
    if {[EnsurePlayer] eq ""} { return }
    $::app.setstate game
}

proc QuitGame {} {
    exit
}

#   The intro video ends by itself, by Escape or Space (the video server
#   watches those), and by Return or a click.
proc SkipIntro {} {
    if {[/sys/servers/video.isplaying]} { /sys/servers/video.stop }
}

#-------------------------------------------------------------------------------
#   The window before a fight.
#-------------------------------------------------------------------------------

proc BuildPreStartWindow {} {
    set back [BackdropWindow]
    set ::preStartWindow $back
    set player [EnsurePlayer]

    set w [GameWindow "NEXT FIGHT" 0.12 0.08 0.88 0.92]
    $w.setmodal true
    # the dialog belongs to the backdrop, so both go together
    set ::preStartDialog $w
    lassign [LayoutSize $w] lw lh
    set c $w/Layout

    if {$player eq ""} {
        TextLabel $c missing "The game data has no boxer for the player." text 0.02 0.20 [expr {$lw - 0.02}] 0.28
        TextLabel $c missing2 "No match can start." text 0.02 0.28 [expr {$lw - 0.02}] 0.36
    } else {
        set name [ProtoValue $player name "You"]
        set score [ProtoValue $player score 0]
        set wins [ProtoValue $player next-enemy 0]
        TextLabel $c you "$name    Score $score    Wins $wins" text 0.02 0.02 [expr {$lw - 0.02}] 0.08
        $c/you.setcolor 0.85 0.85 0.9 1
        TextLabel $c opplabel "Your next opponent" subtitle 0.02 0.10 [expr {$lw - 0.02}] 0.17
        set opp [NextOpponent $player]
        set oppName [expr {$opp eq "" ? "nobody yet" : [ProtoValue $opp name [file tail $opp]]}]
        TextLabel $c opponent $oppName big 0.02 0.17 [expr {$lw - 0.02}] 0.29
        $c/opponent.setcolor 0.95 0.75 0.25 1
        set gains [LastMatchGains]
        # all a match can earn takes two lines; the label has room for three
        if {$gains ne ""} {
            TextLabel $c gains "Last match: $gains" small 0.02 0.295 [expr {$lw - 0.02}] 0.405
            $c/gains.setcolor 0.6 0.95 0.6 1
        }
    }
    set controls {
        "Move: mouse          Guard: Space (hold)"
        "Left punch: left button or J     Right punch: right button or K"
        "Hook: hold Shift or Q     Uppercut: hold Ctrl or E"
        "Take a bonus: B or middle button     Camera: C     Pause: P     Menu: Esc"
    }
    set y 0.41
    set i 0
    foreach line $controls {
        set l [TextLabel $c controls$i $line small 0.02 $y [expr {$lw - 0.02}] [expr {$y + 0.045}] left]
        $l.setcolor 0.8 0.8 0.85 1
        set y [expr {$y + 0.045}]
        incr i
    }
    set bw [expr {($lw - 0.08) / 3.0}]
    set top [expr {$lh - 0.11}]
    set bottom [expr {$lh - 0.02}]
    set x 0.02
    if {$player ne ""} {
        TextButton $c fight "Fight" Fight $x $top [expr {$x + $bw}] $bottom
    }
    set x [expr {$x + $bw + 0.02}]
    TextButton $c back "Back" BackToMainMenu $x $top [expr {$x + $bw}] $bottom
    set x [expr {$x + $bw + 0.02}]
    TextButton $c quit "Quit" QuitGame $x $top [expr {$x + $bw}] $bottom
}

#-------------------------------------------------------------------------------
#   Closing the menu's windows.
#-------------------------------------------------------------------------------

proc CloseMenuWindows {} {
    DeleteIfThere $::preStartDialog
    DeleteIfThere $::preStartWindow
    DeleteIfThere $::mainMenuWindow
    ForgetMenus
}
