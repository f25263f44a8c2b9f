//------------------------------------------------------------------------------
//  nloghandler.cc
//------------------------------------------------------------------------------
#include "kernel/nloghandler.h"

#include <atomic>

namespace
{

/// how Current finds the handler; none before the first kernel server
std::atomic<nLogHandler* (*)()> g_currentLookup{nullptr};

}  // namespace

bool nLogHandler::Open()
{
    n_assert(!this->isOpen);
    this->isOpen = true;
    return true;
}

void nLogHandler::Close()
{
    n_assert(this->isOpen);
    this->isOpen = false;
}

void nLogHandler::Print(const char*, va_list) {}
void nLogHandler::Message(const char*, va_list) {}
void nLogHandler::Error(const char*, va_list) {}
void nLogHandler::OutputDebug(const char*, va_list) {}

nLineBuffer* nLogHandler::GetLineBuffer()
{
    return nullptr;
}

nLogHandler* nLogHandler::Current()
{
    nLogHandler* (*lookup)() = g_currentLookup.load();
    return lookup ? lookup() : nullptr;
}

void nLogHandler::SetCurrentLookup(nLogHandler* (*lookup)())
{
    g_currentLookup.store(lookup);
}
