#ifndef N_OPENDEHASHSPACE_H
#define N_OPENDEHASHSPACE_H
//------------------------------------------------------------------------------
/**
    @class nOpendeHashSpace
    @ingroup Opende

    A space that files its geoms in a multi-resolution hash grid (ODE's
    hash space); the levels give the smallest and largest cell as powers
    of two.
*/
#include "opende/nopendespace.h"

class nOpendeHashSpace : public nOpendeSpace
{
public:
    nOpendeHashSpace() = default;
    bool Create(const char* spacePath) override;
    void SetLevels(int minLevel, int maxLevel);
    void GetLevels(int& minLevel, int& maxLevel) const;

protected:
    ~nOpendeHashSpace() override = default;
};
#endif
