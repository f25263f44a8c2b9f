#ifndef N_ROOT_H
#define N_ROOT_H
//------------------------------------------------------------------------------
/**
    @class nRoot
    @ingroup Kernel

    A named object in the one object tree: parent, ordered children, full
    and relative paths, save flags and a mutex of its own. A tree object
    belongs to its parent; when the parent dies, its children die with it.
*/
#include "kernel/nobject.h"
#include "kernel/nmutex.h"
#include "util/nnode.h"
#include "util/nlist.h"
#include "util/nstring.h"

#include <memory>
#include <string_view>
#include <unordered_map>

class nRoot : public nObject
{
public:
    enum
    {
        /// children are saved and cloned before the object's own commands
        N_FLAG_SAVEUPSIDEDOWN = (1 << 0),
        /// children are neither saved nor cloned
        N_FLAG_SAVESHALLOW = (1 << 1),
    };

    nRoot();

    /// one reference less; at 0 the object waits for its mutex and dies
    bool Release() override;
    /// called once after the kernel named and linked a new tree object
    virtual void Initialize();

    bool SaveAs(const char* name) override;
    nObject* Clone(const char* name) override;

    void LockMutex() { this->mutex.Lock(); }
    void UnlockMutex() { this->mutex.Unlock(); }

    void SetName(const char* str);
    /// true for a name a path can reach: not empty, ".", "..", too long,
    /// and without '/' or control characters
    static bool IsValidName(const char* str);
    const char* GetName() const { return this->name.Get(); }

    nRoot* GetParent() const { return this->parent; }
    nRoot* GetHead() const;
    nRoot* GetTail() const;
    nRoot* GetSucc() const;
    nRoot* GetPred() const;
    void AddHead(nRoot* child);
    void AddTail(nRoot* child);
    /// unlink from the parent
    void Remove();
    /// a child by name, "." this object, ".." the parent
    nRoot* Find(const char* str) const;
    /// the same for a name given by its first len characters
    nRoot* Find(const char* str, size_t len) const;
    /// the absolute path
    nString GetFullName() const;
    /// the path from this object to another
    nString GetRelPath(const nRoot* other) const;
    /// order the children by name
    void Sort();
    /// instance sizes of the object and all its descendants
    int GetTreeSize() const;

    void SetSaveFlags(ushort f) { this->saveFlags = f; }
    ushort GetSaveFlags() const { return this->saveFlags; }

protected:
    ~nRoot() override;

private:
    /// kill the whole subtree leaves first
    void KillDescendantsIteratively();
    /// own commands and children in the order the save flags give
    bool SaveTree(nPersistServer* ps, bool clone);
    static nRoot* FromNode(nNode* node) { return node ? static_cast<nRoot*>(node->GetData()) : nullptr; }
    /// the first child of that name in the children's order, by walking them
    nRoot* FindByWalk(std::string_view name) const;
    /// keep the name index in step with a child that was linked or is
    /// about to be unlinked
    void IndexLinked(nRoot* child);
    void IndexUnlinking(nRoot* child);

    /// first child of each name, built once a node has many children: a
    /// linear walk is cheaper below that, and most nodes have few
    struct nNameIndex
    {
        std::unordered_map<std::string_view, nRoot*> first;
        /// children whose name an earlier sibling already has
        int numShadowed = 0;

        void SetFirst(std::unordered_map<std::string_view, nRoot*>::iterator it, nRoot* child);
    };
    static constexpr int NameIndexThreshold = 16;

    std::unique_ptr<nNameIndex> nameIndex;
    int numChildren = 0;

    nNode childNode;
    nString name;
    nRoot* parent;
    nList children;
    ushort saveFlags;
    nMutex mutex;
};
#endif
