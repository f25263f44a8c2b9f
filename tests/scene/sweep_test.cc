//------------------------------------------------------------------------------
//  Every script command of every scene class, called with values a script
//  may pass (empty, very long, missing paths, foreign objects, NaN, inf,
//  -1, 0, 2^31), must end as a result or a script error; the objects must
//  then still draw.
//------------------------------------------------------------------------------
#include "scenefixture.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <limits>

namespace
{

const char* const SceneClasses[] = {"nscenenode",      "ntransformnode",     "nabstractshadernode", "nmaterialnode",
                                    "nshapenode",      "nlightnode",         "nattachmentnode",     "nanimator",
                                    "ntransformanimator", "nvectoranimator", "nfloatanimator",      "nintanimator"};

/// calls each command of the object's class that nroot lacks with every
/// bad value in every input; counts the calls in ::calls
const char* const SweepScript = R"TCL(
set calls 0
set long [string repeat x 100000]
set values [list :null: {} $long /no/such/path /sys/servers/gfx nan inf -inf -1 0 2147483648 LOOP DiffMap0 colr]
set short [lreplace $values 2 2]
new nroot /sweeproot
set base [/sweeproot.getcmds]
proc sweep {obj} {
    global calls values short base
    foreach proto [$obj.getcmds] {
        if {[lsearch -exact $base $proto] >= 0} continue
        set parts [split $proto _]
        set name [lindex $parts 1]
        set in [lindex $parts 2]
        set n [expr {$in eq "v" ? 0 : [string length $in]}]
        foreach v $values {
            set args {}
            for {set i 0} {$i < $n} {incr i} { lappend args $v }
            catch {$obj.$name {*}$args}
            incr calls
        }
        # a valid first argument with bad ones after it
        if {$n > 1} {
            foreach first {0 1 DiffMap0 colr} {
                foreach v $short {
                    set args [list $first]
                    for {set i 1} {$i < $n} {incr i} { lappend args $v }
                    catch {$obj.$name {*}$args}
                    incr calls
                }
            }
        }
    }
}
)TCL";

}  // namespace

TEST_F(SceneTest, EveryCommandSurvivesBadArguments)
{
    script->SetFailOnError(false);
    nString result;
    ASSERT_TRUE(script->Run(SweepScript, result)) << result.Get();
    for (const char* cls : SceneClasses)
    {
        const std::string path = std::string("/sweep/") + cls;
        ks->New(cls, path.c_str());
        script->Run(("sweep " + path).c_str(), result);
    }
    // the scene server is a singleton: sweep the one there is
    script->Run("sweep /sys/servers/scene", result);
    script->Run("set calls", result);
    EXPECT_GT(atoi(result.Get()), 1000);
    TakeLog();

    // the battered objects still draw (saving them is left out: the saver
    // writes 100,000-character values slowly, which is not the scene's to test)
    nRoot* sweep = ks->Lookup("/sweep");
    for (nRoot* obj = sweep->GetHead(); obj; obj = obj->GetSucc())
    {
        nSceneNode* node = nSceneNode::AsSceneNode(obj);
        ASSERT_NE(node, nullptr);
        nRenderContext ctx;
        SetupContext(ctx, node, std::numeric_limits<float>::infinity());
        DrawFrame(ctx);
        node->RenderContextDestroyed(&ctx);
    }
}
