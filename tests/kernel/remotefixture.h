#ifndef TESTS_KERNEL_REMOTEFIXTURE_H
#define TESTS_KERNEL_REMOTEFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel whose remote server is open on a free port of this process,
//  with a script server of the test's choice, and the steps of a client.
//------------------------------------------------------------------------------
#include "ipctestclient.h"

#include "kernel/nipcaddress.h"
#include "kernel/nkernelserver.h"
#include "kernel/nremoteserver.h"
#include "kernel/nscriptserver.h"

#include <memory>
#include <string>
#include <unistd.h>

class RemoteFixture : public ::testing::Test
{
protected:
    /// a kernel with the packages, a script server of the class and an open remote server
    void Start(std::initializer_list<nPackageFunc> packages, const char* scriptClass)
    {
        this->ks = std::make_unique<nKernelServer>(packages);
        this->scriptServer = static_cast<nScriptServer*>(this->ks->New(scriptClass, "/sys/servers/script"));
        this->remote = static_cast<nRemoteServer*>(this->ks->Lookup("/sys/servers/remote"));
        ASSERT_NE(this->remote, nullptr);
        ASSERT_TRUE(this->OpenFreePort());
    }
    void TearDown() override { this->ks.reset(); }

    /// open on a port name of this process whose port is free
    bool OpenFreePort()
    {
        for (int i = 0; i < 100; i++)
        {
            this->portName = "remotetest-" + std::to_string(getpid()) + "-" + std::to_string(i);
            if (this->remote->Open(this->portName.c_str())) return true;
        }
        return false;
    }
    int Port() const { return nIpcAddress::PortFromName(this->portName.c_str()); }

    /// connect and shake hands
    bool Admit(IpcTestClient& client)
    {
        return client.Connect(this->Port()) && client.SendStrings({"~handshake " + this->portName});
    }

    /// trigger the server until the client has its next reply
    std::string Reply(IpcTestClient& client)
    {
        std::string reply = "<timeout>";
        PollUntil([&] {
            this->remote->Trigger();
            reply = client.ReadString(0);
            return reply != "<timeout>";
        });
        return reply;
    }

    /// send one command and wait for its reply
    std::string Send(IpcTestClient& client, const std::string& cmd)
    {
        return client.SendStrings({cmd}) ? this->Reply(client) : "<send failed>";
    }

    std::unique_ptr<nKernelServer> ks;
    nScriptServer* scriptServer = nullptr;
    nRemoteServer* remote = nullptr;
    std::string portName;
};
#endif
