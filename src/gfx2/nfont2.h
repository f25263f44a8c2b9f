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
    /// the flags of the graphics server's DrawText
    enum RenderFlags
    {
        Bottom = (1 << 0),
        Top = (1 << 1),
        Center = (1 << 2),
        Left = (1 << 3),
        Right = (1 << 4),
        VCenter = (1 << 5),
        NoClip = (1 << 6),
        ExpandTabs = (1 << 7),
        WordBreak = (1 << 8),
    };

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
