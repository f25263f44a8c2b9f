#ifndef N_AI_H
#define N_AI_H
//------------------------------------------------------------------------------
/**
    @class nAI
    @ingroup Game

    The computer's boxer. Three timers drive it: the movement timer
    alternates between following the player and keeping its position
    with random dodges, the phase timer between attack and defence, and
    the strike timer spaces its punches. Its tuning comes from its
    prototype. A hit shows the damage in a floating label, scores for the
    player and, when its health falls below zero, makes the player the
    winner. One instance.
*/
#include "game/nboxer.h"
#include "game/nguifloattextlabel.h"
#include "kernel/nstrongref.h"

class nAI : public nBoxer
{
public:
    nAI();

    /// the one AI boxer (asserts it exists)
    static nAI* Instance();
    static bool HasInstance() { return m_pSelf != nullptr; }

    /// statistics, tuning, name label, damage label; the guard goes up
    void Init(const char* proto) override;
    /// the decision step (see the class comment)
    void Trigger(float* dt) override;
    /// the damage, the sounds, the score and the winner
    void OnHit(const vector3& impulse) override;
    /// the player's punch started: react after the reaction time
    void StartReaction() { this->reacting = true; }
    /// follow the player's movement since the last call, scaled
    void MoveTowardsPlayer(float factor);

    bool IsFollowing() const { return this->following; }
    bool IsReacting() const { return this->reacting; }
    const vector3& GetDodgeOffset() const { return this->dodgeOffset; }
    /// the damage label (asserts it)
    nGuiFloatTextLabel* GetLabel() const;

protected:
    ~nAI() override;

    /// the timer, when it exists, set to the duration and started
    static void StartTimer(int id, float duration);
    /// whether the timer exists and runs
    static bool TimerRunning(int id);
    /// punch with one fist chosen at random, the other when that one is refused
    void PunchEitherSide(nBoxer* player);
    /// the movement step: follow, or keep position and dodge
    void Move();
    /// the attack or defence step, in reach of the player
    void Fight(nBoxer* player, float dist);

    static nAI* m_pSelf;

    nStrongRef<nGuiFloatTextLabel> m_refLabel;
    vector3 dodgeOffset;
    float reactionElapsed;
    float m_fFollowTimerBase;
    float m_fFollowTimerScat;
    float m_fKeepPosTimerBase;
    float m_fKeepPosTimerScat;
    float m_fDodgeAmplitude;
    float m_fHookProbability;
    float m_fHookRange;
    float m_fAttackTimerBase;
    float m_fAttackTimerScat;
    float m_fAttackStrikeTimerBase;
    float m_fAttackStrikeTimerScat;
    float m_fDefenseTimerBase;
    float m_fDefenseTimerScat;
    float m_fDefenseStrikeTimerBase;
    float m_fDefenseStrikeTimerScat;
    float defenseStrikeProbability;
    int phaseTimer;
    int strikeTimer;
    int moveTimer;
    bool reacting;
    bool strikeReady;
    bool following;
    bool attacking;
};
#endif
