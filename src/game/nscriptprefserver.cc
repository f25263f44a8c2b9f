//------------------------------------------------------------------------------
//  nscriptprefserver.cc
//------------------------------------------------------------------------------
#include "game/nscriptprefserver.h"
#include "game/napp.h"
#include "game/nhomefile.h"
#include "kernel/nkernelserver.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"

namespace
{

/*
 * IsPrefName --
 *     Results: true when the key can name one object of the preference
 *     file: letters, digits, '-', '_' and '.', but not "." or "..". Other
 *     names would be taken as paths ("..", "a/b") or written into the
 *     file so that it no longer loads (blanks, Tcl's special characters).
 */
bool IsPrefName(const nString& key)
{
    if (key.IsEmpty() || (key == ".") || (key == "..")) return false;
    for (const char* c = key.Get(); *c; ++c)
    {
        const uchar u = (uchar)*c;
        if (!(((u >= 'a') && (u <= 'z')) || ((u >= 'A') && (u <= 'Z')) || ((u >= '0') && (u <= '9')) ||
              (u == '-') || (u == '_') || (u == '.')))
        {
            return false;
        }
    }
    return true;
}

}  // namespace

const char* const nScriptPrefServer::FileName = "home:prefs.n2";
const char* const nScriptPrefServer::BackupFileName = "home:prefs.n2.broken";

nScriptPrefServer::nScriptPrefServer()
{
}

nScriptPrefServer::~nScriptPrefServer()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * KeepBrokenFile --
 *     Renames the unreadable file beside itself before the next save
 *     replaces it, so a hand-edited file is never lost. When it cannot be
 *     put aside the preferences are not saved over it this run.
 */
void nScriptPrefServer::KeepBrokenFile()
{
    nString why;
    if (nHomeFile::SetAside(FileName, BackupFileName, why))
    {
        n_printf("nScriptPrefServer: '%s' could not be read; it is kept as '%s', preferences start empty.\n",
                 FileName, nHomeFile::RealPath(BackupFileName).Get());
        return;
    }
    this->maySave = false;
    n_printf("nScriptPrefServer: '%s' could not be read nor kept as '%s' (%s); preferences start empty and "
             "are not saved.\n",
             FileName, nHomeFile::RealPath(BackupFileName).Get(), why.Get());
}

/*
 * LoadPrefs --
 *     Runs "home:prefs.n2" with the script server's errors caught: a broken
 *     file must not stop the game at every start. A file larger than any
 *     the game writes, or no regular file, is not read at all.
 * Results: the loaded node, or 0 when there is no file or it is broken.
 * Side effects: a broken file is put aside (KeepBrokenFile).
 */
nRoot* nScriptPrefServer::LoadPrefs()
{
    const nHomeFile::Kind kind = nHomeFile::Examine(FileName);
    if (kind == nHomeFile::Missing || kind == nHomeFile::Directory) return nullptr;

    nObject* loaded = (kind == nHomeFile::Loadable) ? nApp::LoadData(FileName) : nullptr;

    if (loaded && !loaded->IsA("nroot"))
    {
        loaded->Release();
        loaded = nullptr;
    }
    if (!loaded)
    {
        this->KeepBrokenFile();
        return nullptr;
    }
    return static_cast<nRoot*>(loaded);
}

bool nScriptPrefServer::Open()
{
    if (!this->m_refPrefs.isvalid())
    {
        kernelServer->PushCwd(this);
        nRoot* prefs = this->Find("prefs");
        if (!prefs) prefs = this->LoadPrefs();
        if (!prefs) prefs = static_cast<nRoot*>(kernelServer->New("nroot", "prefs"));
        kernelServer->PopCwd();
        this->m_refPrefs.set(prefs);
    }
    if (!nPrefServer::Open()) return false;
    // every preference read and the save at Close go through it
    kernelServer->AddInUse(this->m_refPrefs.get());
    return true;
}

/*
 * Close --
 *     Saves the preferences. A save that fails (a read-only or full disk)
 *     is reported; the game goes on with what it has in memory. A second
 *     copy of the game on the same home saves nothing: the first one's
 *     file would be overwritten.
 */
void nScriptPrefServer::Close()
{
    n_assert(m_refPrefs.isvalid());
    kernelServer->RemInUse(this->m_refPrefs.get());
    if (nApp::HasInstance() && !nApp::Instance()->MaySaveHome())
    {
        n_printf("nScriptPrefServer: another copy of the game runs on this home; '%s' is not saved\n", FileName);
    }
    else if (!this->maySave)
    {
        n_printf("nScriptPrefServer: '%s' could not be kept aside; it is not saved over\n", FileName);
    }
    else if (!this->m_refPrefs->SaveAs(FileName))
    {
        n_printf("nScriptPrefServer: could not save '%s'!\n", FileName);
    }
    nPrefServer::Close();
}

void nScriptPrefServer::EnsureOpen()
{
    if (!this->IsOpen())
    {
        n_assert(Open());
    }
    n_assert(m_refPrefs.isvalid());
}

/*
 * FindChild --
 *     Results: the child of the preference node named key, or 0; a key
 *     that is no preference name names no child.
 */
nRoot* nScriptPrefServer::FindChild(const nString& key) const
{
    return IsPrefName(key) ? this->m_refPrefs->Find(key.Get()) : nullptr;
}

/*
 * FindValue --
 *     Results: the nenv holding the key's string, or 0. A child of that
 *     name holding something else (a hand-edited file) is reported when
 *     asked and counts as missing.
 */
nRoot* nScriptPrefServer::FindValue(const nString& key, bool report)
{
    nRoot* child = this->FindChild(key);
    if (!child) return nullptr;
    if (child->IsA("nenv") && static_cast<nEnv*>(child)->GetType() == nArg::String)
    {
        return child;
    }
    if (report)
    {
        n_printf("nScriptPrefServer: preference '%s' holds no text; it is ignored.\n", key.Get());
    }
    return nullptr;
}

bool nScriptPrefServer::KeyExists(const nString& key)
{
    this->EnsureOpen();
    return this->FindChild(key) != nullptr;
}

/*
 * WriteGeneric --
 *     Results: true when the value is stored; false, with a message, for
 *     a key that is no preference name (IsPrefName).
 *     Side effects: the key's nenv is made when missing; a child of that
 *     name holding something else is replaced.
 */
bool nScriptPrefServer::WriteGeneric(const nString& key, const nString& value)
{
    this->EnsureOpen();
    if (!IsPrefName(key))
    {
        n_printf("nScriptPrefServer: '%s' is no preference name (letters, digits, '-', '_', '.'), not written!\n",
                 key.Get());
        return false;
    }
    nRoot* env = this->FindValue(key, false);
    if (!env)
    {
        // a value of another kind is replaced by a text value
        nRoot* other = this->FindChild(key);
        if (other) other->Release();
        kernelServer->PushCwd(this->m_refPrefs.get());
        env = static_cast<nRoot*>(kernelServer->NewNoFail("nenv", key.Get()));
        kernelServer->PopCwd();
        if (!env) return false;
    }
    static_cast<nEnv*>(env)->SetS(value.Get());
    return true;
}

nString nScriptPrefServer::ReadGeneric(const nString& key)
{
    this->EnsureOpen();
    nRoot* env = this->FindValue(key, true);
    if (!env) return nString();
    const char* text = static_cast<nEnv*>(env)->GetS();
    return nString(text ? text : "");
}
