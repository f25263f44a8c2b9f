# Values ODE cannot integrate are refused by the commands with a script
# error; without the refusal ODE aborts the whole program inside the step.
proc try {line} {
    if {[catch {uplevel #0 $line} err]} { puts "refused: $err" } else { puts "ok: $line" }
}
new nopendeworld /w
foreach b {a b} {
    new nopendebody /w/$b
    /w/$b.Create /w
    /w/$b.SetBoxMass 1 1 2 3
}
/w/b.SetPosition 1 0 0

# a torque that a huge step turns into a rotation ODE cannot normalise
/w/a.AddTorque 1e30 2e30 3e30
try {/w.Step 3e38}
try {/w.QuickStep 3e38}
try {/w.StepFast1 3e38 5}
# the torque stays accumulated; once it is taken back the world steps
/w/a.SetTorque 0 0 0
try {/w.Step 0.01}

# joint parameters beyond their documented ranges
new nopendehinge2joint /w/j
/w/j.Create /w
/w/j.AttachTo /w/a /w/b
/w/j.SetAnchor 1 0 0
/w/j.SetAxis1 0 0 1
/w/j.SetAxis2 1 0 0
foreach p {lostop histop vel fmax fudgefactor bounce cfm stoperp stopcfm suspensionerp suspensioncfm} {
    foreach v {3e38 -3e38} { try "/w/j.SetParam $p 0 $v" }
}
# within their ranges they are taken, and the world steps on
foreach {p v} {lostop -inf histop 0.5 vel 2 fmax 10 fudgefactor 0.5 bounce 0.25 cfm 1e-5 stoperp 0.8
               suspensionerp 0.4 suspensioncfm 0.01} {
    try "/w/j.SetParam $p 0 $v"
}
for {set i 0} {$i < 100} {incr i} { /w.Step 0.01 }
puts "held by its stop: [expr {[/w/j.GetAngle1] > 0.3 && [/w/j.GetAngle1] < 0.6}]"
