//------------------------------------------------------------------------------
//  nopendegeom.cc
//------------------------------------------------------------------------------
#include "opende/nopendegeom.h"
#include "opende/nopendebody.h"
#include "opende/nopendespace.h"
#include "opende/nopendetransformgeom.h"
#include "kernel/nkernelserver.h"

#include <cmath>
#include <cstring>

using namespace nOpendeLayer;

nOpendeGeom::nOpendeGeom() :
    geomId(0),
    spacePath("none"),
    bodyName("none"),
    holder(nullptr),
    reportedDetached(false)
{
}

/*
 * ReportDetached --
 *     Side effects: the first call prints that the geom was loaded
 *     without its space or body, which the script adds once it has
 *     created them; later calls print nothing.
 */
void nOpendeGeom::ReportDetached(const char* path, const char* why)
{
    if (this->reportedDetached) return;
    this->reportedDetached = true;
    n_printf("nOpendeGeom: '%s' is loaded detached ('%s' %s); add it to its space or attach it to its body once "
             "they are created\n",
             this->GetFullName().Get(), path, why);
}

/*
 * ~nOpendeGeom --
 *     Side effects: a transform that holds this geom lets go of it first
 *     (it would keep a dangling handle); then the ODE geom is destroyed,
 *     which also takes it out of its space.
 */
nOpendeGeom::~nOpendeGeom()
{
    if (this->holder) this->holder->ForgetGeom(this);
    if (this->geomId)
    {
        dGeomDestroy(this->geomId);
        this->geomId = 0;
    }
}

/*
 * Create --
 *     Results: true.
 *     Side effects: asserts a path and no ODE geom yet; stores the space
 *     path. Subclasses create their ODE geom in GetSpaceId() after this.
 */
bool nOpendeGeom::Create(const char* space)
{
    n_assert(space);
    n_assert(0 == this->id());
    this->spacePath = space;
    if (0 == strcmp(space, "none")) this->ref_Space.set(nullptr);
    else this->ref_Space.set(space);
    return true;
}

/*
 * IsUsableSpacePath --
 *     Results: true for "none" and for the path of an nopendespace that has
 *     made its ODE space; else false with the reason in why.
 */
bool nOpendeGeom::IsUsableSpacePath(const char* path, nString& why)
{
    if (0 == strcmp(path, "none")) return true;
    nRoot* obj = nKernelServer::Instance()->Lookup(path);
    if (!obj || !obj->IsA("nopendespace"))
    {
        why = "names no nopendespace";
        return false;
    }
    if (!static_cast<nOpendeSpace*>(obj)->id())
    {
        why = "names a space that has not been created";
        return false;
    }
    return true;
}

/*
 * GetSpaceId --
 *     Results: 0 for "none", else the ODE space at the space path.
 *     Side effects: asserts that the path names a space.
 */
dSpaceID nOpendeGeom::GetSpaceId() const
{
    if (0 == strcmp(this->spacePath.Get(), "none")) return 0;
    n_assert(this->ref_Space.isvalid());
    n_assert(((nRoot*)this->ref_Space.get())->IsA(this->kernelServer->FindClass("nopendespace")));
    return (dSpaceID) static_cast<nOpendeSpace*>(this->ref_Space.get())->id();
}

/*
 * GetCurrentSpacePath --
 *     Results: the space path given to Create while the geom is still in
 *     that space; else the path of the space object that holds it now
 *     (searched in the tree: a geom added by AddGeom after being made
 *     outside, as a loaded geom is); "none" when it is in no space or in
 *     one no object wraps.
 */
nString nOpendeGeom::GetCurrentSpacePath() const
{
    const dSpaceID current = this->GetSpace();
    if (!current) return nString("none");
    nRoot* named = (0 != strcmp(this->spacePath.Get(), "none") && this->ref_Space.isvalid()) ? this->ref_Space.get()
                                                                                             : nullptr;
    if (named && named->IsA("nopendespace") && static_cast<nOpendeSpace*>(named)->spaceId() == current)
    {
        return this->spacePath;
    }
    const nClass* spaceClass = this->kernelServer->FindClass("nopendespace");
    nRoot* holder = FindInTree([current, spaceClass](nRoot* obj) {
        return obj->IsA(spaceClass) && static_cast<nOpendeSpace*>(obj)->spaceId() == current;
    });
    return holder ? holder->GetFullName() : nString("none");
}

/*
 * SetBody --
 * Side effects: asserts that the path names a body; attaches the geom to
 *     its ODE body and keeps the path. With "none" the ODE attachment
 *     stays as it was and only the kept path changes.
 */
void nOpendeGeom::SetBody(const char* path)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    n_assert(path);
    if (0 != strcmp(path, "none"))
    {
        nRoot* temp = this->kernelServer->Lookup(path);
        n_assert(temp && temp->IsA("nopendebody") && "body in call to nOpendeGeom::SetBody() is invalid!");
        n_assert(this->IsPlaceable());
        dGeomSetBody(this->geomId, static_cast<nOpendeBody*>(temp)->id());
    }
    this->bodyName = path;
}

void nOpendeGeom::SetBody(dBodyID body)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    n_assert(this->IsPlaceable());
    dGeomSetBody(this->geomId, body);
    this->bodyName = "none";
}

dBodyID nOpendeGeom::GetBodyId() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return dGeomGetBody(this->geomId);
}

/*
 * IsPlaceable --
 *     Results: false for the geoms that have no position of their own in
 *     ODE (spaces, planes, height fields); ODE aborts when one is placed
 *     or asked for its position.
 */
bool nOpendeGeom::IsPlaceable() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    if (dGeomIsSpace(this->geomId)) return false;
    const int cls = dGeomGetClass(this->geomId);
    return cls != dPlaneClass && cls != dHeightfieldClass;
}

void nOpendeGeom::SetPosition(const vector3& p)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomSetPosition(this->geomId, p.x, p.y, p.z);
}

vector3 nOpendeGeom::GetPosition() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return ToVector3(dGeomGetPosition(this->geomId));
}

void nOpendeGeom::SetRotation(const matrix33& m)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dMatrix3 r;
    ToOde(m, r);
    dGeomSetRotation(this->geomId, r);
}

matrix33 nOpendeGeom::GetRotation() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return ToMatrix33(dGeomGetRotation(this->geomId));
}

void nOpendeGeom::SetQuaternion(const quaternion& q)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    // ODE turns the quaternion into a matrix as it is: one that is not of
    // unit length would make a matrix that is no rotation. A unit one goes
    // unchanged; another is scaled down first, so that the length of a huge
    // one does not overflow.
    quaternion n = q;
    const float lengthSq = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    if (fabsf(lengthSq - 1.0f) > 1e-6f)
    {
        const float largest = n_max(n_max(fabsf(q.x), fabsf(q.y)), n_max(fabsf(q.z), fabsf(q.w)));
        n = quaternion();
        if (largest > 0.0f)
        {
            n = quaternion(q.x / largest, q.y / largest, q.z / largest, q.w / largest);
            n.norm();
        }
    }
    dQuaternion oq;
    ToOde(n, oq);
    dGeomSetQuaternion(this->geomId, oq);
}

quaternion nOpendeGeom::GetQuaternion() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dQuaternion oq;
    dGeomGetQuaternion(this->geomId, oq);
    return ToQuaternion(oq);
}

void nOpendeGeom::GetAABB(float aabb[6]) const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dReal box[6];
    dGeomGetAABB(this->geomId, box);
    for (int i = 0; i < 6; i++) aabb[i] = (float)box[i];
}

void nOpendeGeom::SetCategoryBits(uint bits)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomSetCategoryBits(this->geomId, bits);
}

void nOpendeGeom::SetCollideBits(uint bits)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomSetCollideBits(this->geomId, bits);
}

uint nOpendeGeom::GetCategoryBits() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return (uint)dGeomGetCategoryBits(this->geomId);
}

uint nOpendeGeom::GetCollideBits() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return (uint)dGeomGetCollideBits(this->geomId);
}

void nOpendeGeom::Enable()
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomEnable(this->geomId);
}

void nOpendeGeom::Disable()
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomDisable(this->geomId);
}

bool nOpendeGeom::IsEnabled() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return 1 == dGeomIsEnabled(this->geomId);
}

int nOpendeGeom::GetClass() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return dGeomGetClass(this->geomId);
}

/*
 * GeomClassName --
 *     Results: the name of an ODE class number; the text for the triangle
 *     mesh is "mesh" (the name lookup takes "trimesh").
 */
const char* nOpendeGeom::GeomClassName(int geomClass)
{
    switch (geomClass)
    {
        case dSphereClass: return "sphere";
        case dBoxClass: return "box";
        case dCapsuleClass: return "capsule";
        case dCylinderClass: return "cylinder";
        case dPlaneClass: return "plane";
        case dRayClass: return "ray";
        case dGeomTransformClass: return "transform";
        case dTriMeshClass: return "mesh";
        default: return "uknown";
    }
}

const char* nOpendeGeom::GetGeomClassName() const
{
    return GeomClassName(this->GetClass());
}

/*
 * GeomClassByName --
 *     Results: the ODE class number of a name, -1 for any other name.
 */
int nOpendeGeom::GeomClassByName(const char* name)
{
    static const struct
    {
        const char* name;
        int geomClass;
    } names[] = {
        {"sphere", dSphereClass}, {"box", dBoxClass},   {"cylinder", dCylinderClass}, {"capsule", dCapsuleClass},
        {"ray", dRayClass},       {"plane", dPlaneClass}, {"trimesh", dTriMeshClass}, {"transform", dGeomTransformClass},
    };
    for (const auto& n : names)
    {
        if (0 == strcmp(n.name, name)) return n.geomClass;
    }
    return -1;
}

void nOpendeGeom::SetData(void* data)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dGeomSetData(this->geomId, data);
}

void* nOpendeGeom::GetData() const
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    return dGeomGetData(this->geomId);
}

dSpaceID nOpendeGeom::GetSpace() const
{
    return this->geomId ? dGeomGetSpace(this->geomId) : 0;
}

void nOpendeGeom::Collide2(dGeomID other, void* data, dNearCallback* callback)
{
    n_assert(this->id() && "nOpendeGeom::id not valid!");
    dSpaceCollide2(this->geomId, other, data, callback);
}
