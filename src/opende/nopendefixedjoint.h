#ifndef N_OPENDEFIXEDJOINT_H
#define N_OPENDEFIXEDJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeFixedJoint
    @ingroup Opende

    A fixed joint: Fix keeps the bodies' current relative placement. Fix is
    not saved, so a loaded fixed joint holds only after Fix is sent again.
*/
#include "opende/nopendejoint.h"

class nOpendeFixedJoint : public nOpendeJoint
{
public:
    void Create(const char* worldPath) override;
    void Fix();
};
#endif
