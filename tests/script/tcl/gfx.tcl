# The graphics server's commands that need no device, on a server without
# one; each case prints its script, its return code and result.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new nresourceserver /sys/servers/resource
new ngfxserver2 /sys/servers/gfx
sel /sys/servers/gfx
try {.getfeatureset}
try {.getgamma}
try {.setgamma 2.2}
try {.getgamma}
try {.setcursorvisibility custom}
try {.setcursorvisibility sometimes}
try {.setmousecursor pointer.dds 1 2}
try {.opendisplay}
try {.opendisplay}
try {.closedisplay}
try {.closedisplay}
try {.savescreenshot shot.png}
try {.setskipmsgloop true}
try {exists /sys/share/rsrc/tex}
new nanimationserver /sys/servers/anim
try {exists /sys/servers/anim}
