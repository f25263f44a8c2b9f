//------------------------------------------------------------------------------
//  Plain files: access modes, reading, writing, positions, times, lines.
//------------------------------------------------------------------------------
#include "filefixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <vector>

namespace
{

struct Line
{
    std::string text;
    bool result;
    bool operator==(const Line& o) const { return text == o.text && result == o.result; }
};

std::ostream& operator<<(std::ostream& os, const Line& l)
{
    return os << "{\"" << l.text << "\", " << l.result << "}";
}

/// every GetS result up to and including the first false (at most 20)
std::vector<Line> AllLines(nFile* f, int numChars)
{
    std::vector<Line> lines;
    std::vector<char> buf((size_t)numChars + 1, 'Z');
    for (int i = 0; i < 20; i++)
    {
        const bool ok = f->GetS(buf.data(), numChars);
        lines.push_back({buf.data(), ok});
        if (!ok) break;
    }
    return lines;
}

}  // namespace

TEST_F(FileTest, AccessModes)
{
    nFile* f = NewFile();
    EXPECT_FALSE(f->Open("tst:missing", "rb"));
    EXPECT_FALSE(f->IsOpen());

    ASSERT_TRUE(f->Open("tst:f", "wb"));
    EXPECT_EQ(f->Write("hello world", 11), 11);
    f->Close();
    EXPECT_EQ(ReadFile("f"), "hello world");

    // "r" reads and cannot write
    ASSERT_TRUE(f->Open("tst:f", "r"));
    char buf[32] = {};
    EXPECT_EQ(f->Read(buf, 5), 5);
    EXPECT_STREQ(buf, "hello");
    EXPECT_EQ(f->Write("x", 1), 0);
    f->Close();

    // "rw" truncates, then reads back what it wrote
    ASSERT_TRUE(f->Open("tst:f", "rw"));
    EXPECT_EQ(f->GetSize(), 0);
    EXPECT_EQ(f->Write("abc", 3), 3);
    EXPECT_TRUE(f->Seek(0, nFile::START));
    char back[4] = {};
    EXPECT_EQ(f->Read(back, 3), 3);
    EXPECT_STREQ(back, "abc");
    f->Close();

    // "w" truncates an existing file: there is no append mode
    ASSERT_TRUE(f->Open("tst:f", "W"));
    f->Close();
    EXPECT_EQ(ReadFile("f"), "");
    f->Release();
}

TEST_F(FileTest, OpeningADirectoryAsAFileFails)
{
    std::filesystem::create_directory(Path("d"));
    nFile* f = NewFile();
    for (const char* mode : {"rb", "r", "w", "rw"})
    {
        EXPECT_FALSE(f->Open("tst:d", mode)) << mode;
        EXPECT_FALSE(f->IsOpen());
    }
    EXPECT_FALSE(f->Open("tst:", "rb"));
    EXPECT_FALSE(f->Exists("tst:d"));
    f->Release();
}

TEST_F(FileTest, SeekTellEofAndSize)
{
    WriteFile("f", "0123456789");
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:f", "rb"));
    EXPECT_EQ(f->GetSize(), 10);
    EXPECT_EQ(f->Tell(), 0);
    EXPECT_FALSE(f->Eof());
    EXPECT_TRUE(f->Seek(3, nFile::START));
    char buf[8] = {};
    EXPECT_EQ(f->Read(buf, 4), 4);
    EXPECT_STREQ(buf, "3456");
    EXPECT_TRUE(f->Seek(-2, nFile::CURRENT));
    EXPECT_EQ(f->Tell(), 5);
    EXPECT_TRUE(f->Seek(-1, nFile::END));
    EXPECT_EQ(f->Tell(), 9);
    EXPECT_FALSE(f->Eof());
    EXPECT_FALSE(f->Seek(-1, nFile::START));
    EXPECT_TRUE(f->Seek(0, nFile::END));
    EXPECT_TRUE(f->Eof());
    // a position past the end is at the end for every reader
    EXPECT_TRUE(f->Seek(20, nFile::START));
    EXPECT_TRUE(f->Eof());
    EXPECT_EQ(f->Read(buf, 4), 0);
    f->Release();
}

TEST_F(FileTest, LastWriteTimeIsInWindowsUnits)
{
    WriteFile("f", "x");
    // 2000-01-01 00:00:00.5 UTC
    const struct timespec times[2] = {{946684800, 500000000}, {946684800, 500000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path("f").c_str(), times, 0), 0);
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:f", "rb"));
    const nFileTime t = f->GetLastWriteTime();
    const uint64_t expected = (946684800ull + 11644473600ull) * 10000000ull + 5000000ull;
    EXPECT_EQ(t.lowDateTime, (uint)(expected & 0xffffffffu));
    EXPECT_EQ(t.highDateTime, (uint)(expected >> 32));
    f->Release();
}

TEST_F(FileTest, GetSReadsLines)
{
    const std::string s64(64, 'x');
    const std::string s128(128, 'y');
    struct Case
    {
        std::string contents;
        int numChars;
        std::vector<Line> lines;
    } cases[] = {
        {"a\r\nb", 100, {{"a\r", true}, {"b", true}, {"", false}}},
        {"one\ntwo\n", 100, {{"one", true}, {"two", true}, {"", false}}},
        {"", 100, {{"", false}}},
        {"\n\n", 100, {{"", true}, {"", true}, {"", false}}},
        {std::string("a\0b", 3), 100, {{"a", true}, {"b", true}, {"", false}}},
        // a last line without line end whose length is a multiple of the chunk
        {s64, 200, {{s64, true}, {"", false}}},
        {s128, 200, {{s128, true}, {"", false}}},
        {s64 + "\n" + s128, 200, {{s64, true}, {s128, true}, {"", false}}},
        {std::string(65, 'z') + "\nq", 200, {{std::string(65, 'z'), true}, {"q", true}, {"", false}}},
        // a line longer than the buffer comes in pieces reported false
        {"abcdefgh\n", 5, {{"abcd", false}}},
        {"abc", 1, {{"", false}}},
    };
    for (const Case& c : cases)
    {
        WriteFile("lines", c.contents);
        nFile* f = NewFile();
        ASSERT_TRUE(f->Open("tst:lines", "rb"));
        EXPECT_EQ(AllLines(f, c.numChars), c.lines) << "'" << c.contents << "' / " << c.numChars;
        f->Release();
    }
}

TEST_F(FileTest, GetSLeavesThePositionAfterTheLine)
{
    WriteFile("f", "abcdefgh\nrest\n");
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:f", "rb"));
    char buf[16];
    EXPECT_FALSE(f->GetS(buf, 1));
    EXPECT_EQ(f->Tell(), 0);
    EXPECT_FALSE(f->GetS(buf, 5));
    EXPECT_EQ(f->Tell(), 4);
    EXPECT_TRUE(f->GetS(buf, 16));
    EXPECT_STREQ(buf, "efgh");
    EXPECT_EQ(f->Tell(), 9);
    EXPECT_EQ(f->GetLineNumber(), 3);
    f->Release();
}

TEST_F(FileTest, PutSWritesWithoutLineEndAndCountsLines)
{
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:f", "w"));
    EXPECT_TRUE(f->PutS("a"));
    EXPECT_TRUE(f->PutS("b\n"));
    EXPECT_TRUE(f->PutS(""));
    EXPECT_EQ(f->GetLineNumber(), 3);
    f->Close();
    EXPECT_EQ(ReadFile("f"), "ab\n");
    ASSERT_TRUE(f->Open("tst:f", "r"));
    EXPECT_EQ(f->GetLineNumber(), 0);
    f->Release();
}

TEST_F(FileTest, AppendFileCopiesTheWholeOtherFile)
{
    WriteFile("a", "head-");
    WriteFile("b", "tail");
    WriteFile("empty", "");
    nFile* a = NewFile();
    nFile* b = NewFile();
    nFile* e = NewFile();
    ASSERT_TRUE(a->Open("tst:a", "rw"));
    EXPECT_EQ(a->Write("head-", 5), 5);
    ASSERT_TRUE(b->Open("tst:b", "rb"));
    ASSERT_TRUE(e->Open("tst:empty", "rb"));
    EXPECT_EQ(a->AppendFile(b), 4);
    EXPECT_EQ(a->AppendFile(e), 0);
    a->Close();
    EXPECT_EQ(ReadFile("a"), "head-tail");
    a->Release();
    b->Release();
    e->Release();
}

TEST_F(FileTest, ReleasingAnOpenFileClosesIt)
{
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:f", "w"));
    EXPECT_TRUE(f->PutS("kept"));
    f->AddRef();
    f->Release();
    EXPECT_TRUE(f->IsOpen());
    f->Release();
    EXPECT_EQ(ReadFile("f"), "kept");
}

TEST_F(FileTest, FileMisuseIsFatal)
{
    nFile* f = NewFile();
    char buf[8];
    EXPECT_FATAL(f->Read(buf, 1), ASSERTION_TEXT("this->IsOpen\\(\\)"));
    EXPECT_FATAL(f->Close(), ASSERTION_TEXT("this->IsOpen\\(\\)"));
    WriteFile("f", "x");
    ASSERT_TRUE(f->Open("tst:f", "rb"));
    EXPECT_FATAL(f->Open("tst:f", "rb"), ASSERTION_TEXT("!this->IsOpen\\(\\)"));
    EXPECT_FATAL(f->GetS(buf, 0), ASSERTION_TEXT("numChars > 0"));
    EXPECT_FATAL(f->Exists(nullptr), ASSERTION_TEXT("fileName != 0"));
    f->Release();
}

TEST_F(FileTest, ReadsAndSeeksAgreeWithTheFileEverywhere)
{
    // reads of every size and seeks from every origin over a file several
    // times larger than any read-ahead, checked against the bytes written
    std::string contents(100000, '\0');
    uint32_t state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    for (char& c : contents) c = (char)next();
    WriteFile("big", contents);
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:big", "rb"));
    const int size = (int)contents.size();
    std::vector<char> buf(70000);
    int pos = 0;
    for (int step = 0; step < 2000; step++)
    {
        const uint32_t op = next() % 4;
        if (op == 0)
        {
            const int want = (next() % 8 == 0) ? (int)(next() % 70000) : (int)(next() % 300);
            const int got = f->Read(buf.data(), want);
            const int expected = std::max(0, std::min(want, size - pos));
            ASSERT_EQ(got, expected) << "step " << step;
            ASSERT_EQ(std::string(buf.data(), (size_t)got), contents.substr((size_t)std::min(pos, size), (size_t)got));
            pos += got;
        }
        else
        {
            const int offset = (int)(next() % 120000) - 10000;
            const nFile::nSeekType origin = (nFile::nSeekType)(op - 1);
            const int target = offset + (origin == nFile::START ? 0 : origin == nFile::END ? size : pos);
            ASSERT_EQ(f->Seek(offset, origin), target >= 0) << "step " << step;
            if (target >= 0) pos = target;
        }
        ASSERT_EQ(f->Tell(), pos) << "step " << step;
        ASSERT_EQ(f->Eof(), pos >= size);
    }
    f->Release();
}

TEST_F(FileTest, GetSAgreesWithGetlineOverALargeFile)
{
    std::string contents;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; i++)
    {
        expected.push_back(std::string((size_t)(i * 7 % 190), (char)('a' + i % 26)));
        contents += expected.back() + "\n";
    }
    WriteFile("lines", contents);
    nFile* f = NewFile();
    ASSERT_TRUE(f->Open("tst:lines", "r"));
    char line[256];
    size_t n = 0;
    while (f->GetS(line, sizeof(line)))
    {
        ASSERT_LT(n, expected.size());
        ASSERT_EQ(line, expected[n]) << "line " << n;
        n++;
    }
    EXPECT_EQ(n, expected.size());
    EXPECT_TRUE(f->Eof());
    f->Release();
}
