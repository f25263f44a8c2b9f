#ifndef TESTS_FILE_FILEFIXTURE_H
#define TESTS_FILE_FILEFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with the file package, a scratch directory reached through the
//  assign "tst:", and a log handler that keeps what was printed.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "util/assertdeath.h"
#include "usertempdir.h"
#include "kernel/nkernelserver.h"
#include "kernel/ndefaultloghandler.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/ndirectory.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nclass.h"
#include "file/nfilepackage.h"
#include "file/nnpkfileserver.h"
#include "platform/nplatformpaths.h"
#include "npkwriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

/// keeps every printed line and still prints it
class CaptureLogHandler : public nDefaultLogHandler
{
public:
    void Print(const char* msg, va_list args) override
    {
        va_list copy;
        va_copy(copy, args);
        char buf[2048];
        vsnprintf(buf, sizeof(buf), msg, copy);
        va_end(copy);
        this->text += buf;
        nDefaultLogHandler::Print(msg, args);
    }
    std::string text;
};

class FileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("filetest");
        this->MakeKernel(true);
    }

    void TearDown() override
    {
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// a fresh kernel, with or without the file package
    void MakeKernel(bool withFilePackage)
    {
        this->ks.reset();
        if (withFilePackage)
        {
            this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nfile_package});
        }
        else
        {
            this->ks = std::make_unique<nKernelServer>();
        }
        this->ks->SetLogHandler(&this->log);
        this->fs = this->ks->GetFileServer();
        this->fs->SetAssign("tst", this->dir.c_str());
        this->log.text.clear();
    }

    nNpkFileServer* npk() { return static_cast<nNpkFileServer*>(this->fs); }

    /// the operating-system path of a name in the scratch directory
    std::string Path(const std::string& rel) const { return this->dir + "/" + rel; }

    void WriteFile(const std::string& rel, const std::string& contents) const
    {
        NpkWriter::WriteBytes(this->Path(rel), contents);
    }

    std::string ReadFile(const std::string& rel) const { return ReadWholeFile(this->Path(rel)); }

    /// a closed file object of the file server
    nFile* NewFile() { return this->fs->NewFileObject(); }

    /// the whole contents of a file read through the file server
    std::string ReadThrough(const std::string& path, const char* mode = "rb")
    {
        nFile* f = this->NewFile();
        std::string out;
        if (f->Open(path.c_str(), mode))
        {
            out.resize((size_t)f->GetSize());
            out.resize((size_t)f->Read(out.data(), (int)out.size()));
            f->Close();
        }
        f->Release();
        return out;
    }

    std::string dir;
    CaptureLogHandler log;
    std::unique_ptr<nKernelServer> ks;
    nFileServer2* fs = nullptr;
};

/// "name:type" of every entry of an open directory, in listing order
inline std::vector<std::string> List(nDirectory* d)
{
    std::vector<std::string> out;
    if (d->IsEmpty()) return out;
    do
    {
        out.push_back(std::string(d->GetEntryName()) + ":" + std::to_string((int)d->GetEntryType()));
    } while (d->SetToNextEntry());
    return out;
}

/// runs a script command with string inputs and hands the command to
/// check before it is given back
template <class CHECK>
void RunCmd(nObject* obj, const char* name, std::initializer_list<const char*> inputs, CHECK check)
{
    nCmdProto* proto = obj->GetClass()->FindCmdByName(name);
    ASSERT_NE(proto, nullptr) << name;
    nCmd* cmd = proto->NewCmd();
    for (const char* in : inputs) cmd->In()->SetS(in);
    obj->Dispatch(cmd);
    check(cmd);
    proto->RelCmd(cmd);
}

#endif
