#ifndef TESTS_KERNEL_KERNELFIXTURE_H
#define TESTS_KERNEL_KERNELFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel server per test.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "util/assertdeath.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <cstdio>
#include <memory>
#include <unistd.h>

class KernelTest : public ::testing::Test
{
protected:
    void SetUp() override { this->ks = std::make_unique<nKernelServer>(); }
    void TearDown() override { this->ks.reset(); }

    nRoot* NewRoot(const char* path) { return static_cast<nRoot*>(this->ks->New("nroot", path)); }

    std::unique_ptr<nKernelServer> ks;
};

#endif
