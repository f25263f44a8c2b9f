//------------------------------------------------------------------------------
//  nappstate.cc
//------------------------------------------------------------------------------
#include "application/nappstate.h"
#include "application/napplication.h"

nAppState::nAppState() = default;

nAppState::~nAppState() = default;

/*
 * SetApp --
 *     Side effects: the state refers to the application.
 */
void nAppState::SetApp(nApplication* application)
{
    n_assert(application);
    n_assert(!this->app.isvalid());
    this->app = application;
}

void nAppState::OnStateEnter(const nString& prevState)
{
    n_printf("nAppState::OnStateEnter(%s) called on state %s\n", prevState.Get(), this->GetName());
}

void nAppState::OnStateLeave(const nString& nextState)
{
    n_printf("nAppState::OnStateLeave(%s) called on state %s\n", nextState.Get(), this->GetName());
}

void nAppState::OnFrame()
{
    // empty
}

void nAppState::OnRender3D()
{
    // empty
}

void nAppState::OnRender2D()
{
    // empty
}

void nAppState::OnPreRender()
{
    // empty
}

void nAppState::OnPostRender()
{
    // empty
}
