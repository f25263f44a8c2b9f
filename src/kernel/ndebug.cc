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
#include <unistd.h>

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

/*
 * ReportError --
 *     Hands a fatal error to the current log handler. An error raised
 *     while an error is being reported (by the handler itself) goes
 *     straight to standard error, so the report cannot recurse.
 */
void ReportError(const char* fmt, va_list args)
{
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
 * Results: does not return.
 */
void n_error(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    ReportError(fmt, args);
    va_end(args);
    abort();
}

/*
 * n_fatal --
 *     Reports a fault of outside data the program cannot run without (a
 *     script, a shader, the render path) as n_error does, then ends the
 *     process with exit code 1: the program did nothing wrong, so it
 *     leaves without a signal. Nothing else runs on the way out (no
 *     destructors or exit handlers of a program stopped mid-frame).
 * Results: does not return.
 */
void n_fatal(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    ReportError(fmt, args);
    va_end(args);
    fflush(stdout);
    fflush(stderr);
    _exit(1);
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
