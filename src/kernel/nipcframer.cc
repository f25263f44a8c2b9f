//------------------------------------------------------------------------------
//  nipcframer.cc
//------------------------------------------------------------------------------
#include "kernel/nipcframer.h"

#include <cstring>

nIpcFramer::nIpcFramer(const char* portName) :
    portName(portName),
    pendingSize(0),
    overflow(false),
    handshake(false),
    gotString(false)
{
}

/*
 * Feed --
 *     Results: the number of bytes taken: all of them, or those up to the
 *     terminator of the string that made maxCommands commands (the rest is
 *     for a later call). Whether the connection is to be kept is IsOpen()
 *     once a whole receive is taken: the client is admitted, or has not
 *     finished its first string yet (without sending more than one string
 *     can hold).
 *     Side effects: completes the strings the bytes finish, appends the
 *     commands among them, and keeps an unfinished tail for the next
 *     receive. A string longer than BufferSize - 1 characters is dropped
 *     up to its terminator.
 */
int nIpcFramer::Feed(const char* data, int size, nArray<nString>& commands, int maxCommands)
{
    n_assert(data && (size >= 0) && (maxCommands > 0));
    const char* pos = data;
    const char* const end = data + size;
    const int firstCommand = commands.Size();
    while ((pos < end) && (commands.Size() - firstCommand < maxCommands))
    {
        const char* zero = static_cast<const char*>(memchr(pos, 0, (size_t)(end - pos)));
        const int len = (int)((zero ? zero : end) - pos);
        if (!this->overflow && (this->pendingSize + len > BufferSize - 1))
        {
            n_printf("nIpcMiniServer: message longer than %d characters dropped!\n", BufferSize - 1);
            this->overflow = true;
        }
        if (!this->overflow)
        {
            memcpy(this->pending + this->pendingSize, pos, (size_t)len);
            this->pendingSize += len;
        }
        if (!zero) return size;
        if (this->overflow) this->gotString = true;
        else
        {
            this->pending[this->pendingSize] = 0;
            this->HandleString(this->pending, commands);
        }
        this->pendingSize = 0;
        this->overflow = false;
        pos = zero + 1;
    }
    return (int)(pos - data);
}

/*
 * HandleString --
 *     Side effects: "~handshake NAME" admits the client when NAME is the
 *     port name and refuses it otherwise, "~close" ends it; any other
 *     string is a command when the client is admitted and dropped when not.
 */
void nIpcFramer::HandleString(const char* str, nArray<nString>& commands)
{
    this->gotString = true;
    const char* space = strchr(str, ' ');
    const size_t wordLen = space ? (size_t)(space - str) : strlen(str);
    if ((10 == wordLen) && (0 == strncmp(str, "~handshake", wordLen)))
    {
        const char* name = space ? space + 1 : "";
        const size_t nameLen = strcspn(name, " ");
        this->handshake = (nameLen == (size_t)this->portName.Length()) &&
                          (0 == strncmp(name, this->portName.Get(), nameLen));
        if (!this->handshake)
        {
            n_printf("nIpcMiniServer: handshake for another port, connection refused!\n");
        }
    }
    else if ((6 == wordLen) && (0 == strncmp(str, "~close", wordLen)))
    {
        this->handshake = false;
    }
    else if (this->handshake)
    {
        commands.Append(nString(str));
    }
    else
    {
        n_printf("nIpcMiniServer: message before handshake dropped!\n");
    }
}
