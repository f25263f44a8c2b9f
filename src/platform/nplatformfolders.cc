//------------------------------------------------------------------------------
//  nplatformfolders.cc
//
//  The documents folder is read from the user-dirs.dirs file that
//  xdg-user-dirs maintains, the same file xdg-user-dir reads, without
//  running a shell over it.
//------------------------------------------------------------------------------
#include "platform/nplatformfolders.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

/// user-dirs.dirs is a few hundred bytes; anything far larger is not one
const std::streamsize MaxUserDirsSize = 64 * 1024;

/*
 * StripTrailingSlashes --
 *     Results: the path without trailing '/' characters, "/" kept as it is.
 */
std::string StripTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

/*
 * ReadUserDirsFile --
 *     Results: the text of user-dirs.dirs below the configuration
 *     directory; false when it cannot be read or is implausibly large.
 */
bool ReadUserDirsFile(std::string& text)
{
    std::ifstream in(nPlatformFolders::ConfigHome() + "/user-dirs.dirs", std::ios::binary);
    if (!in) return false;
    std::ostringstream buf;
    char chunk[4096];
    std::streamsize total = 0;
    while (in.read(chunk, sizeof(chunk)) || in.gcount() > 0)
    {
        total += in.gcount();
        if (total > MaxUserDirsSize) return false;
        buf.write(chunk, in.gcount());
    }
    if (in.bad()) return false;
    text = buf.str();
    return true;
}

/*
 * UnquoteValue --
 *     Takes the double-quoted value of a user-dirs line, resolving the
 *     shell escapes \" \\ \$ \`.
 * Results: false when the value is not one properly quoted word.
 */
bool UnquoteValue(const std::string& raw, std::string& value)
{
    if (raw.size() < 2 || raw.front() != '"') return false;
    value.clear();
    for (size_t i = 1; i < raw.size(); i++)
    {
        const char c = raw[i];
        if (c == '"')
        {
            // only trailing blanks may follow the closing quote
            return raw.find_first_not_of(" \t\r", i + 1) == std::string::npos;
        }
        if (c == '\\')
        {
            if (++i == raw.size()) return false;
            value += raw[i];
        }
        else
        {
            value += c;
        }
    }
    return false;
}

}  // namespace

/*
 * Home --
 *     Results: the home directory without a trailing slash; empty when
 *     neither $HOME nor the password database gives one.
 */
std::string nPlatformFolders::Home()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/') return StripTrailingSlashes(home);
    const struct passwd* pw = getpwuid(getuid());
    if (pw && pw->pw_dir && pw->pw_dir[0] == '/') return StripTrailingSlashes(pw->pw_dir);
    return std::string();
}

/*
 * ConfigHome --
 *     Results: $XDG_CONFIG_HOME when set to an absolute path (the XDG
 *     rules ignore relative ones), else Home() + "/.config".
 */
std::string nPlatformFolders::ConfigHome()
{
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return StripTrailingSlashes(config);
    return Home() + "/.config";
}

/*
 * ParseUserDir --
 *     Finds the line ENTRY="value" in a user-dirs.dirs text. The value is
 *     either "$HOME/..." (or "$HOME" alone) or an absolute path; the last
 *     line for the entry wins, as it would in the shell.
 * Results: true and the path without trailing slash when a well-formed
 *     line was found; false otherwise (path untouched).
 */
bool nPlatformFolders::ParseUserDir(const std::string& text, const char* entry, const std::string& home, std::string& path)
{
    const std::string prefix = std::string(entry) + "=";
    bool found = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, prefix.size(), prefix) != 0) continue;
        std::string value;
        if (!UnquoteValue(line.substr(start + prefix.size()), value)) continue;
        if (value == "$HOME" || value.compare(0, 6, "$HOME/") == 0)
        {
            value = home + value.substr(5);
        }
        else if (value.empty() || value[0] != '/')
        {
            continue;
        }
        path = StripTrailingSlashes(value);
        found = true;
    }
    return found;
}

/*
 * MakeDirectories --
 *     Side effects: creates each missing directory of the path with mode
 *     0700.
 * Results: true when the path is a directory afterwards.
 */
bool nPlatformFolders::MakeDirectories(const std::string& path)
{
    if (path.empty()) return false;
    for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1))
    {
        const std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (pos == std::string::npos) break;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

/*
 * Documents --
 *     The XDG documents folder, created when it is missing. A missing or
 *     malformed user-dirs.dirs, or a folder that cannot be created, falls
 *     back to the home directory, as xdg-user-dir does.
 * Results: false only when there is no home directory.
 */
bool nPlatformFolders::Documents(std::string& path)
{
    const std::string home = Home();
    if (home.empty()) return false;
    std::string text;
    std::string documents;
    if (ReadUserDirsFile(text) && ParseUserDir(text, "XDG_DOCUMENTS_DIR", home, documents) &&
        MakeDirectories(documents))
    {
        path = documents;
    }
    else
    {
        path = home;
    }
    return true;
}
