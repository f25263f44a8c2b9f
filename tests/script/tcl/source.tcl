# Sourced scripts are read through the file server, relative paths and
# assigns alike, and run in the caller's scope.
source lib/helper.tcl
puts [helper 2]

/sys/servers/file2.setassign tst [pwd]/lib/
source tst:helper.tcl
puts [helper 3]

proc inner {} {
    set local 5
    source tst:uselocal.tcl
}
puts [inner]

# a sourced script ends early with return, and its value comes back
puts [source tst:returns.tcl]

# errors in sourced files name the file and line
set code [catch {source tst:broken.tcl} msg opts]
puts "$code $msg"
puts [dict get $opts -errorinfo]

# a file that is not there is a script error, not a stop
set code [catch {source tst:missing.tcl} msg]
puts "$code $msg"
