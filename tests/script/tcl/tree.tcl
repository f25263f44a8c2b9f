# The tree commands: each case prints its script, its return code and result.
# Reported errors add their own "*** " log line before the case's line.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

try {new nroot /a/b/c}
try {new nroot /a/b/c}
try {new nroot a/d}
try {new nosuchclass /x}
try {new nroot}
try {exists /a/b}
try {exists /a/q}
try {exists}
try {sel /a}
try {psel}
try {dir}
try {sel /a/b/c}
try {dir}
try {sel /nope}
try {psel}
try {sel}
try {psel extra}
try {dir extra}
try {delete /a/b}
try {exists /a/b/c}
try {psel}
try {delete /a/b}
try {delete}
try {delete /}
try {delete /sys}
try {delete /sys/servers/script}
try {get nothere.n2}
try {get}
try {exit now}
try {exit}
try {emit}
try {post 1}
try {puts -nonewline "no line end, "}
puts {100% %s %d}
try {nosuch word}
try {/a.nosuch}
try {/nope.nosuch}
try {/a.}
try {./x}
