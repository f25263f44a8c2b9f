#ifndef N_OPENDEBODY_H
#define N_OPENDEBODY_H
//------------------------------------------------------------------------------
/**
    @class nOpendeBody
    @ingroup Opende

    One ODE rigid body of a world: placement, velocities, forces and
    torques in world and body frames, point and vector conversions, enabling,
    finite rotation, gravity mode, connectivity and the mass.

    Masses are not kept here: each mass operation builds an ODE dMass (fresh
    or read back from the body) and hands it to the body. ODE aborts the
    program on a mass it does not accept (zero, not positive definite, its
    centre off the body's origin), so those are refused with a message and
    the body keeps the mass it had.

    ODE also aborts inside a step whose forces or size drive a body's
    state out of range (its turn can no longer be normalised), so the
    world's step commands ask every body first (StepProblem).
*/
#include "kernel/nroot.h"
#include "kernel/ndynautoref.h"
#include "kernel/nref.h"
#include "opende/nopendelayer.h"

#include "opende/nopendeworld.h"

class nOpendeBody : public nRoot
{
public:
    nOpendeBody();

    /// make the ODE body in the world at the path
    void Create(const char* worldPath);
    /// the ODE handle, 0 before Create and once the world is gone (ODE
    /// destroyed the body with it)
    dBodyID id() const { return this->createdIn.isvalid() ? this->bodyId : 0; }

    void SetPosition(const vector3& p);
    vector3 GetPosition() const;
    void SetRotation(const matrix33& m);
    matrix33 GetRotation() const;
    void SetQuaternion(const quaternion& q);
    quaternion GetQuaternion() const;
    void SetLinearVel(const vector3& v);
    vector3 GetLinearVel() const;
    void SetAngularVel(const vector3& v);
    vector3 GetAngularVel() const;

    /// false (reported, mass unchanged) for a mass ODE would abort on
    bool SetMass(const dMass& m);
    void GetMass(dMass& m) const;

    void AddForce(const vector3& f);
    void AddTorque(const vector3& t);
    void AddRelForce(const vector3& f);
    void AddRelTorque(const vector3& t);
    void AddForceAtPos(const vector3& f, const vector3& p);
    void AddForceAtRelPos(const vector3& f, const vector3& p);
    void AddRelForceAtPos(const vector3& f, const vector3& p);
    void AddRelForceAtRelPos(const vector3& f, const vector3& p);
    vector3 GetForce() const;
    vector3 GetTorque() const;
    void SetForce(const vector3& f);
    void SetTorque(const vector3& t);

    vector3 GetRelPointPos(const vector3& p) const;
    vector3 GetRelPointVel(const vector3& p) const;
    vector3 GetPointVel(const vector3& p) const;
    vector3 GetPosRelPoint(const vector3& p) const;
    vector3 VectorToWorld(const vector3& v) const;
    vector3 VectorFromWorld(const vector3& v) const;

    void Enable();
    void Disable();
    bool IsEnabled() const;
    void SetFiniteRotationMode(int mode);
    int GetFiniteRotationMode() const;
    void SetFiniteRotationAxis(const vector3& a);
    vector3 GetFiniteRotationAxis() const;
    int GetNumJoints() const;
    dJointID GetJoint(int index) const;
    void SetGravityMode(bool b);
    bool GetGravityMode() const;
    bool IsConnectedTo(dBodyID other) const;
    bool IsConnectedToExcluding(dBodyID other, int jointType) const;

    /// the mass operations; each is false when ODE would refuse the result
    bool ResetMass();
    bool SetMassParams(float mass, const vector3& cog, float i11, float i22, float i33, float i12, float i13,
                       float i23);
    bool SetSphereMass(float density, float radius);
    bool SetSphereMassTotal(float total, float radius);
    bool SetCapsuleMass(float density, int direction, float radius, float length);
    bool SetCapsuleMassTotal(float total, int direction, float radius, float length);
    bool SetCylinderMass(float density, int direction, float radius, float length);
    bool SetCylinderMassTotal(float total, int direction, float radius, float length);
    bool SetBoxMass(float density, float lx, float ly, float lz);
    bool SetBoxMassTotal(float total, float lx, float ly, float lz);
    bool AdjustMass(float total);
    bool TranslateMass(const vector3& v);
    bool RotateMass(const matrix33& m);
    /// adds the mass of the body at the path; false for a path that names
    /// no created body (reported)
    bool AddMassOf(const char* bodyPath);

    /// why a step of the size would take the body beyond what ODE can
    /// integrate, or 0 (see StepProblem in the source)
    const char* StepProblem(double stepSize) const;
    /// the largest magnitude a step may leave in a velocity, a position
    /// or a turn of a body: what the engine's floats hold
    static const double MaxStepResult;

    /// why ODE would refuse the mass, or 0 when it takes it
    static const char* MassProblem(const dMass& m);
    /// true when ODE can turn the matrix into a rotation
    static bool IsRotation(const matrix33& m);
    /// the body at the path when it names a created nopendebody, else 0
    static nOpendeBody* Find(const char* path);

protected:
    ~nOpendeBody() override;

private:
    void CheckId() const { n_assert(this->id() && "nOpendeBody::id not valid!"); }

    nOpendeUser odeUser;
    dBodyID bodyId;
    nDynAutoRef<nRoot> ref_World;
    /// the world the body was made in; cleared when that object dies, and
    /// ODE destroys the body together with its world
    nRef<nOpendeWorld> createdIn;
};
#endif
