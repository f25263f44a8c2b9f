#ifndef N_PLAYERFILE_H
#define N_PLAYERFILE_H
//------------------------------------------------------------------------------
/**
    @class nPlayerFile
    @ingroup Game

    The players' progression as a file from outside: loading
    "home:players.n2" with an unreadable file renamed aside, mending a
    player whose values are missing, of the wrong type or out of range
    from the library's player prototype, and writing the players through
    a temporary file renamed over the old one, so that a crash, a kill
    or a power loss while saving never leaves half a file.
*/
class nRoot;
class nString;

class nPlayerFile
{
public:
    /// the players' file
    static const char* const FileName;
    /// where an unreadable players' file is kept
    static const char* const BrokenFileName;
    /// where the players live while the game runs
    static const char* const PlayersPath;
    /// the library's player prototype every saved player is mended from
    static const char* const LibraryPlayer;

    /**
        Loads the file as "/usr/players". Results: the node, or 0 when
        there is no file or it cannot be read; maySave is false when a
        save must not or cannot replace the file. Side effects: an existing
        "/usr/players" goes first; a file that cannot be read (or is larger
        than any the game writes) is renamed to BrokenFileName; notice says
        so, or why progress cannot be saved (it is left empty otherwise).
    */
    static nRoot* Load(nString& notice, bool& maySave);

    /**
        Saves "/usr/players" in the binary format to a temporary file that
        then replaces the players' file. Results: true when written (or
        when there are no players); false, reported, when not, and the old
        file is left as it was.
    */
    static bool Save();

    /**
        Mends one saved player from the library's prototype: every value
        the library's player holds that the saved one lacks, holds in
        another type or holds out of its range (a float that is not finite
        or below zero, a statistic of zero, a negative count, a model that
        is no scene node) becomes a copy of the library's value.
        Results: the number of values mended, each reported.
    */
    static int Mend(nRoot* player, nRoot* library);

    /// every child of "/usr/players" mended from the library's player, when both exist
    static int MendAll();

    /// true when a save can replace the file; else notice gets why
    static bool CheckSavable(nString& notice);

private:
    /// the players of a file that may be read, or 0
    static nRoot* LoadFile();
    /// renames an unreadable file aside; true when a save may replace it now
    static bool KeepUnreadable(nString& notice);
};
#endif
