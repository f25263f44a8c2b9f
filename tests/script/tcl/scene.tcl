# Scene nodes and animators built from a script in the host, with the
# graphics server interface but no device: the commands answer, nothing
# can be loaded, and bad values are script errors or sane fallbacks.
proc try {script} {
    set code [catch {uplevel #0 $script} result]
    puts "$script -> $code {$result}"
}

new nvariableserver /sys/servers/variable
new nresourceserver /sys/servers/resource
new ngfxserver2 /sys/servers/gfx
new ntransformnode /usr/model
new nshapenode /usr/model/shape
new nfloatanimator /usr/model/shape/pulse
try {/usr/model.seteuler 90 0 0}
try {/usr/model.geteuler}
try {/usr/model.setrenderpri 300}
try {/usr/model.getrenderpri}
try {/usr/model/shape.setshader colr shaders:default.fx}
try {/usr/model/shape.getshaderat 0}
try {/usr/model/shape.setmeshusage WriteOnly|NPatch}
try {/usr/model/shape.getmeshusage}
try {/usr/model/shape.setmeshusage sometimes}
try {/usr/model/shape.setuvpos 4 1 1}
try {/usr/model/shape.settexture DiffMap0 textures:skin.dds}
try {/usr/model/shape.getparams}
try {/usr/model/shape.loadresources}
try {/usr/model/shape.addanimator pulse}
try {/usr/model/shape/pulse.setlooptype LOOP}
try {/usr/model/shape/pulse.getlooptype}
try {/usr/model/shape/pulse.setfloatname Intensity0}
try {/usr/model/shape/pulse.addkey 0 1}
try {/usr/model/shape/pulse.addkey nan 1}
try {/usr/model/shape/pulse.getkeyat 0}
try {/usr/model/shape/pulse.getchannel}
