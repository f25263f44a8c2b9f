#ifndef N_BOXER_H
#define N_BOXER_H
//------------------------------------------------------------------------------
/**
    @class nBoxer
    @ingroup Game

    One boxer: the common base of the player and the AI opponent. Its
    statistics come from its prototype; its body is made of further game
    objects (an invisible root that carries it, two fists, two boots,
    pants, shirt and four invisible guard points where the fists rest).
    Every frame it turns to its heading, walks towards its movement target
    with stepping feet, recovers energy and keeps the torso between the
    boots. It starts punches (paying energy), tests its moving fists
    against the opponent's body and gloves with ODE's collision test, and
    takes hits: health, a combo multiplier, a head snap and, on the blow
    that takes its health below zero, the match's final slow motion.
*/
#include "game/ngameobject.h"
#include "gui/nguitextlabel.h"
#include "kernel/nstrongref.h"

class nFist2;
class nTimer;
class nGuiTextLabel;

class nBoxer : public nGameObject
{
public:
    nBoxer();

    /// statistics, parts, movement target and name label from the prototype
    void Init(const char* proto) override;
    /// turn, walk, recover, step and keep the torso between the boots
    void Trigger(float* dt) override;
    /// join the limbs to the body, then attach the boxer's own render context
    void Render() override;
    /// take a hit of the impulse
    virtual void OnHit(const vector3& impulse);

    /// start a punch: side 1 left, 2 right, 0 left falling back to right; false when refused
    bool Punch(nBoxer* target, int side);
    /// the hit test of the moving fists against the opponent
    void CheckHits(nBoxer* opponent);
    /// raise (refused while vulnerable) or lower the guard
    void SetDefence(bool value);
    /// guard up and both fists at rest
    bool IsDefending() const;
    /// movement input in the boxer's frame; x and z clamped to [-2, 2], y dropped
    void SetMoveDirection(const vector3& v);
    /// both fists aim at the point
    void SetFistTargets(const vector3& point);
    /// accuracy as energy allows
    float GetAccuracy() const;
    /// no guard for the duration
    void SetVulnerable(float duration);

    nFist2* GetLeftFist() const;
    nFist2* GetRightFist() const;
    /// the name label (asserts it)
    nGuiTextLabel* GetGuiName() const;
    bool HasGuiName() const { return this->m_refGuiName.isvalid(); }
    float GetHandLength() const { return this->m_fHandLength; }
    float GetFistMass() const { return this->m_fFistMass; }
    float GetHealth() const { return this->m_fHealth; }
    float GetEnergy() const { return this->m_fEnergy; }
    float GetEnergyMax() const { return this->energyMax; }
    float GetStrength() const { return this->m_fStrength; }
    float GetVulnerableProgress() const;
    bool IsVulnerable() const { return this->vulnerable; }
    float GetComboMultiplier() const { return this->comboMultiplier; }
    const vector3& GetLastDisplacement() const { return this->lastDisplacement; }
    const vector3& GetMoveTarget() const { return this->moveTarget; }
    const vector3& GetMoveDirection() const { return this->moveDirection; }
    const vector3& GetFootAnchor() const { return this->footAnchor; }
    const vector3& GetVelocity() const { return this->velocity; }
    /// the home position and heading; set before Init
    transform44& GetPlacement() { return this->placement; }
    /// the invisible root, or 0 before Init
    nGameObject* GetRoot() const;
    /// a part by its name ("leftboot", "rightboot", "pants", "shirt", "leftguard", ...), or 0
    nGameObject* GetPart(const char* name) const;

    void SetEnergy(float e) { this->m_fEnergy = e; }
    void SetHealth(float h) { this->m_fHealth = h; }

    /// the next punch is a hook / an uppercut (set by player and AI)
    void SetHookHeld(bool b) { this->hookHeld = b; }
    void SetUppercutHeld(bool b) { this->uppercutHeld = b; }

protected:
    /// releases the name label
    ~nBoxer() override;

    /// a part of the class made by the match, placed, and built from the prototype
    nGameObject* NewPart(const char* className, const nString& proto, const vector3& pos, const vector3& euler);
    /// the prototype's statistics, each checked; a missing or unusable one keeps its default
    void ReadStatistics();
    /// the prototype's float of the name into value when usable, else reported and value kept
    bool ReadFloat(const char* name, float& value, float least, bool positive, float most = 3.0e38f) const;
    /// the body parts around the placement
    void CreateParts();
    /// the label showing the boxer's name
    void CreateNameLabel();
    /// the walking step of the root and the boxer
    void Walk(float dt);
    /// the boots step towards the movement target
    void Footwork(float dt);
    /// pants and shirt between the boots
    void Torso();
    /// every limb (legs on the boots, arms on the gloves) drawn reaching its joint on pants or shirt
    void JoinLimbs();
    /// the limb's joint matrix for its draw: from its pivot to the body part's joint on the side (-1 left, 1 right)
    void JoinLimb(nGameObject* limb, nGameObject* body, float side);
    /// move the part straight towards the goal, at most the step speed; the distance before
    float MoveBodyPart(nGameObject* part, const vector3& goal, float dt);
    /// the fist's hit test against the opponent: body, then (while it defends) its gloves
    void CheckFistHit(nFist2* fist, nBoxer* opponent);
    /// the hit timer, 0 without a live one
    nTimer* HitTimer() const;
    /// the matrix at the first contact's position
    static matrix44 FirstContactMatrix();

    nRef<nFist2> leftFist;
    nRef<nFist2> rightFist;
    nRef<nGameObject> leftDefenceGuard;
    nRef<nGameObject> leftBoot;
    nRef<nGameObject> leftGuard;
    nRef<nGameObject> pants;
    nRef<nGameObject> rightDefenceGuard;
    nRef<nGameObject> rightBoot;
    nRef<nGameObject> rightGuard;
    nRef<nGameObject> shirt;
    nStrongRef<nGuiTextLabel> m_refGuiName;
    vector3 moveTarget;
    vector3 footAnchor;
    vector3 lastDisplacement;
    vector3 velocity;
    vector3 moveDirection;
    int hitTimer;
    float comboMultiplier;
    float m_fAccuracy;
    float m_fEnergy;
    float energyMax;
    float m_fEnergyRecRate;
    float m_fFistMass;
    float m_fHandLength;
    float m_fHealth;
    float healthMax;
    float m_fMoveSpeed;
    float m_fLightness;
    float m_fStrength;
    float dip;
    float m_fReactionTime;
    bool defending;
    bool leftFootLeads;
    bool hookHeld;
    bool uppercutHeld;
    bool hitRecent;
    float vulnerableElapsed;
    float vulnerableDuration;
    bool vulnerable;
    nRef<nGameObject> root;
    transform44 placement;
};
#endif
