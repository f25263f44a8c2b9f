#ifndef N_BONUSICON_H
#define N_BONUSICON_H
//------------------------------------------------------------------------------
/**
    @class nBonusIcon
    @ingroup Game

    The HUD icon of a running bonus (slow time, vulnerable opponent, fatal
    punch): when shown it slides up from below the screen to the place
    the scripts gave it, shows the bonus's remaining time as a shrinking
    bar over its trail, and slides out again when the bonus is over.
*/
#include "gui/nguiwidget.h"
#include "gui/nguilabel.h"
#include "gui/nguitextlabel.h"

class nBonusIcon : public nGuiWidget
{
public:
    enum BonusType
    {
        Slow = 0,
        OpenEnemy = 1,
        FatalPunch = 2,
    };
    enum AnimState
    {
        SlidingIn = 0,
        Progress = 1,
        SlidingOut = 2,
    };

    nBonusIcon();

    void OnShow() override;
    void Render() override;
    /// the rectangles the scripts gave as position and size become corners; the icon moves below the screen
    void UpdateRect();
    /// "slow", "openenemy" or "fatalpunch"; any other text changes nothing
    void SetBonus(const char* name);
    int GetBonusType() const { return this->bonusType; }
    int GetAnimState() const { return this->animState; }
    float GetTargetTop() const { return this->targetTop; }
    /// one step of the animation or progress with dt of scaled time (Render's work)
    void Animate(float dt);

    nGuiLabel* GetBar() const;
    nGuiLabel* GetBarTrail() const;
    nGuiTextLabel* GetTextLabel() const;

protected:
    ~nBonusIcon() override = default;

    /// the bar shows the bonus's remaining time; a finished bonus starts the slide out
    void UpdateProgress();
    /// the bonus's progress, above 1 when it is over
    float BonusProgress() const;

    int bonusType;
    int animState;
    nRef<nGuiLabel> m_refBarTrail;
    nRef<nGuiLabel> m_refBar;
    nRef<nGuiTextLabel> m_refTextLabel;
    float targetTop;
};
#endif
