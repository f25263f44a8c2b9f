#-------------------------------------------------------------------------------
#   match.tcl
#
#   What a match shows besides the player's own bars (the player boxer makes
#   its health and energy bars itself): the window naming the two boxers,
#   the key hints, the bonus notification, the bonus icons sliding in from
#   the bottom, the pause notice and the window at the end of the match.
#-------------------------------------------------------------------------------

#   Forgets the match's widgets, which are kept by path (empty when not there).
proc ForgetHud {} {
    set ::hudWindow ""
    set ::hudHint ""
    set ::bonusNote ""
    set ::pauseNote ""
    set ::resultWindow ""
    set ::bonusIcons {}
    set ::paused 0
}
ForgetHud

proc BuildHud {} {
    set root [RootWindow]
    set player ""
    if {[exists /usr/players]} { set player [lindex [/usr/players.getchildren] 0] }
    set name [expr {$player eq "" ? "You" : [ProtoValue $player name "You"]}]
    set opp [expr {$player eq "" ? "" : [NextOpponent $player]}]
    set oppName [expr {$opp eq "" ? "?" : [ProtoValue $opp name [file tail $opp]]}]
    set fight [expr {$player eq "" ? 1 : [ProtoValue $player next-enemy 0] + 1}]

    set w [GameWindow "FIGHT $fight" 0.01 0.01 0.50 0.13]
    $w.setdefaultbrush hud
    lassign [LayoutSize $w] lw lh
    TextLabel $w/Layout boxers "$name  vs  $oppName" name 0.005 0.0 [expr {$lw - 0.005}] $lh left
    set ::hudWindow $w

    set ::hudHint [TextLabel $root hudhint "C camera   B bonus   P pause   Esc menu" small 0.55 0.01 0.99 0.05 right]
    $::hudHint.setcolor 0.85 0.85 0.9 0.8

    set ::bonusNote [TextLabel $root bonusnote "BONUS READY - press B" menu 0.25 0.78 0.75 0.85]
    $::bonusNote.setdefaultbrush hud
    $::bonusNote.setcolor 1 0.85 0.3 1
    $::bonusNote.setblinking true 0
    $::bonusNote.setblinkrate 0.6
    $::bonusNote.hide

    set ::pauseNote [TextLabel $root pausenote "PAUSED - press P" big 0.1 0.4 0.9 0.55]
    $::pauseNote.setcolor 1 1 1 1
    $::pauseNote.hide
}

#   Removes every widget of the match, wherever it lies.
proc CloseHud {} {
    foreach path [concat [list $::hudWindow $::hudHint $::bonusNote $::pauseNote $::resultWindow] $::bonusIcons] {
        DeleteIfThere $path
    }
    ForgetHud
}

#-------------------------------------------------------------------------------
#   Bonuses.
#-------------------------------------------------------------------------------

#   A bonus earned by the last blow is no news once the result shows.
proc ShowBonusNote {show} {
    if {$::bonusNote eq "" || ![exists $::bonusNote]} { return }
    if {$show && $::resultWindow ne ""} { return }
    if {$show} { $::bonusNote.show } else { $::bonusNote.hide }
}

#   An icon of the bonus kind ("slow", "openenemy" or "fatalpunch") slides
#   in at its place at the bottom left and shows the time the bonus has left.
proc ShowBonusIcon {kind slot text} {
    set path "[RootWindow]/bonus-$kind"
    DeleteIfThere $path
    set icon [new nbonusicon $path]
    $icon.setdefaultbrush bonus
    $icon.setbonus $kind
    $icon/bar-trail.setdefaultbrush bonus-trail
    $icon/bar.setdefaultbrush bonus-bar
    $icon/text.setfont small
    $icon/text.settext $text
    $icon/text.setcolor 1 0.95 0.8 1
    # position and size, which updaterect turns into corners: the icon
    # itself and its children relative to it
    set x [expr {0.02 + $slot * 0.17}]
    $icon.setrect $x 0.16 0.86 0.11
    $icon/text.setrect 0.005 0.15 0.005 0.055
    $icon/bar-trail.setrect 0.01 0.14 0.07 0.025
    $icon/bar.setrect 0.01 0.14 0.07 0.025
    $icon.updaterect
    $icon.show
    lappend ::bonusIcons $icon
}

#-------------------------------------------------------------------------------
#   Pause and the end of the match.
#-------------------------------------------------------------------------------

proc TogglePause {} {
    if {$::resultWindow ne ""} { return }
    set ::paused [expr {!$::paused}]
    [GameState].setpause $::paused
    if {$::pauseNote ne "" && [exists $::pauseNote]} {
        if {$::paused} { $::pauseNote.show } else { $::pauseNote.hide }
    }
}

#   Esc, the result window's button: back to the menu, which then shows the
#   window before the next fight.
proc LeaveMatch {} {
    $::app.setstate main_menu
}

proc ShowResult {title headline line} {
    if {$::resultWindow ne "" && [exists $::resultWindow]} { return }
    set w [GameWindow $title 0.2 0.28 0.8 0.70]
    $w.setmodal true
    lassign [LayoutSize $w] lw lh
    set c $w/Layout
    TextLabel $c headline $headline big 0.02 0.02 [expr {$lw - 0.02}] 0.14
    $c/headline.setcolor 0.95 0.75 0.25 1
    TextLabel $c line $line text 0.02 0.15 [expr {$lw - 0.02}] 0.22
    TextButton $c menu "Back to menu" LeaveMatch 0.1 [expr {$lh - 0.11}] [expr {$lw - 0.1}] [expr {$lh - 0.02}]
    set ::resultWindow $w
    ClearMatchOverlays
    /sys/servers/gfx.setcursorvisibility system
    MapResultInput
}

#   What belongs to the fight only leaves the result screen: the bonus note
#   and icons, and a damage number still floating (a "score" label of the
#   root window).
proc ClearMatchOverlays {} {
    ShowBonusNote 0
    foreach icon $::bonusIcons { DeleteIfThere $icon }
    set ::bonusIcons {}
    set root [RootWindow]
    foreach child [$root.getchildren] {
        if {[$child.isa nguitextlabel] && [$child.getfont] eq "score"} { $child.hide }
    }
}

#   After the match only the way back to the menu is mapped: the boxer
#   takes no more orders.
proc MapResultInput {} {
    MapInput {
        keyb0:esc.down    script:LeaveMatch
        keyb0:return.down script:LeaveMatch
        keyb0:space.down  script:LeaveMatch
    }
}
