#ifndef TESTS_KERNEL_KERNELFIXTURE_H
#define TESTS_KERNEL_KERNELFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel server per test.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

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

/// matches the fatal assertion text for an expression
#define ASSERTION_TEXT(expr) "QUELOR ASSERTION.*\nexpression: " expr

/// Fatal errors are written to standard output; death tests read standard
/// error, so the dying statement routes the one into the other first.
#define EXPECT_FATAL(statement, regex) \
    EXPECT_DEATH({ fflush(stdout); dup2(STDERR_FILENO, STDOUT_FILENO); statement; }, regex)
#endif
