//------------------------------------------------------------------------------
//  nipcaddress.cc
//------------------------------------------------------------------------------
#include "kernel/nipcaddress.h"


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
bool nIpcAddress::IsInternetAddress(uint32_t addr)
{
    const uint a = addr;
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
bool nIpcAddress::Resolve(const char* name, bool internetOnly, uint32_t& addr)
{
    uint32_t found[16];
    const int num = nPlatformSocket::ResolveIpv4(name, found, 16);
    for (int i = 0; i < num; i++)
    {
        if (!internetOnly || IsInternetAddress(found[i]))
        {
            addr = found[i];
            return true;
        }
    }
    return false;
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
    uint32_t addr = 0;
    bool ok = true;
    if (this->hostName == "any")
    {
        addr = 0;
    }
    else if (this->hostName == "broadcast")
    {
        addr = 0xffffffffu;
    }
    else if ((this->hostName == "self") || (this->hostName == "inetself"))
    {
        char localName[512];
        ok = nPlatformSocket::LocalHostName(localName, sizeof(localName));
        ok = ok && Resolve(localName, this->hostName == "inetself", addr);
    }
    else
    {
        ok = Resolve(host, false, addr);
    }
    if (!ok) return false;
    this->ipAddr = addr;
    char text[16];
    nPlatformSocket::FormatIpv4(addr, text, sizeof(text));
    this->ipAddrString = text;
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
    this->addrStruct.ip = this->ipAddr;
    this->addrStruct.port = this->portNum;
    this->addrStructValid = true;
    return true;
}

bool nIpcAddress::GetInetAddr(nPlatformInetAddr& addr)
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
