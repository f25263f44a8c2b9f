#ifndef FUZZ_MESHLOAD_MESHFUZZ_H
#define FUZZ_MESHLOAD_MESHFUZZ_H
//------------------------------------------------------------------------------
//  One kernel for the whole run and the check both mesh fuzzers share:
//  the bytes are written to a scratch file with the format's extension,
//  read through the plain reader (everything, as the graphics mesh does)
//  and loaded as a collision mesh from groups 0 and 1. Any outcome but a
//  crash, a sanitizer report or a fatal error is fine.
//------------------------------------------------------------------------------
#include "gfx2/nmeshloader.h"
#include "kernel/nkernelserver.h"
#include "../fuzzscratch.h"
#include "opende/nopendetrimesh.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

class MeshFuzz
{
public:
    explicit MeshFuzz(const char* extension)
    {
        this->ks = new nKernelServer();
        this->ks->SetLogHandler(&this->log);
        this->file = MakeScratchDir("meshfuzz") + "/input" + extension;
    }

    /// runs the input through a fresh reader and the collision mesh
    void Run(std::unique_ptr<nMeshLoader> loader, const uint8_t* data, size_t size)
    {
        FILE* f = fopen(this->file.c_str(), "wb");
        if (!f) abort();
        if (size > 0 && fwrite(data, 1, size, f) != size) abort();
        fclose(f);

        loader->SetFilename(this->file.c_str());
        if (loader->Open(this->ks->GetFileServer()))
        {
            // one element more, so that an empty block still has a buffer
            const size_t numFloats = (size_t)loader->GetNumVertices() * loader->GetVertexWidth();
            const size_t numIndices = (size_t)loader->GetNumIndices();
            const size_t numEdgeValues = (size_t)loader->GetNumEdges() * 4;
            std::vector<float> v(numFloats + 1);
            std::vector<uint16_t> i(numIndices + 1);
            std::vector<uint16_t> e(numEdgeValues + 1);
            if (loader->ReadVertices(v.data(), (int)(numFloats * sizeof(float))) &&
                loader->ReadIndices(i.data(), (int)(numIndices * sizeof(uint16_t))) && numEdgeValues > 0)
            {
                loader->ReadEdges(e.data(), (int)(numEdgeValues * sizeof(uint16_t)));
            }
            loader->Close();
        }
        for (int group = 0; group < 2; group++)
        {
            nOpendeTriMesh mesh("fuzz");
            if (mesh.Load(this->ks->GetFileServer(), this->file.c_str(), group))
            {
                if (mesh.GetNumVertices() <= 0 || mesh.GetNumFaces() <= 0) abort();
                for (int k = 0; k < 3 * mesh.GetNumFaces(); k++)
                {
                    const int index = mesh.GetFaceData()[k];
                    if (index < 0 || index >= mesh.GetNumVertices()) abort();
                }
            }
        }
    }

private:
    nKernelServer* ks = nullptr;
    QuietLog log;
    std::string file;
};
#endif
