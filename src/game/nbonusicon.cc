//------------------------------------------------------------------------------
//  nbonusicon.cc
//------------------------------------------------------------------------------
#include "game/nbonusicon.h"
#include "game/nai.h"
#include "game/ngame.h"
#include "gui/nguiserver.h"
#include "kernel/nkernelserver.h"

#include <algorithm>
#include <cstring>

/*
 * nBonusIcon --
 *     Side effects: the children "bar-trail", "bar" (labels) and "text"
 *     (a text label), in that drawing order.
 */
nBonusIcon::nBonusIcon() :
    bonusType(Slow),
    animState(SlidingIn),
    targetTop(0.0f)
{
    kernelServer->PushCwd(this);
    this->m_refBarTrail = static_cast<nGuiLabel*>(kernelServer->New("nguilabel", "bar-trail"));
    this->m_refBar = static_cast<nGuiLabel*>(kernelServer->New("nguilabel", "bar"));
    this->m_refTextLabel = static_cast<nGuiTextLabel*>(kernelServer->New("nguitextlabel", "text"));
    kernelServer->PopCwd();
    n_assert(m_refBarTrail.isvalid());
    n_assert(m_refBar.isvalid());
    n_assert(m_refTextLabel.isvalid());
}

nGuiLabel* nBonusIcon::GetBar() const
{
    n_assert(m_refBar.isvalid());
    return this->m_refBar.get();
}

nGuiLabel* nBonusIcon::GetBarTrail() const
{
    n_assert(m_refBarTrail.isvalid());
    return this->m_refBarTrail.get();
}

nGuiTextLabel* nBonusIcon::GetTextLabel() const
{
    n_assert(m_refTextLabel.isvalid());
    return this->m_refTextLabel.get();
}

void nBonusIcon::OnShow()
{
    this->animState = SlidingIn;
    nGuiWidget::OnShow();
}

void nBonusIcon::SetBonus(const char* name)
{
    if (!name) return;
    if (0 == strcmp(name, "slow")) this->bonusType = Slow;
    else if (0 == strcmp(name, "openenemy")) this->bonusType = OpenEnemy;
    else if (0 == strcmp(name, "fatalpunch")) this->bonusType = FatalPunch;
}

/*
 * UpdateRect --
 *     Side effects: the icon's and its children's rectangles, given by
 *     the scripts as (x, y, width, height), become (x, y, x + width,
 *     y + height); the icon's top as given becomes the target it slides
 *     to, and the icon moves to just below the screen (top 1). A child a
 *     script deleted is skipped.
 */
void nBonusIcon::UpdateRect()
{
    auto corners = [](nGuiWidget* w) {
        rectangle r = w->GetRect();
        r.v1 = r.v0 + r.v1;
        w->SetRect(r);
    };
    this->targetTop = this->GetRect().v0.y;
    corners(this);
    if (this->m_refBarTrail.isvalid()) corners(this->m_refBarTrail.get());
    if (this->m_refBar.isvalid()) corners(this->m_refBar.get());
    if (this->m_refTextLabel.isvalid()) corners(this->m_refTextLabel.get());
    rectangle r = this->GetRect();
    const float h = r.height();
    r.v0.y = 1.0f;
    r.v1.y = 1.0f + h;
    this->SetRect(r);
}

float nBonusIcon::BonusProgress() const
{
    if (!nGame::HasInstance()) return FinishedProgress;
    switch (this->bonusType)
    {
        case Slow: return nGame::Instance()->GetSlowProgress();
        // no opponent (the match is over) means no vulnerable opponent
        case OpenEnemy: return nAI::HasInstance() ? nAI::Instance()->GetVulnerableProgress() : FinishedProgress;
        case FatalPunch: return nGame::Instance()->GetFatalPunchProgress();
        default: n_error("Unknown bonus!"); return FinishedProgress;
    }
}

void nBonusIcon::UpdateProgress()
{
    const float p = this->BonusProgress();
    if (p > 1.0f)
    {
        this->animState = SlidingOut;
        return;
    }
    // a script may have deleted either: the icon then slides without a bar
    if (!this->m_refBar.isvalid() || !this->m_refBarTrail.isvalid()) return;
    nGuiLabel* bar = this->m_refBar.get();
    rectangle r = bar->GetRect();
    r.v1.x = r.v0.x + this->m_refBarTrail->GetRect().width() * (1.0f - p);
    bar->SetRect(r);
}

/*
 * Animate --
 *     Side effects: sliding in, the icon rises by (distance x 20, at
 *     least 1) per second and stops exactly at its target; showing, the
 *     bar follows the bonus; sliding out, it sinks by 1 per second and
 *     hides once its top is below the screen.
 */
void nBonusIcon::Animate(float dt)
{
    if (this->animState == Progress)
    {
        this->UpdateProgress();
        return;
    }
    rectangle r = this->GetRect();
    if (this->animState == SlidingIn)
    {
        const float distance = r.v0.y - this->targetTop;
        float step = std::max(distance * 20.0f, 1.0f) * dt;
        if (step > distance)
        {
            step = distance;
            this->animState = Progress;
        }
        r.v0.y -= step;
        r.v1.y -= step;
    }
    else
    {
        if (r.v0.y > 1.0f)
        {
            this->Hide();
            return;
        }
        r.v0.y += dt;
        r.v1.y += dt;
    }
    this->SetRect(r);
}

void nBonusIcon::Render()
{
    if (!this->IsShown()) return;
    this->Animate(nGame::HasInstance() ? nGame::Instance()->GetFrameDt() : 0.0f);
    if (!this->IsShown()) return;
    if (nGuiServer* gui = nGuiServer::InstanceOrNull()) gui->DrawBrush(this->GetScreenSpaceRect(), this->defaultBrush);
    nGuiWidget::Render();
}
