# The Direct3D 9 server made and scripted without a display: it opens no
# window until opendisplay; each case prints its script, return code and
# result.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new nresourceserver /sys/servers/resource
new nd3d9server /sys/servers/gfx
sel /sys/servers/gfx
try {.getfeatureset}
try {exists /sys/env/hwnd}
try {.getdisplaymode}
try {.setdisplaymode "my game" fullscreen 10 20 800 600 true}
try {.getdisplaymode}
try {.setdisplaymode "clamped" windowed -1 -1 0 99999 false}
try {.getdisplaymode}
try {.seticon icon.ico}
try {.setskipmsgloop true}
try {.closedisplay}
try {exists /sys/env/hwnd}
