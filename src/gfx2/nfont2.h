#ifndef N_FONT2_H
#define N_FONT2_H
//------------------------------------------------------------------------------
/**
    @class nFont2
    @ingroup Gfx2

    A font resource made from its description.
*/
#include "resource/nresource.h"
#include "gfx2/nfontdesc.h"

class nFont2 : public nResource
{
public:
    nFont2() = default;
    /// copy every field of the description
    void SetFontDesc(const nFontDesc& desc) { this->fontDesc = desc; }
    const nFontDesc& GetFontDesc() const { return this->fontDesc; }

protected:
    /// a loaded resource unloads before it dies
    ~nFont2() override;

private:
    nFontDesc fontDesc;
};
#endif
