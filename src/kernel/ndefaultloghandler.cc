//------------------------------------------------------------------------------
//  ndefaultloghandler.cc
//------------------------------------------------------------------------------
#include "kernel/ndefaultloghandler.h"

#include <cstdio>
#include <cstring>

/*
 * Output --
 *     Prints the formatted text to standard output, then keeps it in the
 *     ring. The argument list is consumed twice, so each use works on its
 *     own copy.
 */
void nDefaultLogHandler::Output(const char* msg, va_list args, bool flush)
{
    va_list printArgs;
    va_copy(printArgs, args);
    vprintf(msg, printArgs);
    va_end(printArgs);
    if (flush) fflush(stdout);

    va_list bufferArgs;
    va_copy(bufferArgs, args);
    this->PutLineBuffer(msg, bufferArgs);
    va_end(bufferArgs);
}

/*
 * FormatText --
 *     Formats into buf, cutting what does not fit. A format of 1024
 *     characters or more (a script's puts can produce one) is kept as it
 *     stands instead of stopping the program.
 */
void nDefaultLogHandler::FormatText(char* buf, size_t bufSize, const char* msg, va_list args)
{
    n_assert(msg);
    if (strlen(msg) < 1024)
    {
        vsnprintf(buf, bufSize, msg, args);
    }
    else
    {
        n_strncpyz(buf, msg, bufSize);
    }
}

/*
 * PutLineBuffer --
 *     Formats into a 2048-byte buffer (longer output is cut) and appends it
 *     to the ring.
 */
void nDefaultLogHandler::PutLineBuffer(const char* msg, va_list args)
{
    char buf[2048];
    FormatText(buf, sizeof(buf), msg, args);
    std::lock_guard<std::mutex> lock(this->lineMutex);
    this->lineBuffer.Put(buf);
}

void nDefaultLogHandler::Print(const char* msg, va_list args)
{
    this->Output(msg, args, false);
}

void nDefaultLogHandler::Message(const char* msg, va_list args)
{
    this->Output(msg, args, false);
}

void nDefaultLogHandler::Error(const char* msg, va_list args)
{
    this->Output(msg, args, true);
}

void nDefaultLogHandler::OutputDebug(const char* msg, va_list args)
{
    this->Output(msg, args, true);
}

nLineBuffer* nDefaultLogHandler::GetLineBuffer()
{
    return &this->lineBuffer;
}
