set a 1

set b [expr {$a +}]
