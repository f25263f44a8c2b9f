#ifndef FUZZ_PERSIST_PERSISTFUZZKERNEL_H
#define FUZZ_PERSIST_PERSISTFUZZKERNEL_H
//------------------------------------------------------------------------------
//  One kernel for the whole fuzzing run, with the file and script classes,
//  a quiet log, and a scratch directory the inputs are written into.
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/npersistserver.h"

#include <cstdint>
#include <string>

class PersistFuzzKernel
{
public:
    /// the kernel of this process, made on first use
    static PersistFuzzKernel& Get();

    /// writes the bytes to the scratch file; its engine path
    const char* WriteInput(const uint8_t* data, size_t size);

    nKernelServer* ks = nullptr;
    nPersistServer* ps = nullptr;

private:
    PersistFuzzKernel();

    /// drops every line but fatal errors: the fuzzer would drown in them
    class QuietLog : public nLogHandler
    {
    public:
        void Error(const char* msg, va_list args) override;
    };
    QuietLog log;
    std::string file;
};
#endif
