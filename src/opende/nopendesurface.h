#ifndef N_OPENDESURFACE_H
#define N_OPENDESURFACE_H
//------------------------------------------------------------------------------
/**
    @class nOpendeSurface
    @ingroup Opende

    One named set of contact-surface parameters: ODE's own surface record
    (mode bits, friction, bounce, softness, motion, slip) and a name. A
    fresh entry has mode 0, every value 0 and the name "".
*/
#include "util/nstring.h"

#include <ode/ode.h>

class nOpendeSurface : public dSurfaceParameters
{
public:
    nOpendeSurface() : dSurfaceParameters() {}

    void SetName(const char* n) { this->name = n; }
    const char* GetName() const { return this->name.Get(); }

private:
    nString name;
};
#endif
