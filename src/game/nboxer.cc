//------------------------------------------------------------------------------
//  nboxer.cc
//------------------------------------------------------------------------------
#include "game/nboxer.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/ngamegui.h"
#include "gui/nguitextlabel.h"
#include "game/ngamemath.h"
#include "game/ntimer.h"
#include "game/ntimerserver.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nshaderarg.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "opende/nopendegeom.h"

#include <algorithm>
#include <cmath>

namespace
{

const char* const DummyProto = "/usr/lib/objects/dummy";
/// seconds after a hit during which the boxer cannot punch
const float HitRecovery = 0.2f;
/// seconds within which a second hit counts as a combo
const float ComboWindow = 1.0f;

/// a statistic of the prototype and the least value that makes sense for it
struct Statistic
{
    const char* name;
    float nBoxer::*member;
    float least;
    bool positive;
};

/// a step of the feet: -4, -2, 0, 2 or 4
float SnapStep(float d)
{
    if (d < -4.0f) return -4.0f;
    if (d < -2.0f) return -2.0f;
    if (d < 2.0f) return 0.0f;
    if (d < 4.0f) return 2.0f;
    return 4.0f;
}

}  // namespace

/*
 * nBoxer --
 *     Side effects: adds the one-second hit timer; it starts finished, so
 *     the boxer may punch from the start. Without a timer server (a boxer
 *     made outside a match) there is no hit timer.
 */
nBoxer::nBoxer() :
    hitTimer(-1),
    comboMultiplier(1.0f),
    m_fAccuracy(1.0f),
    m_fEnergy(1000.0f),
    energyMax(1000.0f),
    m_fEnergyRecRate(50.0f),
    m_fFistMass(1.0f),
    m_fHandLength(6.0f),
    m_fHealth(1000.0f),
    healthMax(1000.0f),
    m_fMoveSpeed(20.0f),
    m_fLightness(5.0f),
    m_fStrength(100.0f),
    dip(0.0f),
    m_fReactionTime(0.0f),
    defending(false),
    leftFootLeads(true),
    hookHeld(false),
    uppercutHeld(false),
    hitRecent(false),
    vulnerableElapsed(0.0f),
    vulnerableDuration(0.0f),
    vulnerable(false)
{
    if (nTimerServer::HasInstance())
    {
        float duration = ComboWindow;
        this->hitTimer = nTimerServer::Instance()->AddTimer(&this->hitRecent, &duration);
    }
}

/*
 * ~nBoxer --
 *     Side effects: the name label goes; the hit timer no longer points
 *     into this boxer.
 */
nBoxer::~nBoxer()
{
    if (this->hitTimer >= 0 && nTimerServer::HasInstance())
    {
        nTimerServer::Instance()->ReleaseTarget(this->hitTimer, &this->hitRecent);
    }
}

/*
 * HitTimer --
 *     Results: the boxer's hit timer, or 0 when it has none (made outside
 *     a match) or the match's timers were removed since.
 */
nTimer* nBoxer::HitTimer() const
{
    if (this->hitTimer < 0 || !nTimerServer::HasInstance()) return nullptr;
    nTimerServer* timers = nTimerServer::Instance();
    if (this->hitTimer >= timers->GetNumTimers()) return nullptr;
    int id = this->hitTimer;
    nTimer* t = timers->GetTimer(&id);
    return t->GetTarget() == &this->hitRecent ? t : nullptr;
}

nFist2* nBoxer::GetLeftFist() const
{
    return this->leftFist.isvalid() ? this->leftFist.get() : nullptr;
}

nFist2* nBoxer::GetRightFist() const
{
    return this->rightFist.isvalid() ? this->rightFist.get() : nullptr;
}

nGuiTextLabel* nBoxer::GetGuiName() const
{
    n_assert(m_refGuiName.isvalid());
    return this->m_refGuiName.get();
}

nGameObject* nBoxer::GetRoot() const
{
    return this->root.isvalid() ? this->root.get() : nullptr;
}

nGameObject* nBoxer::GetPart(const char* name) const
{
    const struct
    {
        const char* name;
        const nRef<nGameObject>* ref;
    } parts[] = {
        {"root", &this->root},           {"leftguard", &this->leftGuard},
        {"rightguard", &this->rightGuard}, {"leftdefenceguard", &this->leftDefenceGuard},
        {"rightdefenceguard", &this->rightDefenceGuard}, {"leftboot", &this->leftBoot},
        {"rightboot", &this->rightBoot}, {"pants", &this->pants},
        {"shirt", &this->shirt},
    };
    for (const auto& p : parts)
    {
        if (strcmp(p.name, name) == 0) return p.ref->isvalid() ? p.ref->get() : nullptr;
    }
    return nullptr;
}

float nBoxer::GetVulnerableProgress() const
{
    // a period of no length is over at once
    return this->vulnerableDuration > 0.0f ? this->vulnerableElapsed / this->vulnerableDuration : FinishedProgress;
}

float nBoxer::GetAccuracy() const
{
    return std::min((this->m_fEnergy / this->energyMax + 0.2f) * this->m_fAccuracy, this->m_fAccuracy);
}

/*
 * ReadFloat --
 *     Results: true when the prototype's float of the name is finite and
 *     lies in its range (above least when positive, else at least least;
 *     at most most); value takes it.
 *     Side effects: any other value (missing, not a float, out of range)
 *     is reported and value is kept: a prototype is data, and a zero mass
 *     or health would divide by zero later.
 */
bool nBoxer::ReadFloat(const char* name, float& value, float least, bool positive, float most) const
{
    float v = 0.0f;
    if (this->ReadVarF(name, v) && std::isfinite(v) && (positive ? v > least : v >= least) && v <= most)
    {
        value = v;
        return true;
    }
    n_printf("nBoxer: prototype '%s' has no usable float '%s'; %g is kept\n",
             this->GetProto()->GetFullName().Get(), name, value);
    return false;
}

/*
 * ReadStatistics --
 *     Side effects: the nine statistics from the prototype, in order (see
 *     ReadFloat for values that cannot be used).
 */
void nBoxer::ReadStatistics()
{
    static const Statistic stats[] = {
        {"health", &nBoxer::m_fHealth, 0.0f, true},
        {"energy", &nBoxer::m_fEnergy, 0.0f, true},
        {"energy-rec-rate", &nBoxer::m_fEnergyRecRate, 0.0f, false},
        {"strike-length", &nBoxer::m_fHandLength, 0.0f, true},
        {"strength", &nBoxer::m_fStrength, 0.0f, false},
        {"fist-mass", &nBoxer::m_fFistMass, 0.0f, true},
        {"move-speed", &nBoxer::m_fMoveSpeed, 0.0f, false},
        {"lightness", &nBoxer::m_fLightness, 0.0f, false},
        {"accuracy", &nBoxer::m_fAccuracy, 0.0f, false},
    };
    for (const Statistic& s : stats) this->ReadFloat(s.name, this->*s.member, s.least, s.positive);
    this->healthMax = this->m_fHealth;
    this->energyMax = this->m_fEnergy;
}

/*
 * NewPart --
 *     Results: a new object of the class made by the match, placed at the
 *     position with the Euler angles and built from the prototype; a
 *     prototype that cannot be built is reported and leaves the part
 *     unbuilt (it follows and moves, but is neither drawn nor hit).
 *     0 when the match cannot make the class.
 */
nGameObject* nBoxer::NewPart(const char* className, const nString& proto, const vector3& pos, const vector3& euler)
{
    nGameObject* part = static_cast<nGameObject*>(nGame::Instance()->NewObject(nString(className)));
    if (!part) return nullptr;
    part->GetTransform().settranslation(pos);
    part->GetTransform().seteuler(euler);
    if (nGameObject::IsUsableProto(proto.Get())) part->Init(proto.Get());
    return part;
}

/*
 * CreateParts --
 *     Side effects: the root, the boxer on it, the four guard points, the
 *     two fists resting on the low guard points, the boots, pants and
 *     shirt, all placed relative to the placement. A part whose
 *     prototype name is missing is made unbuilt.
 */
void nBoxer::CreateParts()
{
    const matrix44 m = this->placement.getmatrix();
    const vector3 e = this->placement.geteuler();
    const vector3 guardTilt = e + vector3(0.3f * N_PI, 0.0f, 0.0f);
    const nString dummy(DummyProto);

    this->root = this->NewPart("ngameobject", dummy, m.transform_coord(vector3(0.0f, 0.0f, 0.0f)), vector3());
    this->transform.settranslation(m.transform_coord(vector3(0.0f, 7.5f, 0.0f)));
    this->transform.seteuler(e);
    if (this->root.isvalid()) this->SetParent(this->root.get());

    const struct
    {
        nRef<nGameObject>* ref;
        vector3 pos;
    } guards[] = {
        {&this->leftGuard, vector3(-0.8f, 5.5f, -1.2f)},
        {&this->leftDefenceGuard, vector3(-0.8f, 7.5f, -0.8f)},
        {&this->rightGuard, vector3(0.8f, 5.5f, -1.2f)},
        {&this->rightDefenceGuard, vector3(0.8f, 7.5f, -0.8f)},
    };
    for (const auto& g : guards)
    {
        *g.ref = this->NewPart("ngameobject", dummy, m.transform_coord(g.pos), guardTilt);
        if (g.ref->isvalid() && this->root.isvalid()) (*g.ref)->SetParent(this->root.get());
    }

    const struct
    {
        nRef<nFist2>* ref;
        const char* key;
        nRef<nGameObject>* guard;
        int side;
    } fists[] = {
        {&this->leftFist, "left_fist", &this->leftGuard, 0},
        {&this->rightFist, "right_fist", &this->rightGuard, 1},
    };
    for (const auto& f : fists)
    {
        nString proto;
        if (!this->ReadVarS(f.key, proto)) n_printf("nBoxer: prototype has no \"%s\"\n", f.key);
        nFist2* fist = static_cast<nFist2*>(nGame::Instance()->NewObject(nString("nfist2")));
        if (!fist || !f.guard->isvalid()) continue;
        fist->SetOwner(this, f.guard->get(), f.side);
        if (nGameObject::IsUsableProto(proto.Get())) fist->Init(proto.Get());
        else fist->GetTransform().settranslation((*f.guard)->GetTransform().gettranslation());
        *f.ref = fist;
    }

    const struct
    {
        nRef<nGameObject>* ref;
        const char* key;
        vector3 pos;
        vector3 euler;
    } clothes[] = {
        {&this->leftBoot, "left_boot", vector3(-1.0f, 0.0f, 0.0f), e + vector3(0.0f, N_PI / 20.0f, 0.0f)},
        {&this->rightBoot, "right_boot", vector3(1.0f, 0.0f, 0.0f), e + vector3(0.0f, -N_PI / 10.0f, 0.0f)},
        {&this->pants, "pants", vector3(0.0f, 4.0f, 1.0f), e},
        {&this->shirt, "shirt", vector3(0.0f, 5.0f, 1.0f), e},
    };
    for (const auto& c : clothes)
    {
        nString proto;
        if (!this->ReadVarS(c.key, proto)) n_printf("nBoxer: prototype has no \"%s\"\n", c.key);
        *c.ref = this->NewPart("ngameobject", proto, m.transform_coord(c.pos), c.euler);
    }
}

/*
 * CreateNameLabel --
 *     Side effects: a text label "<name>_guiname" in the GUI's root
 *     window showing "Dummy" at the top left, when there is a GUI.
 */
void nBoxer::CreateNameLabel()
{
    nString name(this->GetName());
    name.Append("_guiname");
    nGuiWidget* widget = nGameGui::NewRootWidget("nguitextlabel", name.Get());
    if (!widget)
    {
        n_printf("nBoxer: '%s' has no name label: there is no GUI to hold it\n", name.Get());
        return;
    }
    nGuiTextLabel* label = static_cast<nGuiTextLabel*>(widget);
    this->m_refGuiName.adopt(label);
    label->SetText("Dummy");
    label->SetRect(rectangle(vector2(0.2f, 0.0f), vector2(0.4f, 0.1f)));
    label->SetVCenter(true);
    label->SetAlignment(nGuiTextLabel::Left);
    label->SetFont("name");
}

/*
 * Init --
 *     Side effects: the base Init, the statistics, the parts, the movement
 *     target and the feet's anchor at home and the name label. The match
 *     must be running. A prototype that cannot be built is reported and
 *     leaves the boxer without body: it stands, takes hits and never
 *     punches.
 */
void nBoxer::Init(const char* proto)
{
    this->moveTarget = this->placement.gettranslation();
    if (!nGameObject::IsUsableProto(proto)) return;
    nGameObject::Init(proto);
    this->ReadStatistics();
    this->CreateParts();
    this->moveTarget = this->placement.gettranslation();
    // the boots stand at the placement: an anchor left at the ring's centre
    // would walk them off it in the first frames, out from under the boxer
    this->footAnchor.set(this->moveTarget.x, 0.0f, this->moveTarget.z);
    this->CreateNameLabel();
}

/*
 * Trigger --
 *     Side effects: follows the root; the vulnerable period runs; the
 *     boxer turns towards its heading, walks, recovers energy, steps and
 *     keeps its torso between the boots.
 */
void nBoxer::Trigger(float* dtp)
{
    nGameObject::Trigger(dtp);
    const float dt = *dtp;
    this->vulnerableElapsed += dt;
    if (this->vulnerableElapsed > this->vulnerableDuration) this->vulnerable = false;

    const vector3 e = this->transform.geteuler();
    this->transform.seteuler(e + (this->placement.geteuler() - e) * n_relax(10.0f, dt));

    this->Walk(dt);
    this->m_fEnergy = std::min(this->m_fEnergy + this->m_fEnergyRecRate * dt, this->energyMax);
    this->Footwork(dt);
    this->Torso();
}

/*
 * Walk --
 *     Side effects: the root's velocity turns towards the movement target
 *     (more slowly when tired or slow to react), capped by the move speed
 *     as energy allows; the root moves, sinking by the dip while fast.
 */
void nBoxer::Walk(float dt)
{
    if (!this->root.isvalid()) return;
    const vector3 rootPos = this->root->GetTransform().gettranslation();
    vector3 wanted = this->moveTarget - rootPos;
    wanted.y = 0.0f;
    wanted *= 20.0f;
    const float energyShare = this->m_fEnergy / this->energyMax;
    const float speedFactor = std::min((energyShare + 0.5f) * this->m_fLightness, this->m_fLightness);
    vector3 change = (wanted - this->velocity) * ((1.0f - this->m_fReactionTime) * speedFactor * dt);
    if (change.len() < 1.0f) change *= 2.0f;
    this->velocity += change;

    const float goal = this->velocity.len() * 0.04f;
    const float maxDip = 20.0f * dt;
    this->dip = (std::fabs(goal - this->dip) <= maxDip) ? goal : this->dip + (goal > this->dip ? maxDip : -maxDip);

    const float maxSpeed = std::min((energyShare + 0.75f) * this->m_fMoveSpeed, this->m_fMoveSpeed);
    if (this->velocity.len() > maxSpeed) this->velocity = n_safenorm(this->velocity) * maxSpeed;

    vector3 newPos = rootPos + this->velocity * dt;
    newPos.y = -this->dip;
    this->lastDisplacement = newPos - rootPos;
    this->root->GetTransform().settranslation(newPos);
}

/*
 * MoveBodyPart --
 *     Results: the part's distance from the goal before the move.
 *     Side effects: the part moves straight towards the goal by at most
 *     1.25 move speeds x dt.
 */
float nBoxer::MoveBodyPart(nGameObject* part, const vector3& goal, float dt)
{
    const vector3 pos = part->GetTransform().gettranslation();
    const vector3 d = goal - pos;
    const float dist = d.len();
    const float step = this->m_fMoveSpeed * 1.25f * dt;
    part->GetTransform().settranslation(dist <= step ? goal : pos + n_safenorm(d) * step);
    return dist;
}

/*
 * Footwork --
 *     Side effects: the feet step to the movement target in steps of 2 or
 *     4 units per axis: the leading boot first, the other once the
 *     leading one is there; the anchor moves with each new step.
 */
void nBoxer::Footwork(float dt)
{
    if (!this->leftBoot.isvalid() || !this->rightBoot.isvalid()) return;
    const vector3 d = this->moveTarget - this->footAnchor;
    const vector3 snapped(SnapStep(d.x), 0.0f, SnapStep(d.z));
    const vector3 stepTarget = snapped + this->footAnchor;
    const float yaw = this->placement.geteuler().y;
    const vector3 leftGoal = stepTarget + n_turny(vector3(-1.0f, 0.0f, 0.0f), yaw);
    const vector3 rightGoal = stepTarget + n_turny(vector3(1.0f, 0.0f, 0.0f), yaw);
    const float bootHeight = this->leftBoot->GetTransform().gettranslation().y;
    if (snapped.len() > 0.1f)
    {
        this->leftFootLeads = (snapped.z < 0.0f || snapped.x < 0.0f);
        if (std::fabs(yaw - N_PI) < 0.01f) this->leftFootLeads = !this->leftFootLeads;
        this->footAnchor.set(stepTarget.x, bootHeight, stepTarget.z);
    }
    nGameObject* lead = this->leftFootLeads ? this->leftBoot.get() : this->rightBoot.get();
    nGameObject* other = this->leftFootLeads ? this->rightBoot.get() : this->leftBoot.get();
    const vector3& leadGoal = this->leftFootLeads ? leftGoal : rightGoal;
    const vector3& otherGoal = this->leftFootLeads ? rightGoal : leftGoal;
    if (this->MoveBodyPart(lead, leadGoal, dt) < 0.01f)
    {
        if (this->MoveBodyPart(other, otherGoal, dt) < 0.01f)
        {
            this->footAnchor.set(stepTarget.x, bootHeight, stepTarget.z);
        }
    }
}

/*
 * Torso --
 *     Side effects: the pants halfway between the boxer (raised a little)
 *     and the middle of the boots, the shirt just above them, leaning by
 *     how far the boxer is off the pants.
 */
void nBoxer::Torso()
{
    if (!this->leftBoot.isvalid() || !this->rightBoot.isvalid() || !this->pants.isvalid() || !this->shirt.isvalid())
        return;
    const vector3 mid = (this->leftBoot->GetTransform().gettranslation() +
                         this->rightBoot->GetTransform().gettranslation()) * 0.5f;
    vector3 p = this->transform.gettranslation();
    p.y *= 1.1f;
    const vector3 pantsPos = (p + mid) * 0.5f;
    this->pants->GetTransform().settranslation(pantsPos);
    this->shirt->GetTransform().settranslation(pantsPos + vector3(0.0f, 0.2f, 0.0f));
    const vector3& b = this->transform.gettranslation();
    this->shirt->GetTransform().seteuler(vector3((b.z - pantsPos.z) * 0.3f, 0.0f, (pantsPos.x - b.x) * 0.3f));
}

/*
 * Render --
 *     Side effects: the limbs are joined to the body as it stands now
 *     (after every part has moved this frame), then the boxer's own
 *     render context is attached.
 */
void nBoxer::Render()
{
    this->JoinLimbs();
    nGameObject::Render();
}

/*
 * JoinLimbs --
 *     Side effects: each boot's leg reaches its hip on the pants, each
 *     glove's arm its shoulder on the shirt.
 */
void nBoxer::JoinLimbs()
{
    nGameObject* pantsPart = this->pants.isvalid() ? this->pants.get() : nullptr;
    nGameObject* shirtPart = this->shirt.isvalid() ? this->shirt.get() : nullptr;
    this->JoinLimb(this->leftBoot.isvalid() ? this->leftBoot.get() : nullptr, pantsPart, -1.0f);
    this->JoinLimb(this->rightBoot.isvalid() ? this->rightBoot.get() : nullptr, pantsPart, 1.0f);
    this->JoinLimb(this->GetLeftFist(), shirtPart, -1.0f);
    this->JoinLimb(this->GetRightFist(), shirtPart, 1.0f);
}

/*
 * JoinLimb --
 *     Side effects: the limb part's render context gets the joint matrix
 *     ("JointPalette") that turns and stretches its limb from the pivot
 *     its prototype names ("limb-pivot", to "limb-end" as modelled) onto
 *     the body part's joint ("limb-joint", or that point mirrored across
 *     the part's x axis, whichever lies on the boxer's side). The parts
 *     move on their own, so only this keeps legs and arms attached. A part
 *     unbuilt or without those values keeps its limb as modelled.
 */
void nBoxer::JoinLimb(nGameObject* limb, nGameObject* body, float side)
{
    if (!limb || !body || !limb->GetRenderContext().IsValid() || !body->GetRenderContext().IsValid()) return;
    nFloat4 pivot, restEnd, joint;
    if (!limb->ReadVarF4("limb-pivot", pivot) || !limb->ReadVarF4("limb-end", restEnd) ||
        !body->ReadVarF4("limb-joint", joint))
    {
        return;
    }
    const matrix44& bodyMatrix = body->GetTransform().getmatrix();
    const vector3 a = bodyMatrix.transform_coord(vector3(joint.x, joint.y, joint.z));
    const vector3 b = bodyMatrix.transform_coord(vector3(-joint.x, joint.y, joint.z));
    const vector3 sidePoint =
        body->GetTransform().gettranslation() + n_turny(vector3(side, 0.0f, 0.0f), this->placement.geteuler().y);
    const vector3 jointWorld = (a - sidePoint).len() <= (b - sidePoint).len() ? a : b;
    matrix44 toLimb = limb->GetTransform().getmatrix();
    if (!toLimb.invert_simple()) return;
    const matrix44 m = n_limbmatrix(vector3(pivot.x, pivot.y, pivot.z), vector3(restEnd.x, restEnd.y, restEnd.z),
                                    toLimb.transform_coord(jointWorld));
    limb->GetRenderContext().GetShaderOverrides().SetArg(nShaderState::JointPalette, nShaderArg(m));
}

/*
 * Punch --
 *     Results: whether a punch started. Refused in the match's start
 *     phase, with the guard up, within 0.2 s of being hit, and when the
 *     energy does not pay for it.
 *     Side effects: a hook, uppercut or straight punch (as held) of a
 *     force that falls with the energy, by the fist the side chooses;
 *     its cost is paid.
 */
bool nBoxer::Punch(nBoxer* /*target*/, int side)
{
    if (nGame::HasInstance() && nGame::Instance()->IsStarting()) return false;
    if (this->defending) return false;
    if (this->HitTimer() && this->HitTimer()->GetElapsed() < HitRecovery) return false;
    nFist2* left = this->GetLeftFist();
    nFist2* right = this->GetRightFist();
    if (!left || !right) return false;
    const float cost = this->m_fStrength * this->m_fFistMass * 0.1f;
    if (this->m_fEnergy < cost) return false;
    const float force = std::min((this->m_fEnergy / this->energyMax + 0.85f) * this->m_fStrength, this->m_fStrength);

    auto start = [this, force](nFist2* fist) {
        if (this->hookHeld) return fist->StartHook(force);
        if (this->uppercutHeld) return fist->StartUppercut(force);
        return fist->StartStraight(force);
    };
    auto idleOrReturning = [](nFist2* fist) {
        return fist->GetState() == nFist2::Idle || fist->GetState() == nFist2::Return;
    };
    bool started = false;
    if (side == 0)
    {
        if (left->GetState() == nFist2::Idle && idleOrReturning(right)) started = start(left);
    }
    else if (side == 1)
    {
        if (force * 0.1f > this->m_fEnergy) return false;
        if (idleOrReturning(right)) started = start(left);
    }
    if (!started && (side == 0 || side == 2))
    {
        if (idleOrReturning(left)) started = start(right);
    }
    if (!started) return false;
    this->m_fEnergy -= cost;
    return true;
}

matrix44 nBoxer::FirstContactMatrix()
{
    matrix44 m;
    m.set_pos_component(nOpendeLayer::ContactPos(nGame::Instance()->GetContacts()[0].geom));
    return m;
}

/*
 * CheckFistHit --
 *     Side effects: when the moving fist touches the opponent's body, the
 *     opponent takes the impulse (a tenth through a raised guard), its
 *     head snaps, the fist returns and the face-hit sound plays. Else,
 *     while the opponent defends, a touch of its right, then its left
 *     glove knocks that glove aside, returns the fist and plays the hit
 *     sound. Contacts go into the match's records.
 */
void nBoxer::CheckFistHit(nFist2* fist, nBoxer* opponent)
{
    if (!fist || !fist->HasGeom()) return;
    const int state = fist->GetState();
    if (state == nFist2::Idle || state == nFist2::Return) return;
    dContact* contacts = nGame::Instance()->GetContacts();
    const dGeomID fistGeom = fist->GetGeom()->id();
    auto touches = [&](nGameObject* other) {
        return other && other->HasGeom() &&
               nOpendeLayer::Collide(fistGeom, other->GetGeom()->id(), nGame::NumContacts, &contacts[0].geom,
                                     sizeof(dContact)) > 0;
    };
    if (touches(opponent))
    {
        vector3 impulse = fist->GetHitImpulse();
        if (opponent->IsDefending()) impulse *= 0.1f;
        opponent->OnHit(impulse);
        impulse = n_turny(impulse, this->transform.geteuler().y);
        const vector3 s = impulse * 0.01f;
        transform44& t = opponent->GetTransform();
        t.seteuler(t.geteuler() + vector3(2.0f * s.y, 3.0f * s.x, 0.0f));
        fist->Retract();
        const matrix44 contact = FirstContactMatrix();
        nGame::Instance()->PlayHitFaceSound(contact);
        nGame::Instance()->SpawnHitFX(contact.pos_component());
        return;
    }
    if (!opponent->IsDefending()) return;
    for (nFist2* glove : {opponent->GetRightFist(), opponent->GetLeftFist()})
    {
        if (!touches(glove)) continue;
        const vector3 impulse = fist->GetHitImpulse();
        fist->Retract();
        transform44& t = glove->GetTransform();
        t.settranslation(t.gettranslation() + impulse * 0.01f);
        nGame::Instance()->PlayHitSound(FirstContactMatrix());
        return;
    }
}

void nBoxer::CheckHits(nBoxer* opponent)
{
    if (!opponent) return;
    this->CheckFistHit(this->GetLeftFist(), opponent);
    this->CheckFistHit(this->GetRightFist(), opponent);
}

/*
 * OnHit --
 *     Side effects: health falls by the impulse less the boxer's own step
 *     away from it (a step into the punch hurts more), times the combo
 *     multiplier, doubled on the AI under the fatal-punch bonus, at least
 *     1. The blow that takes the health below zero starts the match's
 *     final slow motion and shows the cursor. The combo window restarts.
 */
void nBoxer::OnHit(const vector3& impulse)
{
    nGame* game = nGame::Instance();
    this->comboMultiplier = this->hitRecent ? this->comboMultiplier + 0.5f : 1.0f;
    vector3 m = this->moveTarget;
    m.y = 0.0f;
    const vector3 rootPos = this->root.isvalid() ? this->root->GetTransform().gettranslation() : m;
    float damage = (impulse - (m - rootPos) * 10.0f).len() * this->comboMultiplier * 0.5f;
    if (game->IsFatalPunch() && this->IsA("nai")) damage *= 2.0f;
    if (!(damage >= 1.0f)) damage = 1.0f;
    const bool wasStanding = this->m_fHealth >= 0.0f;
    this->m_fHealth -= damage;
    if (wasStanding && this->m_fHealth < 0.0f)
    {
        game->StartFinalSlowMotion();
        if (nGfxServer2* gfx = nGfxServer2::Running()) gfx->SetCursorVisibility(nGfxServer2::System);
    }
    this->hitRecent = true;
    if (this->HitTimer()) this->HitTimer()->Start();
}

void nBoxer::SetDefence(bool value)
{
    if (value && this->vulnerable) return;
    this->defending = value;
    if (nFist2* left = this->GetLeftFist())
    {
        nRef<nGameObject>& g = value ? this->leftDefenceGuard : this->leftGuard;
        if (g.isvalid()) left->SetGuardNode(g.get());
    }
    if (nFist2* right = this->GetRightFist())
    {
        nRef<nGameObject>& g = value ? this->rightDefenceGuard : this->rightGuard;
        if (g.isvalid()) right->SetGuardNode(g.get());
    }
}

bool nBoxer::IsDefending() const
{
    const nFist2* left = this->GetLeftFist();
    const nFist2* right = this->GetRightFist();
    return this->defending && (!left || left->GetState() == nFist2::Idle) &&
           (!right || right->GetState() == nFist2::Idle);
}

void nBoxer::SetMoveDirection(const vector3& v)
{
    auto clamp = [](float f) { return std::isfinite(f) ? n_clamp(f, -2.0f, 2.0f) : 0.0f; };
    this->moveDirection.set(clamp(v.x), 0.0f, clamp(v.z));
    this->moveTarget = this->placement.getmatrix().transform_coord(this->moveDirection);
}

void nBoxer::SetFistTargets(const vector3& point)
{
    if (nFist2* left = this->GetLeftFist()) left->SetTarget(point);
    if (nFist2* right = this->GetRightFist()) right->SetTarget(point);
}

void nBoxer::SetVulnerable(float duration)
{
    this->vulnerableDuration = duration;
    this->vulnerableElapsed = 0.0f;
    this->vulnerable = true;
    this->SetDefence(false);
}
