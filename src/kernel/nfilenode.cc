//------------------------------------------------------------------------------
//  nfilenode.cc
//------------------------------------------------------------------------------
#include "kernel/nfilenode.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"

nFileNode::nFileNode() :
    file(nullptr)
{
}

nFileNode::~nFileNode()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * Open --
 *     Results: true when the file opened; on failure the node stays
 *     closed. Side effects: takes a file object from the file server.
 */
bool nFileNode::Open(const char* filename, const char* accessMode)
{
    n_assert(!this->file);
    n_assert(filename && accessMode);
    this->file = nFileServer2::Instance()->NewFileObject();
    n_assert(this->file);
    if (!this->file->Open(filename, accessMode))
    {
        this->file->Release();
        this->file = nullptr;
        return false;
    }
    return true;
}

void nFileNode::Close()
{
    n_assert(this->file);
    this->file->Close();
    this->file->Release();
    this->file = nullptr;
}

bool nFileNode::PutS(const char* buffer)
{
    n_assert(this->file);
    n_assert(buffer);
    return this->file->PutS(buffer);
}
