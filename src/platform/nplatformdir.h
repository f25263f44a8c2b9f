#ifndef N_PLATFORMDIR_H
#define N_PLATFORMDIR_H
//------------------------------------------------------------------------------
/**
    @class nPlatformDir
    @ingroup Platform

    A snapshot of one directory's entries, sorted by name so that
    everything the engine loads or mounts in listing order comes out the
    same on every machine. "." and ".." are left out. Also holds the few
    directory operations the file server needs.
*/
#include <string>
#include <vector>

class nPlatformDir
{
public:
    struct Entry
    {
        std::string name;
        bool isDirectory;
    };

    nPlatformDir() = default;

    /// read the entries of a directory; false when it cannot be read
    bool Read(const char* path);
    /// the entries of the last successful Read, sorted by name
    const std::vector<Entry>& GetEntries() const { return this->entries; }

    //--- directory operations ----------------------------------------------------
    /// true when path names an existing directory (links followed)
    static bool IsDirectory(const char* path);
    /// create one directory level
    static bool Make(const char* path);
    /// remove an empty directory
    static bool Remove(const char* path);

private:
    std::vector<Entry> entries;
};
#endif
