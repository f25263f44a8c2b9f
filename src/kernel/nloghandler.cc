//------------------------------------------------------------------------------
//  nloghandler.cc
//------------------------------------------------------------------------------
#include "kernel/nloghandler.h"

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
