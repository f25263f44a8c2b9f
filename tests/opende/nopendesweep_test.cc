//------------------------------------------------------------------------------
//  Every command of every physics class, called with the values scripts,
//  the console and remote clients can send (null, empty and very long
//  texts, missing and foreign paths, NaN, infinities, extremes), on fresh
//  objects and on created ones: the process must survive all of them.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

#include <climits>
#include <cmath>

namespace
{

const int NumValueSets = 6;

/// fills one input of the given type letter with the n-th bad value
void FillArg(nArg* arg, char type, int n, nRoot* foreign, const std::string& longText)
{
    static const char* const texts[] = {nullptr, "", "/nosuchobject", "/sys", "none", nullptr};
    static const int ints[] = {-1, 0, INT_MAX, INT_MIN, 1, 2147483647};
    static const float floats[] = {NAN, INFINITY, -1.0f, 0.0f, 2147483648.0f, -INFINITY};
    switch (type)
    {
        case 's': arg->SetS(n == NumValueSets - 1 ? longText.c_str() : texts[n]); break;
        case 'i': arg->SetI(ints[n]); break;
        case 'f': arg->SetF(floats[n]); break;
        case 'b': arg->SetB(n % 2 == 0); break;
        case 'o': arg->SetO(n % 2 == 0 ? nullptr : foreign); break;
        default: break;
    }
}

}  // namespace

TEST_F(PhysTest, EveryCommandSurvivesBadValues)
{
    const std::string longText(100000, 'x');
    // a world and two bodies for the bodies and joints to be made in and
    // attached to; the sweep's bad paths still name none of them
    Ok("new nopendeworld /sweepworld; new nopendebody /sweepworld/b1; /sweepworld/b1.Create /sweepworld");
    Ok("new nopendebody /sweepworld/b2; /sweepworld/b2.Create /sweepworld");
    const char* classes[] = {"nopendebody", "nopendegeom", "nopendejoint", "nopendepickserver", "nopendeamotorjoint", "nopendeballjoint", "nopendefixedjoint", "nopendehinge2joint", "nopendehingejoint", "nopendesliderjoint", "nopendeuniversaljoint",       "nopendeserver",      "nopendeworld",         "nopendeboxgeom",
                             "nopendecapsulegeom", "nopendeplanegeom",   "nopenderaygeom",       "nopendespace",
                             "nopendespheregeom", "nopendetransformgeom", "nopendetrimeshgeom", "nopendehashspace",
                             "nopendequadtreespace", "nopendesimplespace"};
    for (bool created : {false, true})
    {
        for (const char* className : classes)
        {
            SCOPED_TRACE(className);
            const std::string path = std::string("/sweep/") + className;
            nRoot* obj = static_cast<nRoot*>(ks->New(className, path.c_str()));
            ASSERT_NE(obj, nullptr);
            if (created)
            {
                script->SetFailOnError(false);
                nString result;
                script->Run(("catch {" + path + ".Create none}; catch {" + path + ".Create2 none 0 0 0 10 10 10 2}; catch {" +
                             path + ".Create /sweepworld}; catch {" + path + ".AttachTo /sweepworld/b1 /sweepworld/b2}")
                                .c_str(),
                            result);
                script->SetFailOnError(true);
            }
            for (nClass* cl = obj->GetClass(); cl && strcmp(cl->GetName(), "nroot") != 0; cl = cl->GetSuperClass())
            {
                for (nHashNode* n = cl->GetCmdList() ? cl->GetCmdList()->GetHead() : nullptr; n; n = n->GetSucc())
                {
                    nCmdProto* proto = static_cast<nCmdProto*>(n);
                    char outArgs[N_MAXPATH];
                    char name[N_MAXPATH];
                    char inArgs[N_MAXPATH];
                    ASSERT_TRUE(nCmdProto::ParseProtoDef(proto->GetProtoDef(), outArgs, name, inArgs));
                    for (int set = 0; set < NumValueSets; set++)
                    {
                        nCmd* cmd = proto->NewCmd();
                        cmd->Rewind();
                        for (const char* t = inArgs; *t && *t != 'v'; t++)
                        {
                            FillArg(cmd->In(), *t, set, ks->GetRoot(), longText);
                        }
                        cmd->Rewind();
                        obj->Dispatch(cmd);
                        proto->RelCmd(cmd);
                    }
                }
            }
        }
        ks->Lookup("/sweep")->Release();
    }
    // the objects still answer afterwards
    Ok("new nopendespheregeom /s; /s.Create none");
    EXPECT_FLOATS(Floats("/s.GetRadius"), {1});
}
