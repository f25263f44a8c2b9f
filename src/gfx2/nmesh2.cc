//------------------------------------------------------------------------------
//  nmesh2.cc
//------------------------------------------------------------------------------
#include "gfx2/nmesh2.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/nmesharray.h"
#include "gfx2/nn3d2loader.h"
#include "gfx2/nnvx2loader.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourceloader.h"

#include <cctype>
#include <cstring>
#include <memory>

namespace
{

struct UsageName
{
    int flag;
    const char* name;
};

/// the usage words in the order the text gives them
const UsageName UsageNames[] = {
    {nMesh2::WriteOnce, "WriteOnce"},     {nMesh2::ReadOnly, "ReadOnly"},
    {nMesh2::WriteOnly, "WriteOnly"},     {nMesh2::NPatch, "NPatch"},
    {nMesh2::RTPatch, "RTPatch"},         {nMesh2::PointSprite, "PointSprite"},
    {nMesh2::NeedsVertexShader, "NeedsVertexShader"},
};

/// the components a mesh keeps when vertex programs run emulated:
/// everything but tangent and binormal
const int EmulatedComponents = nMesh2::AllComponents & ~(nMesh2::Tangent | nMesh2::Binormal);

}  // namespace

nMesh2::nMesh2() :
    usage(WriteOnce),
    vertexComponents(0),
    vertexWidth(0),
    numVertices(0),
    numEdges(0),
    numIndices(0),
    numGroups(0),
    groups(nullptr),
    vertexBufferByteSize(0),
    indexBufferByteSize(0),
    edgeBufferByteSize(0),
    privEdgeBuffer(nullptr)
{
    this->SetType(Mesh);
}

nMesh2::~nMesh2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
    n_delete_array(this->groups);
}

/*
 * ConvertUsageFlagsToString --
 *     Results: the names of the set flags, each followed by "|", in the
 *     order WriteOnce, ReadOnly, WriteOnly, NPatch, RTPatch, PointSprite,
 *     NeedsVertexShader; "" for none. The reader skips the empty word
 *     after the last "|", so the text reads back as the same flags.
 */
nString nMesh2::ConvertUsageFlagsToString(int usage)
{
    nString str;
    for (const UsageName& u : UsageNames)
    {
        if (usage & u.flag)
        {
            str.Append(u.name);
            str.Append("|");
        }
    }
    return str;
}

/*
 * ConvertUsageStringToFlags --
 *     Results: the OR of the flags named in the text, in any case and
 *     split at "|" (empty words are skipped, so an empty text is 0); -1
 *     when a word names no flag (a saved file is outside data).
 *     Side effects: logs the first bad word.
 */
int nMesh2::ConvertUsageStringToFlags(const char* str)
{
    if (!str) return 0;
    int flags = 0;
    const char* p = str;
    while (*p)
    {
        const size_t len = strcspn(p, "|");
        if (len > 0)
        {
            int flag = 0;
            for (const UsageName& u : UsageNames)
            {
                if (strlen(u.name) == len && 0 == strncasecmp(u.name, p, len)) flag = u.flag;
            }
            if (0 == flag)
            {
                n_printf("nMesh2::ConvertUsageStringToFlags: Invalid flag string '%.*s' in '%s'\n", (int)n_min(len, (size_t)256),
                         p, str);
                return -1;
            }
            flags |= flag;
        }
        p += len;
        if (*p) p++;
    }
    return flags;
}

float* nMesh2::LockVertices()
{
    return nullptr;
}

void nMesh2::UnlockVertices()
{
}

ushort* nMesh2::LockIndices()
{
    return nullptr;
}

void nMesh2::UnlockIndices()
{
}

nMesh2::Edge* nMesh2::LockEdges()
{
    return this->privEdgeBuffer;
}

void nMesh2::UnlockEdges()
{
}

void nMesh2::SetVertexComponents(int compMask)
{
    this->vertexComponents = compMask;
    this->vertexWidth = compMask ? GetVertexWidthFromMask(compMask) : 0;
}

void nMesh2::SetNumEdges(int num)
{
    n_assert(num >= 0);
    this->numEdges = num;
}

void nMesh2::SetNumGroups(int num)
{
    n_assert(num > 0);
    n_assert(0 == this->groups);
    this->numGroups = num;
    this->groups = n_new_array(nMeshGroup, num);
}

nMeshGroup& nMesh2::Group(int i)
{
    n_assert(this->groups && i >= 0 && i < this->numGroups);
    return this->groups[i];
}

const nMeshGroup& nMesh2::GetGroup(int i) const
{
    n_assert(this->groups && i >= 0 && i < this->numGroups);
    return this->groups[i];
}

void nMesh2::SetVertexBufferByteSize(int s)
{
    n_assert(s > 0);
    this->vertexBufferByteSize = s;
}

void nMesh2::SetIndexBufferByteSize(int s)
{
    n_assert(s > 0);
    this->indexBufferByteSize = s;
}

void nMesh2::SetEdgeBufferByteSize(int s)
{
    n_assert(s > 0);
    this->edgeBufferByteSize = s;
}

int nMesh2::GetByteSize()
{
    return this->IsValid() ? this->numEdges * (int)sizeof(Edge) : 0;
}

bool nMesh2::CreateVertexBuffer()
{
    n_error("nMesh2: pure virtual function CreateVertexBuffer() called!\n");
}

bool nMesh2::CreateIndexBuffer()
{
    n_error("nMesh2: pure virtual function CreateIndexBuffer() called!\n");
}

/*
 * CreateEdgeBuffer --
 *     Results: true.
 *     Side effects: allocates the zeroed edges of edgeBufferByteSize.
 */
bool nMesh2::CreateEdgeBuffer()
{
    n_assert(0 == this->privEdgeBuffer);
    n_assert(this->edgeBufferByteSize > 0);
    this->privEdgeBuffer = n_new_array(Edge, this->edgeBufferByteSize / (int)sizeof(Edge));
    n_assert(this->privEdgeBuffer);
    memset(this->privEdgeBuffer, 0, this->edgeBufferByteSize);
    return true;
}

/*
 * ReleaseBuffers --
 *     Side effects: frees the groups and the edges.
 */
void nMesh2::ReleaseBuffers()
{
    n_delete_array(this->groups);
    this->groups = nullptr;
    this->numGroups = 0;
    n_delete_array(this->privEdgeBuffer);
    this->privEdgeBuffer = nullptr;
    this->edgeBufferByteSize = 0;
}

/*
 * NewLoader --
 *     Results: a reader for an "nvx2" or "n3d2" file; null, reported, for
 *     any other extension.
 */
nMeshLoader* nMesh2::NewLoader(const nString& filename)
{
    if (filename.CheckExtension("nvx2")) return n_new(nNvx2Loader);
    if (filename.CheckExtension("n3d2")) return n_new(nN3d2Loader);
    n_printf("nMesh2::LoadResource: filetype not supported: '%s'\n", filename.Get());
    return nullptr;
}

bool nMesh2::VertexShadersEmulated()
{
    nGfxServer2* gfx = nGfxServer2::Running();
    return gfx && gfx->IsDisplayOpen() && gfx->AreVertexShadersEmulated();
}

/*
 * LoadResource --
 *     Results: true when the mesh was loaded from its file, made empty
 *     (no file name), or its resource loader loaded it; false, reported,
 *     for a file that cannot be read (the mesh stays Unloaded).
 *     Side effects: the state becomes Valid or Empty.
 */
bool nMesh2::LoadResource()
{
    n_assert(Unloaded == this->GetState());
    const nString filename = this->GetFilename();
    if (filename.IsEmpty()) return this->LoadEmpty();
    nResourceLoader* resourceLoader = this->GetResourceLoaderObject();
    if (resourceLoader) return resourceLoader->Load(filename.Get(), this);

    const Parsed* parsed = this->uploading;
    std::unique_ptr<nMeshLoader> loader;
    if (!parsed || parsed->wantedComponents != this->WantedComponents())
    {
        loader.reset(this->NewLoader(filename));
        if (!loader) return false;
        loader->SetValidVertexComponents(this->WantedComponents());
    }
    const bool ok = loader ? this->LoadFile(loader.get()) : this->BuildFromParsed(*parsed, true, filename);
    if (ok) this->SetState(Valid);
    return ok;
}

/*
 * WantedComponents --
 *     Results: every component, or those kept when vertex programs run
 *     emulated for a mesh that does not need them.
 */
int nMesh2::WantedComponents()
{
    const bool emulated = !(this->usage & NeedsVertexShader) && this->VertexShadersEmulated();
    return emulated ? EmulatedComponents : nMeshLoader().GetValidVertexComponents();
}

/*
 * Load --
 *     Results: nResource::Load's.
 *     Side effects: before a background load is queued, notes the
 *     components the reader is to keep, which the loader thread may not
 *     ask the graphics server for.
 */
bool nMesh2::Load()
{
    if (this->GetAsyncEnabled() && this->IsUnloaded() && !this->IsPending())
    {
        const int wanted = this->WantedComponents();
        this->LockMutex();
        this->readComponents = wanted;
        this->UnlockMutex();
    }
    return nResource::Load();
}

/*
 * ReadResource --
 *     Results: true.
 *     Side effects: on the loader thread, a mesh file of a known kind
 *     (not an empty mesh, nor one a resource loader makes) is read into
 *     memory for UploadResource. A file that does not read whole leaves
 *     nothing: the upload loads it again and reports as a load at once.
 */
bool nMesh2::ReadResource()
{
    this->readParsed.reset();
    const nString filename = this->GetFilename();
    if (filename.IsEmpty() || this->GetResourceLoader() ||
        !(filename.CheckExtension("nvx2") || filename.CheckExtension("n3d2")))
    {
        return true;
    }
    std::unique_ptr<nMeshLoader> loader(this->NewLoader(filename));
    loader->SetQuiet(true);
    loader->SetFilename(filename);
    loader->SetValidVertexComponents(this->readComponents);
    auto parsed = std::make_unique<Parsed>();
    if (ParseOk == ParseFile(loader.get(), nFileServer2::Instance(), *parsed))
    {
        this->readParsed = std::move(parsed);
    }
    return true;
}

/*
 * UploadResource --
 *     Results: LoadResource's, on the main thread, from what was read
 *     (when the loader thread read the file).
 *     Side effects: what was read is freed.
 */
bool nMesh2::UploadResource()
{
    const std::unique_ptr<Parsed> parsed = std::move(this->readParsed);
    this->uploading = parsed.get();
    const bool ok = this->LoadResource();
    this->uploading = nullptr;
    return ok;
}

/*
 * LoadEmpty --
 *     Results: true unless the device cannot make a buffer (reported, and
 *     what was made is given back).
 *     Side effects: buffers for the counts set (none for a zero count);
 *     the state becomes Empty.
 */
bool nMesh2::LoadEmpty()
{
    bool ok = true;
    if (this->numVertices > 0)
    {
        this->SetVertexBufferByteSize(this->numVertices * this->vertexWidth * (int)sizeof(float));
        ok = this->CreateVertexBuffer();
    }
    if (ok && this->numIndices > 0)
    {
        this->SetIndexBufferByteSize(this->numIndices * (int)sizeof(ushort));
        ok = this->CreateIndexBuffer();
    }
    if (ok && this->numEdges > 0)
    {
        this->SetEdgeBufferByteSize(this->numEdges * (int)sizeof(Edge));
        ok = this->CreateEdgeBuffer();
    }
    if (!ok)
    {
        this->ReleaseBuffers();
        return false;
    }
    this->SetState(Empty);
    return true;
}

/*
 * LoadFile --
 *     Results: true when the file was read whole; else false, reported by
 *     the reader or here, with the buffers given back.
 *     Side effects: takes the counts, components and groups of the file,
 *     makes and fills the buffers, computes the group boxes.
 */
bool nMesh2::LoadFile(nMeshLoader* meshLoader)
{
    n_assert(meshLoader);
    n_assert(this->IsUnloaded());
    const nString filename = this->GetFilename();
    meshLoader->SetFilename(filename);
    Parsed parsed;
    const ParseResult result = ParseFile(meshLoader, nKernelServer::Instance()->GetFileServer(), parsed);
    if (ParseOpenFailed == result)
    {
        n_printf("nMesh2: could not open file '%s'!\n", filename.Get());
        return false;
    }
    return this->BuildFromParsed(parsed, ParseOk == result, filename);
}

/*
 * ParseFile --
 *     Results: ParseOk with the file's counts, components, groups and
 *     data in out; ParseOpenFailed when the header cannot be read;
 *     ParseReadFailed, the header in out, when the data cannot. The
 *     reader reports unless it is quiet; nothing else is touched, so this
 *     may run off the main thread.
 */
nMesh2::ParseResult nMesh2::ParseFile(nMeshLoader* meshLoader, nFileServer2* fs, Parsed& out)
{
    meshLoader->SetIndexType(nMeshLoader::Index16);
    out.wantedComponents = meshLoader->GetValidVertexComponents();
    if (!meshLoader->Open(fs))
    {
        return ParseOpenFailed;
    }
    out.numVertices = meshLoader->GetNumVertices();
    out.vertexComponents = meshLoader->GetVertexComponents();
    out.vertexWidth = meshLoader->GetVertexWidth();
    out.numIndices = meshLoader->GetNumIndices();
    out.numEdges = meshLoader->GetNumEdges();
    for (int i = 0; i < meshLoader->GetNumGroups(); i++) out.groups.Append(meshLoader->GetGroup(i));
    // a file without vertices or triangles has no data of that kind
    bool ok = true;
    if (out.numVertices > 0)
    {
        out.vertices.resize(size_t(out.numVertices) * size_t(out.vertexWidth));
        ok = meshLoader->ReadVertices(out.vertices.data(), int(out.vertices.size() * sizeof(float)));
    }
    if (ok && out.numIndices > 0)
    {
        out.indices.resize(size_t(out.numIndices));
        ok = meshLoader->ReadIndices(out.indices.data(), int(out.indices.size() * sizeof(ushort)));
    }
    if (ok && out.numEdges > 0)
    {
        out.edges.resize(size_t(out.numEdges));
        ok = meshLoader->ReadEdges(out.edges.data(), int(out.edges.size() * sizeof(Edge)));
    }
    meshLoader->Close();
    return ok ? ParseOk : ParseReadFailed;
}

/*
 * BuildFromParsed --
 *     Results: true when the buffers were made and filled; false,
 *     reported, when the data was not read or a buffer cannot be made or
 *     locked, with the buffers given back.
 *     Side effects: takes the counts, components and groups read (even on
 *     failure), computes the group boxes.
 */
bool nMesh2::BuildFromParsed(const Parsed& parsed, bool readOk, const nString& filename)
{
    n_delete_array(this->groups);
    this->groups = nullptr;
    this->SetNumGroups(parsed.groups.Size());
    this->SetNumVertices(parsed.numVertices);
    this->SetVertexComponents(parsed.vertexComponents);
    this->SetNumIndices(parsed.numIndices);
    this->SetNumEdges(parsed.numEdges);
    for (int i = 0; i < this->numGroups; i++) this->groups[i] = parsed.groups[i];
    n_assert(this->GetVertexWidth() == parsed.vertexWidth);

    bool ok = readOk;
    if (ok && this->numVertices > 0)
    {
        this->SetVertexBufferByteSize(this->numVertices * this->vertexWidth * (int)sizeof(float));
        ok = this->CreateVertexBuffer();
        if (ok)
        {
            float* vertices = this->LockVertices();
            ok = nullptr != vertices;
            if (ok) memcpy(vertices, parsed.vertices.data(), this->vertexBufferByteSize);
            this->UnlockVertices();
        }
    }
    if (ok && this->numIndices > 0)
    {
        this->SetIndexBufferByteSize(this->numIndices * (int)sizeof(ushort));
        ok = this->CreateIndexBuffer();
        if (ok)
        {
            ushort* indices = this->LockIndices();
            ok = nullptr != indices;
            if (ok) memcpy(indices, parsed.indices.data(), this->indexBufferByteSize);
            this->UnlockIndices();
        }
    }
    if (ok && this->numEdges > 0)
    {
        this->SetEdgeBufferByteSize(this->numEdges * (int)sizeof(Edge));
        ok = this->CreateEdgeBuffer();
        if (ok)
        {
            memcpy(this->LockEdges(), parsed.edges.data(), this->edgeBufferByteSize);
            this->UnlockEdges();
        }
    }
    if (!ok)
    {
        n_printf("nMesh2: could not read file '%s'!\n", filename.Get());
        this->ReleaseBuffers();
        return false;
    }
    this->UpdateGroupBoundingBoxes();
    return true;
}

/*
 * UpdateGroupBoundingBoxes --
 *     Side effects: each group's box becomes the box around the coords of
 *     the vertices its index range names (the reader checked ranges and
 *     indices); a group without indices keeps the empty start box.
 */
void nMesh2::UpdateGroupBoundingBoxes()
{
    const float* vertices = (this->numVertices > 0) ? this->LockVertices() : nullptr;
    const ushort* indices = (this->numIndices > 0) ? this->LockIndices() : nullptr;
    const bool hasCoord = 0 != (this->vertexComponents & Coord);
    for (int g = 0; g < this->numGroups; g++)
    {
        nMeshGroup& group = this->groups[g];
        group.box.vmin.set(1000000.0f, 1000000.0f, 1000000.0f);
        group.box.vmax.set(-1000000.0f, -1000000.0f, -1000000.0f);
        if (!vertices || !indices || !hasCoord) continue;
        for (int i = group.firstIndex; i < group.firstIndex + group.numIndices; i++)
        {
            const float* v = vertices + indices[i] * this->vertexWidth;
            group.box.extend(vector3(v[0], v[1], v[2]));
        }
    }
    if (indices) this->UnlockIndices();
    if (vertices) this->UnlockVertices();
}

/*
 * UnloadResource --
 *     Side effects: a mesh the graphics server draws with, alone or in
 *     the bound mesh array, is taken off it (the array unbound); the
 *     groups and the edges are freed; the state becomes Unloaded.
 */
void nMesh2::UnloadResource()
{
    n_assert(Unloaded != this->GetState());
    nGfxServer2* gfxServer = nGfxServer2::Running();
    if (gfxServer && gfxServer->GetMesh() == this)
    {
        gfxServer->SetMesh(nullptr);
    }
    // a bound mesh array that draws this mesh's buffers would draw freed ones
    nMeshArray* array = gfxServer ? gfxServer->GetMeshArray() : nullptr;
    for (int s = 0; array && s < nMeshArray::MaxVertexStreams; s++)
    {
        if (array->GetMeshAt(s) == this)
        {
            gfxServer->SetMeshArray(nullptr);
            array = nullptr;
        }
    }
    this->ReleaseBuffers();
    this->readParsed.reset();
    this->SetState(Unloaded);
}

/*
 * ParseUsageString --
 *     Results: true with the flags of the text; false, flags untouched,
 *     when a word is no usage (reported).
 *     Side effects: none.
 */
bool nMesh2::ParseUsageString(const char* str, int& flags)
{
    const int parsed = ConvertUsageStringToFlags(str);
    if (parsed < 0) return false;
    flags = parsed;
    return true;
}
