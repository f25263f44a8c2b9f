//------------------------------------------------------------------------------
//  ninputserver_events.cc -- the event list of the frame of nInputServer
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "input/ninputevent.h"

//--- events -----------------------------------------------------------------------

/*
 * NewEvent --
 *     Results: a zeroed, unlinked event the caller links or releases.
 *     Side effects: allocates it.
 */
nInputEvent* nInputServer::NewEvent()
{
    return n_new(nInputEvent);
}

/*
 * LinkEvent --
 *     Results: none.
 *     Side effects: the event joins the frame at the tail; linking it
 *     twice is a programming error (fatal).
 */
void nInputServer::LinkEvent(nInputEvent* e)
{
    n_assert(e);
    n_assert(!e->IsLinked());
    this->events.AddTail(e->GetNode());
}

/*
 * ReleaseEvent --
 *     Results: none.
 *     Side effects: the event leaves the frame if it was in it, and dies.
 */
void nInputServer::ReleaseEvent(nInputEvent* e)
{
    n_assert(e);
    if (e->IsLinked()) e->GetNode()->Remove();
    n_delete(e);
}

/*
 * FlushEvents --
 *     Results: none.
 *     Side effects: every event of the frame dies, head first.
 */
void nInputServer::FlushEvents()
{
    while (nNode* n = this->events.RemHead())
    {
        n_delete(nInputEvent::FromNode(n));
    }
}

/*
 * FirstEvent, NextEvent --
 *     Results: the frame's events in arrival order, 0 after the last.
 *     Side effects: none.
 */
nInputEvent* nInputServer::FirstEvent() const
{
    return nInputEvent::FromNode(this->events.GetHead());
}

nInputEvent* nInputServer::NextEvent(const nInputEvent* e) const
{
    n_assert(e && e->IsLinked());
    return nInputEvent::FromNode(const_cast<nInputEvent*>(e)->GetNode()->GetSucc());
}
