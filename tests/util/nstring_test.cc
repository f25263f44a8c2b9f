//------------------------------------------------------------------------------
//  Tests of nString: local and heap storage, editing, comparison and the
//  file-name helpers.
//------------------------------------------------------------------------------
#include <string>
#include <gtest/gtest.h>
#include "util/nstring.h"
#include "assertdeath.h"

namespace
{

/// whether the string's text lies inside the string object itself
bool
IsLocal(const nString& s)
{
    const char* const p = s.Get();
    const char* const begin = reinterpret_cast<const char*>(&s);
    return (p >= begin) && (p < begin + sizeof(nString));
}

} // namespace

TEST(nStringTest, EmptyStringGivesEmptyTextNotNull)
{
    const nString s;
    ASSERT_NE(s.Get(), nullptr);
    EXPECT_STREQ(s.Get(), "");
    EXPECT_EQ(s.Length(), 0);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(nStringTest, TextsUpTo13CharactersStayLocalLongerOnesGoToTheHeap)
{
    for (int len = 1; len <= 40; len++)
    {
        const std::string text(len, 'x');
        const nString s(text.c_str());
        EXPECT_EQ(s.Length(), len);
        EXPECT_EQ(std::string(s.Get()), text);
        EXPECT_EQ(IsLocal(s), len <= 13) << "length " << len;
    }
}

TEST(nStringTest, AppendingToA13CharacterTextMovesItToTheHeap)
{
    nString s("abcdefghijklm");
    ASSERT_EQ(s.Length(), 13);
    ASSERT_TRUE(IsLocal(s));

    s.Append("n");
    EXPECT_EQ(s.Length(), 14);
    EXPECT_FALSE(IsLocal(s));
    EXPECT_STREQ(s.Get(), "abcdefghijklmn");

    s.Delete();
    ASSERT_NE(s.Get(), nullptr);
    EXPECT_STREQ(s.Get(), "");
    EXPECT_EQ(s.Length(), 0);
}

TEST(nStringTest, SetReplacesTextAndMovesBetweenStores)
{
    nString s("a text long enough for the heap");
    s.Set("short");
    EXPECT_TRUE(IsLocal(s));
    EXPECT_STREQ(s.Get(), "short");
    EXPECT_EQ(s.Length(), 5);

    s.Set("abcdefgh", 3);
    EXPECT_STREQ(s.Get(), "abc");
    EXPECT_EQ(s.Length(), 3);

    s.Set(0);
    EXPECT_STREQ(s.Get(), "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(nStringTest, SetAndAppendMayUseTheStringsOwnText)
{
    nString heap("0123456789abcdefghij");
    heap.Set(heap.Get() + 2);
    EXPECT_STREQ(heap.Get(), "23456789abcdefghij");
    heap.Set(heap.Get() + 10);
    EXPECT_STREQ(heap.Get(), "cdefghij");

    nString local("abcdef");
    local.Set(local.Get() + 1, 3);
    EXPECT_STREQ(local.Get(), "bcd");

    nString twice("0123456789");
    twice.Append(twice);
    EXPECT_STREQ(twice.Get(), "01234567890123456789");
    twice.Append(twice.Get());
    EXPECT_EQ(twice.Length(), 40);
    EXPECT_EQ(std::string(twice.Get()), std::string("01234567890123456789") + "01234567890123456789");
}

TEST(nStringTest, AppendKeepsShortResultsLocal)
{
    nString s("abc");
    s.Append("def");
    EXPECT_TRUE(IsLocal(s));
    EXPECT_STREQ(s.Get(), "abcdef");

    s.AppendRange("ghijk", 2);
    EXPECT_STREQ(s.Get(), "abcdefgh");

    s.AppendRange("ignored", 0);
    EXPECT_STREQ(s.Get(), "abcdefgh");

    s += "-";
    s += nString("12345");
    EXPECT_STREQ(s.Get(), "abcdefgh-12345");
    EXPECT_FALSE(IsLocal(s));

    s.AppendInt(-7);
    EXPECT_STREQ(s.Get(), "abcdefgh-12345-7");
}

TEST(nStringTest, AppendOfNullTextFails)
{
    nString s("x");
    EXPECT_ASSERT_DEATH(s.Append((const char*) 0), "str");
}

TEST(nStringTest, IntegerTexts)
{
    const struct { int value; const char* text; } cases[] = {
        { 0, "0" }, { 42, "42" }, { -42, "-42" },
        { 2147483647, "2147483647" }, { -2147483647 - 1, "-2147483648" },
    };
    for (const auto& c : cases)
    {
        EXPECT_STREQ(nString(c.value).Get(), c.text);
        nString s("something else entirely");
        s.SetInt(c.value);
        EXPECT_STREQ(s.Get(), c.text);
    }
}

TEST(nStringTest, CopiesAreIndependent)
{
    const char* const texts[] = { "", "short", "a text long enough for the heap" };
    for (const char* text : texts)
    {
        nString original(text);
        nString copy(original);
        nString assigned("previous contents of some length");
        assigned = original;
        original.Set("changed");
        EXPECT_STREQ(copy.Get(), text);
        EXPECT_STREQ(assigned.Get(), text);
    }
}

TEST(nStringTest, SelfAssignmentKeepsTheText)
{
    nString s("a text long enough for the heap");
    const nString& alias = s;
    s = alias;
    EXPECT_STREQ(s.Get(), "a text long enough for the heap");
}

TEST(nStringTest, ComparisonUsesStrcmp)
{
    const nString a("apple");
    const nString b("banana");
    EXPECT_TRUE(a == nString("apple"));
    EXPECT_TRUE(a == "apple");
    EXPECT_TRUE("apple" == a);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(a != "Apple");
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b > a);
    EXPECT_FALSE(a < a);
    EXPECT_TRUE(nString() == "");
    EXPECT_STREQ((a + b).Get(), "applebanana");
}

TEST(nStringTest, CharacterAccess)
{
    const nString s("abc");
    EXPECT_EQ(s[0], 'a');
    EXPECT_EQ(s[2], 'c');
    EXPECT_EQ(s[3], '\0');
}

TEST(nStringTest, GetExtension)
{
    const struct { const char* path; const char* ext; } cases[] = {
        { "file.txt", "txt" },
        { "archive.tar.gz", "gz" },
        { "home:data/mesh.n3d2", "n3d2" },
        { "file.", 0 },
        { "file", 0 },
        { "", 0 },
        { "dir.d/file", "d/file" },
    };
    for (const auto& c : cases)
    {
        const nString path(c.path);
        const char* const ext = path.GetExtension();
        if (c.ext)
        {
            ASSERT_NE(ext, nullptr) << c.path;
            EXPECT_STREQ(ext, c.ext) << c.path;
        }
        else
        {
            EXPECT_EQ(ext, nullptr) << c.path;
        }
    }
}

TEST(nStringTest, CheckExtension)
{
    const struct { const char* path; const char* ext; bool result; } cases[] = {
        { "file.txt", "txt", true },
        { "file.TXT", "txt", false },
        { "file.txt", "tx", false },
        { "file", "txt", false },
        { "file.", "", false },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nString(c.path).CheckExtension(c.ext), c.result) << c.path << " " << c.ext;
    }
    EXPECT_ASSERT_DEATH(nString("a.b").CheckExtension(0), "ext");
}

TEST(nStringTest, PathHelpers)
{
    const struct { const char* path; const char* lastSlash; const char* fileName; } cases[] = {
        { "home:dir/file.txt", "/file.txt", "file.txt" },
        { "a/b\\c", "/b\\c", "b\\c" },
        { "c:\\dir\\file.n2", "\\file.n2", "file.n2" },
        { "home:file", ":file", "file" },
        { "plain", 0, "plain" },
        { "dir/", "/", "" },
    };
    for (const auto& c : cases)
    {
        const nString s(c.path);
        const char* const slash = s.GetLastSlash();
        if (c.lastSlash)
        {
            ASSERT_NE(slash, nullptr) << c.path;
            EXPECT_STREQ(slash, c.lastSlash) << c.path;
        }
        else
        {
            EXPECT_EQ(slash, nullptr) << c.path;
        }
        EXPECT_STREQ(s.ExtractFileName().Get(), c.fileName) << c.path;
    }
}

TEST(nStringTest, StripTrailingSlash)
{
    const struct { const char* before; const char* after; } cases[] = {
        { "dir/", "dir" },
        { "dir\\", "dir" },
        { "dir", "dir" },
        { "dir//", "dir/" },
        { "/", "" },
        { "", "" },
        { "home:somewhere/", "home:somewhere" },
    };
    for (const auto& c : cases)
    {
        nString s(c.before);
        s.StripTrailingSlash();
        EXPECT_STREQ(s.Get(), c.after) << c.before;
    }

    // dropping the 14th character brings the text back into the object
    nString s("abcdefghijklm/");
    s.StripTrailingSlash();
    EXPECT_STREQ(s.Get(), "abcdefghijklm");
    EXPECT_TRUE(IsLocal(s));
}
