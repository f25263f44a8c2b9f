#ifndef TESTS_TOOLS_CHILDREPORT_H
#define TESTS_TOOLS_CHILDREPORT_H
//------------------------------------------------------------------------------
//  Stand-in programs for the launcher tests: small shell scripts, and a
//  FIFO through which a child that is not waited for reports what it got.
//------------------------------------------------------------------------------
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

/// writes an executable shell script
inline void WriteScript(const std::string& path, const std::string& body)
{
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
}

/// a FIFO a detached child writes one line into; Read waits for it, at most 20 s
class ChildReport
{
public:
    explicit ChildReport(const std::string& p) : path(p)
    {
        EXPECT_EQ(mkfifo(p.c_str(), 0600), 0);
        // read-write, so the open does not wait for a writer and no end of file comes early
        this->fd = open(p.c_str(), O_RDWR | O_NONBLOCK);
    }
    ~ChildReport() { close(this->fd); }
    ChildReport(const ChildReport&) = delete;
    ChildReport& operator=(const ChildReport&) = delete;

    /// the next line, or what came with "<no report>" when none arrives
    std::string Read()
    {
        std::string text;
        while (text.empty() || text.back() != '\n')
        {
            pollfd p = {this->fd, POLLIN, 0};
            if (poll(&p, 1, 20000) <= 0) return text + "<no report>";
            char buf[512];
            const ssize_t n = read(this->fd, buf, sizeof(buf));
            if (n > 0) text.append(buf, (size_t)n);
        }
        return text;
    }

    const std::string path;

private:
    int fd = -1;
};
#endif
