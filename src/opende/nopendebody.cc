//------------------------------------------------------------------------------
//  nopendebody.cc
//------------------------------------------------------------------------------
#include "opende/nopendebody.h"
#include "kernel/nkernelserver.h"

#include <cmath>
#include <limits>

using namespace nOpendeLayer;

nOpendeBody::nOpendeBody() :
    bodyId(0)
{
}

/*
 * ~nOpendeBody --
 *     Side effects: leaves the world's list of bodies and destroys the ODE
 *     body, unless its world object is gone already: ODE took the body
 *     with the world, and a second destroy would free it twice.
 */
nOpendeBody::~nOpendeBody()
{
    if (this->createdIn.isvalid())
    {
        this->createdIn->RemoveBody(this);
        if (this->bodyId) dBodyDestroy(this->bodyId);
    }
    this->bodyId = 0;
}

/*
 * Create --
 *     Side effects: asserts that the path names a world; makes the ODE
 *     body in it and joins the world's list of bodies (for its steps).
 */
void nOpendeBody::Create(const char* worldPath)
{
    n_assert(worldPath);
    this->ref_World.set(worldPath);
    n_assert(this->ref_World.isvalid());
    nRoot* obj = this->ref_World.get();
    n_assert(obj->IsA("nopendeworld"));
    nOpendeWorld* world = static_cast<nOpendeWorld*>(obj);
    if (this->createdIn.isvalid()) this->createdIn->RemoveBody(this);
    this->createdIn.set(world);
    world->AddBody(this);
    this->bodyId = dBodyCreate(world->id());
}

/*
 * Find --
 *     Results: the nopendebody at the path if it has made its ODE body,
 *     else 0.
 */
nOpendeBody* nOpendeBody::Find(const char* path)
{
    if (!path) return nullptr;
    nRoot* obj = nKernelServer::Instance()->Lookup(path);
    if (!obj || !obj->IsA("nopendebody")) return nullptr;
    nOpendeBody* body = static_cast<nOpendeBody*>(obj);
    return body->id() ? body : nullptr;
}

void nOpendeBody::SetPosition(const vector3& p)
{
    this->CheckId();
    dBodySetPosition(this->bodyId, p.x, p.y, p.z);
}

vector3 nOpendeBody::GetPosition() const
{
    this->CheckId();
    return ToVector3(dBodyGetPosition(this->bodyId));
}

/*
 * IsRotation --
 *     Results: true when the rows are orthonormal and right-handed within
 *     the precision a saved file keeps; ODE aborts on some other matrices
 *     and silently turns the rest into some rotation.
 */
bool nOpendeBody::IsRotation(const matrix33& m)
{
    const float tolerance = 1e-3f;
    const vector3 rows[3] = {vector3(m.m[0][0], m.m[0][1], m.m[0][2]), vector3(m.m[1][0], m.m[1][1], m.m[1][2]),
                             vector3(m.m[2][0], m.m[2][1], m.m[2][2])};
    for (int i = 0; i < 3; i++)
    {
        for (int j = i; j < 3; j++)
        {
            const float d = rows[i] % rows[j];
            if (std::fabs(d - (i == j ? 1.0f : 0.0f)) > tolerance) return false;
        }
    }
    return ((rows[0] * rows[1]) % rows[2]) > 0.0f;
}

/*
 * SetRotation --
 *     ODE's own dBodySetRotation refuses some matrices by aborting; going
 *     through the normalised quaternion does what it does for the others.
 * Side effects: asserts IsRotation; turns the body.
 */
void nOpendeBody::SetRotation(const matrix33& m)
{
    this->CheckId();
    dMatrix3 r;
    ToOde(m, r);
    dQuaternion q;
    dRtoQ(r, q);
    n_assert(dSafeNormalize4(q));
    dBodySetQuaternion(this->bodyId, q);
}

matrix33 nOpendeBody::GetRotation() const
{
    this->CheckId();
    return ToMatrix33(dBodyGetRotation(this->bodyId));
}

void nOpendeBody::SetQuaternion(const quaternion& q)
{
    this->CheckId();
    dQuaternion oq;
    ToOde(q, oq);
    dBodySetQuaternion(this->bodyId, oq);
}

quaternion nOpendeBody::GetQuaternion() const
{
    this->CheckId();
    return ToQuaternion(dBodyGetQuaternion(this->bodyId));
}

void nOpendeBody::SetLinearVel(const vector3& v)
{
    this->CheckId();
    dBodySetLinearVel(this->bodyId, v.x, v.y, v.z);
}

vector3 nOpendeBody::GetLinearVel() const
{
    this->CheckId();
    return ToVector3(dBodyGetLinearVel(this->bodyId));
}

void nOpendeBody::SetAngularVel(const vector3& v)
{
    this->CheckId();
    dBodySetAngularVel(this->bodyId, v.x, v.y, v.z);
}

vector3 nOpendeBody::GetAngularVel() const
{
    this->CheckId();
    return ToVector3(dBodyGetAngularVel(this->bodyId));
}

const double nOpendeBody::MaxStepResult = std::numeric_limits<float>::max();

namespace
{

/// true when every component is a number within the bound
bool Within(const double v[3], double bound)
{
    for (int i = 0; i < 3; i++)
    {
        if (!(std::fabs(v[i]) <= bound)) return false;
    }
    return true;
}

/// the inverse of the body-frame inertia (rows of 4, as ODE keeps it);
/// false when it has none
bool InvertInertia(const dReal* I, double inv[3][3])
{
    const auto a = [I](int r, int c) { return (double)I[r * 4 + c]; };
    const double det = a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
                       a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
                       a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
    if (!std::isfinite(det) || det == 0.0) return false;
    for (int r = 0; r < 3; r++)
    {
        for (int c = 0; c < 3; c++)
        {
            // cofactor of (c, r), transposed into (r, c)
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inv[r][c] = (a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1)) / det;
        }
    }
    return true;
}

/// out = R m (R: ODE's rotation, rows of 4)
void Rotate(const dReal* R, const double m[3], double out[3])
{
    for (int r = 0; r < 3; r++) out[r] = R[r * 4] * m[0] + R[r * 4 + 1] * m[1] + R[r * 4 + 2] * m[2];
}

/// out = R^T m
void RotateBack(const dReal* R, const double m[3], double out[3])
{
    for (int c = 0; c < 3; c++) out[c] = R[c] * m[0] + R[4 + c] * m[1] + R[8 + c] * m[2];
}

}  // namespace

/*
 * StepProblem --
 *     Results: 0 when a step of the size leaves the body's velocities,
 *     position and turn within MaxStepResult; else what would leave it.
 *     The step is foreseen as ODE begins it: the accumulated force and
 *     gravity change the linear velocity, the torque less the gyroscopic
 *     term the angular one, and the body moves and turns by the new
 *     velocities. Joints then add bounded constraint forces. Beyond the
 *     range ODE ends in infinities and aborts when it normalises the
 *     body's quaternion.
 */
const char* nOpendeBody::StepProblem(double h) const
{
    this->CheckId();
    const dBodyID b = this->bodyId;
    dMass m;
    dBodyGetMass(b, &m);
    double inv[3][3];
    if (!InvertInertia(m.I, inv) || !(m.mass > 0)) return "its mass cannot be inverted";
    const dReal* R = dBodyGetRotation(b);
    const dReal* vel = dBodyGetLinearVel(b);
    const dReal* avel = dBodyGetAngularVel(b);
    const dReal* force = dBodyGetForce(b);
    const dReal* torque = dBodyGetTorque(b);
    const dReal* pos = dBodyGetPosition(b);
    dVector3 g = {0, 0, 0, 0};
    if (dBodyGetGravityMode(b)) dWorldGetGravity(dBodyGetWorld(b), g);

    double v[3], p[3];
    for (int i = 0; i < 3; i++)
    {
        v[i] = vel[i] + h * (force[i] / m.mass + g[i]);
        p[i] = pos[i] + h * v[i];
    }
    // in the body frame: w' = w + h I^-1 (T - w x I w)
    double wWorld[3] = {avel[0], avel[1], avel[2]};
    double tWorld[3] = {torque[0], torque[1], torque[2]};
    double w[3], t[3], iw[3];
    RotateBack(R, wWorld, w);
    RotateBack(R, tWorld, t);
    for (int r = 0; r < 3; r++) iw[r] = m.I[r * 4] * w[0] + m.I[r * 4 + 1] * w[1] + m.I[r * 4 + 2] * w[2];
    if (dBodyGetGyroscopicMode(b))
    {
        t[0] -= w[1] * iw[2] - w[2] * iw[1];
        t[1] -= w[2] * iw[0] - w[0] * iw[2];
        t[2] -= w[0] * iw[1] - w[1] * iw[0];
    }
    double wNew[3], wNewWorld[3], turn[3];
    for (int r = 0; r < 3; r++) wNew[r] = w[r] + h * (inv[r][0] * t[0] + inv[r][1] * t[1] + inv[r][2] * t[2]);
    Rotate(R, wNew, wNewWorld);
    for (int i = 0; i < 3; i++) turn[i] = h * wNewWorld[i];

    if (!Within(v, MaxStepResult)) return "its linear velocity would leave the range";
    if (!Within(wNewWorld, MaxStepResult)) return "its angular velocity would leave the range";
    if (!Within(p, MaxStepResult)) return "its position would leave the range";
    if (!Within(turn, MaxStepResult)) return "its turn in the step would leave the range";
    return nullptr;
}

/*
 * MassProblem --
 *     Results: 0 when dBodySetMass takes the mass; else why ODE would
 *     abort on it (ODE checks the same, by assertion).
 */
const char* nOpendeBody::MassProblem(const dMass& m)
{
    if (!std::isfinite(m.mass)) return "the mass is not finite";
    for (int i = 0; i < 3; i++)
    {
        if (!std::isfinite(m.c[i])) return "the centre of gravity is not finite";
    }
    for (int i = 0; i < 12; i++)
    {
        if (!std::isfinite(m.I[i])) return "the inertia is not finite";
    }
    if (!(m.mass > 0)) return "the mass is not above 0";
    for (int i = 0; i < 3; i++)
    {
        if (std::fabs(m.c[i]) > std::numeric_limits<dReal>::epsilon()) return "its centre of gravity is not at the body's origin";
    }
    if (!dMassCheck(&m)) return "its inertia is not positive definite";
    return nullptr;
}

/*
 * SetMass --
 *     Results: false when ODE would refuse the mass.
 *     Side effects: gives the body the mass; a refused one is reported and
 *     the body keeps the mass it had.
 */
bool nOpendeBody::SetMass(const dMass& m)
{
    this->CheckId();
    const char* problem = MassProblem(m);
    if (problem)
    {
        n_printf("nOpendeBody::SetMass(): '%s' keeps its mass: %s\n", this->GetName(), problem);
        return false;
    }
    dBodySetMass(this->bodyId, &m);
    return true;
}

void nOpendeBody::GetMass(dMass& m) const
{
    this->CheckId();
    dBodyGetMass(this->bodyId, &m);
}

void nOpendeBody::AddForce(const vector3& f)
{
    this->CheckId();
    dBodyAddForce(this->bodyId, f.x, f.y, f.z);
}

void nOpendeBody::AddTorque(const vector3& t)
{
    this->CheckId();
    dBodyAddTorque(this->bodyId, t.x, t.y, t.z);
}

void nOpendeBody::AddRelForce(const vector3& f)
{
    this->CheckId();
    dBodyAddRelForce(this->bodyId, f.x, f.y, f.z);
}

void nOpendeBody::AddRelTorque(const vector3& t)
{
    this->CheckId();
    dBodyAddRelTorque(this->bodyId, t.x, t.y, t.z);
}

void nOpendeBody::AddForceAtPos(const vector3& f, const vector3& p)
{
    this->CheckId();
    dBodyAddForceAtPos(this->bodyId, f.x, f.y, f.z, p.x, p.y, p.z);
}

void nOpendeBody::AddForceAtRelPos(const vector3& f, const vector3& p)
{
    this->CheckId();
    dBodyAddForceAtRelPos(this->bodyId, f.x, f.y, f.z, p.x, p.y, p.z);
}

void nOpendeBody::AddRelForceAtPos(const vector3& f, const vector3& p)
{
    this->CheckId();
    dBodyAddRelForceAtPos(this->bodyId, f.x, f.y, f.z, p.x, p.y, p.z);
}

void nOpendeBody::AddRelForceAtRelPos(const vector3& f, const vector3& p)
{
    this->CheckId();
    dBodyAddRelForceAtRelPos(this->bodyId, f.x, f.y, f.z, p.x, p.y, p.z);
}

vector3 nOpendeBody::GetForce() const
{
    this->CheckId();
    return ToVector3(dBodyGetForce(this->bodyId));
}

vector3 nOpendeBody::GetTorque() const
{
    this->CheckId();
    return ToVector3(dBodyGetTorque(this->bodyId));
}

void nOpendeBody::SetForce(const vector3& f)
{
    this->CheckId();
    dBodySetForce(this->bodyId, f.x, f.y, f.z);
}

void nOpendeBody::SetTorque(const vector3& t)
{
    this->CheckId();
    dBodySetTorque(this->bodyId, t.x, t.y, t.z);
}

vector3 nOpendeBody::GetRelPointPos(const vector3& p) const
{
    this->CheckId();
    dVector3 out;
    dBodyGetRelPointPos(this->bodyId, p.x, p.y, p.z, out);
    return ToVector3(out);
}

vector3 nOpendeBody::GetRelPointVel(const vector3& p) const
{
    this->CheckId();
    dVector3 out;
    dBodyGetRelPointVel(this->bodyId, p.x, p.y, p.z, out);
    return ToVector3(out);
}

vector3 nOpendeBody::GetPointVel(const vector3& p) const
{
    this->CheckId();
    dVector3 out;
    dBodyGetPointVel(this->bodyId, p.x, p.y, p.z, out);
    return ToVector3(out);
}

vector3 nOpendeBody::GetPosRelPoint(const vector3& p) const
{
    this->CheckId();
    dVector3 out;
    dBodyGetPosRelPoint(this->bodyId, p.x, p.y, p.z, out);
    return ToVector3(out);
}

vector3 nOpendeBody::VectorToWorld(const vector3& v) const
{
    this->CheckId();
    dVector3 out;
    dBodyVectorToWorld(this->bodyId, v.x, v.y, v.z, out);
    return ToVector3(out);
}

vector3 nOpendeBody::VectorFromWorld(const vector3& v) const
{
    this->CheckId();
    dVector3 out;
    dBodyVectorFromWorld(this->bodyId, v.x, v.y, v.z, out);
    return ToVector3(out);
}

void nOpendeBody::Enable()
{
    this->CheckId();
    dBodyEnable(this->bodyId);
}

void nOpendeBody::Disable()
{
    this->CheckId();
    dBodyDisable(this->bodyId);
}

bool nOpendeBody::IsEnabled() const
{
    this->CheckId();
    return 1 == dBodyIsEnabled(this->bodyId);
}

void nOpendeBody::SetFiniteRotationMode(int mode)
{
    this->CheckId();
    dBodySetFiniteRotationMode(this->bodyId, mode);
}

int nOpendeBody::GetFiniteRotationMode() const
{
    this->CheckId();
    return dBodyGetFiniteRotationMode(this->bodyId);
}

void nOpendeBody::SetFiniteRotationAxis(const vector3& a)
{
    this->CheckId();
    dBodySetFiniteRotationAxis(this->bodyId, a.x, a.y, a.z);
}

vector3 nOpendeBody::GetFiniteRotationAxis() const
{
    this->CheckId();
    dVector3 out;
    dBodyGetFiniteRotationAxis(this->bodyId, out);
    return ToVector3(out);
}

int nOpendeBody::GetNumJoints() const
{
    this->CheckId();
    return dBodyGetNumJoints(this->bodyId);
}

dJointID nOpendeBody::GetJoint(int index) const
{
    this->CheckId();
    return dBodyGetJoint(this->bodyId, index);
}

void nOpendeBody::SetGravityMode(bool b)
{
    this->CheckId();
    dBodySetGravityMode(this->bodyId, b ? 1 : 0);
}

bool nOpendeBody::GetGravityMode() const
{
    this->CheckId();
    return 1 == dBodyGetGravityMode(this->bodyId);
}

bool nOpendeBody::IsConnectedTo(dBodyID other) const
{
    this->CheckId();
    return 1 == dAreConnected(this->bodyId, other);
}

bool nOpendeBody::IsConnectedToExcluding(dBodyID other, int jointType) const
{
    this->CheckId();
    return 1 == dAreConnectedExcluding(this->bodyId, other, jointType);
}

/*
 * ResetMass --
 *     Results: false: ODE refuses a zero mass, so the body keeps its mass
 *     (reported).
 */
bool nOpendeBody::ResetMass()
{
    dMass m;
    this->GetMass(m);
    dMassSetZero(&m);
    return this->SetMass(m);
}

bool nOpendeBody::SetMassParams(float mass, const vector3& cog, float i11, float i22, float i33, float i12, float i13,
                                float i23)
{
    dMass m;
    dMassSetParameters(&m, mass, cog.x, cog.y, cog.z, i11, i22, i33, i12, i13, i23);
    return this->SetMass(m);
}

bool nOpendeBody::SetSphereMass(float density, float radius)
{
    dMass m;
    dMassSetSphere(&m, density, radius);
    return this->SetMass(m);
}

bool nOpendeBody::SetSphereMassTotal(float total, float radius)
{
    dMass m;
    dMassSetSphereTotal(&m, total, radius);
    return this->SetMass(m);
}

/// ODE aborts on a direction other than 1 (x), 2 (y) or 3 (z)
static bool IsDirection(int direction)
{
    if (direction >= 1 && direction <= 3) return true;
    n_printf("nOpendeBody: direction %d is not 1 (x), 2 (y) or 3 (z)\n", direction);
    return false;
}

bool nOpendeBody::SetCapsuleMass(float density, int direction, float radius, float length)
{
    if (!IsDirection(direction)) return false;
    dMass m;
    dMassSetCapsule(&m, density, direction, radius, length);
    return this->SetMass(m);
}

bool nOpendeBody::SetCapsuleMassTotal(float total, int direction, float radius, float length)
{
    if (!IsDirection(direction)) return false;
    dMass m;
    dMassSetCapsuleTotal(&m, total, direction, radius, length);
    return this->SetMass(m);
}

bool nOpendeBody::SetCylinderMass(float density, int direction, float radius, float length)
{
    if (!IsDirection(direction)) return false;
    dMass m;
    dMassSetCylinder(&m, density, direction, radius, length);
    return this->SetMass(m);
}

bool nOpendeBody::SetCylinderMassTotal(float total, int direction, float radius, float length)
{
    if (!IsDirection(direction)) return false;
    dMass m;
    dMassSetCylinderTotal(&m, total, direction, radius, length);
    return this->SetMass(m);
}

bool nOpendeBody::SetBoxMass(float density, float lx, float ly, float lz)
{
    dMass m;
    dMassSetBox(&m, density, lx, ly, lz);
    return this->SetMass(m);
}

bool nOpendeBody::SetBoxMassTotal(float total, float lx, float ly, float lz)
{
    dMass m;
    dMassSetBoxTotal(&m, total, lx, ly, lz);
    return this->SetMass(m);
}

bool nOpendeBody::AdjustMass(float total)
{
    dMass m;
    this->GetMass(m);
    dMassAdjust(&m, total);
    return this->SetMass(m);
}

/*
 * TranslateMass --
 *     Results: false for any translation but zero: ODE takes only masses
 *     centred on the body's origin (reported, the mass stays).
 */
bool nOpendeBody::TranslateMass(const vector3& v)
{
    dMass m;
    this->GetMass(m);
    dMassTranslate(&m, v.x, v.y, v.z);
    return this->SetMass(m);
}

bool nOpendeBody::RotateMass(const matrix33& rot)
{
    dMass m;
    this->GetMass(m);
    dMatrix3 r;
    ToOde(rot, r);
    dMassRotate(&m, r);
    return this->SetMass(m);
}

/*
 * AddMassOf --
 *     Results: false when the path names no created body (reported, this
 *     body's mass stays) or when ODE would refuse the sum.
 */
bool nOpendeBody::AddMassOf(const char* bodyPath)
{
    this->CheckId();
    nOpendeBody* other = Find(bodyPath);
    if (!other)
    {
        n_printf("nOpendeBody::AddMassOf(): '%s' names no created nopendebody\n", bodyPath ? bodyPath : "(null)");
        return false;
    }
    dMass m;
    dMass o;
    this->GetMass(m);
    other->GetMass(o);
    dMassAdd(&m, &o);
    return this->SetMass(m);
}
