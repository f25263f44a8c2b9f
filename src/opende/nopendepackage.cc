//------------------------------------------------------------------------------
//  nopendepackage.cc
//
//  Modules are registered in the physics package's order, every base
//  before the modules derived from it.
//------------------------------------------------------------------------------
#include "opende/nopendepackage.h"
#include "kernel/nmodule.h"
#include "opende/nopendeamotorjoint.h"
#include "opende/nopendeballjoint.h"
#include "opende/nopendebody.h"
#include "opende/nopendeboxgeom.h"
#include "opende/nopendecapsulegeom.h"
#include "opende/nopendefixedjoint.h"
#include "opende/nopendegeom.h"
#include "opende/nopendehashspace.h"
#include "opende/nopendehinge2joint.h"
#include "opende/nopendehingejoint.h"
#include "opende/nopendejoint.h"
#include "opende/nopendepickserver.h"
#include "opende/nopendeplanegeom.h"
#include "opende/nopendequadtreespace.h"
#include "opende/nopenderaygeom.h"
#include "opende/nopendeserver.h"
#include "opende/nopendesimplespace.h"
#include "opende/nopendesliderjoint.h"
#include "opende/nopendespace.h"
#include "opende/nopendespheregeom.h"
#include "opende/nopendetransformgeom.h"
#include "opende/nopendetrimeshgeom.h"
#include "opende/nopendeuniversaljoint.h"
#include "opende/nopendeworld.h"

void nopendebody_initcmds(nClass* cl);
void nopendegeom_initcmds(nClass* cl);
void nopendejoint_initcmds(nClass* cl);
void nopendeserver_initcmds(nClass* cl);
void nopendeworld_initcmds(nClass* cl);
void nopendeboxgeom_initcmds(nClass* cl);
void nopendecapsulegeom_initcmds(nClass* cl);
void nopendeplanegeom_initcmds(nClass* cl);
void nopenderaygeom_initcmds(nClass* cl);
void nopendespace_initcmds(nClass* cl);
void nopendespheregeom_initcmds(nClass* cl);
void nopendetransformgeom_initcmds(nClass* cl);
void nopendetrimeshgeom_initcmds(nClass* cl);
void nopendeamotorjoint_initcmds(nClass* cl);
void nopendeballjoint_initcmds(nClass* cl);
void nopendefixedjoint_initcmds(nClass* cl);
void nopendehinge2joint_initcmds(nClass* cl);
void nopendehingejoint_initcmds(nClass* cl);
void nopendesliderjoint_initcmds(nClass* cl);
void nopendeuniversaljoint_initcmds(nClass* cl);
void nopendehashspace_initcmds(nClass* cl);
void nopendequadtreespace_initcmds(nClass* cl);

N_IMPLEMENT_MODULE(nopendebody, nOpendeBody, "nroot", nopendebody_initcmds)
N_IMPLEMENT_MODULE(nopendegeom, nOpendeGeom, "nroot", nopendegeom_initcmds)
N_IMPLEMENT_MODULE(nopendejoint, nOpendeJoint, "nroot", nopendejoint_initcmds)
N_IMPLEMENT_MODULE(nopendepickserver, nOpendePickServer, "nroot", nullptr)
N_IMPLEMENT_MODULE(nopendeserver, nOpendeServer, "nroot", nopendeserver_initcmds)
N_IMPLEMENT_MODULE(nopendeworld, nOpendeWorld, "nroot", nopendeworld_initcmds)
N_IMPLEMENT_MODULE(nopendeboxgeom, nOpendeBoxGeom, "nopendegeom", nopendeboxgeom_initcmds)
N_IMPLEMENT_MODULE(nopendecapsulegeom, nOpendeCapsuleGeom, "nopendegeom", nopendecapsulegeom_initcmds)
N_IMPLEMENT_MODULE(nopendeplanegeom, nOpendePlaneGeom, "nopendegeom", nopendeplanegeom_initcmds)
N_IMPLEMENT_MODULE(nopenderaygeom, nOpendeRayGeom, "nopendegeom", nopenderaygeom_initcmds)
N_IMPLEMENT_MODULE(nopendespace, nOpendeSpace, "nopendegeom", nopendespace_initcmds)
N_IMPLEMENT_MODULE(nopendespheregeom, nOpendeSphereGeom, "nopendegeom", nopendespheregeom_initcmds)
N_IMPLEMENT_MODULE(nopendetransformgeom, nOpendeTransformGeom, "nopendegeom", nopendetransformgeom_initcmds)
N_IMPLEMENT_MODULE(nopendetrimeshgeom, nOpendeTriMeshGeom, "nopendegeom", nopendetrimeshgeom_initcmds)
N_IMPLEMENT_MODULE(nopendeamotorjoint, nOpendeAMotorJoint, "nopendejoint", nopendeamotorjoint_initcmds)
N_IMPLEMENT_MODULE(nopendeballjoint, nOpendeBallJoint, "nopendejoint", nopendeballjoint_initcmds)
N_IMPLEMENT_MODULE(nopendefixedjoint, nOpendeFixedJoint, "nopendejoint", nopendefixedjoint_initcmds)
N_IMPLEMENT_MODULE(nopendehinge2joint, nOpendeHinge2Joint, "nopendejoint", nopendehinge2joint_initcmds)
N_IMPLEMENT_MODULE(nopendehingejoint, nOpendeHingeJoint, "nopendejoint", nopendehingejoint_initcmds)
N_IMPLEMENT_MODULE(nopendesliderjoint, nOpendeSliderJoint, "nopendejoint", nopendesliderjoint_initcmds)
N_IMPLEMENT_MODULE(nopendeuniversaljoint, nOpendeUniversalJoint, "nopendejoint", nopendeuniversaljoint_initcmds)
N_IMPLEMENT_MODULE(nopendehashspace, nOpendeHashSpace, "nopendespace", nopendehashspace_initcmds)
N_IMPLEMENT_MODULE(nopendequadtreespace, nOpendeQuadTreeSpace, "nopendespace", nopendequadtreespace_initcmds)
N_IMPLEMENT_MODULE(nopendesimplespace, nOpendeSimpleSpace, "nopendespace", nullptr)

void nopende_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nopendebody);
    N_ADD_MODULE(ks, nopendegeom);
    N_ADD_MODULE(ks, nopendejoint);
    N_ADD_MODULE(ks, nopendepickserver);
    N_ADD_MODULE(ks, nopendeserver);
    N_ADD_MODULE(ks, nopendeworld);
    N_ADD_MODULE(ks, nopendeboxgeom);
    N_ADD_MODULE(ks, nopendecapsulegeom);
    N_ADD_MODULE(ks, nopendeplanegeom);
    N_ADD_MODULE(ks, nopenderaygeom);
    N_ADD_MODULE(ks, nopendespace);
    N_ADD_MODULE(ks, nopendespheregeom);
    N_ADD_MODULE(ks, nopendetransformgeom);
    N_ADD_MODULE(ks, nopendetrimeshgeom);
    N_ADD_MODULE(ks, nopendeamotorjoint);
    N_ADD_MODULE(ks, nopendeballjoint);
    N_ADD_MODULE(ks, nopendefixedjoint);
    N_ADD_MODULE(ks, nopendehinge2joint);
    N_ADD_MODULE(ks, nopendehingejoint);
    N_ADD_MODULE(ks, nopendesliderjoint);
    N_ADD_MODULE(ks, nopendeuniversaljoint);
    N_ADD_MODULE(ks, nopendehashspace);
    N_ADD_MODULE(ks, nopendequadtreespace);
    N_ADD_MODULE(ks, nopendesimplespace);
}
