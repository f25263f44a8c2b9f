//------------------------------------------------------------------------------
//  Defaults for the sanitizers in every test program, so that a bare
//  `ctest` behaves as scripts/test does. The engine checks for failed
//  allocations itself, so the allocator must be allowed to return null.
//------------------------------------------------------------------------------
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:halt_on_error=1";
}

extern "C" const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}
