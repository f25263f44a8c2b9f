#ifndef N_IPCADDRESS_H
#define N_IPCADDRESS_H
//------------------------------------------------------------------------------
/**
    @class nIpcAddress
    @ingroup Kernel

    An IPv4 socket address made from a host word and a port name. The port
    is derived from the name, so that a program and its remote-control
    tools agree on it by name alone. Parts are validated lazily and again
    after the name they come from changes.

    Host words: "any", "broadcast", "self" (this machine's name),
    "inetself" (its first internet address), or a name or dotted address.
*/
#include "util/nstring.h"
#include "platform/nplatformsocket.h"

#include <cstdint>

class nIpcAddress
{
public:
    /// host "localhost", no port name
    nIpcAddress();
    nIpcAddress(const char* hostName, const char* portName);

    void SetHostName(const char* name);
    const char* GetHostName() const { return this->hostName.Get(); }
    void SetPortName(const char* name);
    const char* GetPortName() const { return this->portName.Get(); }

    /// the socket address (validated first); false when it cannot be made
    bool GetInetAddr(nPlatformInetAddr& addr);
    /// the dotted address ("" when the host cannot be resolved)
    const char* GetIpAddrString();
    /// the port number in host order
    ushort GetPortNum();

    /// 12000 plus the name's hash (sum of byte x (position + 1)) modulo 999
    static ushort PortFromName(const char* name);
    /// true for a routable address (host order): not private, not
    /// multicast or above
    static bool IsInternetAddress(uint32_t addr);

private:
    bool ValidateIpAddr();
    bool ValidatePortNum();
    bool ValidateAddrStruct();
    /// the first IPv4 address of a host name, optionally the first routable one
    static bool Resolve(const char* name, bool internetOnly, uint32_t& addr);

    nString hostName;
    nString portName;
    nPlatformInetAddr addrStruct;
    uint32_t ipAddr;    ///< host order
    nString ipAddrString;
    ushort portNum;
    bool addrStructValid;
    bool ipAddrValid;
    bool portNumValid;
};
#endif
