//------------------------------------------------------------------------------
//  persistfuzzkernel.cc
//------------------------------------------------------------------------------
#include "persistfuzzkernel.h"

#include "file/nfilepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

PersistFuzzKernel& PersistFuzzKernel::Get()
{
    static PersistFuzzKernel kernel;
    return kernel;
}

PersistFuzzKernel::PersistFuzzKernel()
{
    this->ks = new nKernelServer({nfile_package, nsignals_package, nscript_package});
    this->ks->SetLogHandler(&this->log);
    this->ks->New("ntclserver", "/sys/servers/script");
    this->ps = this->ks->GetPersistServer();
    // made on first use otherwise, which would look like a leftover object
    this->ps->GetLoader("nbinscriptserver");
    char dir[] = "/tmp/persistfuzzXXXXXX";
    if (!mkdtemp(dir)) abort();
    this->file = std::string(dir) + "/input.nob";
}

void PersistFuzzKernel::QuietLog::Error(const char* msg, va_list args)
{
    vfprintf(stderr, msg, args);
}

const char* PersistFuzzKernel::WriteInput(const uint8_t* data, size_t size)
{
    FILE* f = fopen(this->file.c_str(), "wb");
    if (!f) abort();
    if (size > 0 && fwrite(data, 1, size, f) != size) abort();
    fclose(f);
    return this->file.c_str();
}
