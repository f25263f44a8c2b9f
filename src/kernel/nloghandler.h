#ifndef N_LOGHANDLER_H
#define N_LOGHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nLogHandler
    @ingroup Kernel

    Where the kernel's output goes. The base class does nothing with the
    text; subclasses print, keep or show it.
*/
#include "kernel/ntypes.h"

class nLineBuffer;

class nLogHandler
{
public:
    nLogHandler() = default;
    virtual ~nLogHandler() = default;
    nLogHandler(const nLogHandler&) = delete;
    nLogHandler& operator=(const nLogHandler&) = delete;

    /// open the handler (asserts it is closed)
    virtual bool Open();
    /// close the handler (asserts it is open)
    virtual void Close();
    /// a log line
    virtual void Print(const char* msg, va_list args);
    /// a message for the user
    virtual void Message(const char* msg, va_list args);
    /// a fatal error, reported before the program stops
    virtual void Error(const char* msg, va_list args);
    /// debugger output
    virtual void OutputDebug(const char* msg, va_list args);
    /// the ring of recent lines, or 0
    virtual nLineBuffer* GetLineBuffer();

    bool IsOpen() const { return this->isOpen; }

    /// the handler the engine's output goes to (n_printf, n_error, ...),
    /// or 0 for standard output: what the lookup handed in finds
    static nLogHandler* Current();
    /// set how Current finds the handler; the kernel server hands in its
    /// own, since the kernel sits above the output functions
    static void SetCurrentLookup(nLogHandler* (*lookup)());

protected:
    bool isOpen = false;
};
#endif
