return "returned early"
puts "never printed"
