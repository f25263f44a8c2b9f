//------------------------------------------------------------------------------
//  nfileserver2.cc
//------------------------------------------------------------------------------
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nenv.h"
#include "kernel/nfile.h"
#include "kernel/ndirectory.h"
#include "kernel/nfilenode.h"
#include "platform/nplatformdir.h"
#include "platform/nplatformfile.h"
#include "platform/nplatformfolders.h"
#include "platform/nplatformpaths.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

nFileServer2* nFileServer2::Singleton = nullptr;

namespace
{

/// more nested assigns than this are taken as a cycle
constexpr int kMaxAssignDepth = 32;

/*
 * MakeCrcTable --
 *     Results: the table of the most-significant-bit-first CRC-32 with
 *     polynomial 0x04C11DB7. Side effects: none (evaluated at compile time).
 */
constexpr std::array<uint, 256> MakeCrcTable()
{
    std::array<uint, 256> table{};
    for (uint i = 0; i < 256; i++)
    {
        uint c = i << 24;
        for (int bit = 0; bit < 8; bit++)
        {
            c = (c & 0x80000000u) ? ((c << 1) ^ 0x04C11DB7u) : (c << 1);
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint, 256> kCrcTable = MakeCrcTable();

/*
 * Slashes --
 *     Results: the text with every "\" turned into "/".
 */
std::string Slashes(std::string s)
{
    for (char& c : s)
    {
        if (c == '\\') c = '/';
    }
    return s;
}

/*
 * CutLevel --
 *     Results: the path without one trailing "/" and its last component;
 *     the separator before that component stays.
 */
std::string CutLevel(std::string dir)
{
    if (!dir.empty() && dir.back() == '/') dir.pop_back();
    const size_t slash = dir.rfind('/');
    return (slash == std::string::npos) ? std::string() : dir.substr(0, slash + 1);
}

/*
 * ProgramPath --
 *     Results: the program file's path with "/" separators; a path that
 *     cannot be found is fatal, the engine cannot locate its data without.
 */
std::string ProgramPath()
{
    const std::string exe = nPlatformExecutablePath();
    if (exe.empty())
    {
        n_error("nFileServer2::InitHomeAssign(): GetModuleFileName() failed!\n");
    }
    return Slashes(exe);
}

/*
 * ParentPath --
 *     Results: the path up to and including the "/" before its last
 *     component (a trailing "/" skipped first); "" when there is none.
 */
nString ParentPath(const nString& path)
{
    const std::string parent = CutLevel(path.Get());
    return nString(parent.c_str());
}

/*
 * IsAssignName --
 *     Results: true when the name can only mean one child of the assign
 *     directory: not empty, no "/", and neither "." nor "..".
 */
bool IsAssignName(const char* name)
{
    return name[0] != 0 && strchr(name, '/') == nullptr && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

/*
 * CanHoldAssign --
 *     Results: true when the tree node can take a path: an nenv that
 *     holds text or nothing yet.
 */
bool CanHoldAssign(nRoot* node)
{
    if (!node->IsA("nenv")) return false;
    const nArg::Type type = static_cast<nEnv*>(node)->GetType();
    return type == nArg::Void || type == nArg::String;
}

}  // namespace

/*
 * nFileServer2 --
 *     Becomes the singleton. Assigns already in the tree are kept as they
 *     are (a server made again finds them); otherwise the assign directory
 *     is made and home, bin, user and temp are set.
 */
nFileServer2::nFileServer2()
{
    n_assert(0 == Singleton);
    Singleton = this;
    nKernelServer* ks = nKernelServer::Instance();
    nRoot* existing = ks->Lookup("/sys/share/assigns");
    if (existing)
    {
        this->assignDir.set(existing);
        return;
    }
    n_assert(!this->assignDir.isvalid());
    this->assignDir.set(static_cast<nRoot*>(ks->New("nroot", "/sys/share/assigns")));
    this->InitAssigns();
}

/*
 * ~nFileServer2 --
 *     Gives up the singleton. The assigns stay in the tree.
 */
nFileServer2::~nFileServer2()
{
    n_assert(0 != Singleton);
    Singleton = nullptr;
    this->assignDir.invalidate();
}

nFileServer2* nFileServer2::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * HomeFromProgramPath --
 *     A program that lives in a directory named "linux" or "linuxd" (any
 *     case) sits two levels below the home directory, as in bin/linux/.
 * Results: the home directory with a trailing "/".
 */
nString nFileServer2::HomeFromProgramPath(const char* programPath)
{
    n_assert(programPath);
    const std::string path = Slashes(programPath);
    const size_t lastSlash = path.rfind('/');
    const std::string dir = (lastSlash == std::string::npos) ? std::string() : path.substr(0, lastSlash + 1);
    const std::string withoutSlash = dir.empty() ? dir : dir.substr(0, dir.size() - 1);
    const size_t prevSlash = withoutSlash.rfind('/');
    std::string dirName = (prevSlash == std::string::npos) ? withoutSlash : withoutSlash.substr(prevSlash + 1);
    for (char& c : dirName)
    {
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    }
    if (dirName == "linux" || dirName == "linuxd")
    {
        return nString(CutLevel(CutLevel(dir)).c_str());
    }
    return nString(dir.c_str());
}

/*
 * InitHomeAssign --
 *     Sets home from the program file's path.
 */
void nFileServer2::InitHomeAssign()
{
    const std::string program = ProgramPath();
    this->SetAssign("home", HomeFromProgramPath(program.c_str()).Get());
}

/*
 * InitAssigns --
 *     Sets home, bin, user and temp, in that order, then appdata: the
 *     user's data directory (XDG), where applications keep what they
 *     write for the user; temp's directory when the user has no home.
 */
void nFileServer2::InitAssigns()
{
    this->InitHomeAssign();

    const std::string binProgram = ProgramPath();
    this->SetAssign("bin", binProgram.substr(0, binProgram.rfind('/') + 1).c_str());

    constexpr long S_OK = 0;
    const std::string docs = nPlatformUserDocumentsDir();
    const long hr = docs.empty() ? -1 : S_OK;
    n_assert(S_OK == hr);
    this->SetAssign("user", (Slashes(docs) + "/").c_str());

    const std::string temp = nPlatformTempDir();
    const int numChars = (int)temp.size();
    n_assert(numChars > 0);
    this->SetAssign("temp", (Slashes(temp) + "/").c_str());

    const std::string appData = nPlatformFolders::DataHome();
    this->SetAssign("appdata", ((appData.empty() ? Slashes(temp) : appData) + "/").c_str());
}

/*
 * SetAssign --
 *     One trailing "/" or "\" is replaced by "/" (a missing one added).
 *     Names come from scripts too: one that is no plain child name, or
 *     names a node that cannot hold a path, is refused with a message.
 * Results: true when the assign is set. Side effects: creates or updates
 *     the assign's nenv.
 */
bool nFileServer2::SetAssign(const char* assignName, const char* pathName)
{
    n_assert(assignName);
    n_assert(pathName);
    nRoot* node = IsAssignName(assignName) ? this->assignDir->Find(assignName) : nullptr;
    if (!IsAssignName(assignName) || (node && !CanHoldAssign(node)))
    {
        n_printf("nFileServer2::SetAssign(): '%s' is no assign name!\n", assignName);
        return false;
    }
    nString value(pathName);
    const int len = value.Length();
    if (len > 0 && (pathName[len - 1] == '/' || pathName[len - 1] == '\\'))
    {
        value.Set(pathName, len - 1);
    }
    value.Append("/");

    nKernelServer* ks = nKernelServer::Instance();
    ks->PushCwd(this->assignDir.get());
    if (!node)
    {
        node = static_cast<nRoot*>(ks->NewNoFail("nenv", assignName));
        if (!node)
        {
            ks->PopCwd();
            return false;
        }
    }
    static_cast<nEnv*>(node)->SetS(value.Get());
    ks->PopCwd();
    return true;
}

/*
 * GetAssign --
 *     Results: the stored value, or 0 (with a message) when the assign is
 *     not defined. A node there that holds no text is no assign.
 */
const char* nFileServer2::GetAssign(const char* assignName)
{
    n_assert(assignName);
    nRoot* node = this->assignDir.isvalid() ? this->assignDir->Find(assignName) : nullptr;
    if (node && node->IsA("nenv") && static_cast<nEnv*>(node)->GetType() == nArg::String)
    {
        return static_cast<nEnv*>(node)->GetS();
    }
    n_printf("Assign '%s' not defined!\n", assignName);
    return nullptr;
}

/*
 * ManglePath --
 *     Expands assigns from the left until the first ":" is missing or
 *     stands at index 0 or 1 (a drive letter). An unknown assign empties
 *     the path; so does a chain of assigns nested deeper than any real
 *     setup, which can only be a cycle ("a" set to "a:x").
 * Results: the path with "/" separators and without one trailing "/"
 *     (the root "/" stays).
 */
nString nFileServer2::ManglePath(const char* path)
{
    n_assert(path);
    std::string cur = path;
    for (int depth = 0;; depth++)
    {
        const size_t colon = cur.find(':');
        if (colon == std::string::npos || colon < 2) break;
        if (depth == kMaxAssignDepth)
        {
            n_printf("nFileServer2::ManglePath(): assigns nested too deep in '%s'!\n", path);
            cur.clear();
            break;
        }
        const std::string name = cur.substr(0, colon);
        const char* value = this->GetAssign(name.c_str());
        if (!value)
        {
            cur.clear();
            break;
        }
        cur = std::string(value) + cur.substr(colon + 1);
    }
    cur = Slashes(cur);
    if (cur.size() > 1 && cur.back() == '/') cur.pop_back();
    return nString(cur.c_str());
}

/*
 * MakePath --
 *     Walks up to the first level that exists, then creates the missing
 *     levels from the outermost inwards.
 * Results: false when no level exists or a creation fails.
 */
bool nFileServer2::MakePath(const char* dirName)
{
    n_assert(dirName);
    nDirectory* dir = this->NewDirectoryObject();
    n_assert(dir);
    nString cur = this->ManglePath(dirName);
    std::vector<nString> missing;
    while (!cur.IsEmpty() && !dir->Open(cur.Get()))
    {
        missing.push_back(cur);
        cur = ParentPath(cur);
    }
    if (dir->IsOpen())
    {
        dir->Close();
    }
    n_delete(dir);
    if (cur.IsEmpty()) return false;
    for (size_t i = missing.size(); i-- > 0;)
    {
        if (!nPlatformDir::Make(missing[i].Get())) return false;
    }
    return true;
}

/*
 * CopyFile --
 *     A read-only target is made writable first, and read-only again when
 *     the copy fails, so a refused copy (a missing source, a file copied
 *     onto itself) leaves the target as it was.
 * Results: true when the whole file was copied.
 */
bool nFileServer2::CopyFile(const char* from, const char* to)
{
    n_assert(from && to);
    const nString src = this->ManglePath(from);
    const nString dst = this->ManglePath(to);
    const bool wasReadOnly = this->FileExists(dst.Get()) && nPlatformFile::IsReadOnly(dst.Get());
    if (wasReadOnly)
    {
        nPlatformFile::SetReadOnly(dst.Get(), false);
    }
    const bool copied = nPlatformFile::Copy(src.Get(), dst.Get());
    if (!copied && wasReadOnly)
    {
        nPlatformFile::SetReadOnly(dst.Get(), true);
    }
    return copied;
}

bool nFileServer2::DeleteFile(const char* filename)
{
    n_assert(filename);
    return nPlatformFile::Delete(this->ManglePath(filename).Get());
}

bool nFileServer2::DeleteDirectory(const char* dirName)
{
    n_assert(dirName);
    return nPlatformDir::Remove(this->ManglePath(dirName).Get());
}

uint nFileServer2::Crc32(const uchar* data, int numBytes)
{
    uint crc = 0;
    for (int i = 0; i < numBytes; i++)
    {
        crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ data[i]];
    }
    return crc;
}

/*
 * Checksum --
 *     Reads the whole file (archived files too) and computes its CRC-32.
 * Results: false, crc 0, when the file cannot be opened or read whole.
 */
bool nFileServer2::Checksum(const char* filename, uint& crc)
{
    n_assert(filename);
    crc = 0;
    nFile* file = this->NewFileObject();
    n_assert(file);
    if (!file->Open(filename, "rb"))
    {
        file->Release();
        return false;
    }
    const int numBytes = file->GetSize();
    bool ok = true;
    if (numBytes > 0)
    {
        uchar* buffer = (uchar*)n_malloc(numBytes);
        n_assert(buffer);
        const int numRead = file->Read(buffer, numBytes);
        if (numRead == numBytes)
        {
            crc = Crc32(buffer, numBytes);
        }
        else
        {
            n_printf("nFileServer2::Checksum(): could not read '%s' whole!\n", filename);
            ok = false;
        }
        n_free(buffer);
    }
    file->Close();
    file->Release();
    return ok;
}

void nFileServer2::SetFileReadOnly(const char* filename, bool readOnly)
{
    n_assert(filename);
    nPlatformFile::SetReadOnly(this->ManglePath(filename).Get(), readOnly);
}

bool nFileServer2::IsFileReadOnly(const char* filename)
{
    n_assert(filename);
    return nPlatformFile::IsReadOnly(this->ManglePath(filename).Get());
}

nDirectory* nFileServer2::NewDirectoryObject() const
{
    return n_new(nDirectory);
}

nFile* nFileServer2::NewFileObject() const
{
    return n_new(nFile);
}

/*
 * FileExists --
 *     Asks a file object of this server, so archived files count too.
 */
bool nFileServer2::FileExists(const char* pathName) const
{
    n_assert(pathName);
    nFile* file = this->NewFileObject();
    const bool result = file->Exists(pathName);
    file->Release();
    return result;
}

/*
 * DirectoryExists --
 *     Asks a directory object of this server, so archived directories
 *     count too.
 */
bool nFileServer2::DirectoryExists(const char* pathName) const
{
    n_assert(pathName);
    nDirectory* dir = this->NewDirectoryObject();
    const bool result = dir->Open(pathName);
    if (result)
    {
        dir->Close();
    }
    n_delete(dir);
    return result;
}

/*
 * CreateFileNode --
 *     Results: a new file node at /sys/share/files/<name>; an existing
 *     node of that name is a fatal error.
 */
nFileNode* nFileServer2::CreateFileNode(const char* name)
{
    n_assert(name);
    nString path("/sys/share/files/");
    path.Append(name);
    nKernelServer* ks = nKernelServer::Instance();
    if (ks->Lookup(path.Get()))
    {
        n_error("nFileServer2: file node '%s' exists!", name);
    }
    // a name that makes no path (too long, "..") is reported with 0
    return static_cast<nFileNode*>(ks->NewNoFail("nfilenode", path.Get()));
}
