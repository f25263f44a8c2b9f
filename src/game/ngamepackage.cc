//------------------------------------------------------------------------------
//  ngamepackage.cc
//------------------------------------------------------------------------------
#include "game/ngamepackage.h"
#include "game/nai.h"
#include "game/napp.h"
#include "game/nbar.h"
#include "game/nbonusicon.h"
#include "game/nboxer.h"
#include "game/nfist2.h"
#include "game/nfx.h"
#include "game/ngame.h"
#include "game/ngamelogic.h"
#include "game/ngameobject.h"
#include "game/ngameplay2.h"
#include "game/nguiclientwindow2.h"
#include "game/nguifloattextlabel.h"
#include "game/nintro.h"
#include "game/nmainmenu.h"
#include "game/nparticleshapenode.h"
#include "game/nplayer.h"
#include "game/nscriptprefserver.h"
#include "game/ntimerserver.h"
#include "kernel/nmodule.h"

void napp_initcmds(nClass* cl);
void ngame_initcmds(nClass* cl);
void nbonusicon_initcmds(nClass* cl);
void nparticleshapenode_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(napp, nApp, "napplication", napp_initcmds)
N_IMPLEMENT_MODULE(nfx, nFX, "nroot", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(ngame, nGame, "nappstate", ngame_initcmds)
N_IMPLEMENT_MODULE(ngamelogic, nGameLogic, "nroot", nullptr)
N_IMPLEMENT_MODULE(ngameobject, nGameObject, "nroot", nullptr)
N_IMPLEMENT_MODULE(nintro, nIntro, "ncutsceneappstate", nullptr)
N_IMPLEMENT_MODULE(nmainmenu, nMainMenu, "nappstate", nullptr)
N_IMPLEMENT_MODULE(nscriptprefserver, nScriptPrefServer, "nprefserver", nullptr)
N_IMPLEMENT_SINGLETON_MODULE(ntimerserver, nTimerServer, "nroot", nullptr)
N_IMPLEMENT_MODULE(nboxer, nBoxer, "ngameobject", nullptr)
N_IMPLEMENT_MODULE(nfist2, nFist2, "ngameobject", nullptr)
N_IMPLEMENT_MODULE(nguifloattextlabel, nGuiFloatTextLabel, "nroot", nullptr)
N_IMPLEMENT_MODULE(nbar, nBar, "nroot", nullptr)
N_IMPLEMENT_MODULE(nbonusicon, nBonusIcon, "nguiwidget", nbonusicon_initcmds)
N_IMPLEMENT_MODULE(nai, nAI, "nboxer", nullptr)
N_IMPLEMENT_MODULE(nplayer, nPlayer, "nboxer", nullptr)
N_IMPLEMENT_MODULE(ngameplay2, nGameplay2, "ngamelogic", nullptr)
N_IMPLEMENT_MODULE(nguiclientwindow2, nGuiClientWindow2, "nguiclientwindow", nullptr)
N_IMPLEMENT_MODULE(nparticleshapenode, nParticleShapeNode, "nshapenode", nparticleshapenode_initcmds)

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
