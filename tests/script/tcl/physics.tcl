# The physics classes driven from Tcl as the game sets them up: the server,
# its world with a hash space, and geoms of several shapes in that space.
new nopendeserver /sys/servers/phys
new nopendeworld /sys/servers/phys/world
sel /sys/servers/phys/world
.SetGravity 0 -9.8 0
.SetQuickStepNumIterations 10
.SetAutoDisableFlag 1
.SetAutoDisableLinearThreshold 0.008
.SetAutoDisableAngularThreshold 0.008
.SetAutoDisableSteps 10
puts "gravity [.GetGravity] iterations [.GetQuickStepNumIterations]"
.QuickStep 0.01
.StepFast1 0.01 5
new nopendehashspace space
space.Create none
sel /
foreach {name cls} {ball nopendespheregeom crate nopendeboxgeom pill nopendecapsulegeom} {
    new $cls /usr/$name
    /usr/$name.Create /sys/servers/phys/world/space
    puts "$name: [/usr/$name.GetGeomClassName]"
}
/usr/ball.SetRadius 0.5
/usr/crate.SetPosition 0 2 0
puts "geoms in space: [/sys/servers/phys/world/space.GetNumGeoms]"
puts "ball depth at centre: [/usr/ball.PointDepth 0 0 0]"
/sys/servers/phys.BeginSurfaces 2
/sys/servers/phys.AddSurface 0 canvas
/sys/servers/phys.AddSurface 1 rope
/sys/servers/phys.SetSurfParam 1 bounce 0.3
/sys/servers/phys.EndSurfaces
puts "rope is surface [/sys/servers/phys.GetSurfaceIndex rope]"
delete /usr/ball
puts "geoms in space: [/sys/servers/phys/world/space.GetNumGeoms]"
