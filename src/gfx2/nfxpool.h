#ifndef N_FXPOOL_H
#define N_FXPOOL_H
//------------------------------------------------------------------------------
/**
    @class nFxPool
    @ingroup Gfx2

    The graphics server's effect pool: the values of the parameters effects
    declare "shared", by name. Every effect that declares a shared name
    gets the one value, so a value set through one effect reaches all.
*/
#include "gfx2/nfxvalue.h"

#include <map>
#include <memory>
#include <string>

class nFxPool
{
public:
    /// the value of a shared parameter, made with its default when new; null when the name is already shared with another type
    std::shared_ptr<nFxValue> Share(const nFxEffect::Param& p);
    /// the value of a name, null when no effect shares it
    std::shared_ptr<nFxValue> Find(const std::string& name) const;
    /// forget the values no effect uses any more
    void Prune();

private:
    std::map<std::string, std::shared_ptr<nFxValue>> values;
};
#endif
