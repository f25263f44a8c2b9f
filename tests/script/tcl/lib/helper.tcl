proc helper {n} { return [expr {$n * 10}] }
