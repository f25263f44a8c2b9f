//------------------------------------------------------------------------------
//  ntclcmds.cc
//
//  The engine's Tcl commands. Script-level failures leave a message in the
//  interpreter's result and return TCL_ERROR; the Tcl server decides
//  whether that stops the program. Results are always set on fresh
//  objects: the interpreter's own result object may be shared.
//------------------------------------------------------------------------------
#include "script/ntclcmds.h"
#include "script/ntclargs.h"
#include "script/ntclserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"
#include "kernel/nroot.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nsignal.h"
#include "signals/nsignalserver.h"

#include <tcl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace
{

/// a target word split into object path and member name
struct TargetWord
{
    char buf[N_MAXPATH];
    /// the object path, 0 when the word names none
    const char* objPath = nullptr;
    /// the command or signal name, 0 when the word names none
    const char* member = nullptr;
    /// whether a splitting dot was found
    bool hasDot = false;
};

/*
 * SplitTargetWord --
 *     Splits "path.member" at the first dot that is not followed by '.' or
 *     '/', so that "./" and "../" inside paths do not split. Words longer
 *     than the buffer are cut.
 * Results: the parts in 'tw'.
 * Side effects: none.
 */
void SplitTargetWord(const char* word, TargetWord& tw)
{
    // copies only the word, not the padding strncpy would write
    const size_t len = strnlen(word, sizeof(tw.buf) - 1);
    memcpy(tw.buf, word, len);
    tw.buf[len] = 0;
    char* dot = strchr(tw.buf, '.');
    while (dot && (dot[1] == '.' || dot[1] == '/'))
    {
        dot = strchr(dot + 1, '.');
    }
    if (dot)
    {
        *dot = 0;
        tw.hasDot = true;
        tw.objPath = tw.buf[0] ? tw.buf : nullptr;
        tw.member = dot + 1;
    }
    else
    {
        tw.member = tw.buf;
    }
    if (tw.member && tw.member[0] == 0)
    {
        tw.member = nullptr;
    }
}

/*
 * SetResult --
 *     Results: none.
 *     Side effects: the text becomes the interpreter's result.
 */
void SetResult(Tcl_Interp* interp, const char* text)
{
    Tcl_SetObjResult(interp, Tcl_NewStringObj(text, -1));
}

/*
 * SyntaxError --
 *     Results: TCL_ERROR.
 *     Side effects: the syntax text becomes the result.
 */
int SyntaxError(Tcl_Interp* interp, const char* syntax)
{
    SetResult(interp, syntax);
    return TCL_ERROR;
}

/*
 * ObjectMissing --
 *     Results: TCL_ERROR.
 *     Side effects: "Object '<path>' does not exist." becomes the result.
 */
int ObjectMissing(Tcl_Interp* interp, const char* path)
{
    char buf[N_MAXPATH];
    snprintf(buf, sizeof(buf), "Object '%s' does not exist.", path);
    SetResult(interp, buf);
    return TCL_ERROR;
}

/*
 * ReportError --
 *     Formats an error about an object and a member: the object part is the
 *     object's full path for a tree object, else the word "nObject".
 * Results: TCL_ERROR.
 * Side effects: the text becomes the result and is logged as "*** text".
 */
int ReportError(Tcl_Interp* interp, const char* fmt, nObject* obj, const char* member)
{
    const nString name = nTclObjectName(obj);
    char buf[1024];
    snprintf(buf, sizeof(buf), fmt, name.Get(), member);
    SetResult(interp, buf);
    n_printf("*** %s\n", buf);
    return TCL_ERROR;
}

/*
 * FindTarget --
 *     The object a split word addresses: its path's object; without a
 *     path the persistence loader's current target object, else the
 *     kernel's current object.
 * Results: the object or 0.
 * Side effects: none.
 */
nObject* FindTarget(const TargetWord& tw)
{
    nKernelServer* ks = nKernelServer::Instance();
    if (tw.objPath) return ks->Lookup(tw.objPath);
    nObject* target = nPersistServer::GetCurrentTargetObject();
    return target ? target : ks->GetCwd();
}

/*
 * SplitAndFind --
 *     Splits a target word and finds its object and member name.
 * Results: TCL_OK with the object in 'target', or TCL_ERROR with the
 *     result set ("Object '%s' does not exist." or "No command.").
 * Side effects: none beyond the result.
 */
int SplitAndFind(Tcl_Interp* interp, Tcl_Obj* word, TargetWord& tw, nObject*& target)
{
    SplitTargetWord(Tcl_GetString(word), tw);
    target = FindTarget(tw);
    if (!target) return ObjectMissing(interp, tw.objPath);
    if (!tw.member)
    {
        SetResult(interp, "No command.");
        return TCL_ERROR;
    }
    return TCL_OK;
}

/*
 * RunCmd --
 *     Converts the argument words, dispatches the command on the object
 *     and converts its outputs into the result. The command goes back to
 *     its prototype in every case.
 * Results: TCL_OK, or TCL_ERROR with "Broken input args, ..." reported,
 *     or with the handler's message when it refused an argument.
 * Side effects: whatever the command does.
 */
int RunCmd(Tcl_Interp* interp, nObject* target, nCmdProto* proto, const char* brokenFmt, const char* member,
           int objc, Tcl_Obj* const objv[])
{
    nCmd* cmd = proto->NewCmd();
    n_assert(cmd);
    int code = TCL_OK;
    if (nTclGetInArgs(interp, cmd, objc, objv))
    {
        target->Dispatch(cmd);
        if (cmd->HasError())
        {
            // the handler refused a bad argument: a script error, not a crash
            Tcl_SetObjResult(interp, Tcl_NewStringObj(cmd->GetError(), -1));
            code = TCL_ERROR;
        }
        else
        {
            nTclPutOutArgs(interp, cmd);
        }
    }
    else
    {
        code = ReportError(interp, brokenFmt, target, member);
    }
    proto->RelCmd(cmd);
    return code;
}

nTclServer* Server(ClientData clientData)
{
    return static_cast<nTclServer*>(clientData);
}

//--- the commands -------------------------------------------------------------

/*
 * PutsCmd --
 *     puts ?words? text: prints the last word through the kernel's log,
 *     with a line end unless a word before it is "-nonewline".
 * Results: TCL_OK; the printed word as the result.
 * Side effects: output.
 */
int PutsCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2) return TCL_OK;
    bool newline = true;
    for (int i = 1; i < objc - 1; i++)
    {
        if (strcmp(Tcl_GetString(objv[i]), "-nonewline") == 0) newline = false;
    }
    nKernelServer::Instance()->Print(newline ? "%s\n" : "%s", Tcl_GetString(objv[objc - 1]));
    Tcl_SetObjResult(interp, objv[objc - 1]);
    return TCL_OK;
}

//--- words kept as commands ---------------------------------------------------

// Tcl reaches an engine command ("/path.setf", ".setf") through unknown only
// after failing to find it, which costs more than the command itself. A
// word that ran a command that way becomes a Tcl command of its own, split
// once and with its prototype kept for its last class, so the next call
// goes straight to the object. It finds its object anew on every call, so
// it behaves exactly as unknown would; at most MaxCachedWords words are
// kept per interpreter (scripts may make any number of paths).

const char* const WordCacheKey = "engine-word-commands";
const size_t MaxCachedWords = 1024;

struct WordCache;

/// one word kept as a Tcl command
struct CachedWord
{
    TargetWord tw;
    WordCache* cache = nullptr;
    Tcl_Command token = nullptr;
    /// the prototype of the class the word last ran on
    nClass* lastClass = nullptr;
    nCmdProto* lastProto = nullptr;
    /// the object the path named, while the tree (and, for a relative
    /// path, the current object) stays as it was then
    nRoot* pathTarget = nullptr;
    unsigned pathGeneration = 0;
    nRoot* pathCwd = nullptr;
    bool pathValid = false;
};

/*
 * FindWordTarget --
 *     The object a kept word addresses, as FindTarget finds it, looking its
 *     path up again only when the tree or the current object has changed.
 * Results: the object or 0.
 * Side effects: the found object is kept in the word.
 */
nObject* FindWordTarget(CachedWord* word)
{
    if (!word->tw.objPath) return FindTarget(word->tw);
    nKernelServer* ks = nKernelServer::Instance();
    const unsigned generation = ks->GetTreeGeneration();
    nRoot* cwd = (word->tw.objPath[0] == '/') ? nullptr : ks->GetCwd();
    if (!word->pathValid || word->pathGeneration != generation || word->pathCwd != cwd)
    {
        word->pathTarget = ks->Lookup(word->tw.objPath);
        word->pathGeneration = generation;
        word->pathCwd = cwd;
        word->pathValid = true;
    }
    return word->pathTarget;
}

/// the words of one interpreter; lives until both the interpreter's
/// association and the last word are gone
struct WordCache
{
    std::unordered_set<CachedWord*> words;
    bool attached = true;

    void ReleaseIfUnused()
    {
        if (!this->attached && this->words.empty()) delete this;
    }
};

void DetachWordCache(ClientData clientData, Tcl_Interp*)
{
    WordCache* cache = static_cast<WordCache*>(clientData);
    cache->attached = false;
    cache->ReleaseIfUnused();
}

void DeleteCachedWord(ClientData clientData)
{
    CachedWord* word = static_cast<CachedWord*>(clientData);
    word->cache->words.erase(word);
    word->cache->ReleaseIfUnused();
    delete word;
}

WordCache* GetWordCache(Tcl_Interp* interp)
{
    WordCache* cache = static_cast<WordCache*>(Tcl_GetAssocData(interp, WordCacheKey, nullptr));
    if (!cache)
    {
        cache = new WordCache;
        Tcl_SetAssocData(interp, WordCacheKey, DetachWordCache, cache);
    }
    return cache;
}

/*
 * RunMember --
 *     Runs the member of a split word on its object with the argument
 *     words, as unknown does; 'proto' is the member's prototype or 0.
 * Results: TCL_OK or TCL_ERROR with the command's or the lookup's message.
 * Side effects: whatever the command does.
 */
int RunMember(Tcl_Interp* interp, const TargetWord& tw, Tcl_Obj* word, nObject* target, nCmdProto* proto,
              int objc, Tcl_Obj* const objv[])
{
    if (!proto)
    {
        if (tw.hasDot)
        {
            return ReportError(interp, "Object '%s' doesn't accept command '%s'", target, tw.member);
        }
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("unknown command '%s'", Tcl_GetString(word)));
        return TCL_ERROR;
    }
    return RunCmd(interp, target, proto, "Broken input args, object '%s', command '%s'", tw.member, objc, objv);
}

/*
 * CachedWordCmd --
 *     A word kept as a command: "path.command args" or ".command args".
 * Results: as UnknownCmd.
 * Side effects: whatever the command does.
 */
int CachedWordCmd(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    CachedWord* word = static_cast<CachedWord*>(clientData);
    nObject* target = FindWordTarget(word);
    if (!target) return ObjectMissing(interp, word->tw.objPath);
    nClass* cl = target->GetClass();
    if (cl != word->lastClass)
    {
        word->lastClass = cl;
        word->lastProto = cl->FindCmdByName(word->tw.member);
    }
    return RunMember(interp, word->tw, objv[0], target, word->lastProto, objc - 1, objv + 1);
}

/*
 * KeepWord --
 *     Makes a word that just ran an engine command through unknown a
 *     global Tcl command of its own. Only "path.command" and ".command"
 *     words are kept, none with a namespace separator, and no more than
 *     MaxCachedWords.
 * Side effects: a new command in the interpreter.
 */
void KeepWord(Tcl_Interp* interp, const char* text)
{
    if (strstr(text, "::") || strlen(text) >= N_MAXPATH - 1) return;
    WordCache* cache = GetWordCache(interp);
    if (cache->words.size() >= MaxCachedWords) return;
    CachedWord* word = new CachedWord;
    SplitTargetWord(text, word->tw);
    if (!word->tw.hasDot || !word->tw.member)
    {
        delete word;
        return;
    }
    word->cache = cache;
    cache->words.insert(word);
    const std::string name = std::string("::") + text;
    word->token = Tcl_CreateObjCommand(interp, name.c_str(), CachedWordCmd, word, DeleteCachedWord);
}

/*
 * ForgetWords --
 *     Side effects: every kept word's command is gone from the interpreter.
 */
void ForgetWords(Tcl_Interp* interp)
{
    WordCache* cache = static_cast<WordCache*>(Tcl_GetAssocData(interp, WordCacheKey, nullptr));
    if (!cache) return;
    const std::vector<CachedWord*> words(cache->words.begin(), cache->words.end());
    for (CachedWord* word : words)
    {
        Tcl_DeleteCommandFromToken(interp, word->token);
    }
    Tcl_DeleteAssocData(interp, WordCacheKey);
}

/*
 * UnknownCmd --
 *     Tcl calls it for every word that is no Tcl command: "path.command
 *     args" and ".command args" run a script command of an object (the
 *     current object for ".command" and for a bare command name).
 * Results: TCL_OK with the command's outputs as the result, or TCL_ERROR.
 * Side effects: whatever the command does.
 */
int UnknownCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2) return SyntaxError(interp, "Syntax is 'unknown word ?args?'");
    TargetWord tw;
    nObject* target = nullptr;
    if (SplitAndFind(interp, objv[1], tw, target) != TCL_OK) return TCL_ERROR;

    nCmdProto* proto = target->GetClass()->FindCmdByName(tw.member);
    const int code = RunMember(interp, tw, objv[1], target, proto, objc - 2, objv + 2);
    // kept only once it ran: a word that names nothing stays unknown, and
    // one whose command deleted the interpreter's server is not touched
    if (proto && code == TCL_OK && !Tcl_InterpDeleted(interp))
    {
        KeepWord(interp, Tcl_GetString(objv[1]));
    }
    return code;
}

/*
 * InsideNonTreeLoad --
 *     A non-tree object has no children, and its file runs with the
 *     caller's current object: whatever it made or selected there would
 *     outlive a failed load, so it may do neither (as in binary files).
 * Results: true, with the message as the result, while such a file runs.
 * Side effects: none.
 */
bool InsideNonTreeLoad(Tcl_Interp* interp)
{
    if (!nPersistServer::GetCurrentTargetObject()) return false;
    Tcl_SetObjResult(interp, Tcl_NewStringObj("A non-tree object's file can't make or select tree objects.", -1));
    return true;
}

/*
 * NewCmd --
 *     new class path: creates the object, and nroot objects for missing
 *     path components.
 * Results: TCL_OK with the full path, or TCL_ERROR with an empty result
 *     when the kernel could not create it.
 * Side effects: the new objects.
 */
int NewCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 3) return SyntaxError(interp, "Syntax is 'name = new class name'");
    if (InsideNonTreeLoad(interp)) return TCL_ERROR;
    nObject* obj = nKernelServer::Instance()->NewNoFail(Tcl_GetString(objv[1]), Tcl_GetString(objv[2]));
    if (!obj)
    {
        Tcl_ResetResult(interp);
        return TCL_ERROR;
    }
    SetResult(interp, static_cast<nRoot*>(obj)->GetFullName().Get());
    return TCL_OK;
}

/*
 * Holds --
 *     Results: true when inner is obj or one of its descendants.
 *     Side effects: none.
 */
bool Holds(const nRoot* obj, const nRoot* inner)
{
    for (const nRoot* cur = inner; cur; cur = cur->GetParent())
    {
        if (cur == obj) return true;
    }
    return false;
}

/*
 * DeleteCmd --
 *     delete path: releases the object, which dies when no other reference
 *     holds it. The root, any object that holds the running script
 *     server and any that holds one of the kernel's default servers are
 *     refused, as is any that holds an object a running holder uses every
 *     frame (see nKernelServer::AddInUse): their death would pull the
 *     interpreter, or a server the program reaches without asking, away
 *     from under the program.
 * Results: TCL_OK, or TCL_ERROR with a message.
 * Side effects: the object and its children may die.
 */
int DeleteCmd(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 2) return SyntaxError(interp, "Syntax is 'delete name'");
    const char* path = Tcl_GetString(objv[1]);
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* obj = ks->Lookup(path);
    if (!obj) return ObjectMissing(interp, path);
    if (obj == ks->GetRoot()) return SyntaxError(interp, "Can't delete the root object '/'.");
    if (Holds(obj, Server(clientData)))
    {
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("Can't delete '%s' while the script server in it runs.",
                                               obj->GetFullName().Get()));
        return TCL_ERROR;
    }
    const nRoot* const defaults[] = {ks->GetFileServerObject(), ks->GetPersistServer(), ks->GetTimeServerObject(),
                                     ks->GetRemoteServerObject()};
    for (const nRoot* server : defaults)
    {
        if (Holds(obj, server))
        {
            Tcl_SetObjResult(interp, Tcl_ObjPrintf("Can't delete '%s': the kernel's server '%s' lives there.",
                                                   obj->GetFullName().Get(), server->GetFullName().Get()));
            return TCL_ERROR;
        }
    }
    if (const nRoot* used = ks->FindInUse(obj))
    {
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("Can't delete '%s': '%s' is in use by the running application.",
                                               obj->GetFullName().Get(), used->GetFullName().Get()));
        return TCL_ERROR;
    }
    obj->Release();
    return TCL_OK;
}

/*
 * SelCmd --
 *     sel path: makes the object the kernel's current object.
 * Results: TCL_OK with its full path, or TCL_ERROR.
 * Side effects: the current object changes.
 */
int SelCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 2) return SyntaxError(interp, "Syntax is 'name = sel name'");
    if (InsideNonTreeLoad(interp)) return TCL_ERROR;
    const char* path = Tcl_GetString(objv[1]);
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* obj = ks->Lookup(path);
    if (!obj) return ObjectMissing(interp, path);
    ks->SetCwd(obj);
    SetResult(interp, obj->GetFullName().Get());
    return TCL_OK;
}

/*
 * PselCmd --
 *     Results: TCL_OK with the full path of the current object.
 *     Side effects: none.
 */
int PselCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const*)
{
    if (objc != 1) return SyntaxError(interp, "Syntax is 'name = psel'");
    nRoot* cwd = nKernelServer::Instance()->GetCwd();
    n_assert(cwd);
    SetResult(interp, cwd->GetFullName().Get());
    return TCL_OK;
}

/*
 * GetCmd --
 *     get filename: loads a persistent object file below the current
 *     object. A loaded object that is no tree object is released again,
 *     since nothing could ever reach it.
 * Results: TCL_OK with the full path, or TCL_ERROR.
 * Side effects: the loaded objects.
 */
int GetCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 2) return SyntaxError(interp, "Syntax is 'name = get filename'");
    const char* fileName = Tcl_GetString(objv[1]);
    nObject* obj = nKernelServer::Instance()->Load(fileName);
    if (!obj)
    {
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("Could not load object '%s'", fileName));
        return TCL_ERROR;
    }
    if (!obj->IsA("nroot"))
    {
        obj->Release();
        Tcl_SetObjResult(interp, Tcl_ObjPrintf("Could not load object '%s', not an nRoot", fileName));
        return TCL_ERROR;
    }
    SetResult(interp, static_cast<nRoot*>(obj)->GetFullName().Get());
    return TCL_OK;
}

/*
 * ExitCmd --
 *     Results: TCL_OK.
 *     Side effects: the server's next Trigger reports the quit request.
 */
int ExitCmd(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const*)
{
    if (objc != 1) return SyntaxError(interp, "Syntax is 'exit'");
    Server(clientData)->SetQuitRequested(true);
    return TCL_OK;
}

/*
 * DirCmd --
 *     Results: TCL_OK with the names of the current object's children,
 *     each followed by one space.
 *     Side effects: none.
 */
int DirCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const*)
{
    if (objc != 1) return SyntaxError(interp, "Syntax is 'dir'");
    Tcl_Obj* names = Tcl_NewObj();
    for (nRoot* child = nKernelServer::Instance()->GetCwd()->GetHead(); child; child = child->GetSucc())
    {
        Tcl_AppendStringsToObj(names, child->GetName(), " ", (char*)nullptr);
    }
    Tcl_SetObjResult(interp, names);
    return TCL_OK;
}

/*
 * ExistsCmd --
 *     Results: TCL_OK with "1" when the path names an object, else "0".
 *     Side effects: none.
 */
int ExistsCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 2) return SyntaxError(interp, "Syntax is 'exists name'");
    SetResult(interp, nKernelServer::Instance()->Lookup(Tcl_GetString(objv[1])) ? "1" : "0");
    return TCL_OK;
}

/*
 * EmitCmd --
 *     emit object.signal args: emits a signal of the object to its
 *     bindings.
 * Results: TCL_OK with the signal's outputs, or TCL_ERROR.
 * Side effects: whatever the bound commands do.
 */
int EmitCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 2) return SyntaxError(interp, "Syntax is 'emit object.signal ?args?'");
    TargetWord tw;
    nObject* target = nullptr;
    if (SplitAndFind(interp, objv[1], tw, target) != TCL_OK) return TCL_ERROR;

    nSignal* signal = target->GetClass()->GetSignalRegistry().FindSignalByName(tw.member);
    if (!signal) return ReportError(interp, "Object '%s' doesn't accept signal '%s'", target, tw.member);
    return RunCmd(interp, target, signal, "Broken input args, object '%s', signal '%s'", tw.member, objc - 2,
                  objv + 2);
}

/*
 * FindSignalServer --
 *     The signal server's accessor insists that one exists, so the tree
 *     is searched for it first.
 * Results: the signal server, or 0 when there is none in the tree.
 * Side effects: none.
 */
nSignalServer* FindSignalServer()
{
    nKernelServer* ks = nKernelServer::Instance();
    const nClass* serverClass = ks->FindClass("nsignalserver");
    if (!serverClass) return nullptr;
    nRoot* root = ks->GetRoot();
    for (nRoot* cur = root; cur;)
    {
        if (cur->IsA(serverClass)) return nSignalServer::Instance();
        // depth first: the first child, else the next sibling of the
        // nearest ancestor that has one
        nRoot* next = cur->GetHead();
        while (!next && cur != root)
        {
            next = cur->GetSucc();
            if (!next) cur = cur->GetParent();
        }
        cur = next;
    }
    return nullptr;
}

/*
 * PostCmd --
 *     post delay object.member args: queues a signal or a command in the
 *     signal server, due after 'delay' seconds.
 * Results: TCL_OK with an empty result, or TCL_ERROR.
 * Side effects: the queued command belongs to the signal server.
 */
int PostCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc < 3) return SyntaxError(interp, "Syntax is 'post delay object.member ?args?'");
    char delayText[N_MAXPATH];
    n_strncpyz(delayText, Tcl_GetString(objv[1]), sizeof(delayText));
    const double delay = atof(delayText);

    TargetWord tw;
    nObject* target = nullptr;
    if (SplitAndFind(interp, objv[2], tw, target) != TCL_OK) return TCL_ERROR;
    nCmdProto* proto = target->GetClass()->GetSignalRegistry().FindSignalByName(tw.member);
    if (!proto) proto = target->GetClass()->FindCmdByName(tw.member);
    if (!proto) return ReportError(interp, "Object '%s' doesn't accept signal '%s'", target, tw.member);

    nCmd* cmd = proto->NewCmd();
    n_assert(cmd);
    const char* failure = nullptr;
    nSignalServer* signalServer = nullptr;
    if (!nTclGetInArgs(interp, cmd, objc - 3, objv + 3))
    {
        failure = "Broken input args, object '%s', command/signal '%s'";
    }
    else if (!(signalServer = FindSignalServer()))
    {
        failure = "Signal server not available, object '%s', command/signal '%s'";
    }
    else if (!signalServer->PostCmd(delay, target, cmd))
    {
        failure = "Post error, object '%s', command/signal '%s'";
    }
    if (failure)
    {
        proto->RelCmd(cmd);
        return ReportError(interp, failure, target, tw.member);
    }
    Tcl_ResetResult(interp);
    return TCL_OK;
}

/*
 * SourceCmd --
 *     source fileName: Tcl's own source reads the host file system; this
 *     one reads through the file server like RunScript.
 * Results: the script's return code and result.
 * Side effects: whatever the script does.
 */
int SourceCmd(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    if (objc != 2) return SyntaxError(interp, "wrong # args: should be \"source fileName\"");
    return nTclEvalFile(interp, Tcl_GetString(objv[1]));
}

struct CommandEntry
{
    const char* name;
    Tcl_ObjCmdProc* proc;
};

const CommandEntry commands[] = {
    {"puts", PutsCmd},
    {"unknown", UnknownCmd},
    {"new", NewCmd},
    {"delete", DeleteCmd},
    {"sel", SelCmd},
    {"psel", PselCmd},
    {"get", GetCmd},
    {"exit", ExitCmd},
    {"dir", DirCmd},
    {"exists", ExistsCmd},
    {"emit", EmitCmd},
    {"post", PostCmd},
    {"source", SourceCmd},
};

}  // namespace

/*
 * nTclAddCommands --
 *     Results: none.
 *     Side effects: the engine's commands replace Tcl's own puts, exit,
 *     unknown and source in the interpreter.
 */
void nTclAddCommands(Tcl_Interp* interp, nTclServer* server)
{
    for (const CommandEntry& entry : commands)
    {
        Tcl_CreateObjCommand(interp, entry.name, entry.proc, server, nullptr);
    }
}

/*
 * nTclRemoveCommands --
 *     Results: none.
 *     Side effects: the engine's commands are gone from the interpreter.
 */
void nTclRemoveCommands(Tcl_Interp* interp)
{
    ForgetWords(interp);
    for (const CommandEntry& entry : commands)
    {
        Tcl_DeleteCommand(interp, entry.name);
    }
}
