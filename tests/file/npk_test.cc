//------------------------------------------------------------------------------
//  npk archives: mounting, lookup, reading, listing, unmounting, and broken
//  tables of contents.
//------------------------------------------------------------------------------
#include "filefixture.h"

#include "file/nnpkfilewrapper.h"
#include "file/nnpktocentry.h"

#include <vector>

namespace
{

/// a 100-byte file whose bytes tell their own position
std::string Counting(char base)
{
    std::string s;
    for (int i = 0; i < 100; i++) s += (char)(base + i % 10);
    return s;
}

/// the standard test archive: its root is named after the archive file
NpkWriter StandardArchive(const std::string& readme = "archived readme")
{
    NpkWriter w;
    w.Dir("<noname>")
        .File("before.bin", Counting('a'))
        .Dir("textures")
        .File("a.dds", Counting('0'))
        .Dir("empty")
        .End()
        .End()
        .File("readme.txt", readme)
        .File("lines.txt", "first\r\nsecond\nthird")
        .File("after.bin", Counting('A'))
        .End();
    return w;
}


}  // namespace

class NpkTest : public FileTest
{
protected:
    /// write an archive into the scratch directory and mount it
    bool Mount(const std::string& name, const NpkWriter& w)
    {
        w.Save(Path(name));
        return npk()->AddNpkFile(("tst:" + name).c_str());
    }
};

TEST_F(NpkTest, ArchivedFilesAppearBelowTheArchiveName)
{
    ASSERT_TRUE(Mount("Pack.NPK", StandardArchive()));
    EXPECT_TRUE(fs->FileExists("tst:pack/readme.txt"));
    EXPECT_TRUE(fs->FileExists("tst:pack/textures/a.dds"));
    EXPECT_TRUE(fs->FileExists("tst:PACK/Textures/A.dds"));
    EXPECT_TRUE(fs->FileExists("tst:pack//textures/./a.dds"));
    EXPECT_TRUE(fs->FileExists("tst:pack/textures/../readme.txt"));
    EXPECT_TRUE(fs->DirectoryExists("tst:pack/textures"));
    EXPECT_TRUE(fs->DirectoryExists("tst:pack"));
    struct Missing
    {
        const char* path;
    } missing[] = {
        {"tst:pack/nothing.txt"}, {"tst:pack/textures"}, {"tst:pack/.."}, {"tst:pack/../pack/readme.txt"},
        {"tst:pack/readme.txt/x"}, {"tst:other/readme.txt"}, {"tst:pack"},
    };
    for (const Missing& m : missing)
    {
        EXPECT_FALSE(fs->FileExists(m.path)) << m.path;
    }
    EXPECT_FALSE(fs->DirectoryExists("tst:pack/readme.txt"));
    EXPECT_EQ(ReadThrough("tst:pack/readme.txt"), "archived readme");
    EXPECT_EQ(ReadThrough("tst:pack/textures/a.dds"), Counting('0'));
    EXPECT_EQ(ReadThrough("tst:pack/readme.txt", "r"), "archived readme");
    uint crc = 0;
    EXPECT_TRUE(fs->Checksum("tst:pack/readme.txt", crc));
    EXPECT_EQ(crc, nFileServer2::Crc32((const uchar*)"archived readme", 15));
}

TEST_F(NpkTest, ArchivedDirectoriesCannotBeOpenedAsFilesNorWritten)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    nFile* f = NewFile();
    EXPECT_FALSE(f->Open("tst:pack/textures", "rb"));
    // writing never falls back to the archive; it needs a real directory
    EXPECT_FALSE(f->Open("tst:pack/readme.txt", "w"));
    EXPECT_FALSE(f->Open("tst:pack/readme.txt", "rw"));
    ASSERT_TRUE(f->Open("tst:pack/readme.txt", "rb"));
    EXPECT_FATAL(f->Write("x", 1), "nNpkFile: Writing to npk files not supported!");
    f->Release();
}

TEST_F(NpkTest, ReadsAndSeeksStayInsideTheArchivedFile)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:pack/textures/a.dds", "rb"));
    const std::string all = Counting('0');
    EXPECT_EQ(f->GetSize(), 100);
    EXPECT_EQ(f->GetLastWriteTime().lowDateTime, 0u);
    EXPECT_EQ(f->GetLastWriteTime().highDateTime, 0u);
    char buf[200];
    EXPECT_TRUE(f->Seek(90, nFile::START));
    EXPECT_EQ(f->Read(buf, 100), 10);
    EXPECT_EQ(std::string(buf, 10), all.substr(90));
    EXPECT_TRUE(f->Eof());
    EXPECT_EQ(f->Read(buf, 100), 0);
    struct Case
    {
        int offset;
        nFile::nSeekType origin;
        int pos;
    } cases[] = {
        {-5, nFile::START, 0}, {1000, nFile::START, 100}, {-3, nFile::END, 97}, {10, nFile::END, 100},
        {-200, nFile::END, 0}, {20, nFile::START, 20}, {5, nFile::CURRENT, 25}, {-30, nFile::CURRENT, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(f->Seek(c.offset, c.origin));
        EXPECT_EQ(f->Tell(), c.pos) << c.offset << " from " << (int)c.origin;
    }
    EXPECT_TRUE(f->Seek(42, nFile::START));
    EXPECT_EQ(f->Read(buf, 5), 5);
    EXPECT_EQ(std::string(buf, 5), all.substr(42, 5));
    EXPECT_EQ(f->Tell(), 47);
    f->Close();

    ASSERT_TRUE(f->Open("tst:pack/lines.txt", "r"));
    char line[64];
    EXPECT_TRUE(f->GetS(line, sizeof(line)));
    EXPECT_STREQ(line, "first\r");
    EXPECT_TRUE(f->GetS(line, sizeof(line)));
    EXPECT_STREQ(line, "second");
    EXPECT_TRUE(f->GetS(line, sizeof(line)));
    EXPECT_STREQ(line, "third");
    EXPECT_FALSE(f->GetS(line, sizeof(line)));
    EXPECT_TRUE(f->Eof());
    f->Release();
}

TEST_F(NpkTest, PlainFilesWinOverArchivedOnes)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    std::filesystem::create_directory(Path("pack"));
    WriteFile("pack/readme.txt", "plain readme");
    EXPECT_EQ(ReadThrough("tst:pack/readme.txt"), "plain readme");
    EXPECT_EQ(ReadThrough("tst:pack/textures/a.dds"), Counting('0'));
}

TEST_F(NpkTest, ArchiveRootMatchesOnlyAtAPathSeparator)
{
    std::filesystem::create_directory(Path("data"));
    NpkWriter w;
    w.Dir("pack").File("x", "inside").End();
    ASSERT_TRUE(Mount("data/pack.npk", w));
    EXPECT_EQ(ReadThrough("tst:data/pack/x"), "inside");
    EXPECT_FALSE(fs->FileExists("tst:datapack/x"));
    EXPECT_FALSE(fs->DirectoryExists("tst:datapack"));
    EXPECT_FALSE(fs->FileExists("tst:dat/apack/x"));
}

TEST_F(NpkTest, ArchivedDirectoriesListTheirEntries)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:pack"));
    const std::string base = Path("pack") + "/";
    EXPECT_EQ(List(d), (std::vector<std::string>{base + "before.bin:0", base + "textures:1", base + "readme.txt:0",
                                                 base + "lines.txt:0", base + "after.bin:0"}));
    EXPECT_TRUE(d->SetToFirstEntry());
    EXPECT_STREQ(d->GetEntryName(), (base + "before.bin").c_str());
    d->Close();
    ASSERT_TRUE(d->Open("tst:pack/textures/empty"));
    EXPECT_TRUE(d->IsEmpty());
    d->Close();
    EXPECT_FALSE(d->Open("tst:pack/readme.txt"));
    EXPECT_FALSE(d->Open("tst:pack/none"));
    n_delete(d);
}

TEST_F(NpkTest, PlainListingShowsAnArchiveThatCarriesItsFileName)
{
    NpkWriter named;
    named.Dir("named.npk").File("f", "1").End();
    ASSERT_TRUE(Mount("named.npk", named));
    ASSERT_TRUE(Mount("plain.npk", StandardArchive()));
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:"));
    EXPECT_EQ(List(d), (std::vector<std::string>{Path("named.npk") + ":1", Path("plain.npk") + ":0"}));
    d->Close();
    n_delete(d);
}

TEST_F(NpkTest, ParseDirectoryMountsByExactExtension)
{
    NpkWriter one;
    one.Dir("<noname>").File("f", "one").End();
    for (const char* name : {"a.npk", "b.NPK", "c.npk.bak", "d.dat"}) one.Save(Path(name));
    EXPECT_EQ(npk()->ParseDirectory("tst:", "npk"), 1);
    EXPECT_NE(log.text.find("*** Reading npk file '" + Path("a.npk") + "'\n"), std::string::npos);
    EXPECT_TRUE(fs->FileExists("tst:a/f"));
    EXPECT_FALSE(fs->FileExists("tst:b/f"));
    RunCmd(fs, "parsedirectory", {"tst:", "dat"}, [](nCmd* cmd) { EXPECT_EQ(cmd->Out()->GetI(), 1); });
    EXPECT_TRUE(fs->FileExists("tst:d/f"));
    EXPECT_EQ(npk()->ParseDirectory("tst:missing", "npk"), 0);
    EXPECT_NE(log.text.find("nNpkFileServer::ParseDirectory(): could not open dir '" + Path("missing") + "'\n"),
              std::string::npos);
}

TEST_F(NpkTest, AnArchiveNameThatLeavesTheRootNamelessIsRefused)
{
    NpkWriter w;
    w.Dir("<noname>").File("f", "one").End();
    for (const char* name : {".npk", "..npk"})
    {
        std::filesystem::remove_all(Path("only"));
        std::filesystem::create_directory(Path("only"));
        w.Save(Path((std::string("only/") + name).c_str()));
        EXPECT_EQ(npk()->ParseDirectory("tst:only", "npk"), 0) << name;
        EXPECT_NE(log.text.find("archive name that gives its root directory no name"), std::string::npos);
        for (const char* path : {"tst:only/f", "tst:only//f", "tst:only/./f", "tst:only/../f"})
        {
            EXPECT_FALSE(fs->FileExists(path)) << path;
        }
    }
}

TEST_F(NpkTest, RemountingServesTheNewTable)
{
    NpkWriter v1, v2;
    v1.Dir("<noname>").File("f", "one").End();
    v2.Dir("<noname>").File("f", "two!").File("g", "new").End();
    v1.Save(Path("a.npk"));
    v1.Save(Path("b.npk"));
    EXPECT_EQ(npk()->ParseDirectory("tst:", "npk"), 2);
    EXPECT_EQ(ReadThrough("tst:a/f"), "one");
    const std::string fresh = Path("a.npk.new");
    v2.Save(fresh);
    std::filesystem::rename(fresh, Path("a.npk"));
    EXPECT_EQ(npk()->ParseDirectory("tst:", "npk"), 2);
    EXPECT_EQ(ReadThrough("tst:a/f"), "two!");
    EXPECT_TRUE(fs->FileExists("tst:a/g"));
    EXPECT_EQ(ReadThrough("tst:b/f"), "one");
}

TEST_F(NpkTest, OpenFilesAndDirectoriesSurviveUnmounting)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:pack/readme.txt", "rb"));
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:pack/textures"));
    nDirectory* plain = fs->NewDirectoryObject();
    NpkWriter named;
    named.Dir("named.npk").File("f", "1").End();
    ASSERT_TRUE(Mount("named.npk", named));
    ASSERT_TRUE(plain->Open("tst:"));
    // an archive that stands for a directory in the listing is no file to mount
    EXPECT_EQ(npk()->ParseDirectory("tst:", "npk"), 1);
    npk()->ReleaseNpkFiles("*");
    EXPECT_FALSE(fs->FileExists("tst:pack/readme.txt"));
    char buf[64] = {};
    EXPECT_EQ(f->Read(buf, sizeof(buf)), 15);
    EXPECT_STREQ(buf, "archived readme");
    EXPECT_STREQ(d->GetEntryName(), (Path("pack/textures/a.dds")).c_str());
    EXPECT_STREQ(plain->GetEntryName(), Path("named.npk").c_str());
    EXPECT_EQ(plain->GetEntryType(), nDirectory::DIRECTORY);
    f->Close();
    f->Release();
    d->Close();
    n_delete(d);
    plain->Close();
    n_delete(plain);
}

TEST_F(NpkTest, ReleaseNpkFilesByPattern)
{
    NpkWriter w;
    w.Dir("<noname>").File("f", "x").End();
    w.Save(Path("a.npk"));
    w.Save(Path("b.npk"));
    EXPECT_EQ(npk()->ParseDirectory("tst:", "npk"), 2);
    npk()->ReleaseNpkFiles("*/a.np?");
    EXPECT_FALSE(fs->FileExists("tst:a/f"));
    EXPECT_TRUE(fs->FileExists("tst:b/f"));
    npk()->ReleaseNpkFiles("*");
    EXPECT_FALSE(fs->FileExists("tst:b/f"));
}

TEST_F(NpkTest, AddNpkFileNeedsAnExistingFile)
{
    EXPECT_FALSE(npk()->AddNpkFile("tst:none.npk"));
    EXPECT_FATAL(npk()->AddNpkFile(""), ASSERTION_TEXT("!path.IsEmpty\\(\\)"));
}

TEST_F(NpkTest, BrokenTablesOfContentsAreRefused)
{
    const std::string longName(600, 'n');
    std::vector<std::string> dirNames;
    for (int i = 0; i < 17; i++) dirNames.push_back(std::string(1, 'd').append(std::to_string(i)));
    NpkWriter deep;
    for (int i = 0; i < 17; i++) deep.Dir(dirNames[i]);
    for (int i = 0; i < 17; i++) deep.End();
    NpkWriter deepest;  // exactly as deep as allowed
    for (int i = 0; i < 16; i++) deepest.Dir(dirNames[i]);
    deepest.File("f", "ok");
    for (int i = 0; i < 16; i++) deepest.End();
    ASSERT_TRUE(Mount("deepest.npk", deepest));
    EXPECT_EQ(ReadThrough("tst:d0/d1/d2/d3/d4/d5/d6/d7/d8/d9/d10/d11/d12/d13/d14/d15/f"), "ok");

    const std::string toc = "could not parse table of contents";
    const std::string header = "Error reading header";
    struct Case
    {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"wrong magic", "0KPX" + NpkWriter().Dir("r").End().Build().substr(4), header},
        {"short header", std::string("0KPN\0\0\0\0", 8), header},
        {"data offset past the end", std::string("0KPN\0\0\0\0\xff\0\0\0", 12), header},
        {"long dir name", NpkWriter().Dir(longName).End().Build(), toc},
        {"empty name", NpkWriter().Dir("r").File("", "x").End().Build(), toc},
        {"NUL in a name", NpkWriter().Dir("r").File(std::string("\0x", 2), "x").End().Build(), toc},
        {"long file name", NpkWriter().Dir("r").File(longName, "x").End().Build(), toc},
        {"unbalanced DEND", NpkWriter().Dir("r").End().End().Build(), toc},
        {"DEND first", NpkWriter().End().Build(), toc},
        {"file outside any directory", NpkWriter().File("x", "1").Dir("r").End().Build(), toc},
        {"file after the root", NpkWriter().Dir("r").End().File("x", "1").Build(), toc},
        {"second root", NpkWriter().Dir("a").End().Dir("b").End().Build(), toc},
        {"directory left open", NpkWriter().Dir("r").File("x", "1").Build(), toc},
        {"no root", NpkWriter().Build(), toc},
        {"too deep", deep.Build(), toc},
        {"file past the end", NpkWriter().Dir("r").RawFile("x", 0, 1000).End().Build(), toc},
        {"offset past the end", NpkWriter().Dir("r").File("a", "abc").RawFile("x", 3, 1).End().Build(), toc},
        {"offset wraps", NpkWriter().Dir("r").File("a", "abc").RawFile("x", 0xffffffffu, 2).End().Build(), toc},
        {"separator in a name", NpkWriter().Dir("r").File("../x", "1").End().Build(), toc},
        {"backslash in a name", NpkWriter().Dir("r").Dir("a\\b").End().End().Build(), toc},
        {"dot name", NpkWriter().Dir("r").Dir(".").End().End().Build(), toc},
        {"dot-dot name", NpkWriter().Dir("r").File("..", "1").End().Build(), toc},
    };
    for (const Case& c : cases)
    {
        log.text.clear();
        NpkWriter::WriteBytes(Path("bad.npk"), c.bytes);
        EXPECT_FALSE(npk()->AddNpkFile("tst:bad.npk")) << c.what;
        EXPECT_NE(log.text.find(c.message + " "), std::string::npos) << c.what << ": " << log.text;
        EXPECT_NE(log.text.find(Path("bad.npk")), std::string::npos) << c.what;
    }
    EXPECT_FALSE(fs->DirectoryExists("tst:bad"));
    EXPECT_FALSE(fs->DirectoryExists("tst:r"));
}

TEST_F(NpkTest, EveryTruncationIsRefused)
{
    const std::string good = StandardArchive().Build();
    for (size_t len = 0; len < good.size(); len++)
    {
        NpkWriter::WriteBytes(Path("cut.npk"), good.substr(0, len));
        EXPECT_FALSE(npk()->AddNpkFile("tst:cut.npk")) << len;
    }
    NpkWriter::WriteBytes(Path("cut.npk"), good);
    EXPECT_TRUE(npk()->AddNpkFile("tst:cut.npk"));
}

TEST_F(NpkTest, ARefusedRemountLeavesNothingMountedForThatFile)
{
    ASSERT_TRUE(Mount("pack.npk", StandardArchive()));
    ASSERT_TRUE(Mount("other.npk", StandardArchive("other readme")));
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:pack/readme.txt", "rb"));
    const std::string broken = Path("pack.npk.new");
    NpkWriter::WriteBytes(broken, NpkWriter().Dir("r").End().End().Build());
    std::filesystem::rename(broken, Path("pack.npk"));
    EXPECT_FALSE(npk()->AddNpkFile("tst:pack.npk"));
    EXPECT_FALSE(fs->FileExists("tst:pack/readme.txt"));
    EXPECT_EQ(ReadThrough("tst:other/readme.txt"), "other readme");
    // a file opened before still reads the archive it was opened in
    char buf[64] = {};
    EXPECT_EQ(f->Read(buf, sizeof(buf)), 15);
    EXPECT_STREQ(buf, "archived readme");
    f->Release();
}

TEST_F(NpkTest, ArchiveMisuseIsFatalButBadScriptArgumentsAreNot)
{
    nFile* f = NewFile();
    EXPECT_FATAL(f->Open(nullptr, "rb"), ASSERTION_TEXT("filename"));
    f->Release();
    EXPECT_FATAL((n_new(nNpkFileWrapper))->Open(fs, Path("").c_str(), nullptr), ASSERTION_TEXT("absFilename"));
    for (auto args : {std::pair<const char*, const char*>{"", "npk"}, {"tst:", ""}})
    {
        RunCmd(fs, "parsedirectory", {args.first, args.second}, [](nCmd* cmd) { EXPECT_TRUE(cmd->HasError()); });
    }
    EXPECT_NE(log.text.find("i_parsedirectory_ss: empty directory argument\n"), std::string::npos) << log.text;
    EXPECT_NE(log.text.find("i_parsedirectory_ss: empty extension argument\n"), std::string::npos) << log.text;
}

TEST_F(NpkTest, StoredNamesMustBeLowerCaseToBeFound)
{
    NpkWriter w;
    w.Dir("<noname>").File("Upper.txt", "u").File("lower.txt", "l").End();
    ASSERT_TRUE(Mount("p.npk", w));
    EXPECT_FALSE(fs->FileExists("tst:p/Upper.txt"));
    EXPECT_TRUE(fs->FileExists("tst:p/LOWER.txt"));
    nNpkTocEntry* root = npk()->FindTocEntry(Path("p").c_str());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetType(), nNpkTocEntry::DIR);
    EXPECT_STREQ(root->GetFullName().Get(), Path("p").c_str());
}
