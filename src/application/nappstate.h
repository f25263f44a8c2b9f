#ifndef N_APPSTATE_H
#define N_APPSTATE_H
//------------------------------------------------------------------------------
/**
    @class nAppState
    @ingroup Application

    One state of the application (intro, menu, match ...): a named object
    below the application's "appstates" node whose hooks the application
    calls when it is entered and left and on every frame. Exactly one
    state runs at a time; the base hooks do nothing but report entering
    and leaving.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "util/nstring.h"

class nApplication;

class nAppState : public nRoot
{
public:
    nAppState();

    /// tie the state to its application (once)
    virtual void SetApp(nApplication* application);
    /// the state now runs; prevState is empty for the first state
    virtual void OnStateEnter(const nString& prevState);
    /// the state stops running in favour of nextState
    virtual void OnStateLeave(const nString& nextState);
    /// the state's work of a frame
    virtual void OnFrame();
    /// attach what the state draws in 3-D
    virtual void OnRender3D();
    /// draw 2-D over the frame
    virtual void OnRender2D();
    /// before the scene begins
    virtual void OnPreRender();
    /// after the scene ended
    virtual void OnPostRender();

protected:
    ~nAppState() override;

    nRef<nApplication> app;
};
#endif
