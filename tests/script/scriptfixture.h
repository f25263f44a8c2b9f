#ifndef TESTS_SCRIPT_SCRIPTFIXTURE_H
#define TESTS_SCRIPT_SCRIPTFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel with a Tcl server at /sys/servers/script per test, a log
//  that keeps what was printed, and the test classes "ntestobj" (a tree
//  object with a setter and getter per argument type) and "ntestplain"
//  (an nobject that is no tree object).
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "util/assertdeath.h"
#include "kernel/nkernelserver.h"
#include "capturelog.h"
#include "kernel/nscriptserver.h"
#include "kernel/nroot.h"

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>


/// a tree object with one value per argument type
class nTestObj : public nRoot
{
public:
    int i = 7;
    float f = 0.0f;
    bool b = false;
    nString s;
    bool sIsNull = false;
    void* o = nullptr;
    nObject* plain = nullptr;

protected:
    ~nTestObj() override;
};

/// an nobject that is no tree object
class nTestPlain : public nObject
{
public:
    int i = 3;
};

/// the kernel's class package of the test classes
void ntest_package();

class ScriptTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// runs a command string that must succeed; its result
    std::string Ok(const char* script);
    /// runs a command string that must fail (failOnError cleared); its result
    std::string Fails(const char* script);
    /// the log text since the last call
    std::string TakeLog();

    nTestObj* NewTestObj(const char* path) { return static_cast<nTestObj*>(this->ks->New("ntestobj", path)); }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
};

#endif
