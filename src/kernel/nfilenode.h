#ifndef N_FILENODE_H
#define N_FILENODE_H
//------------------------------------------------------------------------------
/**
    @class nFileNode
    @ingroup Kernel

    A tree object that wraps one file so that scripts can write text files.
    Made by the file server's CreateFileNode below /sys/share/files.
*/
#include "kernel/nroot.h"

class nFile;

class nFileNode : public nRoot
{
public:
    nFileNode();

    /// open a file through the file server
    bool Open(const char* filename, const char* accessMode);
    /// close the file
    void Close();
    /// true while a file is open
    bool IsOpen() const { return this->file != nullptr; }
    /// write a string to the file
    bool PutS(const char* buffer);

protected:
    /// closes a file still open
    ~nFileNode() override;

private:
    nFile* file;
};
#endif
