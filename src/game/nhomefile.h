#ifndef N_HOMEFILE_H
#define N_HOMEFILE_H
//------------------------------------------------------------------------------
/**
    @class nHomeFile
    @ingroup Game

    What the game asks of a file it keeps in the home directory (the
    players' progress, the preferences) before it trusts or replaces it:
    whether it can be read at all, how to put an unreadable one aside
    without losing it, and whether a save can take its name. The paths
    are the file server's ("home:players.n2").
*/
#include "util/nstring.h"

#include <cstdint>

class nHomeFile
{
public:
    /// no file the game writes comes near this; a larger one is not read
    static constexpr int64_t MaxSize = 1024 * 1024;

    /// what stands at a file's name
    enum Kind
    {
        Missing,     ///< nothing: a new file starts
        Loadable,    ///< a regular file of at most MaxSize bytes
        Unloadable,  ///< a larger file, a FIFO, a device: never opened to be read
        Directory,   ///< no file can take the name
    };

    /// what is at the path; nothing is opened that could make the caller wait
    static Kind Examine(const char* path);
    /**
        Renames the file to the aside name, so the next save cannot lose
        it; needs no disk space and never follows a link at the aside name.
        Results: true when renamed; false with the system's reason in why.
    */
    static bool SetAside(const char* path, const char* aside, nString& why);
    /// empty when a save can replace the file; otherwise the system's reason
    static nString WhyNotSavable(const char* path);
    /// the operating-system path of a file-server path, for the player to find
    static nString RealPath(const char* path);
};
#endif
