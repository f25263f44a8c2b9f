//------------------------------------------------------------------------------
//  nplayerfile.cc
//------------------------------------------------------------------------------
#include "game/nplayerfile.h"
#include "game/napp.h"
#include "game/nhomefile.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"
#include "util/nstring.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const char* const nPlayerFile::FileName = "home:players.n2";
const char* const nPlayerFile::BrokenFileName = "home:players.n2.broken";
const char* const nPlayerFile::LibraryPlayer = "/usr/lib/objects/player";
const char* const nPlayerFile::PlayersPath = "/usr/players";

namespace
{
nEnv* AsEnv(nRoot* obj)
{
    return (obj && obj->IsA("nenv")) ? static_cast<nEnv*>(obj) : nullptr;
}

/*
 * Usable --
 *     Results: whether the saved value can stand for the library's: the
 *     same type and, for numbers, finite and not negative (not zero
 *     where the library's is above zero: a statistic of zero divides by
 *     zero), for an object one of the library's kind.
 */
bool Usable(nEnv* saved, nEnv* library)
{
    if (!saved || saved->GetType() != library->GetType()) return false;
    switch (library->GetType())
    {
        case nArg::Int: return saved->GetI() >= 0;
        case nArg::Float:
        {
            const float v = saved->GetF();
            return std::isfinite(v) && (library->GetF() > 0.0f ? v > 0.0f : v >= 0.0f);
        }
        case nArg::String: return saved->GetS() != nullptr;
        case nArg::Object:
        {
            // a model must be a scene node when the library's is one
            nObject* want = library->GetO();
            nObject* have = saved->GetO();
            return !want || (have && (!want->IsA("nscenenode") || have->IsA("nscenenode")));
        }
        case nArg::Float4:
        {
            const nFloat4& f = saved->GetF4();
            return std::isfinite(f.x) && std::isfinite(f.y) && std::isfinite(f.z) && std::isfinite(f.w);
        }
        default: return true;
    }
}

/// a new nenv of the name below the player holding the library's value
void CopyValue(nRoot* player, nEnv* library)
{
    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(player);
    nEnv* env = static_cast<nEnv*>(ks->New("nenv", library->GetName()));
    ks->PopCwd();
    if (!env) return;
    switch (library->GetType())
    {
        case nArg::Int: env->SetI(library->GetI()); break;
        case nArg::Float: env->SetF(library->GetF()); break;
        case nArg::Bool: env->SetB(library->GetB()); break;
        case nArg::String: env->SetS(library->GetS()); break;
        case nArg::Object: env->SetO(library->GetO()); break;
        case nArg::Float4: env->SetF4(library->GetF4()); break;
        default: break;
    }
}

/// the persistence server's saver is the class while the object lives
class SaverClass
{
public:
    SaverClass(nPersistServer* ps, const char* cl) : ps(ps), before(ps->GetSaverClass())
    {
        this->ok = ps->SetSaverClass(nString(cl));
    }
    // without a saver before (the script server gone at teardown) there is none to put back
    ~SaverClass()
    {
        if (!this->before.IsEmpty()) this->ps->SetSaverClass(this->before);
    }
    bool ok;

private:
    nPersistServer* ps;
    nString before;
};

}  // namespace

int nPlayerFile::Mend(nRoot* player, nRoot* library)
{
    if (!player || !library || player == library) return 0;
    int mended = 0;
    for (nRoot* child = library->GetHead(); child; child = child->GetSucc())
    {
        nEnv* want = AsEnv(child);
        if (!want) continue;
        nRoot* have = player->Find(want->GetName());
        if (Usable(AsEnv(have), want)) continue;
        n_printf("nPlayerFile: player '%s' has no usable '%s'; the value of '%s' is taken\n", player->GetName(),
                 want->GetName(), library->GetFullName().Get());
        if (have) have->Release();
        CopyValue(player, want);
        mended++;
    }
    return mended;
}

int nPlayerFile::MendAll()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* players = ks->Lookup(PlayersPath);
    nRoot* library = ks->Lookup(LibraryPlayer);
    if (!players || !library) return 0;
    int mended = 0;
    for (nRoot* p = players->GetHead(); p; p = p->GetSucc()) mended += Mend(p, library);
    return mended;
}

/*
 * KeepUnreadable --
 *     Results: whether the players' file may be replaced by a save: only
 *     when the unreadable file is safe under its aside name.
 *     Side effects: the file is renamed aside; notice says what happened.
 */
bool nPlayerFile::KeepUnreadable(nString& notice)
{
    const nString aside = nHomeFile::RealPath(BrokenFileName);
    nString why;
    const bool kept = nHomeFile::SetAside(FileName, BrokenFileName, why);
    if (kept)
    {
        notice = "The saved progress could not be read; it is kept as ";
        notice.Append(aside);
        notice.Append(" and a new player starts.");
    }
    else
    {
        notice = "The saved progress could not be read, and was not kept as ";
        notice.Append(aside);
        notice.Append(": ");
        notice.Append(why);
        notice.Append(". Progress is not saved.");
    }
    n_printf("The saved progress %s could not be read. %s\n", nHomeFile::RealPath(FileName).Get(), notice.Get());
    return kept;
}

/*
 * LoadFile --
 *     Results: the players from a file that may be read, or 0 when it
 *     makes none (a text file runs as a script: its errors are the file's,
 *     not the game's).
 */
nRoot* nPlayerFile::LoadFile()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* usr = ks->Lookup("/usr");
    if (!usr) usr = static_cast<nRoot*>(ks->New("nroot", "/usr"));
    ks->PushCwd(usr);
    nObject* loaded = nApp::LoadData(FileName, "players");
    ks->PopCwd();
    if (loaded && !loaded->IsA("nroot"))
    {
        loaded->Release();
        loaded = nullptr;
    }
    return static_cast<nRoot*>(loaded);
}

nRoot* nPlayerFile::Load(nString& notice, bool& maySave)
{
    nKernelServer* ks = nKernelServer::Instance();
    if (nRoot* old = ks->Lookup(PlayersPath)) old->Release();
    maySave = true;
    nRoot* loaded = nullptr;
    const nHomeFile::Kind kind = nHomeFile::Examine(FileName);
    if (kind == nHomeFile::Loadable) loaded = LoadFile();
    if (!loaded && (kind == nHomeFile::Loadable || kind == nHomeFile::Unloadable)) maySave = KeepUnreadable(notice);
    if (maySave) maySave = CheckSavable(notice);
    return loaded;
}

/*
 * CheckSavable --
 *     Results: true when a save can replace the players' file.
 *     Side effects: otherwise notice says why, after what it held.
 */
bool nPlayerFile::CheckSavable(nString& notice)
{
    const nString why = nHomeFile::WhyNotSavable(FileName);
    if (why.IsEmpty()) return true;
    if (!notice.IsEmpty()) notice.Append(" ");
    notice.Append("Progress cannot be saved: ");
    notice.Append(nHomeFile::RealPath(FileName));
    notice.Append(": ");
    notice.Append(why);
    n_printf("nPlayerFile: %s\n", notice.Get());
    return false;
}

bool nPlayerFile::Save()
{
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* players = ks->Lookup(PlayersPath);
    if (!players) return true;
    nRoot* psObj = ks->Lookup("/sys/servers/persist");
    if (!psObj || !psObj->IsA("npersistserver"))
    {
        n_printf("nPlayerFile: no persistence server; the players are not saved\n");
        return false;
    }
    SaverClass binary(static_cast<nPersistServer*>(psObj), "nbinscriptserver");
    if (!binary.ok)
    {
        n_printf("nPlayerFile: no binary saver; the players are not saved\n");
        return false;
    }
    // the persistence server writes a temporary file and renames it over the old one
    if (!players->SaveAs(FileName))
    {
        n_printf("nPlayerFile: the players could not be saved; '%s' is left as it was\n", FileName);
        return false;
    }
    return true;
}
