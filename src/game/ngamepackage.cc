//------------------------------------------------------------------------------
//  ngamepackage.cc
//------------------------------------------------------------------------------
#include "game/ngamepackage.h"
#include "kernel/nmodule.h"

N_DECLARE_MODULE(napp)
N_DECLARE_MODULE(nfx)
N_DECLARE_MODULE(ngame)
N_DECLARE_MODULE(ngamelogic)
N_DECLARE_MODULE(ngameobject)
N_DECLARE_MODULE(nintro)
N_DECLARE_MODULE(nmainmenu)
N_DECLARE_MODULE(nscriptprefserver)
N_DECLARE_MODULE(ntimerserver)
N_DECLARE_MODULE(nboxer)
N_DECLARE_MODULE(nfist2)
N_DECLARE_MODULE(nguifloattextlabel)
N_DECLARE_MODULE(nbar)
N_DECLARE_MODULE(nbonusicon)
N_DECLARE_MODULE(nai)
N_DECLARE_MODULE(nplayer)
N_DECLARE_MODULE(ngameplay2)
N_DECLARE_MODULE(nguiclientwindow2)
N_DECLARE_MODULE(nparticleshapenode)

void ngame_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, napp);
    N_ADD_MODULE(ks, nfx);
    N_ADD_MODULE(ks, ngame);
    N_ADD_MODULE(ks, ngamelogic);
    N_ADD_MODULE(ks, ngameobject);
    N_ADD_MODULE(ks, nintro);
    N_ADD_MODULE(ks, nmainmenu);
    N_ADD_MODULE(ks, nscriptprefserver);
    N_ADD_MODULE(ks, ntimerserver);
    N_ADD_MODULE(ks, nboxer);
    N_ADD_MODULE(ks, nfist2);
    N_ADD_MODULE(ks, nguifloattextlabel);
    N_ADD_MODULE(ks, nbar);
    N_ADD_MODULE(ks, nbonusicon);
    N_ADD_MODULE(ks, nai);
    N_ADD_MODULE(ks, nplayer);
    N_ADD_MODULE(ks, ngameplay2);
    N_ADD_MODULE(ks, nguiclientwindow2);
    N_ADD_MODULE(ks, nparticleshapenode);
}
