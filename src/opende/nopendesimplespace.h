#ifndef N_OPENDESIMPLESPACE_H
#define N_OPENDESIMPLESPACE_H
//------------------------------------------------------------------------------
/**
    @class nOpendeSimpleSpace
    @ingroup Opende

    A space that tests every pair of its geoms (ODE's simple space).
*/
#include "opende/nopendespace.h"

class nOpendeSimpleSpace : public nOpendeSpace
{
public:
    nOpendeSimpleSpace() = default;
    bool Create(const char* spacePath) override;

protected:
    ~nOpendeSimpleSpace() override = default;
};
#endif
