//------------------------------------------------------------------------------
//  nai.cc
//------------------------------------------------------------------------------
#include "game/nai.h"
#include "game/napp.h"
#include "game/ngame.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "game/ntimerserver.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <cstdio>

nAI* nAI::m_pSelf = nullptr;

namespace
{

/// a fresh random number in [0, 1]
float R()
{
    return n_rand();
}

int AddTimer(bool* target)
{
    if (!nTimerServer::HasInstance()) return -1;
    float duration = 0.0f;
    return nTimerServer::Instance()->AddTimer(target, &duration);
}

}  // namespace

/*
 * nAI --
 *     Side effects: the phase, strike and movement timers, each finished
 *     at once; becomes the instance.
 */
nAI::nAI() :
    reactionElapsed(0.0f),
    m_fFollowTimerBase(0.3f),
    m_fFollowTimerScat(1.0f),
    m_fKeepPosTimerBase(0.2f),
    m_fKeepPosTimerScat(0.5f),
    m_fDodgeAmplitude(2.0f),
    m_fHookProbability(0.5f),
    m_fHookRange(0.75f),
    m_fAttackTimerBase(0.75f),
    m_fAttackTimerScat(1.25f),
    m_fAttackStrikeTimerBase(0.0f),
    m_fAttackStrikeTimerScat(0.75f),
    m_fDefenseTimerBase(1.5f),
    m_fDefenseTimerScat(2.0f),
    m_fDefenseStrikeTimerBase(0.0f),
    m_fDefenseStrikeTimerScat(0.75f),
    defenseStrikeProbability(0.25f),
    phaseTimer(-1),
    strikeTimer(-1),
    moveTimer(-1),
    reacting(false),
    strikeReady(true),
    following(true),
    attacking(false)
{
    this->phaseTimer = AddTimer(&this->attacking);
    this->strikeTimer = AddTimer(&this->strikeReady);
    this->moveTimer = AddTimer(&this->following);
    m_pSelf = this;
}

/*
 * ~nAI --
 *     Side effects: the damage label goes; the timers no longer point
 *     into this boxer; the instance is cleared.
 */
nAI::~nAI()
{
    if (nTimerServer::HasInstance())
    {
        nTimerServer* timers = nTimerServer::Instance();
        if (this->phaseTimer >= 0) timers->ReleaseTarget(this->phaseTimer, &this->attacking);
        if (this->strikeTimer >= 0) timers->ReleaseTarget(this->strikeTimer, &this->strikeReady);
        if (this->moveTimer >= 0) timers->ReleaseTarget(this->moveTimer, &this->following);
    }
    if (m_pSelf == this) m_pSelf = nullptr;
}

nAI* nAI::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

nGuiFloatTextLabel* nAI::GetLabel() const
{
    n_assert(m_refLabel.isvalid());
    return this->m_refLabel.get();
}

/*
 * Init --
 *     Side effects: the boxer's Init; the reaction time and the sixteen
 *     tuning values, each checked (a missing or unusable one is reported
 *     and keeps its default); the name label shows the prototype's
 *     "name" at the top right, hidden; the damage label "score" below the
 *     AI; the guard goes up. A prototype the boxer could not be built
 *     from leaves the AI at that: it stands with its defaults.
 */
void nAI::Init(const char* proto)
{
    nBoxer::Init(proto);
    if (!this->m_refProto.isvalid()) return;
    const float NoLimit = 3.0e38f;
    const struct
    {
        const char* name;
        float nAI::*member;
        float most;
    } tuning[] = {
        {"reaction-time", &nAI::m_fReactionTime, 1.0f},
        {"follow-timer-base", &nAI::m_fFollowTimerBase, NoLimit},
        {"follow-timer-scat", &nAI::m_fFollowTimerScat, NoLimit},
        {"keeppos-timer-base", &nAI::m_fKeepPosTimerBase, NoLimit},
        {"keeppos-timer-scat", &nAI::m_fKeepPosTimerScat, NoLimit},
        {"dodge-amplitude", &nAI::m_fDodgeAmplitude, NoLimit},
        {"hook-probability", &nAI::m_fHookProbability, 1.0f},
        {"hook-range", &nAI::m_fHookRange, NoLimit},
        {"attack-timer-base", &nAI::m_fAttackTimerBase, NoLimit},
        {"attack-timer-scat", &nAI::m_fAttackTimerScat, NoLimit},
        {"attack-stirke-timer-base", &nAI::m_fAttackStrikeTimerBase, NoLimit},
        {"attack-stirke-timer-scat", &nAI::m_fAttackStrikeTimerScat, NoLimit},
        {"defense-timer-base", &nAI::m_fDefenseTimerBase, NoLimit},
        {"defense-timer-scat", &nAI::m_fDefenseTimerScat, NoLimit},
        {"defense-stirke-timer-base", &nAI::m_fDefenseStrikeTimerBase, NoLimit},
        {"defense-stirke-timer-scat", &nAI::m_fDefenseStrikeTimerScat, NoLimit},
        {"defense-stirke-probability", &nAI::defenseStrikeProbability, 1.0f},
    };
    for (const auto& t : tuning) this->ReadFloat(t.name, this->*t.member, 0.0f, false, t.most);

    nString name;
    if (!this->ReadVarS("name", name)) n_printf("nAI: prototype '%s' has no text \"name\"\n", proto);
    if (this->HasGuiName())
    {
        nGuiTextLabel* label = this->GetGuiName();
        label->SetText(name.Get());
        label->SetRect(rectangle(vector2(0.8f, 0.0f), vector2(0.99f, 0.1f)));
        label->Hide();
    }

    kernelServer->PushCwd(this);
    this->m_refLabel.adopt(static_cast<nGuiFloatTextLabel*>(kernelServer->New("nguifloattextlabel", "score")));
    kernelServer->PopCwd();
    n_assert(m_refLabel.isvalid());

    this->SetDefence(true);
}

void nAI::StartTimer(int id, float duration)
{
    if (id < 0 || !nTimerServer::HasInstance() || id >= nTimerServer::Instance()->GetNumTimers()) return;
    nTimerServer::Instance()->SetTime(&id, &duration);
    nTimerServer::Instance()->Start(&id);
}

bool nAI::TimerRunning(int id)
{
    if (id < 0 || !nTimerServer::HasInstance() || id >= nTimerServer::Instance()->GetNumTimers()) return false;
    return nTimerServer::Instance()->IsRunning(&id);
}

/*
 * MoveTowardsPlayer --
 *     Side effects: the movement target moves by the player's movement
 *     since the last call (plus any dodge added to the offset since),
 *     scaled by the factor; the offset becomes the player's position.
 */
void nAI::MoveTowardsPlayer(float factor)
{
    if (!nPlayer::HasInstance()) return;
    const vector3 d = nPlayer::Instance()->GetTransform().gettranslation() - this->dodgeOffset;
    this->dodgeOffset += d;
    this->SetMoveDirection(this->moveDirection - d * factor);
}

void nAI::Move()
{
    if (this->following)
    {
        this->MoveTowardsPlayer(1.0f);
        if (!TimerRunning(this->moveTimer)) StartTimer(this->moveTimer, R() * m_fFollowTimerScat + m_fFollowTimerBase);
    }
    else if (!TimerRunning(this->moveTimer))
    {
        StartTimer(this->moveTimer, R() * m_fKeepPosTimerScat + m_fKeepPosTimerBase);
        this->dodgeOffset.x += (2.0f * R() - 1.0f) * m_fDodgeAmplitude;
        this->dodgeOffset.z += (2.0f * R() - 1.0f) * m_fDodgeAmplitude;
    }
}

void nAI::PunchEitherSide(nBoxer* player)
{
    if (R() < 0.5f)
    {
        if (!this->Punch(player, 1)) this->Punch(player, 2);
    }
    else
    {
        if (!this->Punch(player, 2)) this->Punch(player, 1);
    }
}

/*
 * Fight --
 *     Side effects: in the attack phase every ready strike is a punch;
 *     in the defence phase the guard stays up while the player guards or
 *     no strike is ready, and a ready strike is a counter-punch with the
 *     tuned probability. Each phase starts its timer when it ran out.
 */
void nAI::Fight(nBoxer* player, float dist)
{
    bool hook = false;
    if (dist < m_fHandLength * m_fHookRange && R() < m_fHookProbability) hook = true;
    this->SetHookHeld(hook);

    if (this->attacking)
    {
        if (!TimerRunning(this->phaseTimer)) StartTimer(this->phaseTimer, R() * m_fAttackTimerScat + m_fAttackTimerBase);
        if (this->strikeReady)
        {
            this->strikeReady = false;
            this->SetDefence(false);
            this->PunchEitherSide(player);
            StartTimer(this->strikeTimer, R() * m_fAttackStrikeTimerScat + m_fAttackStrikeTimerBase);
        }
        return;
    }
    if (!TimerRunning(this->phaseTimer)) StartTimer(this->phaseTimer, R() * m_fDefenseTimerScat + m_fDefenseTimerBase);
    if (!this->strikeReady || player->IsDefending())
    {
        this->SetDefence(true);
        return;
    }
    this->strikeReady = false;
    if (R() < defenseStrikeProbability)
    {
        this->SetDefence(false);
        this->PunchEitherSide(player);
    }
    StartTimer(this->strikeTimer, R() * m_fDefenseStrikeTimerScat + m_fDefenseStrikeTimerBase);
}

/*
 * Trigger --
 *     Side effects: the boxer's frame, the damage label and the hit test
 *     against the player; then, while standing: the reaction to the
 *     player's punch, the movement, the fists' aim and, in reach, the
 *     attack or defence step; out of reach the guard goes up.
 */
void nAI::Trigger(float* dtp)
{
    nBoxer::Trigger(dtp);
    const float dt = *dtp;
    if (this->m_refLabel.isvalid()) this->m_refLabel->Trigger(dt);
    nPlayer* player = nPlayer::HasInstance() ? nPlayer::Instance() : nullptr;
    this->CheckHits(player);
    if (this->m_fHealth < 0.0f) return;

    if (this->reacting)
    {
        if (this->reactionElapsed >= this->m_fReactionTime)
        {
            this->reactionElapsed = 0.0f;
            this->reacting = false;
            if (R() < 0.5f) this->SetDefence(true);
        }
        this->reactionElapsed += dt;
    }
    this->Move();
    if (!player) return;
    const vector3 target = player->GetTransform().gettranslation();
    this->SetFistTargets(target);
    const float dist = (target - this->GetTransform().gettranslation()).len();
    if (dist >= this->m_fHandLength + 2.0f)
    {
        this->SetDefence(true);
        return;
    }
    this->Fight(player, dist);
}

/*
 * OnHit --
 *     Side effects: nothing once the player is down. Otherwise the
 *     boxer's hit; a blow of more than 35 excites the crowd; the hit
 *     sound at the AI; a blow that takes the health below zero wins the
 *     match for the player ("ShowYouWon", after the damage label shows the
 *     difference of the truncated health values, so that the result screen
 *     can clear it) and the player scores the difference.
 */
void nAI::OnHit(const vector3& impulse)
{
    nPlayer* player = nPlayer::HasInstance() ? nPlayer::Instance() : nullptr;
    if (player && player->GetHealth() < 0.0f) return;
    const int before = (int)this->m_fHealth;
    const bool wasStanding = this->m_fHealth >= 0.0f;
    nBoxer::OnHit(impulse);
    const int damage = before - (int)this->m_fHealth;
    nGame* game = nGame::Instance();
    if (damage > 35) game->PlayExcite();
    matrix44 m;
    m.translate(this->GetTransform().gettranslation());
    game->PlayAIHitSound(m);
    if (this->m_refLabel.isvalid() && this->m_refLabel->HasLabel())
    {
        nGuiFloatTextLabel* label = this->m_refLabel.get();
        label->SetPosition(this->GetTransform().gettranslation());
        label->SetDrift(impulse);
        char text[32];
        snprintf(text, sizeof(text), "%d", damage);
        label->GetLabel()->SetText(text);
        label->GetLabel()->SetColor(vector4(1.0f, 1.0f, 1.0f, 1.0f));
        label->GetLabel()->Show();
    }
    // the label first, so that the result screen the winning blow opens clears it;
    // only the blow that takes it down decides the match: later ones find it decided
    if (wasStanding && this->m_fHealth < 0.0f)
    {
        if (player) player->SetWon();
        game->PlayWon();
        if (nApp::HasInstance()) nApp::Instance()->RunScript("ShowYouWon");
    }
    if (player) player->AddScore(damage);
}
