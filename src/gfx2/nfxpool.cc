//------------------------------------------------------------------------------
//  nfxpool.cc
//------------------------------------------------------------------------------
#include "gfx2/nfxpool.h"

/*
 * Share --
 *     Results: the pool's value of the parameter's name; null when the
 *     name is shared with another type or array size.
 *     Side effects: a new name gets a value holding the parameter's default.
 */
std::shared_ptr<nFxValue> nFxPool::Share(const nFxEffect::Param& p)
{
    auto it = this->values.find(p.name);
    if (it == this->values.end())
    {
        auto v = std::make_shared<nFxValue>(p);
        this->values.emplace(p.name, v);
        return v;
    }
    return it->second->SameType(p) ? it->second : nullptr;
}

/*
 * Find --
 *     Results: the value shared under the name, null when none is.
 */
std::shared_ptr<nFxValue> nFxPool::Find(const std::string& name) const
{
    auto it = this->values.find(name);
    return (it == this->values.end()) ? nullptr : it->second;
}

/*
 * Prune --
 *     Side effects: drops the values only the pool still holds.
 */
void nFxPool::Prune()
{
    for (auto it = this->values.begin(); it != this->values.end();)
    {
        it = (1 == it->second.use_count()) ? this->values.erase(it) : std::next(it);
    }
}
