#-------------------------------------------------------------------------------
#   gui.tcl
#
#   The look of the game's GUI and small helpers that build widgets: the
#   skin (textures made by scripts/assets/make_gui.py under data/gui), the
#   fonts by name, and procedures for labels, buttons and windows. The menu
#   and match scripts build their windows from these.
#-------------------------------------------------------------------------------

#   The fonts every script and the game's widgets ask for by name, sized for
#   the display: heights are pixels at 480 lines and grow with the display.
#   The title bar of client windows is as high as its brush, so its font
#   stays small enough to fit.
proc AddFonts {} {
    set gui /sys/servers/gui
    set h [lindex [/sys/servers/gfx.getdisplaymode] 5]
    set s [expr {$h / 480.0}]
    if {$s < 1.0} { set s 1.0 }
    set fonts {
        GuiDefault 16 0
        GuiSmall   14 0
        title      64 1
        subtitle   20 1
        menu       22 1
        text       17 0
        small      14 0
        big        44 1
        wintitle   18 1
        game-bar   10 1
        score      28 1
        name       18 1
    }
    foreach {name size bold} $fonts {
        set px [expr {int($size * $s + 0.5)}]
        if {$name eq "wintitle" && $px > 20} { set px 20 }
        $gui.addsystemfont $name "DejaVu Sans" $px $bold false false
    }
}

#   The skin: one for the system GUI and the game's own windows alike, so a
#   widget finds its brushes whichever root window is current.
proc MakeSkin {} {
    set gui /sys/servers/gui
    set skin [$gui.newskin velkoran]
    $skin.settextureprefix ""
    $skin.settexturepostfix ""
    $skin.setactivewindowcolor 1 1 1 1
    $skin.setinactivewindowcolor 0.85 0.85 0.85 1
    $skin.settitletextcolor 1 0.95 0.85 1
    $skin.setbuttontextcolor 1 1 1 1
    $skin.setlabeltextcolor 1 1 1 1
    $skin.settextcolor 1 1 1 1
    $skin.setwindowborder 0.012 0.01 0.012 0.012
    $skin.beginbrushes
    #             name          texture                          x y   w   h  r g b a
    $skin.addbrush backdrop     gui:backdrop.png                 0 0 128  96  1 1 1 1
    $skin.addbrush ring         proj:data/launcher/launcher.png  0 0 300 300  1 1 1 1
    $skin.addbrush window       gui:window.png                   0 0 128 128  1 1 1 1
    $skin.addbrush hud          gui:hud.png                      0 0 128  64  1 1 1 1
    $skin.addbrush titlebar     gui:titlebar.png                 0 0 128  48  1 1 1 1
    $skin.addbrush button_n     gui:button_n.png                 0 0 128  32  1 1 1 1
    $skin.addbrush button_h     gui:button_h.png                 0 0 128  32  1 1 1 1
    $skin.addbrush button_p     gui:button_p.png                 0 0 128  32  1 1 1 1
    $skin.addbrush bonus        gui:bonus.png                    0 0  64  32  1 1 1 1
    $skin.addbrush bonus-bar    gui:bonus-bar.png                0 0  32   8  1 1 1 1
    $skin.addbrush bonus-trail  gui:bonus-trail.png              0 0  32   8  1 1 1 1
    $skin.addbrush slider_track gui:white.png                    1 1   2   2  0.16 0.12 0.10 0.85
    $skin.addbrush slider_thumb gui:white.png                    1 1   2   2  0.95 0.75 0.35 1
    $skin.endbrushes
    $gui.setskin $skin
    $gui.setsystemskin $skin
}

#   The window all new windows go below: the GUI server's current root.
proc RootWindow {} {
    return "[/sys/servers/gui.getrootpath]/[/sys/servers/gui.getrootwindow]"
}

#   Removes the object when it is there; the path may be empty.
proc DeleteIfThere {path} {
    if {$path ne "" && [exists $path]} { delete $path }
}

#   Lets the GUI server remove a window at its next frame. Buttons use it for
#   their own window: the window must outlive the command the button runs.
proc DismissIfThere {path} {
    if {$path ne "" && [exists $path]} { $path.setdismissed true }
}

#   setrect takes left, right, top, bottom; these helpers take the corners.
proc Place {w left top right bottom} {
    $w.setrect $left $right $top $bottom
}

#   A line of text.
proc TextLabel {parent name text font left top right bottom {align center}} {
    set w [new nguitextlabel $parent/$name]
    $w.setfont $font
    $w.setalignment $align
    $w.settext $text
    Place $w $left $top $right $bottom
    return $w
}

#   A button with the skin's button brushes, running cmd when clicked.
proc TextButton {parent name text cmd left top right bottom} {
    set w [new nguitextbutton $parent/$name]
    $w.setfont menu
    $w.settext $text
    $w.setdefaultbrush button_n
    $w.sethighlightbrush button_h
    $w.setpressedbrush button_p
    $w.setcommand $cmd
    Place $w $left $top $right $bottom
    return $w
}

#   A brush over a rectangle.
proc Picture {parent name brush left top right bottom} {
    set w [new nguilabel $parent/$name]
    $w.setdefaultbrush $brush
    Place $w $left $top $right $bottom
    return $w
}

#   A full-screen window with the arena backdrop.
proc BackdropWindow {} {
    set w [/sys/servers/gui.newwindow nguiwindow true]
    $w.setdefaultbrush backdrop
    Place $w 0 0 1 1
    return $w
}

#   A decorated window of the game with a title, at the rectangle; its
#   content goes into the returned window's "Layout", placed relative to it.
proc GameWindow {title left top right bottom} {
    set w [/sys/servers/gui.newwindow nguiclientwindow2 true]
    $w.settitle $title
    Place $w $left $top $right $bottom
    return $w
}

#   The width and height of a window's content area (its "Layout").
proc LayoutSize {w} {
    set r [$w/Layout.getrect]
    return [list [expr {[lindex $r 1] - [lindex $r 0]}] [expr {[lindex $r 3] - [lindex $r 2]}]]
}

#   An input map made of event and target pairs (see the input server's
#   "map"); every earlier mapping that is not made again goes. F12 opens
#   and closes the console in every state.
proc MapInput {mappings} {
    set in /sys/servers/input
    $in.beginmap
    foreach {event target} $mappings {
        $in.map $event $target
    }
    $in.map keyb0:f12.down script:/sys/servers/console.toggle
    $in.endmap
}
