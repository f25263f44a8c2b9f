//------------------------------------------------------------------------------
//  nfloat2int.cc
//------------------------------------------------------------------------------
#include "game/nfloat2int.h"

#include <climits>
#include <cmath>

/*
 * n_float2int --
 *     Results: x rounded to the nearer of its floor and ceiling, halfway
 *     to the ceiling. The distance to the floor is compared with 0.5
 *     instead of computing floor(x + 0.5): that sum rounds in floating
 *     point, so 0.49999997 would come out as 1. Computed in double, where
 *     x - floor(x) is exact for every float. NaN gives 0; results beyond
 *     the int range saturate.
 */
int n_float2int(float x)
{
    if (std::isnan(x)) return 0;
    const double d = static_cast<double>(x);
    const double down = std::floor(d);
    const double r = ((d - down) >= 0.5) ? (down + 1.0) : down;
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}
