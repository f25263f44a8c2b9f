#ifndef N_MESH2_H
#define N_MESH2_H
//------------------------------------------------------------------------------
/**
    @class nMesh2
    @ingroup Gfx2

    A mesh resource: vertex and index data drawn by the graphics server.
*/
#include "resource/nresource.h"
#include "gfx2/nmeshgroup.h"
#include "util/narray.h"
#include "util/nstring.h"

class nMesh2 : public nResource
{
public:
    nMesh2() = default;

    enum Usage
    {
        WriteOnce = (1 << 0),
        ReadOnly = (1 << 1),
        WriteOnly = (1 << 2),
        NPatch = (1 << 3),
        RTPatch = (1 << 4),
        PointSprite = (1 << 5),
        NeedsVertexShader = (1 << 6),
    };

    void SetUsage(int flags) { this->usage = flags; }
    int GetUsage() const { return this->usage; }
    /// the usage words of the set bits, each followed by "|"
    static nString ConvertUsageFlagsToString(int flags);
    /// the flags of a "|"-separated usage text (any case); an unknown word is fatal
    static int ConvertUsageStringToFlags(const char* str);
    /// as ConvertUsageStringToFlags, but false (flags untouched) on an unknown word
    static bool ParseUsageString(const char* str, int& flags);

    /// allocate the groups (asserts a positive number and none allocated yet)
    void SetNumGroups(int num);
    int GetNumGroups() const { return this->groups.Size(); }
    /// a group by index (asserts the index)
    nMeshGroup& Group(int i) const;

protected:
    /// a loaded resource unloads before it dies
    ~nMesh2() override;
    /// frees the groups
    void UnloadResource() override;

private:
    int usage = WriteOnce;
    nArray<nMeshGroup> groups;
};
#endif
