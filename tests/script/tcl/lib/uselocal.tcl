expr {$local + 1}
