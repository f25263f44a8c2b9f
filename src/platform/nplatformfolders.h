#ifndef N_PLATFORMFOLDERS_H
#define N_PLATFORMFOLDERS_H
//------------------------------------------------------------------------------
/**
    @class nPlatformFolders
    @ingroup Platform

    The user's well-known folders: the home directory, the configuration
    directory (XDG_CONFIG_HOME) and the documents folder of the XDG user
    directories. Paths are returned without a trailing slash.
*/
#include <string>

class nPlatformFolders
{
public:
    /// $HOME, else the password database's home directory; empty when neither exists
    static std::string Home();
    /// $XDG_CONFIG_HOME when it is an absolute path, else Home() + "/.config"
    static std::string ConfigHome();
    /// the documents folder, created when missing; false when there is no home at all
    static bool Documents(std::string& path);
    /// the value of one entry (such as "XDG_DOCUMENTS_DIR") of a user-dirs.dirs text;
    /// false when the entry is missing or malformed
    static bool ParseUserDir(const std::string& text, const char* entry, const std::string& home, std::string& path);
    /// create a directory and its missing parents (mode 0700); true when it exists afterwards
    static bool MakeDirectories(const std::string& path);
};
#endif
