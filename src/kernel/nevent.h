#ifndef N_EVENT_H
#define N_EVENT_H
//------------------------------------------------------------------------------
/**
    @class nEvent
    @ingroup Kernel

    An unnamed auto-reset event, initially not signalled: each Signal lets
    exactly one Wait through, also when the signal comes first.
*/
#include "platform/nplatformevent.h"

class nEvent
{
public:
    nEvent() = default;
    nEvent(const nEvent&) = delete;
    nEvent& operator=(const nEvent&) = delete;

    /// set the event (Results: none. Side effects: releases one waiter, now or later)
    void Signal() { this->event.Signal(); }
    /// wait without time-out (Results: none. Side effects: resets the event)
    void Wait() { this->event.Wait(); }

private:
    nPlatformEvent event;
};
#endif
