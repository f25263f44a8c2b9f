#ifndef N_SCRIPTPREFSERVER_H
#define N_SCRIPTPREFSERVER_H
//------------------------------------------------------------------------------
/**
    @class nScriptPrefServer
    @ingroup Game

    The game's preference store: every preference is a string nenv below
    a node "prefs", and the node is saved as the persistence script
    "home:prefs.n2" when the server closes. The launcher and the game
    share their settings through that file.
*/
#include "misc/nprefserver.h"
#include "kernel/nref.h"

class nScriptPrefServer : public nPrefServer
{
public:
    nScriptPrefServer();

    /// load "home:prefs.n2" (or start empty), then open
    bool Open() override;
    /// save "home:prefs.n2", then close
    void Close() override;
    /// true when a value of that name exists
    bool KeyExists(const nString& key) override;
    /// store a value, making its nenv when missing
    bool WriteGeneric(const nString& key, const nString& value) override;
    /// the stored value, empty when there is none
    nString ReadGeneric(const nString& key) override;

    /// where the preferences are kept
    static const char* const FileName;
    /// where a preference file that could not be read is put aside
    static const char* const BackupFileName;

protected:
    ~nScriptPrefServer() override;

private:
    /// open on first use; asserts that it worked
    void EnsureOpen();
    /// the node "prefs" from the file, or 0 when there is none or it is broken
    nRoot* LoadPrefs();
    /// put a broken preference file aside so the next save does not lose it
    void KeepBrokenFile();
    /// the child named by a key, or 0 (also for a key that names no child)
    nRoot* FindChild(const nString& key) const;
    /// the nenv of a key holding a string, or 0
    nRoot* FindValue(const nString& key, bool report);

    nRef<nRoot> m_refPrefs;
    /// false when an unreadable file could not be put aside: it must not be saved over
    bool maySave = true;
};
#endif
