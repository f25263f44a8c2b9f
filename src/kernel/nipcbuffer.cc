//------------------------------------------------------------------------------
//  nipcbuffer.cc
//------------------------------------------------------------------------------
#include "kernel/nipcbuffer.h"

#include <cstring>

nIpcBuffer::nIpcBuffer(int size) :
    bufferSize(size),
    dataSize(0),
    buffer(nullptr),
    curStringPointer(nullptr)
{
    n_assert(size > 0);
    this->buffer = (char*)n_malloc(size);
    n_assert(this->buffer);
}

nIpcBuffer::nIpcBuffer(const char* str) :
    nIpcBuffer((int)strlen(str) + 1)
{
    this->SetString(str);
}

nIpcBuffer::~nIpcBuffer()
{
    n_free(this->buffer);
}

/*
 * Set --
 *     Side effects: copies the first bytes of data, at most the buffer
 *     size; the data size is the count copied.
 */
void nIpcBuffer::Set(const char* data, int size)
{
    n_assert(data && (size >= 0));
    this->dataSize = n_min(size, this->bufferSize);
    memcpy(this->buffer, data, (size_t)this->dataSize);
    this->curStringPointer = nullptr;
}

/*
 * SetString --
 *     Side effects: the data becomes the string, cut to bufferSize - 1
 *     characters, and its terminator.
 */
void nIpcBuffer::SetString(const char* str)
{
    n_assert(str);
    const int len = n_min((int)strlen(str), this->bufferSize - 1);
    memcpy(this->buffer, str, (size_t)len);
    this->buffer[len] = 0;
    this->dataSize = len + 1;
    this->curStringPointer = nullptr;
}

bool nIpcBuffer::IsValidString() const
{
    return (this->dataSize > 0) && (0 == this->buffer[this->dataSize - 1]);
}

const char* nIpcBuffer::GetFirstString()
{
    if (!this->IsValidString()) return nullptr;
    this->curStringPointer = this->buffer;
    return this->curStringPointer;
}

/*
 * GetNextString --
 *     Results: the string behind the current one, or 0 when the current
 *     one was the last.
 */
const char* nIpcBuffer::GetNextString()
{
    n_assert(this->curStringPointer);
    n_assert(this->buffer);
    const char* next = this->curStringPointer + strlen(this->curStringPointer) + 1;
    if (next >= this->buffer + this->dataSize)
    {
        this->curStringPointer = nullptr;
        return nullptr;
    }
    this->curStringPointer = next;
    return next;
}
