//------------------------------------------------------------------------------
//  Linked into every test program.
//
//  Sanitizer defaults, so that a bare `ctest` behaves as scripts/test does:
//  the engine checks for failed allocations itself, so the allocator must
//  be allowed to return null.
//
//  A home directory of the build's own: kernels make the user's documents
//  folder, preference and data files below $HOME, $XDG_CONFIG_HOME and
//  $XDG_DATA_HOME, and tests
//  must never touch the real user's.
//------------------------------------------------------------------------------
#include <cstdlib>
#include <string>
#include <sys/stat.h>

extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:halt_on_error=1";
}

extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

namespace
{

struct TestHome
{
    TestHome()
    {
        const std::string home = ENGINE_TEST_HOME;
        mkdir(home.c_str(), 0700);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    }
};

const TestHome testHome;

}  // namespace
