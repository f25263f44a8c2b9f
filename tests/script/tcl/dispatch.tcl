# Words of the form path.command and .command call script commands of
# objects; each case prints its script, its return code and result.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new nroot /w/a
new nroot /w/b
new nroot /w/x.y
new nenv /w/env

# where the words point
try {/w/a.getname}
try {sel /w/b}
try {../a.getfullname}
try {.getname}
try {getname}
try {./x}
try {/w/x.y.getname}
try {/.getparent}
try {/w.getchildren}
try {/w.find ..}
try {/w.find nothere}
try {/w/a.getrelpath /w/b}
try {/w/a.getrelpath null}

# argument and result conversion
try {/w/env.seti 42}
try {/w/env.geti}
try {/w/env.seti 4.5}
try {/w/env.seti}
try {/w/env.seti 1 2}
try {/w/env.geti 1}
try {/w/a.setname renamed}
try {/w/renamed.getname}
try {/w/renamed.isa nroot}
try {/w/renamed.isa nosuchclass}
try {/w/renamed.getclasses}
try {/w/renamed.find :null:}
try {/w/renamed.getrelpath /nope}
# an undefined assign answers a null string, unlike one set to ""
try {/sys/servers/file2.getassign nosuchassign}

# signals: declared on the class, bound to a command, emitted and posted
try {/w/env.addsignal v_ping_i ping}
try {/w/env.bindsignal ping /w/env seti 0}
try {emit /w/env.ping 7}
try {/w/env.geti}
try {emit /w/env.ping}
try {emit /w/env.nosignal 1}
try {post 0 /w/env.ping 8}
try {new nsignalserver /sys/servers/signals}
try {post 0 /w/env.ping 8}
try {post 0 /w/env.seti 9}
try {post 0 /w/env.nosuch 9}
