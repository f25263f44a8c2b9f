//------------------------------------------------------------------------------
//  nguibrush.cc
//------------------------------------------------------------------------------
#include "gui/nguibrush.h"
#include "gui/nguiresource.h"
#include "gui/nguiserver.h"
#include "gui/nguiskin.h"

bool nGuiBrush::IsCacheValid() const
{
    return this->guiResource && this->refSkin.isvalid() && this->refSkin->GetGeneration() == this->generation;
}

/*
 * Resolve --
 *     Results: the brush of this name from the server's current skin, or
 *     else from its system skin; null when neither has it (or there is no
 *     GUI server). Looking into the system skin directly leaves the
 *     server's current skin and root window as they are.
 *     Side effects: caches the result with the skin and its generation.
 */
nGuiResource* nGuiBrush::Resolve()
{
    if (this->IsCacheValid()) return this->guiResource;
    this->guiResource = nullptr;
    this->refSkin.invalidate();
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui || this->name.IsEmpty()) return nullptr;
    nGuiSkin* const skins[2] = {gui->GetSkin(), gui->GetSystemSkin()};
    for (nGuiSkin* skin : skins)
    {
        if (!skin) continue;
        nGuiResource* res = skin->FindBrush(this->name.Get());
        if (res)
        {
            this->refSkin.set(skin);
            this->generation = skin->GetGeneration();
            this->guiResource = res;
            return res;
        }
    }
    return nullptr;
}

/*
 * GetGuiResource --
 *     Results: as Resolve.
 *     Side effects: a brush found in neither skin (a typo in a script,
 *     a skin that lost it) is logged by the GUI server, once for all the
 *     widgets that name it; the caller draws nothing.
 */
nGuiResource* nGuiBrush::GetGuiResource()
{
    nGuiResource* res = this->Resolve();
    if (!res && !this->reported)
    {
        if (nGuiServer* gui = nGuiServer::InstanceOrNull()) gui->ReportMissingBrush(this->name);
        this->reported = true;
    }
    return res;
}
