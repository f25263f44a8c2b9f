//------------------------------------------------------------------------------
//  nplatformregistry.cc
//------------------------------------------------------------------------------
#include "platform/nplatformregistry.h"
#include "platform/nplatformfolders.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

/// a preference store is small; a larger file is not one of ours
const size_t MaxStoreSize = 1024 * 1024;

/// closes its descriptor when it goes out of scope
class FileDescriptor
{
public:
    explicit FileDescriptor(int f) : fd(f) {}
    ~FileDescriptor()
    {
        if (this->fd >= 0) close(this->fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return this->fd; }
    /// close now; false when closing reported an error (a failed delayed write)
    bool Close()
    {
        const int f = this->fd;
        this->fd = -1;
        return close(f) == 0;
    }

private:
    int fd;
};

/*
 * ValidName --
 *     Results: true when a name can be one path component.
 */
bool ValidName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

/*
 * AppendEscaped --
 *     Appends text with backslash, newline and carriage return escaped,
 *     and '=' too when escapeEquals is set (keys).
 */
void AppendEscaped(std::string& out, const std::string& text, bool escapeEquals)
{
    for (const char c : text)
    {
        switch (c)
        {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '=':
            if (escapeEquals) out += '\\';
            out += '=';
            break;
        default: out += c; break;
        }
    }
}

/*
 * ParseLine --
 *     Splits one line (without its newline) into key and value, resolving
 *     escapes.
 * Results: false with a reason for a malformed line.
 */
bool ParseLine(const char* begin, const char* end, std::string& key, std::string& value, const char*& reason)
{
    std::string* out = &key;
    for (const char* p = begin; p < end; ++p)
    {
        if (*p == '\\')
        {
            if (++p == end)
            {
                reason = "backslash at the end of a line";
                return false;
            }
            switch (*p)
            {
            case '\\': *out += '\\'; break;
            case 'n': *out += '\n'; break;
            case 'r': *out += '\r'; break;
            case '=': *out += '='; break;
            default: reason = "unknown escape"; return false;
            }
        }
        else if (*p == '=' && out == &key)
        {
            out = &value;
        }
        else
        {
            *out += *p;
        }
    }
    if (out == &key)
    {
        reason = "no '=' in a line";
        return false;
    }
    if (key.empty())
    {
        reason = "empty name";
        return false;
    }
    return true;
}

/*
 * WriteAll --
 *     Results: true when every byte was written.
 */
bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size())
    {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += (size_t)n;
    }
    return true;
}

}  // namespace

/*
 * StorePath --
 *     Results: true and <config>/<company>/<application>.conf when both
 *     names can be path components; false otherwise or when the user has
 *     no configuration directory.
 */
bool nPlatformRegistry::StorePath(const std::string& company, const std::string& application, std::string& path)
{
    const std::string config = nPlatformFolders::ConfigHome();
    if (config.empty() || !ValidName(company) || !ValidName(application)) return false;
    path = config + "/" + company + "/" + application + ".conf";
    return true;
}

/*
 * Open --
 *     Creates the company's directory when missing and reads the store.
 *     A corrupt or unreadable file opens as an empty store and leaves the
 *     reason in GetProblem().
 * Results: false when a name is unusable or the directory cannot be made.
 */
bool nPlatformRegistry::Open(const std::string& company, const std::string& application)
{
    this->Close();
    std::string file;
    if (!StorePath(company, application, file)) return false;
    if (!nPlatformFolders::MakeDirectories(file.substr(0, file.rfind('/')))) return false;
    this->path = file;
    this->Load();
    this->isOpen = true;
    return true;
}

void nPlatformRegistry::Close()
{
    this->isOpen = false;
    this->values.clear();
    this->problem.clear();
    this->path.clear();
}

bool nPlatformRegistry::HasValue(const std::string& key) const
{
    return this->values.count(key) != 0;
}

bool nPlatformRegistry::GetValue(const std::string& key, std::string& value) const
{
    const Values::const_iterator it = this->values.find(key);
    if (it == this->values.end()) return false;
    value = it->second;
    return true;
}

/*
 * SetValue --
 *     Side effects: the value is set and the whole store written; when the
 *     write fails the earlier value (or its absence) is restored.
 * Results: true when the store was written.
 */
bool nPlatformRegistry::SetValue(const std::string& key, const std::string& value)
{
    if (!this->isOpen || key.empty() || key.find('\0') != std::string::npos || value.find('\0') != std::string::npos)
    {
        return false;
    }
    const Values saved = this->values;
    this->values[key] = value;
    if (this->Save()) return true;
    this->values = saved;
    return false;
}

std::string nPlatformRegistry::Format(const Values& values)
{
    std::string text;
    for (const Values::value_type& v : values)
    {
        AppendEscaped(text, v.first, true);
        text += '=';
        AppendEscaped(text, v.second, false);
        text += '\n';
    }
    return text;
}

/*
 * Parse --
 *     Reads a store text. The last line needs no newline; a carriage
 *     return before a newline (a file edited elsewhere) is dropped; the
 *     last of several lines with one name wins.
 * Results: true and the values; on corrupt text false, no values and a
 *     description of the first fault in problem.
 */
bool nPlatformRegistry::Parse(const char* data, size_t size, Values& values, std::string& problem)
{
    values.clear();
    if (memchr(data, '\0', size))
    {
        problem = "NUL byte in the file";
        return false;
    }
    const char* const end = data + size;
    int lineNumber = 0;
    for (const char* line = data; line < end;)
    {
        ++lineNumber;
        const char* eol = static_cast<const char*>(memchr(line, '\n', (size_t)(end - line)));
        if (!eol) eol = end;
        const char* lineEnd = (eol > line && eol[-1] == '\r') ? eol - 1 : eol;
        if (lineEnd > line)
        {
            std::string key;
            std::string value;
            const char* reason = nullptr;
            if (!ParseLine(line, lineEnd, key, value, reason))
            {
                values.clear();
                problem = "line " + std::to_string(lineNumber) + ": " + reason;
                return false;
            }
            values[key] = value;
        }
        line = eol + 1;
    }
    return true;
}

/*
 * Load --
 *     Side effects: fills values from the file; a missing file gives an
 *     empty store, any other failure an empty store with problem set.
 */
void nPlatformRegistry::Load()
{
    this->values.clear();
    this->problem.clear();
    FileDescriptor fd(open(this->path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
    {
        if (errno != ENOENT) this->problem = this->path + ": " + strerror(errno);
        return;
    }
    struct stat st;
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || (size_t)st.st_size > MaxStoreSize)
    {
        this->problem = this->path + ": not a preference file";
        return;
    }
    std::string text((size_t)st.st_size, '\0');
    size_t done = 0;
    while (done < text.size())
    {
        const ssize_t n = read(fd.Get(), &text[done], text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (size_t)n;
    }
    text.resize(done);
    std::string reason;
    if (!Parse(text.data(), text.size(), this->values, reason))
    {
        this->problem = this->path + ": " + reason;
    }
}

/*
 * Save --
 *     Writes all values to a temporary file beside the store, flushes it
 *     to the disk and renames it over the store.
 * Side effects: on failure the temporary file is removed and the old
 *     store is left as it was.
 * Results: true when the new store is in place.
 */
bool nPlatformRegistry::Save() const
{
    std::string tmpName = this->path + ".XXXXXX";
    FileDescriptor fd(mkostemp(&tmpName[0], O_CLOEXEC));
    if (fd.Get() < 0) return false;
    const bool written = WriteAll(fd.Get(), Format(this->values)) && fsync(fd.Get()) == 0 && fd.Close();
    if (!written || rename(tmpName.c_str(), this->path.c_str()) != 0)
    {
        unlink(tmpName.c_str());
        return false;
    }
    // make the rename itself durable
    FileDescriptor dir(open(this->path.substr(0, this->path.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) fsync(dir.Get());
    return true;
}
