//------------------------------------------------------------------------------
//  mesh2_fuzz.cc
//
//  Arbitrary bytes as a mesh file loaded by a graphics mesh (read-only, so
//  its buffers are system memory and no display is needed): the first
//  byte picks the format (even n3d2, odd nvx2), the rest is the file. A
//  loaded mesh's buffers must hold its counts and its groups lie inside.
//------------------------------------------------------------------------------
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "gfx2/nmesh2.h"
#include "kernel/nkernelserver.h"
#include "../fuzzscratch.h"
#include "resource/nresourcepackage.h"
#include "signals/nsignalspackage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

struct Scratch
{
    Scratch()
    {
        this->ks = new nKernelServer(
            std::initializer_list<nPackageFunc>{nsignals_package, nresource_package, ngfx2_package});
        this->ks->SetLogHandler(&this->log);
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->dir = MakeScratchDir("mesh2fuzz");
    }
    nKernelServer* ks = nullptr;
    QuietLog log;
    std::string dir;
};

/// reads every element of the loaded mesh's buffers and checks its groups
void Check(nMesh2* mesh)
{
    const int numVertices = mesh->GetNumVertices();
    const int numIndices = mesh->GetNumIndices();
    float sum = 0.0f;
    if (numVertices > 0)
    {
        const float* v = mesh->LockVertices();
        sum += v[numVertices * mesh->GetVertexWidth() - 1];
        mesh->UnlockVertices();
    }
    if (numIndices > 0)
    {
        const ushort* i = mesh->LockIndices();
        for (int k = 0; k < numIndices; k++)
        {
            if (i[k] >= numVertices) abort();
        }
        mesh->UnlockIndices();
    }
    if (mesh->GetNumEdges() > 0)
    {
        const nMesh2::Edge* e = mesh->LockEdges();
        sum += e[mesh->GetNumEdges() - 1].vIndex[1];
        mesh->UnlockEdges();
    }
    for (int g = 0; g < mesh->GetNumGroups(); g++)
    {
        const nMeshGroup& group = mesh->GetGroup(g);
        if ((long long)group.firstVertex + group.numVertices > numVertices ||
            (long long)group.firstIndex + group.numIndices > numIndices)
        {
            abort();
        }
    }
    volatile float sink = sum;
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Scratch scratch;
    if (size < 1) return 0;
    const std::string file = scratch.dir + ((data[0] & 1) ? "/input.nvx2" : "/input.n3d2");
    FILE* f = fopen(file.c_str(), "wb");
    if (!f) abort();
    if (size > 1 && fwrite(data + 1, 1, size - 1, f) != size - 1) abort();
    fclose(f);
    nMesh2* mesh = static_cast<nMesh2*>(scratch.ks->New("nd3d9mesh", "/fuzzmesh"));
    mesh->SetUsage(nMesh2::ReadOnly);
    mesh->SetFilename(file.c_str());
    if (mesh->Load()) Check(mesh);
    mesh->Release();
    return 0;
}
