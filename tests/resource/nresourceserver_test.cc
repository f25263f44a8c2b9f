//------------------------------------------------------------------------------
//  The resource server on the calling thread: pools, names, sharing,
//  the bulk operations and the state rules of Load and Unload.
//------------------------------------------------------------------------------
#include "testresource.h"
#include "resource/nresourceloader.h"
#include "capturelog.h"
#include "util/assertdeath.h"

#include <string>
#include <vector>

namespace
{

const int AllTypes[nResourceServer::NumPools] = {
    nResource::Bundle, nResource::Mesh, nResource::Texture, nResource::Shader, nResource::Animation,
    nResource::SoundResource, nResource::SoundInstance, nResource::Font, nResource::Other};

TEST_F(ResourceTest, NinePoolsLiveUnderShareRsrc)
{
    const char* paths[] = {"mesh", "tex", "shd", "anim", "sndrsrc", "sndinst", "font", "bundle", "other"};
    for (const char* p : paths)
    {
        const std::string path = std::string("/sys/share/rsrc/") + p;
        EXPECT_NE(this->ks->Lookup(path.c_str()), nullptr) << path;
    }
    EXPECT_EQ(this->rs->GetResourcePool(nResource::Texture), this->ks->Lookup("/sys/share/rsrc/tex"));
    EXPECT_EQ(this->rs->GetResourcePool(nResource::Other), this->ks->Lookup("/sys/share/rsrc/other"));
}

TEST_F(ResourceTest, SameNameAndTypeSharesOneCountedResource)
{
    nTestResource* a = this->NewTest("textures:wall.dds");
    nTestResource* b = this->NewTest("textures:wall.dds");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->GetRefCount(), 2);
    EXPECT_EQ(a->GetState(), nResource::Unloaded);
    EXPECT_STREQ(a->GetName(), "textures_wall_dds");

    nTestResource* other = this->NewTest("textures:wall.dds", nResource::Mesh);
    EXPECT_NE(other, a);
    EXPECT_EQ(other->GetRefCount(), 1);

    EXPECT_FALSE(b->Release());
    EXPECT_TRUE(a->Release());
    EXPECT_EQ(this->rs->FindResource("textures:wall.dds", nResource::Texture), nullptr);
    EXPECT_EQ(this->rs->FindResource("textures:wall.dds", nResource::Mesh), other);
    other->Release();
}

TEST_F(ResourceTest, NullNamesAreNumberedUniques)
{
    nTestResource* a = this->NewTest(nullptr);
    nTestResource* b = this->NewTest(nullptr, nResource::Shader);
    EXPECT_STREQ(a->GetName(), "unique0");
    EXPECT_STREQ(b->GetName(), "unique1");
    a->Release();
    b->Release();
}

// One rule: a name of up to 31 characters is the file name with '.', '/',
// ':' and '\' made '_'; a longer one keeps its last 22 characters so
// made, then '_' and a hash of the whole name (31 characters in all).
TEST_F(ResourceTest, ResourceIdsFollowOneRule)
{
    struct Case
    {
        const char* file;
        const char* id;  // null: long name, checked by its form
    };
    const Case cases[] = {
        {"", ""},
        {"a", "a"},
        {"home:data/tex\\x.dds", "home_data_tex_x_dds"},
        {"keep-these_chars!~ #", "keep-these_chars!~ #"},
        {"0123456789012345678901234567890", "0123456789012345678901234567890"},
        {"0123456789012345678901234567890a", nullptr},
        {"textures:characters/boxer/head.dds", nullptr},
        {"/a/very/long/path/to/some/mesh/file.n3d2", nullptr},
    };
    for (const Case& c : cases)
    {
        char buf[N_MAXNAMELEN];
        const std::string id = this->rs->GetResourceId(c.file, buf, sizeof(buf));
        if (c.id)
        {
            EXPECT_EQ(id, c.id) << c.file;
            continue;
        }
        const std::string file = c.file;
        std::string tail = file.substr(file.size() - 22);
        for (char& ch : tail)
        {
            if (ch == '.' || ch == '/' || ch == ':' || ch == '\\') ch = '_';
        }
        ASSERT_EQ(id.size(), 31u) << c.file;
        EXPECT_EQ(id.substr(0, 23), tail + "_") << c.file;
        EXPECT_EQ(id.substr(23).find_first_not_of("0123456789abcdef"), std::string::npos) << id;
    }
}

TEST_F(ResourceTest, LongPathsEndingAlikeStayApart)
{
    const char* one = "ring:levels/shared/textures/floor_canvas.dds";
    const char* two = "gym1:levels/shared/textures/floor_canvas.dds";
    ASSERT_EQ(std::string(one).substr(4), std::string(two).substr(4));
    nTestResource* a = this->NewTest(one);
    nTestResource* b = this->NewTest(two);
    EXPECT_NE(a, b);
    EXPECT_EQ(this->rs->FindResource(one, nResource::Texture), a);
    EXPECT_EQ(this->rs->FindResource(two, nResource::Texture), b);
    a->Release();
    b->Release();
}

TEST_F(ResourceTest, ExistingObjectOfAnotherClassIsRefused)
{
    CaptureLog log;
    this->ks->SetLogHandler(&log);
    nTestResource* mesh = this->NewTest("shared.n3d2", nResource::Mesh);
    EXPECT_EQ(this->rs->NewResource("nasynctestresource", "shared.n3d2", nResource::Mesh), nullptr);
    EXPECT_NE(log.text.find("not a 'nasynctestresource'"), std::string::npos) << log.text;
    EXPECT_EQ(mesh->GetRefCount(), 1);
    // the base class of the object it holds is fine
    EXPECT_EQ(this->rs->NewResource("nresource", "shared.n3d2", nResource::Mesh), mesh);
    mesh->Release();
    mesh->Release();
    this->ks->SetLogHandler(nullptr);
}

TEST_F(ResourceTest, APoolDeletedByAScriptIsMadeAgainAtTheNextRequest)
{
    CaptureLog log;
    this->ks->SetLogHandler(&log);
    for (int type : AllTypes)
    {
        SCOPED_TRACE(type);
        nTestResource* held = this->NewTest("held.dds", type);
        nRef<nTestResource> ref(held);
        nRoot* pool = this->rs->GetResourcePool(type);
        const std::string path = pool->GetFullName().Get();
        // what a script's delete does: the pool and its resources die
        pool->Release();
        EXPECT_FALSE(ref.isvalid());
        EXPECT_EQ(this->ks->Lookup(path.c_str()), nullptr);
        log.text.clear();
        EXPECT_EQ(this->rs->FindResource("held.dds", type), nullptr);
        EXPECT_NE(log.text.find("the pool '" + path + "' was deleted"), std::string::npos) << log.text;
        nTestResource* again = this->NewTest("held.dds", type);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->GetParent(), this->ks->Lookup(path.c_str()));
        EXPECT_TRUE(this->rs->LoadResources(type));
        this->rs->UnloadResources(nResource::AllResourceTypes);
        again->Release();
    }
    this->ks->SetLogHandler(nullptr);
}

TEST_F(ResourceTest, UnknownOrNonResourceClassGivesNull)
{
    CaptureLog log;
    this->ks->SetLogHandler(&log);
    EXPECT_EQ(this->rs->NewResource("nnosuchclass", "x", nResource::Animation), nullptr);
    EXPECT_EQ(this->rs->NewResource("nroot", "y", nResource::Animation), nullptr);
    EXPECT_EQ(this->rs->GetNumResources(nResource::Animation), 0);
    EXPECT_NE(log.text.find("'nnosuchclass' is no registered resource class"), std::string::npos) << log.text;
    this->ks->SetLogHandler(nullptr);
}

TEST_F(ResourceTest, FindResourceAddsNoReferenceAndSkipsForeignObjects)
{
    nTestResource* res = this->NewTest("a.dds");
    EXPECT_EQ(this->rs->FindResource("a.dds", nResource::Texture), res);
    EXPECT_EQ(this->rs->FindResource("a_dds", nResource::Texture), res);
    EXPECT_EQ(res->GetRefCount(), 1);
    this->ks->New("nroot", "/sys/share/rsrc/tex/plain");
    EXPECT_EQ(this->rs->FindResource("plain", nResource::Texture), nullptr);
    res->Release();
}

// The bulk operations over a type mask: each row names the operation, the
// mask, and the pools whose resources it reaches. Mesh, texture and
// animation masks also reach the bundle pool on Unload and Load only.
TEST_F(ResourceTest, BulkOperationsReachThePoolsOfTheMask)
{
    enum Op { UnloadOp, LoadOp, LostOp, RestoredOp };
    struct Case
    {
        Op op;
        int mask;
        int reached;
    };
    const Case cases[] = {
        {UnloadOp, nResource::Texture, nResource::Texture | nResource::Bundle},
        {UnloadOp, nResource::Shader, nResource::Shader},
        {UnloadOp, nResource::Mesh, nResource::Mesh | nResource::Bundle},
        {UnloadOp, nResource::Animation, nResource::Animation | nResource::Bundle},
        {UnloadOp, nResource::Font | nResource::Other, nResource::Font | nResource::Other},
        {UnloadOp, nResource::AllResourceTypes, nResource::AllResourceTypes},
        {UnloadOp, 0, 0},
        {LoadOp, nResource::Texture, nResource::Texture | nResource::Bundle},
        {LoadOp, nResource::SoundResource | nResource::SoundInstance,
         nResource::SoundResource | nResource::SoundInstance},
        {LostOp, nResource::Texture, nResource::Texture},
        {LostOp, nResource::Mesh | nResource::Texture | nResource::Shader | nResource::Font,
         nResource::Mesh | nResource::Texture | nResource::Shader | nResource::Font},
        {RestoredOp, nResource::Texture, nResource::Texture},
        {RestoredOp, nResource::Bundle, nResource::Bundle},
    };
    for (const Case& c : cases)
    {
        std::vector<nTestResource*> all;
        for (int type : AllTypes)
        {
            nTestResource* res = this->NewTest("r", type);
            res->SetFilename("r");
            if (c.op != LoadOp)
            {
                ASSERT_TRUE(res->Load());
            }
            if (c.op == RestoredOp) res->OnLost();
            all.push_back(res);
        }
        switch (c.op)
        {
            case UnloadOp: this->rs->UnloadResources(c.mask); break;
            case LoadOp: EXPECT_TRUE(this->rs->LoadResources(c.mask)); break;
            case LostOp: this->rs->OnLost(c.mask); break;
            case RestoredOp: this->rs->OnRestored(c.mask); break;
        }
        for (int i = 0; i < nResourceServer::NumPools; i++)
        {
            const bool reached = (c.reached & AllTypes[i]) != 0;
            nResource::State expected = nResource::Valid;
            switch (c.op)
            {
                case UnloadOp: expected = reached ? nResource::Unloaded : nResource::Valid; break;
                case LoadOp: expected = reached ? nResource::Valid : nResource::Unloaded; break;
                case LostOp: expected = reached ? nResource::Lost : nResource::Valid; break;
                case RestoredOp: expected = reached ? nResource::Valid : nResource::Lost; break;
            }
            EXPECT_EQ(all[i]->GetState(), expected) << "op " << c.op << " mask " << c.mask << " type " << AllTypes[i];
        }
        for (nTestResource* res : all)
        {
            res->Unload();
            res->Release();
        }
    }
}

TEST_F(ResourceTest, LoadResourcesTriesAllAndReportsAFailure)
{
    nTestResource* bad = this->NewTest("fail.dds");
    nTestResource* good = this->NewTest("good.dds");
    bad->SetFilename("fail.dds");
    good->SetFilename("good.dds");
    EXPECT_FALSE(this->rs->LoadResources(nResource::Texture));
    EXPECT_EQ(bad->GetState(), nResource::Unloaded);
    EXPECT_EQ(good->GetState(), nResource::Valid);
    EXPECT_EQ(Counts().loads.load(), 2);
    bad->SetFilename("ok.dds");
    EXPECT_TRUE(this->rs->LoadResources(nResource::Texture));
    EXPECT_EQ(Counts().loads.load(), 3);
    bad->Release();
    good->Release();
}

// Load calls LoadResource only from Unloaded, and Unload calls
// UnloadResource only from a loaded state; async without CanLoadAsync
// loads at once.
TEST_F(ResourceTest, LoadAndUnloadFollowTheState)
{
    struct Case
    {
        nResource::State from;
        bool async;
        int loads;
        int unloads;
    };
    const Case cases[] = {
        {nResource::Unloaded, false, 1, 1},
        {nResource::Unloaded, true, 1, 1},
        {nResource::Lost, false, 0, 1},
        {nResource::Empty, false, 0, 1},
        {nResource::Valid, true, 0, 1},
    };
    for (const Case& c : cases)
    {
        Counts().loads = 0;
        Counts().unloads = 0;
        nTestResource* res = this->NewTest("x.dds");
        res->SetFilename("x.dds");
        res->SetAsyncEnabled(c.async);
        res->SetState(c.from);
        EXPECT_TRUE(res->Load());
        EXPECT_EQ(Counts().loads.load(), c.loads) << c.from;
        EXPECT_FALSE(res->IsPending());
        EXPECT_TRUE(res->IsLoaded());
        res->Unload();
        res->Unload();
        EXPECT_EQ(Counts().unloads.load(), c.unloads) << c.from;
        EXPECT_TRUE(res->IsUnloaded());
        res->Release();
    }
}

TEST_F(ResourceTest, PoolCountsAndByteSizes)
{
    nTestResource* a = this->NewTest("a", nResource::Font);
    nTestResource* b = this->NewTest("b", nResource::Font);
    EXPECT_EQ(this->rs->GetNumResources(nResource::Font), 2);
    EXPECT_EQ(this->rs->GetResourceByteSize(nResource::Font), 20);
    EXPECT_EQ(this->rs->GetNumResources(nResource::Shader), 0);
    a->Release();
    b->Release();
    EXPECT_EQ(this->rs->GetNumResources(nResource::Font), 0);
}

TEST_F(ResourceTest, DestroyingTheServerUnloadsEveryPool)
{
    std::vector<nTestResource*> all;
    for (int type : AllTypes)
    {
        nTestResource* res = this->NewTest("r", type);
        res->SetFilename("r");
        ASSERT_TRUE(res->Load());
        all.push_back(res);
    }
    this->rs->Release();
    this->rs = nullptr;
    for (nTestResource* res : all)
    {
        EXPECT_TRUE(res->IsUnloaded());
    }
    EXPECT_EQ(Counts().unloads.load(), nResourceServer::NumPools);
}

TEST_F(ResourceTest, CustomLoaderIsFoundByPath)
{
    nTestResource* res = this->NewTest("m.n3d2", nResource::Mesh);
    EXPECT_EQ(res->GetResourceLoader(), nullptr);
    EXPECT_EQ(res->GetResourceLoaderObject(), nullptr);
    nResourceLoader* loader = static_cast<nResourceLoader*>(this->ks->New("nresourceloader", "/usr/loader"));
    this->ks->New("nroot", "/usr/plain");
    res->SetResourceLoader("/usr/loader");
    EXPECT_STREQ(res->GetResourceLoader(), "/usr/loader");
    EXPECT_EQ(res->GetResourceLoaderObject(), loader);
    EXPECT_FALSE(loader->Load("m.n3d2", res));
    res->SetResourceLoader("/usr/plain");
    EXPECT_EQ(res->GetResourceLoaderObject(), nullptr);
    res->SetResourceLoader("/usr/none");
    EXPECT_EQ(res->GetResourceLoaderObject(), nullptr);
    res->SetResourceLoader(nullptr);
    EXPECT_EQ(res->GetResourceLoader(), nullptr);
    res->Release();
}

using ResourceDeathTest = ResourceTest;

TEST_F(ResourceDeathTest, ProgrammingErrorsAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_ASSERT_DEATH(this->rs->GetResourcePool(512), "false");
    EXPECT_ASSERT_DEATH(this->rs->GetResourcePool(nResource::Mesh | nResource::Texture), "false");
    char small[8];
    EXPECT_ASSERT_DEATH(this->rs->GetResourceId("x", small, sizeof(small)), "bufSize >= N_MAXNAMELEN");
    EXPECT_ASSERT_DEATH(this->rs->NewResource("ntestresource", "x", nResource::InvalidResourceType),
                        "nResource::InvalidResourceType != rsrcType");
    nTestResource* res = this->NewTest("x");
    res->SetState(nResource::Valid);
    EXPECT_ASSERT_DEATH(this->rs->AddLoaderJob(res), "!res->IsLoaded()");
    EXPECT_DEATH({ RouteStdoutToStderr(); res->nResource::Load(nullptr, 0, 0); },
                 "nResource::Load\\(file, offset, length\\) not implemented yet!");
    res->SetState(nResource::Unloaded);
    res->Release();
}

}  // namespace
