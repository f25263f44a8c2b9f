//------------------------------------------------------------------------------
//  nscenenode.cc
//------------------------------------------------------------------------------
#include "scene/nscenenode.h"
#include "scene/nanimator.h"
#include "scene/nrendercontext.h"
#include "kernel/nkernelserver.h"

nSceneNode::nSceneNode() :
    renderPri(0),
    resourcesValid(false)
{
}

nSceneNode::~nSceneNode() = default;

/*
 * Release --
 *     Results: what the nRoot release returns.
 *     Side effects: when this release destroys the node, its resources
 *     are unloaded first.
 */
bool nSceneNode::Release()
{
    if (1 == this->GetRefCount())
    {
        this->UnloadResources();
    }
    return nRoot::Release();
}

/*
 * AsSceneNode --
 *     Results: the object as a scene node, or 0 when it is none.
 *     Side effects: none.
 */
nSceneNode* nSceneNode::AsSceneNode(nRoot* obj)
{
    return (obj && obj->IsA("nscenenode")) ? static_cast<nSceneNode*>(obj) : nullptr;
}

/*
 * FirstChildNode --
 *     Results: the first child that is a scene node, or 0. Side effects: none.
 */
nSceneNode* nSceneNode::FirstChildNode() const
{
    for (nRoot* child = this->GetHead(); child; child = child->GetSucc())
    {
        if (nSceneNode* node = AsSceneNode(child)) return node;
    }
    return nullptr;
}

/*
 * NextSiblingNode --
 *     Results: the next sibling that is a scene node, or 0. Side effects: none.
 */
nSceneNode* nSceneNode::NextSiblingNode() const
{
    for (nRoot* sib = this->GetSucc(); sib; sib = sib->GetSucc())
    {
        if (nSceneNode* node = AsSceneNode(sib)) return node;
    }
    return nullptr;
}

/*
 * LoadResources --
 *     Results: true. Side effects: the resources count as valid.
 */
bool nSceneNode::LoadResources()
{
    this->resourcesValid = true;
    return true;
}

/*
 * UnloadResources --
 *     Results: none. Side effects: the resources count as not valid.
 */
void nSceneNode::UnloadResources()
{
    this->resourcesValid = false;
}

/*
 * RenderContextCreated --
 *     Results: none. Side effects: forwarded to every child scene node.
 */
void nSceneNode::RenderContextCreated(nRenderContext* renderContext)
{
    n_assert(renderContext);
    for (nSceneNode* child = this->FirstChildNode(); child; child = child->NextSiblingNode())
    {
        child->RenderContextCreated(renderContext);
    }
}

/*
 * RenderContextDestroyed --
 *     Results: none. Side effects: forwarded to every child scene node.
 */
void nSceneNode::RenderContextDestroyed(nRenderContext* renderContext)
{
    n_assert(renderContext);
    for (nSceneNode* child = this->FirstChildNode(); child; child = child->NextSiblingNode())
    {
        child->RenderContextDestroyed(renderContext);
    }
}

/*
 * Attach --
 *     Results: none. Side effects: every child scene node attaches, in
 *     child order.
 */
void nSceneNode::Attach(nSceneServer* sceneServer, nRenderContext* renderContext)
{
    n_assert(sceneServer);
    n_assert(renderContext);
    for (nSceneNode* child = this->FirstChildNode(); child; child = child->NextSiblingNode())
    {
        child->Attach(sceneServer, renderContext);
    }
}

bool nSceneNode::HasTransform() const { return false; }
bool nSceneNode::HasGeometry() const { return false; }
bool nSceneNode::HasShader(nFourCC /*fourcc*/) const { return false; }
bool nSceneNode::HasLight() const { return false; }
bool nSceneNode::HasShadow() const { return false; }

bool nSceneNode::RenderTransform(nSceneServer* /*sceneServer*/, nRenderContext* /*renderContext*/,
                                 const matrix44& /*parentMatrix*/)
{
    return false;
}

bool nSceneNode::ApplyGeometry(nSceneServer* /*sceneServer*/) { return false; }

bool nSceneNode::RenderGeometry(nSceneServer* /*sceneServer*/, nRenderContext* /*renderContext*/)
{
    return false;
}

bool nSceneNode::ApplyShader(nFourCC /*fourcc*/, nSceneServer* /*sceneServer*/) { return false; }

bool nSceneNode::RenderShader(nFourCC /*fourcc*/, nSceneServer* /*sceneServer*/, nRenderContext* /*renderContext*/)
{
    return false;
}

bool nSceneNode::RenderLight(nSceneServer* /*sceneServer*/, nRenderContext* /*renderContext*/,
                             const matrix44& /*lightMatrix*/)
{
    return false;
}

/*
 * UpdateInstanceStreamDecl --
 *     Results: none. Side effects: forwarded to every child scene node.
 */
void nSceneNode::UpdateInstanceStreamDecl(nInstanceStream::Declaration& decl)
{
    for (nSceneNode* child = this->FirstChildNode(); child; child = child->NextSiblingNode())
    {
        child->UpdateInstanceStreamDecl(decl);
    }
}

/*
 * AddAnimator --
 *     Results: none. Side effects: the path is appended to the list.
 */
void nSceneNode::AddAnimator(const char* relPath)
{
    n_assert(relPath);
    auto entry = std::make_unique<AnimatorEntry>();
    entry->path = relPath;
    this->animatorArray.push_back(std::move(entry));
}

/*
 * GetAnimatorAt --
 *     Results: the stored path of the animator at the index. Side effects: none.
 */
const char* nSceneNode::GetAnimatorAt(int index) const
{
    n_assert((index >= 0) && (index < this->GetNumAnimators()));
    return this->animatorArray[size_t(index)]->path.Get();
}

/*
 * ResolveAnimator --
 *     Results: the animator the entry's path names, relative to the
 *     current object, or 0 when the path names no object or one that is
 *     no animator.
 *     Side effects: the entry keeps the animator it found, so the tree is
 *     searched again only after that animator died; the first failure of
 *     an entry is reported.
 */
nAnimator* nSceneNode::ResolveAnimator(AnimatorEntry& entry)
{
    if (entry.target.isvalid())
    {
        return static_cast<nAnimator*>(entry.target.get());
    }
    nRoot* obj = nKernelServer::Instance()->Lookup(entry.path.Get());
    if (obj && obj->IsA("nanimator"))
    {
        entry.warned = false;
        entry.target.set(obj);
        return static_cast<nAnimator*>(obj);
    }
    if (!entry.warned)
    {
        entry.warned = true;
        n_printf("Warning: scene node '%s': animator '%s' %s, skipped\n", this->GetFullName().Get(),
                 entry.path.Get(), obj ? "is no animator" : "not found");
    }
    return nullptr;
}

/*
 * RemoveAnimator --
 *     Results: none.
 *     Side effects: the first animator whose object has the name leaves the
 *     list; paths that name no animator are passed over.
 */
void nSceneNode::RemoveAnimator(const char* name)
{
    n_assert(name);
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this);
    int found = -1;
    for (int i = 0; (i < this->GetNumAnimators()) && (found < 0); i++)
    {
        nAnimator* animator = this->ResolveAnimator(*this->animatorArray[size_t(i)]);
        if (animator && (0 == strcmp(animator->GetName(), name))) found = i;
    }
    ks->PopCwd();
    if (found >= 0) this->animatorArray.erase(this->animatorArray.begin() + found);
}

/*
 * InvokeAnimators --
 *     Results: none.
 *     Side effects: every animator of the type animates this node, in list
 *     order, with the node as the current object so that the paths resolve
 *     relative to it.
 */
void nSceneNode::InvokeAnimators(int type, nRenderContext* renderContext)
{
    if (this->animatorArray.empty()) return;
    n_assert(renderContext);
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this);
    for (const std::unique_ptr<AnimatorEntry>& entry : this->animatorArray)
    {
        nAnimator* animator = this->ResolveAnimator(*entry);
        if (animator && (animator->GetAnimatorType() == type))
        {
            animator->Animate(this, renderContext);
        }
    }
    ks->PopCwd();
}

/*
 * SetRenderPri --
 *     Results: none. Side effects: the priority is set.
 */
void nSceneNode::SetRenderPri(int pri)
{
    n_assert((pri >= -127) && (pri <= 127));
    this->renderPri = pri;
}

/*
 * PreloadResources --
 *     Results: none.
 *     Side effects: this node and then every child scene node, depth
 *     first, load their resources when not valid.
 */
void nSceneNode::PreloadResources()
{
    if (!this->resourcesValid) this->LoadResources();
    for (nSceneNode* child = this->FirstChildNode(); child; child = child->NextSiblingNode())
    {
        child->PreloadResources();
    }
}
