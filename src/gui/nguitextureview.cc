//------------------------------------------------------------------------------
//  nguitextureview.cc
//------------------------------------------------------------------------------
#include "gui/nguitextureview.h"
#include "gui/nguiserver.h"

nGuiTextureView::nGuiTextureView() : color(1.0f, 1.0f, 1.0f, 1.0f)
{
}

nGuiTextureView::~nGuiTextureView()
{
}

/*
 * Render --
 *     Side effects (shown views): the default brush over the screen
 *     rectangle; then the texture, uv (0,0)-(1,1), tinted by the colour
 *     with the server's global colour set to white for it, so the window's
 *     fade does not reach it.
 */
void nGuiTextureView::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    const rectangle screen = this->GetScreenSpaceRect();
    gui->DrawBrush(screen, this->defaultBrush);
    if (!this->refTexture.isvalid()) return;
    const vector4 saved = gui->GetGlobalColor();
    gui->SetGlobalColor(vector4(1.0f, 1.0f, 1.0f, 1.0f));
    gui->DrawTexture(screen, rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f)), this->color,
                     this->refTexture.get());
    gui->SetGlobalColor(saved);
}
