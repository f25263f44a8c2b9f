//------------------------------------------------------------------------------
//  npersistserver.cc
//------------------------------------------------------------------------------
#include "kernel/npersistserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "platform/nplatformfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

nObject* nPersistServer::currentTargetObject = nullptr;

nPersistServer::nPersistServer() :
    file(nullptr),
    saveFailed(false),
    saveMode(SAVEMODE_FOLD),
    cloneTarget(nullptr),
    cloneOrigin(nullptr),
    saveLevel(0),
    saveNesting(0),
    loadNesting(0)
{
}

nPersistServer::~nPersistServer()
{
    n_assert(0 == this->file);
    currentTargetObject = nullptr;
}

//--- savers and loaders -----------------------------------------------------

/*
 * FindScriptServer --
 *     The script server at "/sys/servers/script" when it has the class,
 *     else the child of that name below this server, made on first use.
 */
nScriptServer* nPersistServer::FindScriptServer(const char* className)
{
    nRoot* scriptServer = kernelServer->Lookup("/sys/servers/script");
    if (scriptServer && strcmp(scriptServer->GetClass()->GetName(), className) == 0)
    {
        return static_cast<nScriptServer*>(scriptServer);
    }
    // the name comes from a file's header: only a registered script server
    // class may be made, and nothing is created for anything else
    nClass* cl = kernelServer->FindClass(className);
    if (!cl || !cl->IsA("nscriptserver"))
    {
        n_printf("nPersistServer: '%s' is not a script server class!\n", className);
        return nullptr;
    }
    nRoot* localServer = this->Find(className);
    if (!localServer)
    {
        kernelServer->PushCwd(this);
        localServer = static_cast<nRoot*>(kernelServer->NewNoFail(className, className));
        kernelServer->PopCwd();
    }
    if (!localServer || !localServer->IsA("nscriptserver"))
    {
        n_printf("nPersistServer: '%s' is not a script server class!\n", className);
        return nullptr;
    }
    return static_cast<nScriptServer*>(localServer);
}

bool nPersistServer::SetSaverClass(const nString& saverClass)
{
    n_assert(!saverClass.IsEmpty());
    nScriptServer* localServer = this->FindScriptServer(saverClass.Get());
    if (!localServer) return false;
    this->saver.set(localServer);
    return true;
}

nScriptServer* nPersistServer::GetSaver()
{
    if (!this->saver.isvalid())
    {
        nRoot* scriptServer = kernelServer->Lookup("/sys/servers/script");
        if (scriptServer && scriptServer->IsA("nscriptserver"))
        {
            this->saver.set(static_cast<nScriptServer*>(scriptServer));
        }
    }
    return this->saver.get_unsafe();
}

nString nPersistServer::GetSaverClass()
{
    nScriptServer* s = this->GetSaver();
    return nString(s ? s->GetClass()->GetName() : "");
}

nScriptServer* nPersistServer::GetLoader(const char* loaderClass)
{
    n_assert(loaderClass);
    return this->FindScriptServer(loaderClass);
}

//--- saving and cloning -------------------------------------------------------

/*
 * TooDeep --
 *     Results: true, with a message, when another object would nest the
 *     save or clone deeper than MaxNesting; the save in progress then
 *     fails as a whole.
 */
bool nPersistServer::TooDeep(const char* name)
{
    if (this->saveNesting < MaxNesting) return false;
    n_printf("nPersistServer: '%s' is nested deeper than %d objects, not saved!\n", name ? name : "", MaxNesting);
    this->saveFailed = true;
    return true;
}

bool nPersistServer::BeginObject(nObject* obj, const char* name, bool isObjNamed)
{
    if (this->TooDeep(name)) return false;
    bool result;
    if (this->saveMode == SAVEMODE_CLONE) result = this->BeginCloneObject(obj, name, isObjNamed);
    else result = this->BeginFoldedObject(obj, nullptr, name, isObjNamed, false);
    if (result) ++this->saveNesting;
    return result;
}

bool nPersistServer::BeginObjectWithCmd(nRoot* obj, nCmd* cmd, const char* name)
{
    // a clone makes the child itself: the constructor command is not needed
    bool result = false;
    if (this->TooDeep(name)) result = false;
    else if (this->saveMode == SAVEMODE_CLONE) result = this->BeginCloneObject(obj, name, true);
    else result = this->BeginFoldedObject(obj, cmd, name, true, cmd == nullptr);
    if (result) ++this->saveNesting;
    if (cmd) cmd->GetProto()->RelCmd(cmd);
    return result;
}

/*
 * BeginFoldedObject --
 *     The outermost object opens the file: a temporary one beside the
 *     target, so a save that fails half-way leaves the previous file as
 *     it was. Children are written into the open file.
 */
bool nPersistServer::BeginFoldedObject(nObject* obj, nCmd* cmd, const char* name, bool isObjNamed, bool selOnly)
{
    n_assert(obj);
    n_assert(name);
    if (isObjNamed)
    {
        n_assert2(obj->IsA("nroot"), "Set isObjNamed to false to save a non-nRoot object!");
    }
    else
    {
        n_assert2(!obj->IsA("nroot"), "Set isObjNamed to true to save an nRoot object!");
    }
    nScriptServer* s = this->GetSaver();
    if (!s)
    {
        n_printf("nPersistServer: no script server to save '%s' with!\n", name);
        return false;
    }

    if (this->objectStack.IsEmpty() || !isObjNamed)
    {
        n_assert(0 == this->file);
        this->fileName = name;
        this->tempFileName = this->fileName;
        this->tempFileName.Append(".saving");
        this->saveFailed = false;
        this->file = s->WriteBegin(this->tempFileName.Get(), obj);
        if (!this->file)
        {
            n_printf("nPersistServer: could not open file '%s' for writing!\n", name);
            return false;
        }
    }
    else
    {
        n_assert(this->file);
        nObject* top = this->objectStack.Top();
        n_assert(top->IsA("nroot"));
        nRoot* parent = static_cast<nRoot*>(top);
        nRoot* child = static_cast<nRoot*>(obj);
        bool written;
        if (selOnly) written = s->WriteBeginSelObject(this->file, child, parent);
        else if (cmd) written = s->WriteBeginNewObjectCmd(this->file, child, parent, cmd);
        else written = s->WriteBeginNewObject(this->file, child, parent);
        // a constructor command the saver refused fails the save like any other
        if (!written) this->saveFailed = true;
    }
    this->objectStack.Push(obj);
    return true;
}

bool nPersistServer::BeginCloneObject(nObject* obj, const char* name, bool isObjNamed)
{
    n_assert(obj);
    if (isObjNamed)
    {
        n_assert(name);
        n_assert2(obj->IsA("nroot"), "Set isObjNamed to false to clone non-nRoot object!");
        // the kernel hands out an existing object at the name: it would get
        // the commands of another class, or be passed off as a new copy.
        // Only children that the new parent made itself are filled in.
        nRoot* existing = kernelServer->Lookup(name);
        if (existing && (this->objectStack.IsEmpty() || existing->GetClass() != obj->GetClass()))
        {
            n_printf("nPersistServer: can't clone into existing object '%s'!\n", existing->GetFullName().Get());
            return false;
        }
        nObject* target = kernelServer->NewNoFail(obj->GetClass()->GetName(), name);
        if (!target) return false;
        this->cloneTarget = target;
        n_assert(this->cloneTarget->GetRefCount() == 1);
        if (this->objectStack.IsEmpty())
        {
            this->cloneOrigin = kernelServer->GetCwd();
        }
        this->objectStack.Push(kernelServer->GetCwd());
        kernelServer->SetCwd(static_cast<nRoot*>(this->cloneTarget));
        return true;
    }
    n_assert2(!obj->IsA("nroot"), "Set isObjNamed to true to clone nRoot object!");
    this->cloneTarget = kernelServer->NewUnnamedObject(obj->GetClass()->GetName());
    if (!this->cloneTarget) return false;
    n_assert(this->cloneTarget->GetRefCount() == 1);
    return true;
}

bool nPersistServer::EndObject(bool isObjNamed)
{
    if (this->saveNesting > 0) --this->saveNesting;
    if (this->saveMode == SAVEMODE_CLONE) return this->EndCloneObject(isObjNamed);
    return this->EndFoldedObject(isObjNamed);
}

/*
 * FinishFile --
 *     Closes the save file; when every write went through, the temporary
 *     file replaces the target (on the disk before it takes the name),
 *     else it is removed and the target kept.
 * Results: true when the target now holds the complete save.
 */
bool nPersistServer::FinishFile(bool ok)
{
    n_assert(this->file);
    nScriptServer* s = this->GetSaver();
    const bool balanced = s ? s->WriteEnd(this->file) : false;
    this->file = nullptr;
    nFileServer2* fs = kernelServer->GetFileServer();
    ok = ok && balanced && !this->saveFailed;
    if (ok)
    {
        const nString from = fs->ManglePath(this->tempFileName.Get());
        const nString to = fs->ManglePath(this->fileName.Get());
        if (!nPlatformFile::Replace(from.Get(), to.Get()))
        {
            n_printf("nPersistServer: could not replace '%s': %s!\n", this->fileName.Get(), strerror(errno));
            ok = false;
        }
    }
    if (!ok)
    {
        n_printf("nPersistServer: saving '%s' failed, the previous file is kept.\n", this->fileName.Get());
        fs->DeleteFile(this->tempFileName.Get());
    }
    return ok;
}

bool nPersistServer::EndFoldedObject(bool isObjNamed)
{
    n_assert(!this->objectStack.IsEmpty());
    nObject* obj = this->objectStack.Pop();
    n_assert(obj);
    if (isObjNamed)
    {
        n_assert(obj->IsA("nroot"));
        if (this->objectStack.IsEmpty())
        {
            n_assert(this->file);
            return this->FinishFile(true);
        }
        nObject* top = this->objectStack.Top();
        n_assert(top->IsA("nroot"));
        nScriptServer* s = this->GetSaver();
        if (s) s->WriteEndObject(this->file, static_cast<nRoot*>(obj), static_cast<nRoot*>(top));
        return true;
    }
    n_assert(!obj->IsA("nroot"));
    n_assert2(this->objectStack.IsEmpty(), "Object stack should be empty, what the hell have you been up to?");
    n_assert(this->file);
    return this->FinishFile(true);
}

bool nPersistServer::EndCloneObject(bool isObjNamed)
{
    if (isObjNamed)
    {
        n_assert(!this->objectStack.IsEmpty());
        nObject* top = this->objectStack.Top();
        n_assert(top->IsA("nroot"));
        nRoot* prevCwd = static_cast<nRoot*>(this->objectStack.Pop());
        if (prevCwd != this->cloneOrigin)
        {
            this->cloneTarget = prevCwd;
        }
        kernelServer->SetCwd(prevCwd);
        return true;
    }
    n_assert(!this->cloneTarget->IsA("nroot"));
    return true;
}

nCmd* nPersistServer::GetCmd(nObject* o, nFourCC id)
{
    n_assert(o);
    nCmdProto* proto = o->GetClass()->FindCmdById(id);
    if (!proto)
    {
        if (o->IsA("nroot"))
        {
            n_error("nPersistServer::GetCmd(): unknown command '%s' for object '%s' of class %s\n",
                    n_fourcctostr(id), static_cast<nRoot*>(o)->GetFullName().Get(), o->GetClass()->GetName());
        }
        n_error("nPersistServer::GetCmd(): unknown command '%s' for object of class %s\n",
                n_fourcctostr(id), o->GetClass()->GetName());
    }
    return proto->NewCmd();
}

bool nPersistServer::PutCmd(nCmd* cmd)
{
    return this->PutLeveledCmd(0, cmd);
}

/*
 * PutLeveledCmd --
 *     Writes the command (file mode) or dispatches it on the clone (clone
 *     mode) when its level reaches the save level. The command always goes
 *     back to its prototype. A command the saver cannot write fails the
 *     whole save.
 */
bool nPersistServer::PutLeveledCmd(int level, nCmd* cmd)
{
    n_assert(cmd);
    bool ok = true;
    if (level >= this->saveLevel)
    {
        if (this->saveMode == SAVEMODE_CLONE)
        {
            n_assert(this->cloneTarget);
            this->cloneTarget->Dispatch(cmd);
        }
        else
        {
            nScriptServer* s = this->GetSaver();
            ok = s && this->file && s->WriteCmd(this->file, cmd);
            if (!ok) this->saveFailed = true;
        }
    }
    cmd->GetProto()->RelCmd(cmd);
    return ok;
}

//--- loading --------------------------------------------------------------------

/*
 * ParseFileHeader --
 *     Looks for "$key:value$" among the first 255 bytes of a file. The
 *     bytes are scanned as bytes: a binary file has zero bytes early.
 * Results: buf holding the value, or 0 when the file cannot be read or
 *     has no such entry.
 */
char* nPersistServer::ParseFileHeader(const char* fileName, const char* key, char* buf, int bufSize)
{
    n_assert(fileName && key && buf && bufSize > 0);
    nFile* f = kernelServer->GetFileServer()->NewFileObject();
    n_assert(f);
    if (!f->Open(fileName, "r"))
    {
        f->Release();
        return nullptr;
    }
    char header[256];
    const int num = f->Read(header, 255);
    f->Close();
    f->Release();
    if (num <= 0) return nullptr;
    const char* end = header + num;
    header[num] = 0;

    const size_t keyLen = strlen(key);
    const char* pos = header;
    for (;;)
    {
        const char* start = (const char*)memchr(pos, '$', (size_t)(end - pos));
        if (!start) return nullptr;
        ++start;
        const char* close = (const char*)memchr(start, '$', (size_t)(end - start));
        if (!close)
        {
            kernelServer->Message("$...$ definition in object file outside first 256 bytes!\n");
            return nullptr;
        }
        const char* colon = (const char*)memchr(start, ':', (size_t)(close - start));
        if (!colon)
        {
            kernelServer->Message("$...$ definition in object file broken!\n");
            return nullptr;
        }
        if ((size_t)(colon - start) == keyLen && memcmp(start, key, keyLen) == 0)
        {
            const size_t valueLen = n_min((size_t)(close - colon - 1), (size_t)bufSize - 1);
            memcpy(buf, colon + 1, valueLen);
            buf[valueLen] = 0;
            return buf;
        }
        pos = close + 1;
    }
}

/*
 * LoadFoldedObject --
 *     Creates the object and runs its file with the loader of its parser.
 *     A script error leaves no half-built object behind. The current
 *     object and target of an outer load are restored afterwards.
 * Results: the object, or 0.
 */
nObject* nPersistServer::LoadFoldedObject(const char* fileName, const char* objName, const char* parserClass, const char* objClass)
{
    n_assert(parserClass);
    n_assert(objClass);
    nClass* cl = kernelServer->FindClass(objClass);
    if (!cl) return nullptr;
    if (this->loadNesting >= MaxNesting)
    {
        n_printf("nPersistServer: '%s' is loaded from files nested deeper than %d, not loaded!\n", fileName,
                 MaxNesting);
        return nullptr;
    }
    nObject* obj = objName ? kernelServer->NewNoFail(objClass, objName) : kernelServer->NewUnnamedObject(objClass);
    if (!obj) return nullptr;
    nRef<nObject> objRef(obj);

    nScriptServer* loader = this->GetLoader(parserClass);
    if (!loader)
    {
        obj->Release();
        return nullptr;
    }
    const bool isRoot = obj->IsA("nroot");
    // a tree object loaded from inside a non-tree object's file takes its
    // commands through the current object, not the outer target
    nObject* outerTarget = this->currentTargetObject;
    if (isRoot) kernelServer->PushCwd(static_cast<nRoot*>(obj));
    this->currentTargetObject = isRoot ? nullptr : obj;

    nString result;
    ++this->loadNesting;
    const bool ok = loader->RunScript(fileName, result);
    --this->loadNesting;

    if (isRoot) kernelServer->PopCwd();
    this->currentTargetObject = outerTarget;

    if (!ok)
    {
        n_printf("nPersistServer: loading '%s' failed, nothing is kept.\n", fileName);
        if (objRef.isvalid()) obj->Release();
        return nullptr;
    }
    return objRef.isvalid() ? obj : nullptr;
}

/*
 * LoadObject --
 *     Reads the parser and class from the file's header, creates the
 *     object (named after the file unless a name is given) and runs the
 *     file. A directory of that name is tried as "<name>/_main.n2".
 * Results: the object, or 0 with a message.
 */
nObject* nPersistServer::LoadObject(const char* fileName, const char* objName)
{
    n_assert(fileName);
    char parser[128];
    char objClass[128];
    if (!this->ParseFileHeader(fileName, "parser", parser, sizeof(parser)) ||
        !this->ParseFileHeader(fileName, "class", objClass, sizeof(objClass)))
    {
        return nullptr;
    }

    nString name;
    nClass* cl = kernelServer->FindClass(objClass);
    if (cl && cl->IsA("nroot"))
    {
        if (!objName)
        {
            char path[N_MAXPATH];
            n_strncpyz(path, fileName, sizeof(path));
            for (char* c = path; *c; ++c)
            {
                if (*c == '\\') *c = '/';
            }
            name = nString(path).ExtractFileName();
            const char* dot = strrchr(name.Get(), '.');
            if (dot) name.Set(name.Get(), (int)(dot - name.Get()));
            objName = name.Get();
        }
        n_assert(objName);
        nRoot* existing = kernelServer->Lookup(objName);
        if (existing)
        {
            n_printf("nPersistServer: trying to overwrite existing object '%s'!\n", existing->GetFullName().Get());
            return nullptr;
        }
    }
    else
    {
        objName = nullptr;
    }

    nObject* obj = this->LoadFoldedObject(fileName, objName, parser, objClass);
    if (!obj)
    {
        char mainName[N_MAXPATH];
        snprintf(mainName, sizeof(mainName), "%s/_main.n2", fileName);
        obj = this->LoadFoldedObject(mainName, objName, parser, objClass);
    }
    if (!obj)
    {
        kernelServer->Message("nPersistServer: Could not load object '%s'!\n", fileName);
    }
    return obj;
}
