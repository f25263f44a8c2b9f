//------------------------------------------------------------------------------
//  nopendejoint.cc
//------------------------------------------------------------------------------
#include "opende/nopendejoint.h"
#include "opende/nopendebody.h"
#include "kernel/nkernelserver.h"

#include <cmath>
#include <cstring>

using namespace nOpendeLayer;

namespace
{

/// ODE's parameter order within one axis group
const char* const ParamNames[nOpendeJoint::NumParams] = {
    "lostop", "histop", "vel", "fmax", "fudgefactor", "bounce", "cfm", "stoperp", "stopcfm", "suspensionerp",
    "suspensioncfm",
};

/// ODE's index within an axis group of each name, in the names' order
const int OdeParams[nOpendeJoint::NumParams] = {
    dParamLoStop, dParamHiStop, dParamVel, dParamFMax, dParamFudgeFactor, dParamBounce, dParamCFM, dParamStopERP,
    dParamStopCFM, dParamSuspensionERP, dParamSuspensionCFM,
};

/// the largest finite magnitude of a stop, a velocity, a force limit or
/// a constraint force mixing; far beyond any body the engine moves
const float Big = nOpendeJoint::MaxParamMagnitude;

/// the values each name takes, in the names' order. ODE documents the
/// error reductions, the fudge factor and the bounce as fractions 0..1,
/// the force limit and the constraint force mixings as not negative; an
/// error reduction above 1 multiplies a joint's error every step, and a
/// motor or stop of astronomic size drives its bodies in one step, until
/// ODE aborts. A stop may be infinite (no stop).
const struct
{
    float lo;
    float hi;
} ParamRanges[nOpendeJoint::NumParams] = {
    {-Big, Big}, {-Big, Big}, {-Big, Big}, {0.0f, Big}, {0.0f, 1.0f}, {0.0f, 1.0f},
    {0.0f, Big}, {0.0f, 1.0f}, {0.0f, Big}, {0.0f, 1.0f}, {0.0f, Big},
};

}  // namespace

nOpendeJoint::nOpendeJoint() :
    jointId(0),
    body1Name("none"),
    body2Name("none")
{
}

/*
 * ~nOpendeJoint --
 *     Side effects: destroys the ODE joint, unless its world object is
 *     gone already: ODE took the joint with the world.
 */
nOpendeJoint::~nOpendeJoint()
{
    if (this->jointId && this->createdIn.isvalid()) dJointDestroy(this->jointId);
    this->jointId = 0;
}

/*
 * Create --
 *     Side effects: asserts no joint yet and a world at the path; keeps
 *     the world. The subclass makes the ODE joint in GetWorldId().
 */
void nOpendeJoint::Create(const char* worldPath)
{
    n_assert(0 == this->id());
    this->jointId = 0;
    n_assert(worldPath);
    this->ref_World.set(worldPath);
    this->worldPath = worldPath;
    n_assert(this->ref_World.isvalid());
    nRoot* obj = this->ref_World.get();
    n_assert(obj->IsA("nopendeworld"));
    this->createdIn.set(static_cast<nOpendeWorld*>(obj));
}

dWorldID nOpendeJoint::GetWorldId() const
{
    n_assert(this->createdIn.isvalid());
    return this->createdIn->id();
}

void nOpendeJoint::SetParam(int /*param*/, float /*value*/)
{
    n_printf("Pure virtual method nOpendeJoint::SetParam() called!\n");
}

float nOpendeJoint::GetParam(int /*param*/)
{
    n_printf("Pure virtual method nOpendeJoint::GetParam() called!\n");
    return 0.0f;
}

/*
 * AttachProblem --
 *     Results: 0 when ODE takes the bodies at the two paths; else why it
 *     would abort: a path that names no created body, one body twice, a
 *     body of another world, or a single body for a joint that needs two.
 */
const char* nOpendeJoint::AttachProblem(const char* body1Path, const char* body2Path) const
{
    if (!this->id()) return "the joint has not been created";
    const char* paths[2] = {body1Path, body2Path};
    dBodyID ids[2] = {0, 0};
    for (int i = 0; i < 2; i++)
    {
        if (!paths[i]) return "a body path is missing";
        if (0 == strcmp(paths[i], "none")) continue;
        nOpendeBody* body = nOpendeBody::Find(paths[i]);
        if (!body) return "a body path names no created nopendebody";
        ids[i] = body->id();
        if (dBodyGetWorld(ids[i]) != this->GetWorldId()) return "a body lives in another world";
    }
    if (ids[0] && ids[0] == ids[1]) return "a joint cannot join a body to itself";
    if (this->NeedsTwoBodies() && ((ids[0] == 0) != (ids[1] == 0))) return "this joint needs two bodies or none";
    return nullptr;
}

/*
 * Attach --
 *     Side effects: asserts that each path other than "none" names a body;
 *     keeps both paths; attaches the ODE joint ("none" is the world).
 */
void nOpendeJoint::Attach(const char* body1Path, const char* body2Path)
{
    this->CheckId("nOpendeJoint::id not valid!");
    n_assert(body1Path && body2Path);
    dBodyID ids[2] = {0, 0};
    const char* paths[2] = {body1Path, body2Path};
    for (int i = 0; i < 2; i++)
    {
        if (0 == strcmp(paths[i], "none")) continue;
        nRoot* temp = this->kernelServer->Lookup(paths[i]);
        if (0 == i)
        {
            n_assert(temp && temp->IsA("nopendebody") && "body1 in call to nOpendeJoint::Attach() is invalid!");
        }
        else
        {
            n_assert(temp && temp->IsA("nopendebody") && "body2 in call to nOpendeJoint::Attach() is invalid!");
        }
        ids[i] = static_cast<nOpendeBody*>(temp)->id();
    }
    this->body1Name = body1Path;
    this->body2Name = body2Path;
    dJointAttach(this->jointId, ids[0], ids[1]);
    this->ApplyAllKept();
}

void nOpendeJoint::Attach(dBodyID body1, dBodyID body2)
{
    this->CheckId("nOpendeJoint::id not valid!");
    dJointAttach(this->jointId, body1, body2);
    this->body1Name = "none";
    this->body2Name = "none";
    this->ApplyAllKept();
}

bool nOpendeJoint::HasBody() const
{
    this->CheckId("nOpendeJoint::id not valid!");
    return dJointGetBody(this->jointId, 0) || dJointGetBody(this->jointId, 1);
}

/*
 * Keep --
 *     Results: true when no body is attached: ODE would drop the anchor or
 *     axis then (it places them relative to the bodies), so it is kept
 *     for the attachment; axes are kept normalized, as ODE keeps them.
 *     False when the caller is to hand the value to ODE.
 */
bool nOpendeJoint::Keep(int slot, const vector3& v)
{
    n_assert(slot >= 0 && slot < NumKept);
    if (this->HasBody()) return false;
    this->kept[slot] = v;
    // a saved axis is normal within the digits written: normalizing it
    // again would change its last bits and what is saved next
    if (slot != KeptAnchor && fabsf(v.len() - 1.0f) > 1e-6f) this->kept[slot].norm();
    this->isKept[slot] = true;
    return true;
}

bool nOpendeJoint::GetKept(int slot, vector3& v) const
{
    n_assert(slot >= 0 && slot < NumKept);
    if (this->HasBody()) return false;
    v = this->isKept[slot] ? this->kept[slot] : vector3(0.0f, 0.0f, 0.0f);
    return true;
}

/*
 * ApplyAllKept --
 *     Side effects: once a body is attached, the kept anchor, then the kept
 *     axes go to ODE in the order a script sets them; nothing stays kept.
 *     Then the subclass hands over what it kept itself.
 */
void nOpendeJoint::ApplyAllKept()
{
    if (!this->HasBody()) return;
    for (int slot = 0; slot < NumKept; slot++)
    {
        if (!this->isKept[slot]) continue;
        this->isKept[slot] = false;
        this->ApplyKept(slot, this->kept[slot]);
    }
    this->BodiesAttached();
}

void nOpendeJoint::SetData(void* data)
{
    this->CheckId("nOpendeJoint::id not valid!");
    dJointSetData(this->jointId, data);
}

void* nOpendeJoint::GetData() const
{
    this->CheckId("nOpendeJoint::id not valid!");
    return dJointGetData(this->jointId);
}

int nOpendeJoint::GetType() const
{
    this->CheckId("nOpendeJoint::id not valid!");
    return dJointGetType(this->jointId);
}

const char* nOpendeJoint::JointTypeName(int type)
{
    switch (type)
    {
        case 1: return "ball";
        case 2: return "hinge";
        case 3: return "slider";
        case 4: return "contact";
        case 5: return "universal";
        case 6: return "hinge2";
        case 7: return "fixed";
        case 9: return "amotor";
        default: return "uknown";
    }
}

const char* nOpendeJoint::GetJointType() const
{
    return JointTypeName(this->GetType());
}

dBodyID nOpendeJoint::GetBody(int index) const
{
    this->CheckId("nOpendeJoint::id not valid!");
    return dJointGetBody(this->jointId, index);
}

const char* nOpendeJoint::GetBodyName(int index) const
{
    n_assert((0 == index) || (1 == index));
    return (0 == index) ? this->body1Name.Get() : this->body2Name.Get();
}

void nOpendeJoint::SetFeedback(dJointFeedback* fb)
{
    this->CheckId("nOpendeJoint::id not valid!");
    dJointSetFeedback(this->jointId, fb);
}

dJointFeedback* nOpendeJoint::GetFeedback() const
{
    this->CheckId("nOpendeJoint::id not valid!");
    return dJointGetFeedback(this->jointId);
}

bool nOpendeJoint::IsFeedbackEnabled() const
{
    return nullptr != this->GetFeedback();
}

void nOpendeJoint::GetFeedback(vector3& force1, vector3& torque1, vector3& force2, vector3& torque2) const
{
    const dJointFeedback* feedback = this->GetFeedback();
    n_assert(feedback && "Feedback disabled!");
    force1 = ToVector3(feedback->f1);
    torque1 = ToVector3(feedback->t1);
    force2 = ToVector3(feedback->f2);
    torque2 = ToVector3(feedback->t2);
}

int nOpendeJoint::ParamIndex(const char* name)
{
    for (int i = 0; name && i < NumParams; i++)
    {
        if (0 == strcmp(name, ParamNames[i])) return i;
    }
    return -1;
}

const char* nOpendeJoint::ParamName(int index)
{
    n_assert(index >= 0 && index < NumParams);
    return ParamNames[index];
}

/*
 * ParamProblem --
 *     Results: 0 when the named parameter of the index takes the value;
 *     else the range it is outside of, as text.
 */
const char* nOpendeJoint::ParamProblem(int index, float value)
{
    n_assert(index >= 0 && index < NumParams);
    if (std::isnan(value)) return "is not a number";
    // ODE's stops are infinite when unset, and saved joints write them so
    if (index <= 1 && std::isinf(value)) return nullptr;
    if (value >= ParamRanges[index].lo && value <= ParamRanges[index].hi) return nullptr;
    if (ParamRanges[index].hi == 1.0f) return "is outside 0..1";
    if (ParamRanges[index].lo == 0.0f) return "is outside 0..1e9";
    return index <= 1 ? "is outside -1e9..1e9 (or infinite: no stop)" : "is outside -1e9..1e9";
}

int nOpendeJoint::ToOdeParam(int param)
{
    const int index = param % 256;
    if (param < 0 || index >= NumParams) return -1;
    return (param - index) + OdeParams[index];
}

/*
 * SetParam --
 *     Side effects: asserts the axis; an unknown name is fatal; passes
 *     axis x 256 + the name's index to the joint type's SetParam.
 */
void nOpendeJoint::SetParam(const char* name, int axis, float value)
{
    this->CheckId("nOpendeJoint::id not valid!");
    n_assert((0 <= axis) && (axis < 3));
    const int index = ParamIndex(name);
    if (index < 0) n_error("nOpendeJoint::SetParam(): Unknown param %s!", name ? name : "(null)");
    this->SetParam(axis * 256 + index, value);
}

float nOpendeJoint::GetParam(const char* name, int axis)
{
    this->CheckId("nOpendeJoint::id not valid!");
    n_assert((0 <= axis) && (axis < 3));
    const int index = ParamIndex(name);
    if (index < 0) n_error("nOpendeJoint::GetParam(): Unknown param %s!", name ? name : "(null)");
    return this->GetParam(axis * 256 + index);
}
