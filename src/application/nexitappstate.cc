//------------------------------------------------------------------------------
//  nexitappstate.cc
//------------------------------------------------------------------------------
#include "application/nexitappstate.h"
#include "application/napplication.h"

nExitAppState::nExitAppState() = default;

nExitAppState::~nExitAppState() = default;

/*
 * OnStateEnter --
 *     Side effects: the application's quit is requested.
 */
void nExitAppState::OnStateEnter(const nString& /*prevState*/)
{
    this->app->SetQuitRequested(true);
}
