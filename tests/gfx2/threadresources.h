//------------------------------------------------------------------------------
//  threadresources.h
//  A texture and a mesh class that note where their background reads ran.
//------------------------------------------------------------------------------
#ifndef N_THREADRESOURCES_H
#define N_THREADRESOURCES_H

#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9texture.h"

#include <thread>

class nKernelServer;

/// a texture that notes where its background read ran and whether it
/// left the image decoded there
class nThreadTexture : public nD3D9Texture
{
public:
    std::thread::id readThread;
    bool decoded = false;

protected:
    bool ReadResource() override
    {
        const bool ok = nD3D9Texture::ReadResource();
        this->readThread = std::this_thread::get_id();
        this->decoded = this->HasDecodedImage();
        return ok;
    }
};

/// a mesh that notes where its background read ran and whether it left
/// the file parsed there
class nThreadMesh : public nD3D9Mesh
{
public:
    std::thread::id readThread;
    bool parsed = false;

protected:
    bool ReadResource() override
    {
        const bool ok = nD3D9Mesh::ReadResource();
        this->readThread = std::this_thread::get_id();
        this->parsed = this->HasReadMesh();
        return ok;
    }
};

/// add the two classes ("nthreadtexture", "nthreadmesh") to the kernel
void threadresources_package(nKernelServer* ks);

#endif
