//------------------------------------------------------------------------------
//  nfist2.cc
//------------------------------------------------------------------------------
#include "game/nfist2.h"
#include "audio3/nsound3.h"
#include "game/napp.h"
#include "game/nboxer.h"
#include "game/ngame.h"
#include "game/ngamemath.h"
#include "kernel/nkernelserver.h"

#include <algorithm>
#include <cmath>

namespace
{

const char* const SwishSound = "sound:swish.n2";
/// the strike length a glove without owner assumes
const float DefaultHandLength = 6.0f;

}  // namespace

nFist2::nFist2() :
    side(0),
    state(Idle),
    travelled(0.0f),
    mass(1.0f),
    speed(0.0f),
    radius(0.0f),
    reach(0.0f)
{
}

nFist2::~nFist2() = default;

void nFist2::SetOwner(nBoxer* boxer, nGameObject* guard, int s)
{
    this->owner = boxer;
    this->m_refJoint = guard;
    this->side = s;
}

nGameObject* nFist2::GetGuardNode() const
{
    return this->m_refJoint.isvalid() ? this->m_refJoint.get() : nullptr;
}

void nFist2::SetGuardNode(nGameObject* j)
{
    n_assert(j != 0);
    this->m_refJoint = j;
}

/*
 * Init --
 *     Side effects: the base Init; the glove takes the guard point's
 *     position and Euler angles; pitch axis, hook axis and side vector
 *     are turned by the guard point's yaw; mass is the owner's fist mass;
 *     the swish sound is made (a sound that cannot be made leaves the
 *     glove silent).
 */
void nFist2::Init(const char* proto)
{
    nGameObject::Init(proto);
    n_assert(m_refJoint.isvalid());
    transform44& guard = this->m_refJoint->GetTransform();
    this->transform.seteuler(guard.geteuler());
    this->transform.settranslation(guard.gettranslation());
    const float yaw = guard.geteuler().y;
    this->pitchAxis = n_turny(vector3(1.0f, 0.0f, 0.0f), yaw);
    this->hookAxis = n_turny(vector3(0.0f, this->side == 0 ? -1.0f : 1.0f, 0.0f), yaw);
    this->sideVector = n_turny(vector3(0.0f, 0.0f, this->side == 0 ? -1.0f : 1.0f), yaw);
    if (this->owner.isvalid()) this->mass = this->owner->GetFistMass();
    if (nApp::HasInstance()) this->m_refSwishSound.adopt(nApp::Instance()->CreateSound(SwishSound, nApp::SoundInstanceType));
}

float nFist2::HandLength() const
{
    return this->owner.isvalid() ? this->owner->GetHandLength() : DefaultHandLength;
}

vector3 nFist2::OwnerDisplacement() const
{
    return this->owner.isvalid() ? this->owner->GetLastDisplacement() : vector3(0.0f, 0.0f, 0.0f);
}

float nFist2::Progress() const
{
    return this->reach > 0.0f ? this->travelled / this->reach : 1.0f;
}

void nFist2::MoveSwish()
{
    if (this->m_refSwishSound.isvalid()) this->m_refSwishSound->SetTransform(this->transform.getmatrix());
}

/*
 * SetTarget --
 *     Side effects: while idle the aim is exactly the point; during a move
 *     the target is the aim point moved towards the point by the owner's
 *     accuracy, so a tired boxer tracks a moving opponent less well.
 */
void nFist2::SetTarget(const vector3& point)
{
    if (this->state == Idle)
    {
        this->target = point;
        this->aimPoint = point;
        return;
    }
    const float accuracy = this->owner.isvalid() ? this->owner->GetAccuracy() : 1.0f;
    this->target = this->aimPoint + (point - this->aimPoint) * accuracy;
}

void nFist2::BeginPunch(int newState, float force)
{
    this->state = newState;
    this->speed = force / this->mass;
    this->travelled = 0.0f;
    if (this->m_refSwishSound.isvalid()) nGame::StartSound(this->m_refSwishSound.get());
}

/*
 * StartStraight --
 *     Results: false (nothing changed) unless idle.
 *     Side effects: a straight line at the target, no longer than the
 *     strike length; the glove turns flat towards its side over the path.
 */
bool nFist2::StartStraight(float force)
{
    if (this->state != Idle) return false;
    this->velocity.set(0.0f, 0.0f, 0.0f);
    vector3 d = this->target - this->transform.gettranslation();
    const float handLength = this->HandLength();
    if (d.len() > handLength) d = n_safenorm(d) * handLength;
    this->BeginPunch(Straight, force);
    this->drive = n_safenorm(d) * this->speed;
    this->reach = d.len();
    this->rotStart = this->GetGuardNode() ? this->GetGuardNode()->GetTransform().geteuler() : this->transform.geteuler();
    this->rotDelta = vector3(0.0f, this->rotStart.y, this->sideVector.z * N_PI * 0.5f) - this->rotStart;
    return true;
}

/*
 * StartHook --
 *     Results: false unless idle.
 *     Side effects: a half circle whose diameter is 0.75 strike lengths
 *     towards the target, around a centre halfway along it.
 */
bool nFist2::StartHook(float force)
{
    if (this->state != Idle) return false;
    this->BeginPunch(Hook, force);
    const vector3& pos = this->transform.gettranslation();
    const vector3 d = n_safenorm(this->target - pos) * (this->HandLength() * 0.75f);
    this->radius = d.len() * 0.5f;
    this->reach = this->radius * N_PI;
    this->drive.set(this->speed, 0.0f, 0.0f);
    this->center = pos + d * 0.5f;
    this->center.y = pos.y + d.y;
    this->rotStart = this->GetGuardNode() ? this->GetGuardNode()->GetTransform().geteuler() : this->transform.geteuler();
    this->rotDelta = vector3(0.0f, this->rotStart.y + this->hookAxis.y * 0.4f * N_PI, 0.0f) - this->rotStart;
    return true;
}

/*
 * StartUppercut --
 *     Results: false unless idle.
 *     Side effects: a vertical arc of 1.25 half circles whose diameter is
 *     half a strike length towards the target.
 */
bool nFist2::StartUppercut(float force)
{
    if (this->state != Idle) return false;
    this->BeginPunch(Uppercut, force);
    const vector3& pos = this->transform.gettranslation();
    const vector3 d = n_safenorm(this->target - pos) * (this->HandLength() * 0.5f);
    this->radius = d.len() * 0.5f;
    this->reach = this->radius * N_PI * 1.25f;
    this->drive.set(this->speed, 0.0f, 0.0f);
    this->center = pos + d * 0.5f;
    this->center.x = pos.x + d.x;
    this->rotStart = this->GetGuardNode() ? this->GetGuardNode()->GetTransform().geteuler() : this->transform.geteuler();
    this->rotDelta = vector3(this->rotStart.x + this->pitchAxis.x * N_PI / 10.0f,
                             this->rotStart.y + this->hookAxis.y * N_PI * 0.5f, 0.0f) - this->rotStart;
    return true;
}

/*
 * Retract --
 *     Side effects: the return move from where the glove is to its guard
 *     point, turning from its present angles to the guard point's.
 */
void nFist2::Retract()
{
    this->state = Return;
    this->travelled = 0.0f;
    nGameObject* guard = this->GetGuardNode();
    const vector3 home = guard ? guard->GetTransform().gettranslation() : this->transform.gettranslation();
    this->reach = (home - this->transform.gettranslation()).len();
    this->rotStart = this->transform.geteuler();
    this->rotDelta = guard ? guard->GetTransform().geteuler() : this->rotStart;
}

/*
 * GetHitImpulse --
 *     Results: velocity x mass.
 *     Side effects: the velocity drops to a fifth; the swish stops.
 */
vector3 nFist2::GetHitImpulse()
{
    const vector3 impulse = this->velocity * this->mass;
    this->velocity *= 0.2f;
    if (this->m_refSwishSound.isvalid()) this->m_refSwishSound->Stop();
    return impulse;
}

/*
 * Trigger --
 *     Side effects: the base Trigger; then the glove moves by its state.
 *     A glove without guard point (one a script made in the match, or
 *     whose guard point a script deleted) is left where it is.
 */
void nFist2::Trigger(float* dt)
{
    nGameObject::Trigger(dt);
    if (!this->m_refJoint.isvalid()) return;
    switch (this->state)
    {
        case Straight: this->UpdateStraight(*dt); break;
        case Hook: this->UpdateHook(*dt); break;
        case Uppercut: this->UpdateUppercut(*dt); break;
        case Return: this->UpdateReturn(*dt); break;
        default: this->UpdateIdle(*dt); break;
    }
}

void nFist2::UpdateIdle(float dt)
{
    n_assert(m_refJoint.isvalid());
    transform44& guard = this->m_refJoint->GetTransform();
    const vector3& pos = this->transform.gettranslation();
    this->transform.settranslation(pos + (guard.gettranslation() - pos) * n_relax(50.0f, dt));
    this->transform.seteuler(guard.geteuler());
}

/*
 * UpdateStraight --
 *     Side effects: accelerates along the line to the target (the
 *     velocity always points at it); past the reach the glove slows
 *     (hard when it ran the full strike length) and returns.
 */
void nFist2::UpdateStraight(float dt)
{
    this->velocity += this->drive * dt;
    vector3 pos = this->transform.gettranslation();
    this->velocity = n_safenorm(this->target - pos) * this->velocity.len();
    this->travelled += this->velocity.len() * dt;
    if (this->travelled > this->reach)
    {
        this->velocity *= (this->travelled > this->HandLength()) ? 0.05f : 0.3f;
        this->Retract();
        return;
    }
    pos += this->velocity * dt;
    pos.z += this->OwnerDisplacement().z;
    this->transform.settranslation(pos);
    this->transform.seteuler(this->rotStart + this->rotDelta * this->Progress());
    this->MoveSwish();
}

/*
 * UpdateHook --
 *     Side effects: runs round the arc about the hook axis, its centre kept
 *     between guard point and target and its height easing to the
 *     target's; the arc moves with the boxer.
 */
void nFist2::UpdateHook(float dt)
{
    const float v = this->velocity.len() + this->drive.len() * dt;
    this->travelled += v * dt;
    if (this->travelled > this->reach)
    {
        this->velocity *= 0.8f;
        this->Retract();
        return;
    }
    const vector3 pos = this->transform.gettranslation();
    vector3 rel = pos - this->center;
    const vector3 guardPos = this->GetGuardNode() ? this->GetGuardNode()->GetTransform().gettranslation() : pos;
    this->center = guardPos + n_safenorm(this->target - guardPos) * this->radius;
    rel = n_safenorm(rel) * this->radius;
    const float h = this->target.y - pos.y;
    float lift = h * 10.0f * dt;
    if (std::fabs(lift) > std::fabs(h)) lift = h;
    rel.y += lift;
    const float angle = this->radius > 0.0f ? (v / this->radius) * dt : 0.0f;
    vector3 p = n_rotateabout(rel, this->hookAxis, angle) + this->center;
    this->velocity = n_safenorm(p - pos) * v;
    const vector3 shift = this->OwnerDisplacement();
    this->center += shift;
    p += shift;
    this->transform.settranslation(p);
    this->transform.seteuler(this->rotStart + this->rotDelta * this->Progress());
    this->MoveSwish();
}

/*
 * UpdateUppercut --
 *     Side effects: runs up the arc about the pitch axis while the arc
 *     narrows sideways; stops dead at the end of the path.
 */
void nFist2::UpdateUppercut(float dt)
{
    const float v = this->velocity.len() + this->drive.len() * dt;
    this->travelled += v * dt;
    if (this->travelled > this->reach)
    {
        this->velocity *= 0.0f;
        this->Retract();
        return;
    }
    const vector3 pos = this->transform.gettranslation();
    vector3 rel = pos - this->center;
    rel.x *= std::max(0.0f, 1.0f - 10.0f * dt);
    const float angle = this->radius > 0.0f ? (v / this->radius) * dt : 0.0f;
    const vector3 p = n_rotateabout(rel, this->pitchAxis, angle) + this->center;
    this->velocity = n_safenorm(p - pos) * v;
    this->center += this->OwnerDisplacement();
    this->transform.settranslation(p);
    this->transform.seteuler(this->rotStart + this->rotDelta * this->Progress());
    this->MoveSwish();
}

/*
 * UpdateReturn --
 *     Side effects: eases back towards the guard point, turning to its
 *     angles; within 2 units of it the glove is idle again.
 */
void nFist2::UpdateReturn(float dt)
{
    n_assert(m_refJoint.isvalid());
    transform44& guard = this->m_refJoint->GetTransform();
    const vector3 home = guard.gettranslation();
    const vector3 pos = this->transform.gettranslation();
    this->drive = (home - pos) * (this->speed * 0.05f);
    this->velocity += (this->drive - this->velocity) * n_relax(20.0f, dt);
    // a strong punch's return step can exceed the gap in a slow frame; it
    // would overshoot further each frame, so it ends at the guard point
    const vector3 step = this->velocity * dt;
    const vector3 p = (step.len() > (home - pos).len()) ? home : pos + step;
    if ((p - home).len() < 2.0f)
    {
        this->state = Idle;
        this->velocity.set(0.0f, 0.0f, 0.0f);
        this->transform.seteuler(guard.geteuler());
    }
    this->transform.settranslation(p);
    this->travelled += this->velocity.len() * dt;
    const float t = std::min(this->Progress(), 1.0f);
    this->transform.seteuler(this->rotStart * (1.0f - t) + this->rotDelta * t);
    this->MoveSwish();
}
