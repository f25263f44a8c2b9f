#ifndef N_IPCFRAMER_H
#define N_IPCFRAMER_H
//------------------------------------------------------------------------------
/**
    @class nIpcFramer
    @ingroup Kernel

    The remote-control protocol of one connection, free of sockets: the
    bytes of each receive go in, complete commands come out.

    The stream is a sequence of zero-terminated strings, which may be cut
    anywhere between receives. "~handshake NAME" with the server's port
    name admits the client, with any other name it refuses it; "~close"
    ends it. Only an admitted client's strings become commands: anything
    a client sends before its handshake is dropped, since any local
    process could otherwise run scripts with the program's rights.
*/
#include "util/narray.h"
#include "util/nstring.h"

#include <climits>

class nIpcFramer
{
public:
    /// the longest string, terminator included, a client may send
    static constexpr int BufferSize = 4096;

    /// a connection to the server with the port name
    explicit nIpcFramer(const char* portName);

    /// take bytes of a receive, stopping after the string that makes the
    /// maxCommands-th command; the number of bytes taken
    int Feed(const char* data, int size, nArray<nString>& commands, int maxCommands = INT_MAX);
    /// false once the connection must end
    bool IsOpen() const { return this->handshake || (!this->gotString && !this->overflow); }
    /// true while the client is admitted
    bool GetHandshake() const { return this->handshake; }

private:
    /// act on one complete string
    void HandleString(const char* str, nArray<nString>& commands);

    nString portName;
    char pending[BufferSize];
    int pendingSize;
    bool overflow;
    bool handshake;
    bool gotString;
};
#endif
