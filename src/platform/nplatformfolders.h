#ifndef N_PLATFORMFOLDERS_H
#define N_PLATFORMFOLDERS_H
//------------------------------------------------------------------------------
/**
    @class nPlatformFolders
    @ingroup Platform

    The user's home and configuration and data directories (XDG_CONFIG_HOME, XDG_DATA_HOME).
    Paths are returned without a trailing slash.
*/
#include <string>

class nPlatformFolders
{
public:
    /// $HOME, else the password database's home directory; empty when neither exists
    static std::string Home();
    /// $XDG_CONFIG_HOME when it is an absolute path, else Home() + "/.config"; empty without a home
    static std::string ConfigHome();
    /// $XDG_DATA_HOME when it is an absolute path, else Home() + "/.local/share"; empty without a home
    static std::string DataHome();
    /// create a directory and its missing parents (mode 0700); true when it exists afterwards
    static bool MakeDirectories(const std::string& path);
};
#endif
