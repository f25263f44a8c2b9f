//------------------------------------------------------------------------------
//  nopendebody.cc
//------------------------------------------------------------------------------
#include "opende/nopendebody.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"

#include <cmath>
#include <limits>

void nopendebody_initcmds(nClass* cl);
N_IMPLEMENT_MODULE(nopendebody, nOpendeBody, "nroot", nopendebody_initcmds)

using namespace nOpendeLayer;

nOpendeBody::nOpendeBody() :
    bodyId(0)
{
}

/*
 * ~nOpendeBody --
 *     Side effects: destroys the ODE body, unless its world object is gone
 *     already: ODE took the body with the world, and a second destroy
 *     would free it twice.
 */
nOpendeBody::~nOpendeBody()
{
    if (this->bodyId && this->createdIn.isvalid()) dBodyDestroy(this->bodyId);
    this->bodyId = 0;
}

/*
 * Create --
 *     Side effects: asserts that the path names a world; makes the ODE
 *     body in it.
 */
void nOpendeBody::Create(const char* worldPath)
{
    n_assert(worldPath);
    this->ref_World.set(worldPath);
    n_assert(this->ref_World.isvalid());
    nRoot* obj = this->ref_World.get();
    n_assert(obj->IsA("nopendeworld"));
    nOpendeWorld* world = static_cast<nOpendeWorld*>(obj);
    this->createdIn.set(world);
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
