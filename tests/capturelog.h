#ifndef TESTS_CAPTURELOG_H
#define TESTS_CAPTURELOG_H
//------------------------------------------------------------------------------
//  A log handler for tests: keeps every printed line in 'text' (or only
//  its tail, when 'keep' is set); fatal errors go to standard error, where
//  death tests look for them.
//------------------------------------------------------------------------------
#include "kernel/nlinebuffer.h"
#include "kernel/nloghandler.h"

#include <cstdio>
#include <string>

class CaptureLog : public nLogHandler
{
public:
    void Print(const char* msg, va_list args) override { this->Append(msg, args); }
    /// a message: a box that stops the player on a desktop; counted
    void Message(const char* msg, va_list args) override
    {
        this->messages++;
        this->Append(msg, args);
    }
    void Error(const char* msg, va_list args) override { vfprintf(stderr, msg, args); }

    std::string text;
    /// how many of the lines came as messages
    int messages = 0;
    /// when not 0, text keeps about this many of the latest characters
    size_t keep = 0;

private:
    void Append(const char* msg, va_list args)
    {
        char buf[4096];
        vsnprintf(buf, sizeof(buf), msg, args);
        this->text += buf;
        if (this->keep > 0 && this->text.size() > 2 * this->keep) this->text.erase(0, this->text.size() - this->keep);
    }
};
/// a capturing log that also fills a line buffer, as the game's window log does
/// (the console and the command entry show the lines of that buffer)
class LineCaptureLog : public CaptureLog
{
public:
    void Print(const char* msg, va_list args) override
    {
        va_list copy;
        va_copy(copy, args);
        char buf[4096];
        vsnprintf(buf, sizeof(buf), msg, copy);
        va_end(copy);
        this->lines.Put(buf);
        CaptureLog::Print(msg, args);
    }
    nLineBuffer* GetLineBuffer() override { return &this->lines; }
    nLineBuffer lines;
};
#endif
