#ifndef N_OPENDEJOINT_H
#define N_OPENDEJOINT_H
//------------------------------------------------------------------------------
/**
    @class nOpendeJoint
    @ingroup Opende

    Base of the joints: one ODE joint of a world between two bodies named
    by path ("none" for the static world). Turns ODE's joint parameters
    into named parameters per axis, saves the joint's world, bodies and
    the subclasses' geometry and parameters, and exposes the bodies, the
    type and the force feedback. Each subclass makes its own joint type.

    ODE places anchors and axes relative to the bodies and drops them
    while none is attached; the joint keeps them until a body is attached
    (a loaded joint waits for bodies that are created after the load).
*/
#include "kernel/nroot.h"
#include "kernel/ndynautoref.h"
#include "kernel/nref.h"
#include "opende/nopendeworld.h"

class nOpendeBody;

class nOpendeJoint : public nRoot
{
public:
    /// the number of parameter names per axis
    static const int NumParams = 11;

    nOpendeJoint();
    bool SaveCmds(nPersistServer* ps) override;

    /// store the world path; subclasses make their ODE joint after this
    virtual void Create(const char* worldPath);
    /// set a parameter by ODE number (axis x 256 + name index)
    virtual void SetParam(int param, float value);
    /// a parameter by ODE number
    virtual float GetParam(int param);

    /// the ODE handle, 0 before Create and once the world is gone (ODE
    /// destroyed the joint with it)
    dJointID id() const { return this->createdIn.isvalid() ? this->jointId : 0; }
    /// the ODE world the joint is made in (after Create)
    dWorldID GetWorldId() const;

    /// attach to the bodies at the paths ("none": the static world)
    void Attach(const char* body1Path, const char* body2Path);
    /// attach to ODE bodies; both names become "none"
    void Attach(dBodyID body1, dBodyID body2);
    void SetData(void* data);
    void* GetData() const;
    int GetType() const;
    const char* GetJointType() const;
    /// the name of an ODE joint type number, "uknown" for any other
    static const char* JointTypeName(int type);
    dBodyID GetBody(int index) const;
    const char* GetBodyName(int index) const;
    /// the world path given to Create
    const char* GetWorldPath() const { return this->worldPath.Get(); }

    void SetFeedback(dJointFeedback* fb);
    dJointFeedback* GetFeedback() const;
    bool IsFeedbackEnabled() const;
    void GetFeedback(vector3& force1, vector3& torque1, vector3& force2, vector3& torque2) const;

    /// set a parameter by name on an axis 0..2
    void SetParam(const char* name, int axis, float value);
    /// a parameter by name on an axis 0..2
    float GetParam(const char* name, int axis);
    /// the index of a parameter name, -1 for none
    static int ParamIndex(const char* name);
    /// the name of a parameter index 0..NumParams-1
    static const char* ParamName(int index);
    /// the largest magnitude of a parameter that is no fraction
    static constexpr float MaxParamMagnitude = 1e9f;
    /// why the parameter of the name index does not take the value, or 0:
    /// the error reductions, fudge factor and bounce are fractions 0..1;
    /// the force limit and constraint force mixings 0..1e9; the velocity
    /// -1e9..1e9; the stops -1e9..1e9 or infinite (no stop)
    static const char* ParamProblem(int index, float value);
    /// ODE's number of a parameter number (axis x 256 + name index): this
    /// ODE has more parameters per axis group than there are names, so the
    /// indices differ; -1 for an index beyond the names
    static int ToOdeParam(int param);

    /// the anchor and axes a joint keeps while no body is attached
    enum KeptSlot
    {
        KeptAnchor = 0,
        KeptAxis1,
        KeptAxis2,
        NumKept,
    };
    /// whether a body is attached (ODE places anchors and axes only then)
    bool HasBody() const;

    /// whether the joint type needs two bodies or none (ODE aborts on one)
    virtual bool NeedsTwoBodies() const { return false; }
    /// why the bodies at the paths cannot be attached, or 0
    const char* AttachProblem(const char* body1Path, const char* body2Path) const;

protected:
    ~nOpendeJoint() override;
    /// asserts the ODE joint, naming the class in the text
    void CheckId(const char* msg) const { n_assert2(this->id(), msg); }
    /// writes SP__ for every name on axes 0..numAxes-1
    bool SaveParams(nPersistServer* ps, int numAxes);
    /// writes SP__ for every name on one axis
    bool SaveAxisParams(nPersistServer* ps, int axis);
    /// keeps v in the slot while no body is attached; true when kept,
    /// false when the caller hands it to ODE
    bool Keep(int slot, const vector3& v);
    /// true while no body is attached, with the kept value of the slot
    /// (zero when none was set); false when ODE has the value
    bool GetKept(int slot, vector3& v) const;
    /// hands a kept value to ODE once a body is attached
    virtual void ApplyKept(int /*slot*/, const vector3& /*v*/) {}
    /// a body has been attached and the kept values are with ODE: what
    /// else a subclass kept for the bodies goes to ODE now
    virtual void BodiesAttached() {}

    nOpendeUser odeUser;
    dJointID jointId;
    nDynAutoRef<nRoot> ref_World;
    nString worldPath;
    nString body1Name;
    nString body2Name;

private:
    /// hands every kept value to ODE when a body has been attached
    void ApplyAllKept();

    vector3 kept[NumKept];
    bool isKept[NumKept] = {false, false, false};
    /// the world the joint was made in; cleared when that object dies,
    /// and ODE destroys the joint together with its world
    nRef<nOpendeWorld> createdIn;
};
#endif
