//------------------------------------------------------------------------------
//  The test resource classes as a package.
//------------------------------------------------------------------------------
#include "testresource.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_MODULE(ntestresource, nTestResource, "nresource", nullptr)
N_IMPLEMENT_MODULE(nasynctestresource, nAsyncTestResource, "ntestresource", nullptr)
N_IMPLEMENT_MODULE(nuploadtestresource, nUploadTestResource, "nasynctestresource", nullptr)

void testresource_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ntestresource);
    N_ADD_MODULE(ks, nasynctestresource);
    N_ADD_MODULE(ks, nuploadtestresource);
}
