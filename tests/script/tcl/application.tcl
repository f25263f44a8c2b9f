# The application's script commands; a state can only be selected once the
# application is open, so from a bare script every name is unknown.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new napplication /app
try {/app.getcompanyname}
try {/app.getappname}
try {/app.setcompanyname {ZORVEK Games}}
try {/app.getcompanyname}
try {/app.setappname Boxing}
try {/app.getappname}
try {/app.setappname {}}
try {/app.getappname}
try {/app.getcurrentstate}
try {/app.setstate intro}
try {/app.getcurrentstate}
try {/app.setstate {}}
try {/app.setstate}
try {/app.setappname :null:}
try {/app.getappname}
try {/app.setcompanyname {}}
try {/app.getcompanyname}
