#ifndef N_GUIFLOATTEXTLABEL_H
#define N_GUIFLOATTEXTLABEL_H
//------------------------------------------------------------------------------
/**
    @class nGuiFloatTextLabel
    @ingroup Game

    The damage number over the AI opponent: a centred white text label in
    the GUI's root window, placed over a world point, that drifts sideways
    with the blow, rises and fades out within half a second of the
    match's scaled time. Without a GUI it has no label and does nothing.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "gui/nguitextlabel.h"
#include "mathlib/vector.h"

class nGuiFloatTextLabel : public nRoot
{
public:
    nGuiFloatTextLabel();
    /// fade, drift and rise by dt of scaled time, while shown
    void Trigger(float dt);
    /// centre the label over the world point as the graphics server projects it
    void SetPosition(const vector3& p);
    /// sideways drift from the blow's impulse
    void SetDrift(const vector3& impulse) { this->drift = impulse.x * 0.025f; }
    float GetDrift() const { return this->drift; }
    /// the label (asserts it)
    nGuiTextLabel* GetLabel() const;
    bool HasLabel() const { return this->m_refLabel.isvalid(); }

protected:
    /// releases the label
    ~nGuiFloatTextLabel() override;

    nStrongRef<nGuiTextLabel> m_refLabel;
    float drift;
};
#endif
