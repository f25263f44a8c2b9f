# An error nobody catches ends the host with exit code 1.
puts "before the error"

error "boom"
puts "never printed"
