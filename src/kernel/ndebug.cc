//------------------------------------------------------------------------------
//  ndebug.cc
//
//  Assertions, fatal errors and the printf-style output functions. All of
//  them go to the kernel server's current log handler when there is one
//  (nLogHandler::Current), else to standard output. None of them takes the
//  kernel mutex.
//------------------------------------------------------------------------------
#include "kernel/ntypes.h"
#include "kernel/nloghandler.h"

#include <cstdio>
#include <cstdlib>

namespace
{

/// set while a fatal error is being reported on this thread
thread_local bool t_inError = false;

/*
 * CurrentHandler --
 *     The log handler output goes to, or null when there is no kernel
 *     server or it has no handler.
 */
nLogHandler* CurrentHandler()
{
    return nLogHandler::Current();
}

}  // namespace

void n_assertfail(const char* exp, const char* file, int line)
{
    n_error("*** QUELOR ASSERTION ***\nexpression: %s\nfile: %s\nline: %d\n", exp, file, line);
}

void n_assertfailmsg(const char* exp, const char* msg, const char* file, int line)
{
    n_error("*** QUELOR ASSERTION ***\nprogrammer says: %s\nexpression: %s\nfile: %s\nline: %d\n", msg, exp, file, line);
}

/*
 * n_error --
 *     Reports a fatal error through the current log handler and aborts.
 *     An error raised while an error is being reported (by the handler
 *     itself) goes straight to standard error, so the report cannot recurse.
 * Results: does not return.
 */
void n_error(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = t_inError ? nullptr : CurrentHandler();
    if (t_inError)
    {
        vfprintf(stderr, fmt, args);
        fflush(stderr);
    }
    else if (handler)
    {
        t_inError = true;
        handler->Error(fmt, args);
    }
    else
    {
        vprintf(fmt, args);
        fflush(stdout);
    }
    va_end(args);
    abort();
}

void n_printf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = CurrentHandler();
    if (handler) handler->Print(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}

void n_message(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = CurrentHandler();
    if (handler) handler->Message(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}

void n_dbgout(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    nLogHandler* handler = CurrentHandler();
    if (handler) handler->OutputDebug(fmt, args);
    else vprintf(fmt, args);
    va_end(args);
}
