#ifndef N_EXITAPPSTATE_H
#define N_EXITAPPSTATE_H
//------------------------------------------------------------------------------
/**
    @class nExitAppState
    @ingroup Application

    The state that ends the program: entering it requests the quit, and
    the main loop ends after the frame.
*/
#include "application/nappstate.h"

class nExitAppState : public nAppState
{
public:
    nExitAppState();

    /// request the application's quit
    void OnStateEnter(const nString& prevState) override;

protected:
    ~nExitAppState() override;
};
#endif
