//------------------------------------------------------------------------------
//  ngfxobject.cc
//------------------------------------------------------------------------------
#include "application/ngfxobject.h"
#include "kernel/nkernelserver.h"
#include "scene/nsceneserver.h"
#include "variable/nvariableserver.h"

#include <string>

namespace
{

/*
 * ResRoot --
 *     Results: "/res", made as an nroot when missing.
 */
nRoot* ResRoot()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* res = ks->Lookup("/res");
    return res ? res : static_cast<nRoot*>(ks->New("nroot", "/res"));
}

/*
 * NodeName --
 *     Results: the file name without directory and extension.
 */
nString NodeName(const nString& path)
{
    nString name = path.ExtractFileName();
    const char* ext = name.GetExtension();
    if (ext) name = nString(std::string(name.Get(), size_t(ext - name.Get()) - 1).c_str());
    return name;
}

/*
 * Outcode --
 *     Results: the clip-space outcode bits of a point (w = 1).
 */
int Outcode(const vector3& p, const matrix44& m)
{
    const float x = p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0];
    const float y = p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1];
    const float z = p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2];
    const float w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
    int code = 0;
    if (x < -w) code |= 1;
    else if (x > w) code |= 2;
    if (y < -w) code |= 4;
    else if (y > w) code |= 8;
    if (z < -w) code |= 0x20;
    else if (z > w) code |= 0x10;
    return code;
}

}  // namespace

nGfxObject::nGfxObject() : timeHandle(-1), boxDirty(true)
{
    nVariableServer* vars = nVariableServer::Instance();
    this->timeHandle = vars->GetVariableHandleByName("time");
    this->renderContext.AddVariable(nVariable(this->timeHandle, 0.0f));
}

nGfxObject::~nGfxObject()
{
    if (this->IsValid()) this->Unload();
}

/*
 * SetResourceName --
 *     Side effects: the file of the next Load; the box is computed again.
 */
void nGfxObject::SetResourceName(const nString& name)
{
    this->resourceName = name;
    this->boxDirty = true;
}

/*
 * Load --
 *     Results: true when the object holds a transform node; false, with a
 *     message, when the file cannot be loaded or holds something else.
 *     Side effects: shares the node of that name below "/res" (adding a
 *     reference) or loads the file there; the first node becomes the
 *     render context's root.
 */
bool nGfxObject::Load()
{
    n_assert(!this->resourceName.IsEmpty());
    n_assert(!this->IsValid());
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* res = ResRoot();
    const nString name = NodeName(this->resourceName);
    nRoot* node = res->Find(name.Get());
    if (node)
    {
        node->AddRef();
    }
    else
    {
        ks->PushCwd(res);
        nObject* obj = ks->LoadAs(this->resourceName.Get(), name.Get());
        ks->PopCwd();
        node = static_cast<nRoot*>(obj);
    }
    if (!node || !node->IsA("ntransformnode"))
    {
        n_printf("nGfxObject: '%s' holds no transform node\n", this->resourceName.Get());
        if (node) node->Release();
        return false;
    }
    this->refTransformNode.adopt(static_cast<nTransformNode*>(node));
    if (!this->renderContext.GetRootNode())
    {
        this->renderContext.SetRootNode(this->refTransformNode.get());
        this->refTransformNode->RenderContextCreated(&this->renderContext);
    }
    return true;
}

/*
 * Unload --
 *     Side effects: releases the node when held.
 */
void nGfxObject::Unload()
{
    this->refTransformNode.reset();
}

/*
 * Render --
 *     Side effects: the render context takes the transform's matrix and is
 *     attached to the scene server.
 */
void nGfxObject::Render()
{
    n_assert(this->IsValid());
    this->renderContext.SetTransform(this->transform.getmatrix());
    nSceneServer::Instance()->Attach(&this->renderContext);
}

/*
 * GetBox --
 *     Results: the node's local box transformed by the transform's matrix,
 *     an empty box when not loaded; computed once per resource name.
 */
const bbox3& nGfxObject::GetBox()
{
    if (this->boxDirty)
    {
        this->boxDirty = false;
        if (this->IsValid())
        {
            this->box = this->refTransformNode->GetLocalBox();
            this->box.transform(this->transform.getmatrix());
        }
        else
        {
            this->box = bbox3();
        }
    }
    return this->box;
}

bool nGfxObject::IsVisible(const matrix44& viewProjection)
{
    return Outside != GetClipStatus(this->GetBox(), viewProjection);
}

/*
 * GetClipStatus --
 *     Results: Inside when no corner is outside a clip plane, Outside when
 *     all corners are outside one same plane, else Clipped.
 */
nGfxObject::ClipStatus nGfxObject::GetClipStatus(const bbox3& box, const matrix44& viewProjection)
{
    int andFlags = 0xffff;
    int orFlags = 0;
    for (int i = 0; i < 8; i++)
    {
        const vector3 corner((i & 1) ? box.vmin.x : box.vmax.x, (i & 2) ? box.vmin.y : box.vmax.y,
                             (i & 4) ? box.vmin.z : box.vmax.z);
        const int code = Outcode(corner, viewProjection);
        andFlags &= code;
        orFlags |= code;
    }
    if (0 == orFlags) return Inside;
    if (0 != andFlags) return Outside;
    return Clipped;
}
