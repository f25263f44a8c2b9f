#ifndef N_GUIBRUSH_H
#define N_GUIBRUSH_H
//------------------------------------------------------------------------------
/**
    @class nGuiBrush
    @ingroup Gui

    A widget's brush: a name, resolved on first use against the GUI
    server's current skin and then its system skin. The resolved brush is
    cached until the skin dies or clears its brush table.
*/
#include "kernel/nref.h"
#include "util/nstring.h"

class nGuiSkin;
class nGuiResource;

class nGuiBrush
{
public:
    nGuiBrush() = default;
    nGuiBrush(const nGuiBrush&) = delete;
    nGuiBrush& operator=(const nGuiBrush&) = delete;

    /// store the name (a brush that has resolved keeps its resource)
    void SetName(const char* n)
    {
        this->name = n;
        this->reported = false;
    }
    const nString& GetName() const { return this->name; }
    /// the resolved brush; null, reported once per name, when neither skin has it
    nGuiResource* GetGuiResource();
    /// the resolved brush, or null when neither skin has it
    nGuiResource* Resolve();

private:
    /// whether the cached brush is still the skin's
    bool IsCacheValid() const;

    nString name;
    nRef<nGuiSkin> refSkin;
    nGuiResource* guiResource = nullptr;
    unsigned int generation = 0;
    /// the missing brush was reported
    bool reported = false;
};
#endif
