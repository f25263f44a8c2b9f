//------------------------------------------------------------------------------
//  ngameobject.cc
//------------------------------------------------------------------------------
#include "game/ngameobject.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "opende/nopendeboxgeom.h"
#include "opende/nopendeserver.h"
#include "opende/nopendespheregeom.h"
#include "opende/nopendetrimeshgeom.h"
#include "scene/nscenenode.h"
#include "scene/nsceneserver.h"
#include "variable/nvariableserver.h"

#include <cmath>
#include <cstring>

namespace
{

const char* const GeomSpacePath = "/sys/servers/phys/world/space";

}  // namespace

nGameObject::nGameObject() :
    frameId(0),
    timeHandle(-1)
{
}

nGameObject::~nGameObject()
{
    if (this->modelNode.isvalid())
    {
        this->modelNode->RenderContextDestroyed(&this->renderContext);
    }
}

nRoot* nGameObject::GetProto() const
{
    n_assert(m_refProto.isvalid());
    return this->m_refProto.get();
}

nOpendeGeom* nGameObject::GetGeom() const
{
    n_assert(m_refPhysGeom.isvalid());
    return this->m_refPhysGeom.get();
}

/*
 * FindVar --
 *     Results: the prototype's child of the name when it is an nenv, else 0;
 *     0 too once the prototype is gone (a script may delete it while the
 *     match draws the object every frame).
 */
nEnv* nGameObject::FindVar(const char* name) const
{
    if (!this->m_refProto.isvalid()) return nullptr;
    nRoot* child = this->m_refProto->Find(name);
    return (child && child->IsA("nenv")) ? static_cast<nEnv*>(child) : nullptr;
}

/*
 * ReadVarF, ReadVarF4, ReadVarS, ReadVarO --
 *     Results: true with the prototype's value of the name; false, out
 *     untouched, when there is none or it holds another type (a prototype
 *     is data: a hand-edited or saved file may hold anything).
 */
bool nGameObject::ReadVarF(const char* name, float& out) const
{
    nEnv* var = this->FindTypedVar(name, nArg::Float);
    if (!var) return false;
    out = var->GetF();
    return true;
}

bool nGameObject::ReadVarF4(const char* name, nFloat4& out) const
{
    nEnv* var = this->FindTypedVar(name, nArg::Float4);
    if (!var) return false;
    out = var->GetF4();
    return true;
}

bool nGameObject::ReadVarS(const char* name, nString& out) const
{
    nEnv* var = this->FindTypedVar(name, nArg::String);
    if (!var) return false;
    out = var->GetS();
    return true;
}

bool nGameObject::ReadVarO(const char* name, nObject*& out) const
{
    nEnv* var = this->FindTypedVar(name, nArg::Object);
    if (!var) return false;
    out = var->GetO();
    return true;
}

nEnv* nGameObject::FindTypedVar(const char* name, nArg::Type type) const
{
    nEnv* var = this->FindVar(name);
    return (var && var->GetType() == type) ? var : nullptr;
}

namespace
{

/// the nenv child of the name when it holds a value of the type, else 0
nEnv* TypedVar(nRoot* proto, const char* name, nArg::Type type)
{
    nRoot* child = proto->Find(name);
    if (!child || !child->IsA("nenv")) return nullptr;
    nEnv* var = static_cast<nEnv*>(child);
    return var->GetType() == type ? var : nullptr;
}

/// why the prototype cannot be built, or 0 when it can
const char* ProtoFault(nRoot* proto)
{
    if (!proto) return "there is no such object";
    nEnv* model = TypedVar(proto, "model", nArg::Object);
    nObject* node = model ? model->GetO() : nullptr;
    if (!node || !node->IsA("nscenenode")) return "its \"model\" names no scene node";
    if (!proto->Find("geom")) return nullptr;
    nEnv* geom = TypedVar(proto, "geom", nArg::String);
    if (!geom || !geom->GetS()) return "its \"geom\" is no string";
    // ODE refuses shapes of no or negative size by stopping the program
    auto size = [](float v) { return std::isfinite(v) && v > 0.0f; };
    if (strcmp(geom->GetS(), "sphere") == 0)
    {
        nEnv* radius = TypedVar(proto, "radius", nArg::Float);
        if (!radius || !size(radius->GetF())) return "its sphere has no float \"radius\" above 0";
    }
    if (strcmp(geom->GetS(), "box") == 0)
    {
        nEnv* box = TypedVar(proto, "box_lengths", nArg::Float4);
        if (!box || !size(box->GetF4().x) || !size(box->GetF4().y) || !size(box->GetF4().z))
            return "its box has no float4 \"box_lengths\" above 0";
    }
    return nullptr;
}

}  // namespace

bool nGameObject::IsUsableProto(const char* path)
{
    if (!path || !*path)
    {
        n_printf("nGameObject: no prototype given\n");
        return false;
    }
    const char* fault = ProtoFault(kernelServer->Lookup(path));
    if (fault) n_printf("nGameObject: prototype '%s' is not usable: %s\n", path, fault);
    return fault == nullptr;
}

/*
 * InitRenderContext --
 *     Side effects: the scene node becomes the render context's root; the
 *     context gets "time" 0, "one" 1 and "wind" (1, 0, 0, 0.5); the node
 *     is told of the new context.
 */
void nGameObject::InitRenderContext(nSceneNode* pSceneNode)
{
    nVariableServer* vars = nVariableServer::Instance();
    this->timeHandle = vars->GetVariableHandleByName("time");
    const int oneHandle = vars->GetVariableHandleByName("one");
    const int windHandle = vars->GetVariableHandleByName("wind");
    this->renderContext.SetRootNode(pSceneNode);
    this->renderContext.AddVariable(nVariable(this->timeHandle, 0.0f));
    this->renderContext.AddVariable(nVariable(oneHandle, 1.0f));
    const nFloat4 wind = {1.0f, 0.0f, 0.0f, 0.5f};
    this->renderContext.AddVariable(nVariable(windHandle, wind));
    pSceneNode->RenderContextCreated(&this->renderContext);
    this->modelNode = pSceneNode;
}

/*
 * InitGeom --
 *     Side effects: with the object as the working object, creates the
 *     child "physgeom" the prototype's "geom" names in the world's space:
 *     a sphere of "radius", a box of the first three "box_lengths", or a
 *     triangle-mesh geom over the mesh of that id, which the physics
 *     server loads from "meshes:<id>" once and shares afterwards. A mesh
 *     that does not load is reported and leaves the object without geom.
 */
void nGameObject::InitGeom()
{
    if (this->m_strGeomID == "sphere")
    {
        float fRadius = 0.0f;
        n_assert(ReadVarF( "radius", fRadius ));
        nOpendeSphereGeom* pPhysGeom = static_cast<nOpendeSphereGeom*>(kernelServer->New("nopendespheregeom", "physgeom"));
        n_assert(pPhysGeom != 0);
        pPhysGeom->Create(GeomSpacePath);
        pPhysGeom->SetRadius(fRadius);
        this->m_refPhysGeom = pPhysGeom;
    }
    else if (this->m_strGeomID == "box")
    {
        nFloat4 f4Box = {0.0f, 0.0f, 0.0f, 0.0f};
        n_assert(ReadVarF4( "box_lengths", f4Box ));
        nOpendeBoxGeom* pPhysGeom = static_cast<nOpendeBoxGeom*>(kernelServer->New("nopendeboxgeom", "physgeom"));
        n_assert(pPhysGeom != 0);
        pPhysGeom->Create(GeomSpacePath);
        pPhysGeom->SetLengths(vector3(f4Box.x, f4Box.y, f4Box.z));
        this->m_refPhysGeom = pPhysGeom;
    }
    else
    {
        nString strGeomPath("meshes:");
        strGeomPath.Append(this->m_strGeomID);
        if (!nOpendeServer::opendeServer->NewTriMesh(m_strGeomID.Get(), strGeomPath.Get()))
        {
            // the mesh file is the data's, not the code's: the object stays, without collisions
            n_printf("nGameObject: '%s' has no collision geom, its mesh '%s' does not load\n",
                     this->GetProto()->GetFullName().Get(), strGeomPath.Get());
            return;
        }
        nOpendeTriMeshGeom* pPhysGeom =
            static_cast<nOpendeTriMeshGeom*>(kernelServer->New("nopendetrimeshgeom", "physgeom"));
        n_assert(pPhysGeom != 0);
        pPhysGeom->Create(GeomSpacePath);
        pPhysGeom->SetMesh(this->m_strGeomID.Get());
        this->m_refPhysGeom = pPhysGeom;
    }
    n_assert(m_refPhysGeom.isvalid());
}

/*
 * Init --
 *     Side effects: takes the prototype, binds the render context to its
 *     "model" and, when it names a "geom", creates the physics geom.
 *     A prototype without model is a fault of the game's data and stops
 *     the program: a game object without one cannot be drawn.
 */
void nGameObject::Init(const char* proto)
{
    n_assert(proto);
    n_assert(nString(proto).IsEmpty() == false);
    this->m_refProto = kernelServer->Lookup(proto);
    n_assert(m_refProto.isvalid());

    nObject* pModelVar = nullptr;
    n_assert(ReadVarO( "model", pModelVar));
    nSceneNode* pSceneNode = (pModelVar && pModelVar->IsA("nscenenode")) ? static_cast<nSceneNode*>(pModelVar) : nullptr;
    n_assert(pSceneNode != 0);
    this->InitRenderContext(pSceneNode);

    kernelServer->PushCwd(this);
    if (this->ReadVarS("geom", this->m_strGeomID))
    {
        this->InitGeom();
    }
    kernelServer->PopCwd();
}

/*
 * SetParent --
 *     Side effects: the object follows the parent; the offset keeps the
 *     present difference of positions and Euler angles.
 */
void nGameObject::SetParent(nGameObject* p)
{
    n_assert(p);
    this->parent = p;
    this->parentOffset.settranslation(p->GetTransform().gettranslation() - this->transform.gettranslation());
    this->parentOffset.seteuler(p->GetTransform().geteuler() - this->transform.geteuler());
}

/*
 * Trigger --
 *     Side effects: with a parent, the position becomes the parent's minus
 *     the offset (the rotation stays the object's own); the geom takes the
 *     position and rotation; the render variable "time" grows by dt; the
 *     frame count goes up and becomes the render context's frame id.
 */
void nGameObject::Trigger(float* dt)
{
    if (this->parent.isvalid())
    {
        this->transform.settranslation(this->parent->GetTransform().gettranslation() -
                                       this->parentOffset.gettranslation());
    }
    if (this->m_refPhysGeom.isvalid())
    {
        this->m_refPhysGeom->SetPosition(this->transform.gettranslation());
        this->m_refPhysGeom->SetQuaternion(this->transform.getquat());
    }
    nVariable* time = this->renderContext.GetVariable(this->timeHandle);
    if (time) time->SetFloat(time->GetFloat() + *dt);
    this->renderContext.SetFrameId((uint)++this->frameId);
}

/*
 * Render --
 *     Side effects: the render context takes the transform's matrix and is
 *     attached to the scene server; without a scene server nothing is drawn.
 */
void nGameObject::Render()
{
    this->renderContext.SetTransform(this->transform.getmatrix());
    nSceneServer* scene = dynamic_cast<nSceneServer*>(kernelServer->Lookup("/sys/servers/scene"));
    if (scene && this->renderContext.IsValid()) scene->Attach(&this->renderContext);
}
