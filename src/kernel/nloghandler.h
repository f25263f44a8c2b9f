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

protected:
    bool isOpen = false;
};
#endif
