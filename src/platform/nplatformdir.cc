//------------------------------------------------------------------------------
//  nplatformdir.cc
//------------------------------------------------------------------------------
#include "platform/nplatformdir.h"

#include <algorithm>
#include <memory>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

/*
 * DirCloser --
 *     Closes a directory stream when the reading scope ends.
 */
struct DirCloser
{
    void operator()(DIR* d) const { ::closedir(d); }
};

/*
 * EntryIsDirectory --
 *     Results: true when the entry is a directory; links and file systems
 *     that report no type are asked through stat. Side effects: none.
 */
bool EntryIsDirectory(int dirFd, const struct dirent* ent)
{
    if (ent->d_type == DT_DIR) return true;
    if (ent->d_type != DT_UNKNOWN && ent->d_type != DT_LNK) return false;
    struct stat st;
    return ::fstatat(dirFd, ent->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

/*
 * Read --
 *     Reads every entry but "." and "..", then sorts them by name.
 * Results: false when the path is no readable directory (the previous
 *     entries are dropped either way). Side effects: none on disk.
 */
bool nPlatformDir::Read(const char* path)
{
    this->entries.clear();
    std::unique_ptr<DIR, DirCloser> dir(::opendir(path));
    if (!dir) return false;
    const int dirFd = ::dirfd(dir.get());
    while (const struct dirent* ent = ::readdir(dir.get()))
    {
        if (strcmp(ent->d_name, ".") == 0 || strcmp(ent->d_name, "..") == 0) continue;
        this->entries.push_back(Entry{ent->d_name, EntryIsDirectory(dirFd, ent)});
    }
    std::sort(this->entries.begin(), this->entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return true;
}

bool nPlatformDir::IsDirectory(const char* path)
{
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool nPlatformDir::Make(const char* path)
{
    return ::mkdir(path, 0777) == 0;
}

bool nPlatformDir::Remove(const char* path)
{
    return ::rmdir(path) == 0;
}
