#ifndef N_FIST2_H
#define N_FIST2_H
//------------------------------------------------------------------------------
/**
    @class nFist2
    @ingroup Game

    One glove of a boxer. At rest it eases to its guard point; a punch
    sends it towards its target and back: straight along a line, a hook
    along a horizontal arc, an uppercut along a vertical one. Speed comes
    from the punch force and the glove's mass, length from the boxer's
    strike length. While it moves, its velocity is what the boxer's hit
    test turns into an impulse, and a swish sound follows it.

    States: Idle -> Straight / Hook / Uppercut -> (reach or a hit) Return
    -> (within 2 units of the guard point) Idle.
*/
#include "game/ngameobject.h"
#include "kernel/nstrongref.h"

class nBoxer;
class nSound3;

class nFist2 : public nGameObject
{
public:
    enum State
    {
        Idle = 0,
        Straight = 1,
        Hook = 2,
        Uppercut = 3,
        Return = 4,
    };

    nFist2();

    /// the owner, the guard point and the side (0 left, 1 right); before Init
    void SetOwner(nBoxer* boxer, nGameObject* guard, int side);
    /// place at the guard point, orient the axes by its yaw, take the owner's fist mass, make the swish
    void Init(const char* proto) override;
    /// follow the base, then run the update of the state
    void Trigger(float* dt) override;

    /// the new rest point (asserts it)
    void SetGuardNode(nGameObject* j);
    /// aim: exactly while idle, scattered by the owner's accuracy during a move
    void SetTarget(const vector3& point);
    /// false unless idle
    bool StartStraight(float force);
    bool StartHook(float force);
    bool StartUppercut(float force);
    /// head back to the guard point from where the fist is
    void Retract();
    /// velocity x mass; the velocity then drops to a fifth and the swish stops
    vector3 GetHitImpulse();
    void ScaleVelocity(float factor) { this->velocity *= factor; }
    int GetState() const { return this->state; }
    int GetSide() const { return this->side; }
    const vector3& GetVelocity() const { return this->velocity; }
    float GetTravelled() const { return this->travelled; }
    float GetReach() const { return this->reach; }
    float GetMass() const { return this->mass; }
    const vector3& GetTarget() const { return this->target; }
    nGameObject* GetGuardNode() const;

protected:
    ~nFist2() override;

private:
    void UpdateIdle(float dt);
    void UpdateStraight(float dt);
    void UpdateHook(float dt);
    void UpdateUppercut(float dt);
    void UpdateReturn(float dt);
    /// the share of the move done, 1 for a move of no length
    float Progress() const;
    /// the owner's move of the last frame, zero without owner
    vector3 OwnerDisplacement() const;
    /// the owner's strike length, the default without owner
    float HandLength() const;
    /// the speed and swish of a punch being started
    void BeginPunch(int newState, float force);
    /// the swish at the fist
    void MoveSwish();

    int side;
    int state;
    nRef<nBoxer> owner;
    nRef<nGameObject> m_refJoint;
    nStrongRef<nSound3> m_refSwishSound;
    vector3 rotStart;
    vector3 rotDelta;
    vector3 drive;
    vector3 center;
    vector3 hookAxis;
    vector3 sideVector;
    vector3 target;
    vector3 aimPoint;
    vector3 pitchAxis;
    vector3 velocity;
    float travelled;
    float mass;
    float speed;
    float radius;
    float reach;
};
#endif
