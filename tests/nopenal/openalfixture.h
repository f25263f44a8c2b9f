#ifndef TESTS_NOPENAL_OPENALFIXTURE_H
#define TESTS_NOPENAL_OPENALFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with the resource server, the window handle
//  value the OpenAL server asks for, and an open OpenAL server on the
//  default device (OpenAL Soft's null driver under CTest); sound files
//  are written to a temporary directory of the test's own.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "capturelog.h"
#include "kernel/nkernelserver.h"
#include "nopenal/nopenalobj.h"
#include "nopenal/nopenalresource.h"
#include "nopenal/nopenalserver.h"
#include "resource/nresourceserver.h"

#include <memory>
#include <string>

class OpenALTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// write the bytes as a file of the name in the temporary directory; its path
    std::string Write(const std::string& name, const std::string& bytes);
    /// a new sound instance of the file, named when a name is given
    nOpenALObj* NewSound(const std::string& path, const char* name = nullptr);
    /// an integer property of the buffer the sound plays
    int BufferInt(nOpenALObj* sound, ALenum param);
    /// the log text since the last call
    std::string TakeLog();

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nResourceServer* rs = nullptr;
    nOpenALServer* server = nullptr;
    std::string dir;
};
#endif
