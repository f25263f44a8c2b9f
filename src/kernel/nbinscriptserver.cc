//------------------------------------------------------------------------------
//  nbinscriptserver.cc
//
//  The reader treats the file as outside data: a truncated or inconsistent
//  file makes RunScript fail with a message, and every object the file
//  created is released again, so a broken file leaves nothing behind.
//------------------------------------------------------------------------------
#include "kernel/nbinscriptserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "kernel/npersistserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nref.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

const uint32_t MagicNOB0 = N_FOURCC('N', 'O', 'B', '0');
const uint32_t BlockNew = N_FOURCC('_', 'n', 'e', 'w');
const uint32_t BlockSel = N_FOURCC('_', 's', 'e', 'l');

//--- writing ------------------------------------------------------------------

/*
 * Writer --
 *     Collects the bytes of one block, little-endian, so that a block is
 *     written with one call or not at all.
 */
class Writer
{
public:
    void U16(uint16_t v)
    {
        this->bytes.push_back((char)(v & 0xff));
        this->bytes.push_back((char)(v >> 8));
    }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; i++) this->bytes.push_back((char)((v >> (8 * i)) & 0xff));
    }
    void F32(float f)
    {
        uint32_t v;
        memcpy(&v, &f, 4);
        this->U32(v);
    }
    void U8(uint8_t v) { this->bytes.push_back((char)v); }
    /// a string; one longer than its 16-bit length can say spoils the block
    void Str(const char* s)
    {
        const size_t len = s ? strlen(s) : 0;
        if (len > 0xffff) this->fits = false;
        this->U16((uint16_t)len);
        this->bytes.append(s ? s : "", len);
    }
    /// Results: false when the block could not be written or did not fit
    size_t Size() const { return this->bytes.size(); }
    void Append(const Writer& other) { this->bytes += other.bytes; }
    bool Flush(nBinScriptServer* server, nFile* file)
    {
        if (!this->fits)
        {
            n_printf("nBinScriptServer: a name longer than 65535 bytes does not fit the format, not saved!\n");
            return false;
        }
        return server->Put(file, this->bytes);
    }

private:
    std::string bytes;
    bool fits = true;
};

/*
 * ObjectPath --
 *     The full path an object argument is stored as, "null" for none.
 */
nString ObjectPath(const nArg* arg)
{
    nObject* o = static_cast<nObject*>(arg->GetO());
    if (!o) return nString("null");
    if (o->IsA("nroot")) return static_cast<nRoot*>(o)->GetFullName();
    return nString("null");
}

/*
 * GetArgLength --
 *     Results: the length of the command's argument block; its input
 *     arguments are encoded into args on the way. An argument type the
 *     format cannot store is a fault of the class that saves it: fatal.
 */
size_t GetArgLength(nCmd* cmd, Writer& args)
{
    cmd->Rewind();
    for (int i = 0; i < cmd->GetNumInArgs(); i++)
    {
        const nArg* arg = cmd->In();
        switch (arg->GetType())
        {
            case nArg::Int: args.U32((uint32_t)arg->GetI()); break;
            case nArg::Float: args.F32(arg->GetF()); break;
            case nArg::Bool: args.U8(arg->GetB() ? 1 : 0); break;
            case nArg::String: args.Str(arg->GetS()); break;
            case nArg::Object: args.Str(ObjectPath(arg).Get()); break;
            case nArg::Void: break;
            default:
                n_printf("nBinScriptServer::GetArgLength(): unsupported data type!\n");
                n_error("nBinScriptServer::WriteCmd(): unsupported data type!");
        }
    }
    cmd->Rewind();
    return args.Size();
}

//--- reading ------------------------------------------------------------------

/*
 * Reader --
 *     Reads the little-endian fields of a NOB0 file. Every read reports
 *     whether the bytes were there.
 */
class Reader
{
public:
    explicit Reader(nFile* f) : file(f) {}

    /// Results: the number of bytes read
    int Bytes(void* buf, int n) { return n > 0 ? this->file->Read(buf, n) : 0; }
    bool U8(uint8_t& v) { return this->Bytes(&v, 1) == 1; }
    bool U16(uint16_t& v)
    {
        unsigned char b[2];
        if (this->Bytes(b, 2) != 2) return false;
        v = (uint16_t)(b[0] | (b[1] << 8));
        return true;
    }
    bool U32(uint32_t& v, int& got)
    {
        unsigned char b[4];
        got = this->Bytes(b, 4);
        if (got != 4) return false;
        v = (uint32_t)b[0] | ((uint32_t)b[1] << 8) | ((uint32_t)b[2] << 16) | ((uint32_t)b[3] << 24);
        return true;
    }
    bool U32(uint32_t& v)
    {
        int got;
        return this->U32(v, got);
    }
    bool Str(std::string& s)
    {
        uint16_t len;
        if (!this->U16(len)) return false;
        s.resize(len);
        return this->Bytes(s.data(), len) == len;
    }
    int Tell() const { return this->file->Tell(); }
    int Size() const { return this->file->GetSize(); }
    bool SeekTo(int pos) { return this->file->Seek(pos, nFile::START); }

private:
    nFile* file;
};

/*
 * ScriptReader --
 *     Runs the blocks of one file. Objects made by "_new" blocks are
 *     remembered so that a failed load can release them.
 */
class ScriptReader
{
public:
    ScriptReader(nKernelServer* k, nFile* f, const char* name) : ks(k), in(f), fileName(name), top(k->GetCwd()) {}

    /// Results: true when every block up to the end of the file was read
    bool Run();
    /// release every object this file created that is still alive
    void ReleaseCreated();

private:
    bool Fail(const char* what)
    {
        n_printf("nBinScriptServer::ReadBlock(): %s in '%s'!\n", what, this->fileName);
        return false;
    }
    /// the block of that id: a new object, a select or a command
    bool ReadBlock(uint32_t id);
    bool ReadNew();
    bool ReadSel();
    bool ReadCmd(nFourCC id);
    bool GetInArgs(nCmd* cmd, int end);
    /// true when the object is the loaded object or below it
    bool IsInside(const nRoot* obj) const;
    /// how many objects lie between the loaded object and obj
    int NestingBelowTop(const nRoot* obj) const;

    nKernelServer* ks;
    Reader in;
    const char* fileName;
    /// the object the file is loaded into; its blocks may not leave it
    nRoot* top;
    std::vector<std::unique_ptr<nRef<nRoot>>> created;
};

bool ScriptReader::IsInside(const nRoot* obj) const
{
    for (; obj; obj = obj->GetParent())
    {
        if (obj == this->top) return true;
    }
    return false;
}

int ScriptReader::NestingBelowTop(const nRoot* obj) const
{
    int depth = 0;
    for (; obj && obj != this->top; obj = obj->GetParent()) ++depth;
    return depth;
}

/*
 * ReadNew --
 *     Creates a child of the current object. A writer only ever names a
 *     direct child, so a name that is a path (or a dot name) is refused:
 *     it would reach outside the loaded object. A non-tree object has no
 *     children, so its file may neither make nor select any.
 */
bool ScriptReader::ReadNew()
{
    std::string className, objName;
    if (!this->in.Str(className) || !this->in.Str(objName)) return this->Fail("truncated '_new' block");
    if (nPersistServer::GetCurrentTargetObject()) return this->Fail("'_new' block below a non-tree object");
    if (objName.empty() || objName == "." || objName == ".." || objName.find('/') != std::string::npos ||
        objName.find('\0') != std::string::npos)
    {
        n_printf("nBinScriptServer::ReadBlock(): '_new %s %s' failed!\n", className.c_str(), objName.c_str());
        return false;
    }
    if (this->NestingBelowTop(this->ks->GetCwd()) >= nPersistServer::MaxNesting)
    {
        return this->Fail("objects nested too deeply");
    }
    const bool existed = this->ks->Lookup(objName.c_str()) != nullptr;
    nRoot* obj = static_cast<nRoot*>(this->ks->NewNoFail(className.c_str(), objName.c_str()));
    if (!obj)
    {
        n_printf("nBinScriptServer::ReadBlock(): '_new %s %s' failed!\n", className.c_str(), objName.c_str());
        return false;
    }
    if (!existed)
    {
        this->created.push_back(std::make_unique<nRef<nRoot>>(obj));
    }
    this->ks->SetCwd(obj);
    return true;
}

bool ScriptReader::ReadSel()
{
    std::string path;
    if (!this->in.Str(path)) return this->Fail("truncated '_sel' block");
    if (nPersistServer::GetCurrentTargetObject()) return this->Fail("'_sel' block below a non-tree object");
    nRoot* obj = path.empty() ? nullptr : this->ks->Lookup(path.c_str());
    if (!obj || !this->IsInside(obj))
    {
        n_printf("nBinScriptServer::ReadBlock(): '_sel %s' failed!\n", path.c_str());
        return false;
    }
    this->ks->SetCwd(obj);
    return true;
}

/*
 * GetInArgs --
 *     Reads the input arguments in prototype order; none may reach past
 *     the end of the command's argument block.
 */
bool ScriptReader::GetInArgs(nCmd* cmd, int end)
{
    cmd->Rewind();
    for (int i = 0; i < cmd->GetNumInArgs(); i++)
    {
        nArg* arg = cmd->In();
        bool ok = true;
        switch (arg->GetType())
        {
            case nArg::Int:
            {
                uint32_t v = 0;
                ok = this->in.U32(v);
                if (ok) arg->SetI((int)v);
                break;
            }
            case nArg::Float:
            {
                uint32_t v = 0;
                ok = this->in.U32(v);
                float f;
                memcpy(&f, &v, 4);
                if (ok) arg->SetF(f);
                break;
            }
            case nArg::Bool:
            {
                uint8_t v = 0;
                ok = this->in.U8(v);
                if (ok) arg->SetB(v != 0);
                break;
            }
            case nArg::String:
            {
                std::string s;
                ok = this->in.Str(s);
                if (ok) arg->SetS(s.c_str());
                break;
            }
            case nArg::Object:
            {
                std::string s;
                ok = this->in.Str(s);
                if (ok) arg->SetO(s == "null" ? nullptr : this->ks->Lookup(s.c_str()));
                break;
            }
            case nArg::Void:
                break;
            default:
                n_printf("nBinScriptServer::GetInArgs(): unsupported data type!\n");
                return false;
        }
        if (!ok || this->in.Tell() > end) return false;
    }
    cmd->Rewind();
    return true;
}

/*
 * ReadCmd --
 *     Dispatches a known command on the current target and skips an
 *     unknown one. Either way the stored length decides where the next
 *     block starts.
 */
bool ScriptReader::ReadCmd(nFourCC id)
{
    uint16_t len;
    if (!this->in.U16(len)) return this->Fail("truncated command block");
    const int start = this->in.Tell();
    const int end = start + len;
    if (end > this->in.Size()) return this->Fail("command block reaches past the end of the file");

    nObject* target = nPersistServer::GetCurrentTargetObject();
    if (!target) target = this->ks->GetCwd();
    n_assert(target);
    nCmdProto* proto = target->GetClass()->FindCmdById(id);
    if (proto)
    {
        nCmd* cmd = proto->NewCmd();
        n_assert(cmd);
        const bool ok = this->GetInArgs(cmd, end);
        bool refused = false;
        if (ok)
        {
            target->Dispatch(cmd);
            refused = cmd->HasError();
        }
        proto->RelCmd(cmd);
        if (!ok) return this->Fail("command arguments do not match their length");
        if (refused) return this->Fail("a command refused its arguments");
    }
    if (!this->in.SeekTo(end) || this->in.Tell() != end)
    {
        return this->Fail("command block reaches past the end of the file");
    }
    return true;
}

bool ScriptReader::Run()
{
    for (;;)
    {
        uint32_t id = 0;
        int got = 0;
        if (!this->in.U32(id, got))
        {
            if (got == 0) return true;
            return this->Fail("truncated block id");
        }
        if (!this->ReadBlock(id)) return false;
    }
}

bool ScriptReader::ReadBlock(uint32_t id)
{
    if (id == BlockNew) return this->ReadNew();
    if (id == BlockSel) return this->ReadSel();
    return this->ReadCmd(id);
}

void ScriptReader::ReleaseCreated()
{
    for (auto it = this->created.rbegin(); it != this->created.rend(); ++it)
    {
        if ((*it)->isvalid())
        {
            nRoot* obj = (*it)->get();
            (*it)->invalidate();
            obj->Release();
        }
    }
    this->created.clear();
}

/*
 * GetHeader --
 *     Results: true when the file begins with the NOB0 magic and a header
 *     string (its text is not checked); a wrong magic is reported.
 */
bool GetHeader(Reader& in)
{
    uint32_t magic = 0;
    if (!in.U32(magic) || magic != MagicNOB0)
    {
        n_printf("nBinScriptServer::GetHeader(): not a binary Quelor persistent object file!\n");
        return false;
    }
    std::string headerText;
    return in.Str(headerText);
}

}  // namespace

//--- nBinScriptServer -----------------------------------------------------------

/*
 * RunScript --
 *     Reads a NOB0 file block by block relative to the current object.
 * Results: false with a message when the file cannot be opened, is no
 *     NOB0 file, or is truncated or inconsistent; then nothing it created
 *     is kept. The current object is restored in every case.
 */
bool nBinScriptServer::RunScript(const char* filename, nString& result)
{
    result.Delete();
    nFile* file = kernelServer->GetFileServer()->NewFileObject();
    n_assert(file);
    if (!file->Open(filename, "rb"))
    {
        n_printf("nBinScriptServer::RunScript(): could not open file '%s'\n", filename);
        file->Release();
        return false;
    }
    Reader header(file);
    bool ok = GetHeader(header);
    if (!ok)
    {
        n_printf("nBinScriptServer::RunScript(): '%s' not a NOB0 file!\n", filename);
    }
    else
    {
        kernelServer->PushCwd(kernelServer->GetCwd());
        ScriptReader reader(kernelServer, file, filename);
        ok = reader.Run();
        kernelServer->PopCwd();
        if (!ok) reader.ReleaseCreated();
    }
    file->Close();
    file->Release();
    return ok;
}

/*
 * WriteBegin --
 *     Removes what is at the name, creates the file anew and writes the
 *     magic and the header string.
 * Results: the open file, or 0 with a message.
 */
nFile* nBinScriptServer::WriteBegin(const char* filename, nObject* obj)
{
    n_assert(filename);
    n_assert(obj);
    nFileServer2* fs = kernelServer->GetFileServer();
    // a stale file, link or FIFO at the name goes; the new file is ours alone
    fs->DeleteFile(filename);
    nFile* file = fs->NewFileObject();
    n_assert(file);
    if (!file->Open(filename, "wbx"))
    {
        n_printf("nBinScriptServer::WriteBegin(): failed to open file '%s' for writing!\n", filename);
        file->Release();
        return nullptr;
    }
    char text[N_MAXPATH];
    snprintf(text, sizeof(text), "$parser:nbinscriptserver$ $class:%s$", obj->GetClass()->GetName());
    this->BeginQueue();
    Writer w;
    w.U32(MagicNOB0);
    w.Str(text);
    if (!w.Flush(this, file))
    {
        n_printf("nBinScriptServer::WriteBegin(): failed to write file '%s'!\n", filename);
    }
    return file;
}

bool nBinScriptServer::WriteBeginNewObject(nFile* file, nObject* obj, nObject* parent)
{
    n_assert(file);
    n_assert(obj);
    n_assert(parent);
    nRoot* o = static_cast<nRoot*>(obj);
    Writer w;
    w.U32(BlockNew);
    w.Str(o->GetClass()->GetName());
    w.Str(o->GetName());
    return w.Flush(this, file);
}

/*
 * WriteBeginNewObjectCmd --
 *     Unlike a "_new" block, a constructor command leaves the parent
 *     current when it is read: the select block makes the child's blocks
 *     reach the child, and the closing "_sel .." return to the parent.
 */
bool nBinScriptServer::WriteBeginNewObjectCmd(nFile* file, nObject* obj, nObject* parent, nCmd* cmd)
{
    n_assert(file);
    n_assert(obj);
    n_assert(parent);
    n_assert(cmd);
    const bool written = this->WriteCmd(file, cmd);
    return this->WriteBeginSelObject(file, obj, parent) && written;
}

bool nBinScriptServer::WriteBeginSelObject(nFile* file, nObject* obj, nObject* parent)
{
    n_assert(file);
    n_assert(obj);
    n_assert(parent);
    if (this->GetSelectMethod() != 0) return true;
    Writer w;
    w.U32(BlockSel);
    w.Str(static_cast<nRoot*>(parent)->GetRelPath(static_cast<nRoot*>(obj)).Get());
    return w.Flush(this, file);
}

/*
 * WriteCmd --
 *     Writes a command block. A command whose arguments take more than
 *     the format's 32767 bytes is refused before anything is written; the
 *     save then fails. An argument type the format cannot store is a
 *     fault of the class that saves it: fatal.
 */
bool nBinScriptServer::WriteCmd(nFile* file, nCmd* cmd)
{
    n_assert(file);
    n_assert(cmd);
    // the arguments are encoded once; their size is the block's length
    Writer args;
    const size_t argLength = GetArgLength(cmd, args);
    if (argLength > (size_t)MaxArgLength)
    {
        n_printf("nBinScriptServer::WriteCmd(): command '%s' does not fit the format, not saved!\n",
                 cmd->GetProto()->GetName());
        return false;
    }
    Writer w;
    w.U32(cmd->GetId());
    w.U16((uint16_t)argLength);
    w.Append(args);
    return w.Flush(this, file);
}

bool nBinScriptServer::WriteEndObject(nFile* file, nObject* obj, nObject* parent)
{
    n_assert(file);
    n_assert(obj);
    n_assert(parent);
    Writer w;
    w.U32(BlockSel);
    w.Str(static_cast<nRoot*>(obj)->GetRelPath(static_cast<nRoot*>(parent)).Get());
    return w.Flush(this, file);
}

/*
 * WriteEnd --
 *     Results: false when any part of the file could not be written.
 *     Side effects: the queue is written, the file closed and released.
 */
bool nBinScriptServer::WriteEnd(nFile* file)
{
    n_assert(file);
    const bool ok = this->FlushQueue(file);
    file->Close();
    file->Release();
    return ok;
}
