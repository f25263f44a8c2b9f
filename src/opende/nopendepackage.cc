//------------------------------------------------------------------------------
//  nopendepackage.cc
//
//  Modules are registered in the physics package's order, every base
//  before the modules derived from it.
//------------------------------------------------------------------------------
#include "opende/nopendepackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(nopendebody)
N_DECLARE_MODULE(nopendegeom)
N_DECLARE_MODULE(nopendejoint)
N_DECLARE_MODULE(nopendepickserver)
N_DECLARE_MODULE(nopendeserver)
N_DECLARE_MODULE(nopendeworld)
N_DECLARE_MODULE(nopendeboxgeom)
N_DECLARE_MODULE(nopendecapsulegeom)
N_DECLARE_MODULE(nopendeplanegeom)
N_DECLARE_MODULE(nopenderaygeom)
N_DECLARE_MODULE(nopendespace)
N_DECLARE_MODULE(nopendespheregeom)
N_DECLARE_MODULE(nopendetransformgeom)
N_DECLARE_MODULE(nopendetrimeshgeom)
N_DECLARE_MODULE(nopendeamotorjoint)
N_DECLARE_MODULE(nopendeballjoint)
N_DECLARE_MODULE(nopendefixedjoint)
N_DECLARE_MODULE(nopendehinge2joint)
N_DECLARE_MODULE(nopendehingejoint)
N_DECLARE_MODULE(nopendesliderjoint)
N_DECLARE_MODULE(nopendeuniversaljoint)
N_DECLARE_MODULE(nopendehashspace)
N_DECLARE_MODULE(nopendequadtreespace)
N_DECLARE_MODULE(nopendesimplespace)

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
