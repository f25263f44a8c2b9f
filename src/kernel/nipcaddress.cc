//------------------------------------------------------------------------------
//  nipcaddress.cc
//------------------------------------------------------------------------------
#include "kernel/nipcaddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

nIpcAddress::nIpcAddress() :
    hostName("localhost"),
    addrStruct{},
    ipAddr(0),
    portNum(0),
    addrStructValid(false),
    ipAddrValid(false),
    portNumValid(false)
{
}

nIpcAddress::nIpcAddress(const char* host, const char* port) :
    nIpcAddress()
{
    this->SetHostName(host);
    this->SetPortName(port);
}

void nIpcAddress::SetHostName(const char* name)
{
    n_assert(name);
    this->hostName = name;
    this->ipAddrValid = false;
    this->addrStructValid = false;
}

void nIpcAddress::SetPortName(const char* name)
{
    n_assert(name);
    this->portName = name;
    this->portNumValid = false;
    this->addrStructValid = false;
}

ushort nIpcAddress::PortFromName(const char* name)
{
    n_assert(name);
    uint sum = 0;
    for (uint i = 0; name[i]; i++)
    {
        sum += (uint)(uchar)name[i] * (i + 1);
    }
    return (ushort)(12000 + (sum % 999));
}

/*
 * IsInternetAddress --
 *     Results: false for 10.a.x.x (a < 255), 172.16.x.x to 172.31.x.x,
 *     192.168.c.x (c < 255) and first bytes of 224 and above; true else.
 *     The address is in network order.
 */
bool nIpcAddress::IsInternetAddress(in_addr_t addr)
{
    const uint a = ntohl(addr);
    const uint b0 = (a >> 24) & 0xff;
    const uint b1 = (a >> 16) & 0xff;
    if ((10 == b0) && (b1 < 255)) return false;
    if ((172 == b0) && (b1 >= 16) && (b1 <= 31)) return false;
    if ((192 == b0) && (168 == b1) && (((a >> 8) & 0xff) < 255)) return false;
    return b0 < 224;
}

/*
 * Resolve --
 *     Results: true with the first IPv4 address of the name (the first
 *     internet address when asked), false when there is none.
 */
bool nIpcAddress::Resolve(const char* name, bool internetOnly, in_addr_t& addr)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (0 != getaddrinfo(name, nullptr, &hints, &list)) return false;
    bool found = false;
    for (const addrinfo* ai = list; ai && !found; ai = ai->ai_next)
    {
        const in_addr_t a = reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr;
        if (!internetOnly || IsInternetAddress(a))
        {
            addr = a;
            found = true;
        }
    }
    freeaddrinfo(list);
    return found;
}

/*
 * ValidateIpAddr --
 *     Results: true when the host word gave an address.
 *     Side effects: stores the address and its dotted text.
 */
bool nIpcAddress::ValidateIpAddr()
{
    n_assert(!this->ipAddrValid);
    const char* host = this->hostName.Get();
    in_addr_t addr = 0;
    bool ok = true;
    if (this->hostName == "any")
    {
        addr = htonl(INADDR_ANY);
    }
    else if (this->hostName == "broadcast")
    {
        addr = htonl(INADDR_BROADCAST);
    }
    else if ((this->hostName == "self") || (this->hostName == "inetself"))
    {
        char localName[512];
        ok = (0 == gethostname(localName, sizeof(localName)));
        localName[sizeof(localName) - 1] = 0;
        ok = ok && Resolve(localName, this->hostName == "inetself", addr);
    }
    else
    {
        ok = Resolve(host, false, addr);
    }
    if (!ok) return false;
    this->ipAddr = addr;
    in_addr inAddr = {};
    inAddr.s_addr = addr;
    char text[INET_ADDRSTRLEN];
    this->ipAddrString = inet_ntop(AF_INET, &inAddr, text, sizeof(text));
    this->ipAddrValid = true;
    return true;
}

bool nIpcAddress::ValidatePortNum()
{
    n_assert(!this->portNumValid);
    this->portNum = PortFromName(this->portName.Get());
    this->portNumValid = true;
    return true;
}

bool nIpcAddress::ValidateAddrStruct()
{
    n_assert(!this->addrStructValid);
    if (!this->ipAddrValid && !this->ValidateIpAddr()) return false;
    if (!this->portNumValid && !this->ValidatePortNum()) return false;
    this->addrStruct = {};
    this->addrStruct.sin_family = AF_INET;
    this->addrStruct.sin_port = htons(this->portNum);
    this->addrStruct.sin_addr.s_addr = this->ipAddr;
    this->addrStructValid = true;
    return true;
}

bool nIpcAddress::GetAddrStruct(sockaddr_in& addr)
{
    if (!this->addrStructValid && !this->ValidateAddrStruct()) return false;
    addr = this->addrStruct;
    return true;
}

const char* nIpcAddress::GetIpAddrString()
{
    if (!this->ipAddrValid && !this->ValidateIpAddr()) return "";
    return this->ipAddrString.Get();
}

ushort nIpcAddress::GetPortNum()
{
    if (!this->portNumValid) this->ValidatePortNum();
    return this->portNum;
}
