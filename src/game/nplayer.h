#ifndef N_PLAYER_H
#define N_PLAYER_H
//------------------------------------------------------------------------------
/**
    @class nPlayer
    @ingroup Game

    The boxer the user controls: the input states move it, punch and
    guard; it keeps the HUD's health and energy bars, collects score from
    the damage it deals and turns it into bonuses, and when it is
    destroyed after a match writes the progression into its prototype and
    the match's gains into "/usr/player-buffer". One instance.
*/
#include "game/nboxer.h"
#include "game/nbar.h"
#include "kernel/nstrongref.h"

class nSound3;

class nPlayer : public nBoxer
{
public:
    nPlayer();

    /// the one player (asserts it exists)
    static nPlayer* Instance();
    static bool HasInstance() { return m_pSelf != nullptr; }

    /// statistics, score, next opponent, name label, HUD bars, bonus sound
    void Init(const char* proto) override;
    /// bars, the boxer's frame, hit test and the input
    void Trigger(float* dt) override;
    /// the hit; a lost match runs "ShowYouLost"
    void OnHit(const vector3& impulse) override;
    /// score from damage dealt; each time enough is collected a bonus is pending
    void AddScore(int score);
    /// take one pending bonus, if any
    void TakeBonus();
    /// the opponent is down
    void SetWon() { this->won = true; }

    /// the prototype's int of the name; false when there is none
    bool ReadVarI(const char* name, int& out) const;
    /// the prototype's nenv of the name takes the value; false when there is none
    bool WriteVarI(const char* name, int value);
    bool WriteVarF(const char* name, float value);

    int GetNextEnemy() const { return this->m_iNextEnemy; }
    int GetBonusValue() const { return this->m_iBonusValue; }
    int GetBonusProgress() const { return this->bonusProgress; }
    int GetPendingBonuses() const { return this->pendingBonuses; }
    bool HasWon() const { return this->won; }
    nBar* GetHealthBar() const;
    nBar* GetEnergyBar() const;

    /// the path the progression of the match is written to
    static const char* const BufferPath;

protected:
    /// writes the progression (see the class comment)
    ~nPlayer() override;

    /// one of five bonuses at random
    void ApplyRandomBonus();
    /// one statistic at random grows by its step, written into the prototype
    void IncreaseRandomStat();
    /// the HUD bar of the name, built from the table of its looks
    nBar* NewBar(const char* name, bool health);
    /// the input of the frame
    void ReadInput();
    /// the clone of the prototype at BufferPath with the gains of the match
    void WriteProgression();

    /// a statistic that grows after a won match: its member, its step and its prototype key
    struct Stat
    {
        float nBoxer::*member;
        float step;
        const char* key;
    };
    static const int NumStats = 9;
    /// the statistics in the order the random choice splits [0, 1] into ninths
    static const Stat* Stats();

    static nPlayer* m_pSelf;

    nStrongRef<nBar> m_refHealthBar;
    nStrongRef<nBar> m_refEnergyBar;
    nRef<nRoot> m_refBuffer;
    nStrongRef<nSound3> m_refBNSound;
    int m_iNextEnemy;
    int m_iBonusValue;
    int bonusProgress;
    int pendingBonuses;
    int scoreTotal;
    int scoreCount;
    int m_iScore;
    bool won;
};
#endif
