//------------------------------------------------------------------------------
//  nplatformpaths.cc
//------------------------------------------------------------------------------
#include "platform/nplatformpaths.h"
#include "platform/nplatformdir.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace
{

/*
 * StripTrailingSlashes --
 *     Results: the path without trailing "/" (the root stays "/").
 */
std::string StripTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

/*
 * HomeDir --
 *     Results: $HOME, else the password database's home, else "".
 */
std::string HomeDir()
{
    const char* home = std::getenv("HOME");
    if (home && home[0]) return home;
    const struct passwd* pw = ::getpwuid(::getuid());
    return (pw && pw->pw_dir) ? pw->pw_dir : "";
}

/*
 * XdgDocumentsDir --
 *     Reads XDG_DOCUMENTS_DIR from the user-dirs file, expanding a
 *     leading $HOME. Results: the value, or "" when it is not set there.
 */
std::string XdgDocumentsDir(const std::string& home)
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = (configHome && configHome[0]) ? std::string(configHome) : home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line))
    {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        {
            value = value.substr(1, value.size() - 2);
        }
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        if (value.empty() || value[0] != '/') return "";
        return value;
    }
    return "";
}

}  // namespace

std::string nPlatformExecutablePath()
{
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return "";
    return std::string(buf, (size_t)n);
}

std::string nPlatformTempDir()
{
    const char* tmp = std::getenv("TMPDIR");
    return StripTrailingSlashes((tmp && tmp[0]) ? tmp : "/tmp");
}

/*
 * nPlatformUserDocumentsDir --
 *     The XDG documents directory, else $HOME/Documents; made when it is
 *     missing, as the program expects to write there.
 * Results: the directory, or "" when the user has no home.
 */
std::string nPlatformUserDocumentsDir()
{
    const std::string home = HomeDir();
    if (home.empty()) return "";
    std::string docs = XdgDocumentsDir(home);
    if (docs.empty()) docs = home + "/Documents";
    docs = StripTrailingSlashes(docs);
    if (!nPlatformDir::IsDirectory(docs.c_str()))
    {
        nPlatformDir::Make(docs.c_str());
    }
    return docs;
}
