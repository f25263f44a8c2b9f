# The audio server's script commands on the interface class: the master
# volume with good and bad values, reset without sounds, and a second
# audio server refused. Each case prints its script, return code and
# result; messages come on their own lines before it.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new nresourceserver /sys/servers/resource
new naudioserver3 /sys/servers/audio
sel /sys/servers/audio
try {.getmastervolume}
try {.setmastervolume 0.5}
try {.getmastervolume}
try {.setmastervolume nan}
try {.setmastervolume abc}
try {.getmastervolume}
try {.reset}
try {new nopenalserver /sys/servers/other}
