//------------------------------------------------------------------------------
//  nob0_fuzz.cc
//
//  Loads arbitrary bytes as a binary persistence file. Whatever happens,
//  the tree must look as it did before once the loaded object (if any) is
//  released again, and the current object must be back at the root.
//------------------------------------------------------------------------------
#include "persistfuzzkernel.h"

#include "kernel/nroot.h"

#include <cstdio>
#include <cstdlib>

namespace
{

/// the number of objects in a subtree, without the loaders the
/// persistence server makes on first use below itself
int CountObjects(nRoot* r)
{
    if (r == nKernelServer::Instance()->GetPersistServer()) return 1;
    int n = 1;
    for (nRoot* c = r->GetHead(); c; c = c->GetSucc()) n += CountObjects(c);
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PersistFuzzKernel& k = PersistFuzzKernel::Get();
    const int before = CountObjects(k.ks->GetRoot());
    const char* name = k.WriteInput(data, size);
    nObject* obj = k.ks->LoadAs(name, "/fuzzed");
    if (obj) obj->Release();
    if (CountObjects(k.ks->GetRoot()) != before)
    {
        fprintf(stderr, "the load left objects behind\n");
        abort();
    }
    if (k.ks->GetCwd() != k.ks->GetRoot())
    {
        fprintf(stderr, "the load moved the current object\n");
        abort();
    }
    return 0;
}
