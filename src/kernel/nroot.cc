//------------------------------------------------------------------------------
//  nroot.cc
//------------------------------------------------------------------------------
#include "kernel/nroot.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"

#include <cstdlib>
#include <cstring>
#include <vector>

nRoot::nRoot() :
    parent(nullptr),
    saveFlags(0)
{
    this->childNode.SetData(this);
}

namespace
{

/// how deep destructors of dying tree objects are nested on this thread
thread_local int dyingDepth = 0;
/// beyond this depth a dying tree is killed leaves first, without recursion
constexpr int MaxRecursiveDeath = 128;

}  // namespace

/*
 * KillDescendantsIteratively --
 *     Kills every descendant, deepest first, so that no destructor has
 *     children left to kill: a tree of any depth dies without recursion.
 */
void nRoot::KillDescendantsIteratively()
{
    nRoot* cur = this;
    for (;;)
    {
        nRoot* child = cur->GetHead();
        if (child)
        {
            cur = child;
            continue;
        }
        if (cur == this) return;
        nRoot* up = cur->parent;
        while (!cur->Release())
        {
        }
        cur = up;
    }
}

/*
 * ~nRoot --
 *     Kills the children whatever other references they hold (a tree
 *     too deep for the stack leaves first), unlinks
 *     the object from its parent, and moves the kernel's cwd (and any
 *     saved cwd) off the dying object.
 */
nRoot::~nRoot()
{
    n_assert(this->refCount == 0);
    if (kernelServer)
    {
        kernelServer->ObjectDying(this);
    }
    if (dyingDepth < MaxRecursiveDeath)
    {
        // each child's own destructor still sees its children alive
        ++dyingDepth;
        nRoot* child;
        while ((child = this->GetHead()) != nullptr)
        {
            while (!child->Release())
            {
            }
        }
        --dyingDepth;
    }
    else
    {
        this->KillDescendantsIteratively();
    }
    if (this->parent)
    {
        this->Remove();
    }
}

/*
 * Release --
 *     At the last reference the object waits until no other thread is in
 *     a locked section of it, then dies. The mutex is unlocked again before
 *     the delete: destroying a held mutex is undefined.
 */
bool nRoot::Release()
{
    n_assert(this->refCount > 0);
    if (--this->refCount == 0)
    {
        this->mutex.Lock();
        this->mutex.Unlock();
        delete this;
        return true;
    }
    return false;
}

void nRoot::Initialize()
{
}

nRoot* nRoot::GetHead() const
{
    return FromNode(this->children.GetHead());
}

nRoot* nRoot::GetTail() const
{
    return FromNode(this->children.GetTail());
}

nRoot* nRoot::GetSucc() const
{
    if (!this->childNode.IsLinked()) return nullptr;
    return FromNode(this->childNode.GetSucc());
}

nRoot* nRoot::GetPred() const
{
    if (!this->childNode.IsLinked()) return nullptr;
    return FromNode(this->childNode.GetPred());
}

/*
 * TreeChanged --
 *     Side effects: paths looked up before may now name other objects.
 */
static void TreeChanged(nKernelServer* ks)
{
    if (ks) ks->TreeChanged();
}

/*
 * SetFirst --
 *     Makes another child of the same name the first of it. The key is
 *     that child's own name text: a key left in a child that dies or is
 *     renamed would dangle.
 */
void nRoot::nNameIndex::SetFirst(std::unordered_map<std::string_view, nRoot*>::iterator it, nRoot* child)
{
    if (it->second == child) return;
    this->first.erase(it);
    this->first.emplace(std::string_view(child->name.Get(), child->name.Length()), child);
}

/*
 * IndexLinked --
 *     Counts a child just linked into the children and enters it in the
 *     name index, building the index when the count reaches the
 *     threshold. The index holds the first child of each name in the
 *     children's order, as the walk would find it.
 */
void nRoot::IndexLinked(nRoot* child)
{
    ++this->numChildren;
    if (!this->nameIndex)
    {
        if (this->numChildren < NameIndexThreshold) return;
        this->nameIndex = std::make_unique<nNameIndex>();
        this->nameIndex->first.reserve(this->numChildren * 2);
        for (nRoot* c = this->GetTail(); c; c = c->GetPred())
        {
            // walking backwards, the last one entered is the first in order
            auto [it, added] = this->nameIndex->first.emplace(std::string_view(c->name.Get(), c->name.Length()), c);
            if (!added)
            {
                ++this->nameIndex->numShadowed;
                this->nameIndex->SetFirst(it, c);
            }
        }
        return;
    }
    const std::string_view key(child->name.Get(), child->name.Length());
    auto it = this->nameIndex->first.find(key);
    if (it == this->nameIndex->first.end())
    {
        this->nameIndex->first.emplace(key, child);
        return;
    }
    ++this->nameIndex->numShadowed;
    // a namesake was there before: the earlier of the two stays first
    if (child == this->GetHead()) this->nameIndex->SetFirst(it, child);
    else if (child != this->GetTail()) this->nameIndex->SetFirst(it, this->FindByWalk(key));
}

/*
 * IndexUnlinking --
 *     Takes a child that is still linked, but about to be unlinked or
 *     renamed, out of the count and the index; its namesake next in
 *     order, if any, takes its place.
 */
void nRoot::IndexUnlinking(nRoot* child)
{
    --this->numChildren;
    if (!this->nameIndex) return;
    if (this->numChildren == 0)
    {
        this->nameIndex.reset();
        return;
    }
    const std::string_view key(child->name.Get(), child->name.Length());
    auto it = this->nameIndex->first.find(key);
    n_assert(it != this->nameIndex->first.end());
    if (it->second != child)
    {
        --this->nameIndex->numShadowed;
        return;
    }
    if (this->nameIndex->numShadowed > 0)
    {
        for (nRoot* c = child->GetSucc(); c; c = c->GetSucc())
        {
            if (std::string_view(c->name.Get(), c->name.Length()) == key)
            {
                this->nameIndex->SetFirst(it, c);
                --this->nameIndex->numShadowed;
                return;
            }
        }
    }
    this->nameIndex->first.erase(it);
}

void nRoot::AddHead(nRoot* child)
{
    n_assert(child);
    child->parent = this;
    this->children.AddHead(&child->childNode);
    this->IndexLinked(child);
    TreeChanged(kernelServer);
}

void nRoot::AddTail(nRoot* child)
{
    n_assert(child);
    child->parent = this;
    this->children.AddTail(&child->childNode);
    this->IndexLinked(child);
    TreeChanged(kernelServer);
}

void nRoot::Remove()
{
    if (this->childNode.IsLinked())
    {
        if (this->parent) this->parent->IndexUnlinking(this);
        this->childNode.Remove();
    }
    this->parent = nullptr;
    TreeChanged(kernelServer);
}

/*
 * SetName --
 *     Side effects: a linked object moves to its new name in its parent's
 *     index (the index's key is the name's own text, so it leaves first).
 */
void nRoot::SetName(const char* str)
{
    nRoot* const indexedIn = this->childNode.IsLinked() ? this->parent : nullptr;
    if (indexedIn) indexedIn->IndexUnlinking(this);
    this->name = str;
    if (indexedIn) indexedIn->IndexLinked(this);
    TreeChanged(kernelServer);
}

/*
 * IsValidName --
 *     Results: whether a path component could name an object with this
 *     name; duplicates among siblings are no concern of it.
 */
bool nRoot::IsValidName(const char* str)
{
    n_assert(str);
    const size_t len = strlen(str);
    if (len == 0 || len >= N_MAXPATH) return false;
    if (strcmp(str, ".") == 0 || strcmp(str, "..") == 0) return false;
    for (const char* c = str; *c; ++c)
    {
        if (*c == '/' || (unsigned char)*c < 0x20 || *c == 0x7f) return false;
    }
    return true;
}

nRoot* nRoot::Find(const char* str) const
{
    n_assert(str);
    return this->Find(str, strlen(str));
}

nRoot* nRoot::Find(const char* str, size_t len) const
{
    n_assert(str);
    const std::string_view key(str, len);
    if (str[0] == '.')
    {
        if (len == 1) return const_cast<nRoot*>(this);
        if (len == 2 && str[1] == '.') return this->parent;
    }
    if (this->nameIndex)
    {
        auto it = this->nameIndex->first.find(key);
        return it == this->nameIndex->first.end() ? nullptr : it->second;
    }
    return this->FindByWalk(key);
}

nRoot* nRoot::FindByWalk(std::string_view key) const
{
    if (key.empty()) return nullptr;
    for (nRoot* child = this->GetHead(); child; child = child->GetSucc())
    {
        // most siblings differ in length or first letter: no call for them
        const char* const childName = child->name.Get();
        if (size_t(child->name.Length()) == key.size() && childName[0] == key[0] &&
            memcmp(childName, key.data(), key.size()) == 0)
        {
            return child;
        }
    }
    return nullptr;
}

/*
 * GetFullName --
 *     Joins the names from the root down with '/'. There is no depth limit:
 *     a cut path would name another object.
 */
nString nRoot::GetFullName() const
{
    std::vector<const nRoot*> chain;
    for (const nRoot* cur = this; cur; cur = cur->parent)
    {
        chain.push_back(cur);
    }
    nString path;
    for (size_t i = chain.size(); i-- > 0;)
    {
        const char* n = chain[i]->GetName();
        path.Append(n);
        if (i > 0 && n[0] != '/')
        {
            path.Append("/");
        }
    }
    return path;
}

nString nRoot::GetRelPath(const nRoot* other) const
{
    n_assert(other);
    nString path;
    if (other == this)
    {
        path = ".";
        return path;
    }
    if (other == this->parent)
    {
        path = "..";
        return path;
    }
    if (other->parent == this)
    {
        path = other->GetName();
        return path;
    }

    std::vector<const nRoot*> a, b;
    for (const nRoot* cur = this; cur; cur = cur->parent) a.insert(a.begin(), cur);
    for (const nRoot* cur = other; cur; cur = cur->parent) b.insert(b.begin(), cur);
    size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) ++common;

    for (size_t i = common; i < a.size(); i++) path.Append("../");
    for (size_t i = common; i < b.size(); i++)
    {
        path.Append(b[i]->GetName());
        path.Append("/");
    }
    path.StripTrailingSlash();
    return path;
}

namespace
{

int CompareNamesDescending(const void* e0, const void* e1)
{
    const nRoot* r0 = *(nRoot* const*)e0;
    const nRoot* r1 = *(nRoot* const*)e1;
    return strcmp(r1->GetName(), r0->GetName());
}

}  // namespace

/*
 * Sort --
 *     Orders the children ascending by name. Allocates nothing when there
 *     are no children.
 */
void nRoot::Sort()
{
    int num = 0;
    for (nRoot* c = this->GetHead(); c; c = c->GetSucc()) ++num;
    if (num == 0) return;
    nRoot** c_array = (nRoot**)n_malloc(num * sizeof(nRoot*));
    n_assert(c_array);
    int i = 0;
    for (nRoot* c = this->GetHead(); c; c = c->GetSucc()) c_array[i++] = c;
    qsort(c_array, num, sizeof(nRoot*), CompareNamesDescending);
    for (i = 0; i < num; i++)
    {
        c_array[i]->Remove();
        this->AddHead(c_array[i]);
    }
    n_free(c_array);
}

/*
 * GetTreeSize --
 *     Results: the summed instance sizes, found by a walk without
 *     recursion (a tree may be deeper than the stack).
 */
int nRoot::GetTreeSize() const
{
    int size = 0;
    const nRoot* cur = this;
    while (cur)
    {
        size += cur->GetInstanceSize();
        // depth first: the first child, else the next sibling of the
        // nearest ancestor (up to this object) that has one
        const nRoot* next = cur->GetHead();
        while (!next && cur != this)
        {
            next = cur->GetSucc();
            if (!next) cur = cur->parent;
        }
        cur = next;
    }
    return size;
}

/*
 * SaveTree --
 *     Writes (or clones) the object's own commands and, unless the save
 *     flags make it shallow, its children under their own names: children
 *     first when the flags turn the order upside down.
 * Results: SaveCmds' result.
 */
bool nRoot::SaveTree(nPersistServer* ps, bool clone)
{
    const bool upsideDown = (this->saveFlags & N_FLAG_SAVEUPSIDEDOWN) != 0;
    const bool shallow = (this->saveFlags & N_FLAG_SAVESHALLOW) != 0;
    bool retval = true;
    if (!upsideDown) retval = this->SaveCmds(ps);
    if (!shallow)
    {
        for (nRoot* c = this->GetHead(); c; c = c->GetSucc())
        {
            if (clone) c->Clone(c->GetName());
            else c->SaveAs(c->GetName());
        }
    }
    if (upsideDown) retval = this->SaveCmds(ps);
    return retval;
}

/*
 * SaveAs --
 *     Saves the object and (unless shallow) its children, in the order the
 *     save flags give. Results: SaveCmds' result.
 */
bool nRoot::SaveAs(const char* name)
{
    n_assert(name);
    nPersistServer* ps = kernelServer->GetPersistServer();
    if (!ps)
    {
        n_printf("nRoot::SaveAs(): no persistence server!\n");
        return false;
    }
    if (!ps->BeginObject(this, name, true))
    {
        // the file could not be created: outside trouble, not a reason to stop
        n_printf("nRoot::SaveAs(): BeginObject() failed!\n");
        return false;
    }
    const bool retval = this->SaveTree(ps, false);
    // a save whose file could not be completed is a failed save
    const bool ended = ps->EndObject(true);
    return retval && ended;
}

nObject* nRoot::Clone(const char* name)
{
    n_assert(name);
    nPersistServer* ps = kernelServer->GetPersistServer();
    if (!ps)
    {
        n_printf("nRoot::Clone(): no persistence server!\n");
        return nullptr;
    }
    const nPersistServer::nSaveMode oldMode = ps->GetSaveMode();
    ps->SetSaveMode(nPersistServer::SAVEMODE_CLONE);
    nObject* clone = nullptr;
    if (ps->BeginObject(this, name, true))
    {
        this->SaveTree(ps, true);
        ps->EndObject(true);
        clone = ps->GetClone();
    }
    else
    {
        n_printf("nRoot::Clone(): BeginObject() failed!\n");
    }
    ps->SetSaveMode(oldMode);
    return clone;
}
