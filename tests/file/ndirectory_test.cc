//------------------------------------------------------------------------------
//  Plain directories: listing order, entry names and types, emptiness.
//------------------------------------------------------------------------------
#include "filefixture.h"

#include <vector>

namespace
{


}  // namespace

TEST_F(FileTest, DirectoriesListSortedByNameWithTypes)
{
    std::filesystem::create_directories(Path("sub/b_dir"));
    NpkWriter::WriteBytes(Path("sub/c.txt"), "c");
    NpkWriter::WriteBytes(Path("sub/a.txt"), "a");
    NpkWriter::WriteBytes(Path("sub/B.txt"), "B");
    std::filesystem::create_directory_symlink(Path("sub/b_dir"), Path("sub/link"));
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:sub"));
    const std::string base = Path("sub") + "/";
    const std::vector<std::string> expected = {
        base + "B.txt:0", base + "a.txt:0", base + "b_dir:1", base + "c.txt:0", base + "link:1",
    };
    EXPECT_EQ(List(d), expected);
    // listing again from the start gives the same
    EXPECT_TRUE(d->SetToFirstEntry());
    EXPECT_EQ(List(d), expected);
    d->Close();
    EXPECT_FALSE(d->IsOpen());
    n_delete(d);
}

TEST_F(FileTest, EmptyDirectoriesAndFailedOpens)
{
    std::filesystem::create_directory(Path("empty"));
    NpkWriter::WriteBytes(Path("file"), "x");
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:empty"));
    EXPECT_TRUE(d->IsOpen());
    EXPECT_TRUE(d->IsEmpty());
    EXPECT_FALSE(d->SetToFirstEntry());
    d->Close();
    for (const char* path : {"tst:missing", "tst:file", "nosuch:dir"})
    {
        EXPECT_FALSE(d->Open(path)) << path;
        EXPECT_FALSE(d->IsOpen());
    }
    n_delete(d);
}

TEST_F(FileTest, DirectoryDestroyedOpenWarns)
{
    nDirectory* d = fs->NewDirectoryObject();
    ASSERT_TRUE(d->Open("tst:"));
    n_delete(d);
    EXPECT_EQ(log.text, "Warning: Directory destroyed before closing\n");
}

TEST_F(FileTest, DirectoryMisuseIsFatal)
{
    nDirectory* d = fs->NewDirectoryObject();
    EXPECT_FATAL(d->IsEmpty(), ASSERTION_TEXT("this->IsOpen\\(\\)"));
    EXPECT_FATAL(d->Open(""), ASSERTION_TEXT("strlen\\(dirName\\)>0"));
    ASSERT_TRUE(d->Open("tst:"));
    EXPECT_FATAL(d->Open("tst:"), ASSERTION_TEXT("!this->IsOpen\\(\\)"));
    d->Close();
    n_delete(d);
}
