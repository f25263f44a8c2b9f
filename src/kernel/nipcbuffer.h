#ifndef N_IPCBUFFER_H
#define N_IPCBUFFER_H
//------------------------------------------------------------------------------
/**
    @class nIpcBuffer
    @ingroup Kernel

    A block of bytes as it travels between the remote server and its
    clients: one or more zero-terminated strings. The data size never
    exceeds the buffer size.
*/
#include "kernel/ntypes.h"

class nIpcBuffer
{
public:
    /// an empty buffer of the given size
    explicit nIpcBuffer(int size);
    /// a buffer holding exactly the string and its terminator
    explicit nIpcBuffer(const char* str);
    ~nIpcBuffer();
    nIpcBuffer(const nIpcBuffer&) = delete;
    nIpcBuffer& operator=(const nIpcBuffer&) = delete;

    /// copy at most the buffer size of bytes
    void Set(const char* data, int size);
    /// copy a string, cut to fit, with its terminator
    void SetString(const char* str);
    /// true when the data is one or more zero-terminated strings
    bool IsValidString() const;
    /// the first string, or 0 when the data is not valid strings
    const char* GetFirstString();
    /// the string after the current one, or 0 at the end
    const char* GetNextString();

    const char* GetPointer() const { return this->buffer; }
    int GetSize() const { return this->dataSize; }
    int GetMaxSize() const { return this->bufferSize; }

private:
    int bufferSize;
    int dataSize;
    char* buffer;
    const char* curStringPointer;
};
#endif
