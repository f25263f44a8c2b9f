# The input server's script commands: a mapping script with good and bad
# mapping strings, the settings, and commands used out of order. Each case
# prints its script, its return code and result; messages of the server
# and of refused commands come on their own lines before it.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new ninputserver /sys/servers/input
sel /sys/servers/input

proc MapInput {} {
    .beginmap
    try {.map keyb0:space.down jump}
    try {.map keyb0:space.pressed run}
    try {.map mouse0:btn0.down btn0_down}
    try {.map menu&keyb0:esc.down {script:puts escape}}
    try {.map keyb0:a.foo never}
    try {.map keyb0space.down x}
    try {.map nodev:a.down x}
    try {.map keyb0:nokey.down x}
    try {.map keyb0:.. x}
    try {.map keyb0:a.down {}}
    try {.map keyb0:a.down ../../x}
    try {.map keyb0:a.down states/x}
    try {.beginmap}
    .endmap
}
MapInput
try {exists /sys/share/input/states/jump}
try {exists /sys/share/input/states/x}
try {/sys/share/input/devs/keyb0/channels/space.gets}
try {/sys/share/input/devs/keyb0/channels/0.gets}
try {/sys/share/input/devs/mouse0/channels/btn2.gets}
try {/sys/share/input/devs/keyb0/inst_name.gets}
try {.getbutton jump}
try {.getslider run}
try {.getbutton nosuch}
try {exists /sys/share/input/states/nosuch}

try {.endmap}
try {.map keyb0:a.down x}

try {.islogging}
try {.startlogging}
try {.startlogging}
try {.islogging}
try {.stoplogging}
try {.stoplogging}

try {.setlongpressedtime 2}
try {.getlongpressedtime}
try {.setlongpressedtime -1}
try {.setdoubleclicktime 0.25}
try {.getdoubleclicktime}
try {.setmousefactor 0.5}
try {.getmousefactor}
try {.setmouseinvert true}
try {.getmouseinvert}
try {.getmousepos}
try {new ninputserver /sys/servers/input2}
