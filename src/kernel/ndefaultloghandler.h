#ifndef N_DEFAULTLOGHANDLER_H
#define N_DEFAULTLOGHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nDefaultLogHandler
    @ingroup Kernel

    Writes output to standard output and keeps the recent lines in a ring
    for the console.
*/
#include "kernel/nloghandler.h"
#include "kernel/nlinebuffer.h"

#include <mutex>

class nDefaultLogHandler : public nLogHandler
{
public:
    nDefaultLogHandler() = default;

    void Print(const char* msg, va_list args) override;
    void Message(const char* msg, va_list args) override;
    void Error(const char* msg, va_list args) override;
    void OutputDebug(const char* msg, va_list args) override;
    nLineBuffer* GetLineBuffer() override;

protected:
    /// format into buf (cut to fit); a format of 1024 characters or more is taken as it stands
    static void FormatText(char* buf, size_t bufSize, const char* msg, va_list args);
    /// format and put the text into the ring
    void PutLineBuffer(const char* msg, va_list args);

private:
    /// print to stdout and keep the text in the ring
    void Output(const char* msg, va_list args, bool flush);

    nLineBuffer lineBuffer;
    /// several threads may log at once; the ring itself has no lock
    std::mutex lineMutex;
};
#endif
