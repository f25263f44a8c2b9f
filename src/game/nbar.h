#ifndef N_BAR_H
#define N_BAR_H
//------------------------------------------------------------------------------
/**
    @class nBar
    @ingroup Game

    A HUD bar (health, energy): a frame, the bar, a trail behind it at
    full length and a text label, widgets in the GUI's root window named
    after the bar object. The owner scales it every frame with SetValue.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "gui/nguitextlabel.h"
#include "gui/nguitextureview.h"

class nBar : public nRoot
{
public:
    nBar();

    /// the frame, bar and trail show the texture of the path; one that does not load is reported and not shown
    void SetFrameTexture(const char* path);
    void SetBarTexture(const char* path);
    void SetTrailTexture(const char* path);
    /// the bar's full length in screen units
    void SetLength(float l) { this->length = l; }
    float GetLength() const { return this->length; }
    /// the filled part is the length x v; a negative value hides the bar for good
    void SetValue(float v);

    nGuiTextureView* GetFrame() const;
    nGuiTextureView* GetBar() const;
    nGuiTextureView* GetTrail() const;
    nGuiTextLabel* GetTextLabel() const;
    /// whether the widgets exist (they need a GUI root window)
    bool HasWidgets() const { return this->m_refBar.isvalid(); }

protected:
    ~nBar() override;

    /// the texture of the path into the widget
    void ShowTexture(int slot, nGuiTextureView* view, const char* path);

    /// the textures the three views show, held until the bar goes (declared
    /// before the widgets, so that they go after them)
    nStrongRef<nTexture2> textures[3];
    nStrongRef<nGuiTextureView> m_refFrame;
    nStrongRef<nGuiTextureView> m_refBar;
    nStrongRef<nGuiTextureView> m_refBarTrail;
    nStrongRef<nGuiTextLabel> m_refTextLabel;
    float length;
};
#endif
