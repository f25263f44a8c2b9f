//------------------------------------------------------------------------------
//  nplatformfolders.cc
//------------------------------------------------------------------------------
#include "platform/nplatformfolders.h"

#include <cerrno>
#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

/*
 * StripTrailingSlashes --
 *     Results: the path without trailing '/' characters, "/" kept as it is.
 */
std::string StripTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
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
 * XdgHome --
 *     Results: the value of the environment variable when it is an
 *     absolute path (the XDG rules ignore relative ones), else Home() +
 *     fallback; empty when there is no home either.
 */
static std::string XdgHome(const char* variable, const char* fallback)
{
    const char* dir = getenv(variable);
    if (dir && dir[0] == '/') return StripTrailingSlashes(dir);
    const std::string home = nPlatformFolders::Home();
    return home.empty() ? home : home + fallback;
}

std::string nPlatformFolders::ConfigHome()
{
    return XdgHome("XDG_CONFIG_HOME", "/.config");
}

std::string nPlatformFolders::DataHome()
{
    return XdgHome("XDG_DATA_HOME", "/.local/share");
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
