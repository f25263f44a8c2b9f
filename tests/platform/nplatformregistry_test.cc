//------------------------------------------------------------------------------
//  The registry-style store beneath the preference server: its file
//  format, corrupt and truncated files, and atomic writes.
//------------------------------------------------------------------------------
#include "usertempdir.h"

#include "platform/nplatformregistry.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

void WriteFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool Parse(const std::string& text, nPlatformRegistry::Values& values, std::string& problem)
{
    return nPlatformRegistry::Parse(text.data(), text.size(), values, problem);
}

}  // namespace

TEST(PlatformRegistry, FormatAndParseRoundTripAnyText)
{
    const nPlatformRegistry::Values values = {
        {"plain", "value"},
        {"a=b", "c=d"},
        {"multi\nline", "one\ntwo\r\nthree"},
        {"back\\slash", "\\n is not a newline"},
        {"empty", ""},
        {"#not a comment", " spaced "},
        {"utf8 \xc3\xa9", "\xff\xfe bytes"},
    };
    const std::string text = nPlatformRegistry::Format(values);
    nPlatformRegistry::Values back;
    std::string problem;
    ASSERT_TRUE(Parse(text, back, problem)) << problem;
    EXPECT_EQ(back, values);
    EXPECT_EQ(nPlatformRegistry::Format({{"k=1", "v=2"}}), "k\\=1=v=2\n");
}

TEST(PlatformRegistry, ParseAcceptsHandEditedFiles)
{
    struct Case
    {
        std::string text;
        nPlatformRegistry::Values values;
    } cases[] = {
        {"", {}},
        {"\n\n", {}},
        {"a=1", {{"a", "1"}}},                     // no final newline
        {"a=1\r\nb=2\r\n", {{"a", "1"}, {"b", "2"}}},  // CRLF line ends
        {"a=1\na=2\n", {{"a", "2"}}},              // the last one wins
        {"a==\n", {{"a", "="}}},
    };
    for (const Case& c : cases)
    {
        nPlatformRegistry::Values values;
        std::string problem;
        EXPECT_TRUE(Parse(c.text, values, problem)) << c.text << ": " << problem;
        EXPECT_EQ(values, c.values) << c.text;
    }
}

TEST(PlatformRegistry, CorruptTextReadsAsEmptyWithAReason)
{
    const char* cases[] = {
        "a=1\nno equals sign\n",
        "=value\n",
        "a=1\\",
        "a=bad \\x escape\n",
        "key\\",
    };
    for (const char* text : cases)
    {
        nPlatformRegistry::Values values;
        std::string problem;
        EXPECT_FALSE(Parse(text, values, problem)) << text;
        EXPECT_TRUE(values.empty()) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
    const std::string withNul("a=1\0b\n", 6);
    nPlatformRegistry::Values values;
    std::string problem;
    EXPECT_FALSE(Parse(withNul, values, problem));
    EXPECT_NE(problem.find("NUL"), std::string::npos);
}

TEST(PlatformRegistry, EveryTruncationOfAValidFileParsesOrFailsCleanly)
{
    const std::string text = nPlatformRegistry::Format({{"first\\key", "one\ntwo"}, {"second=key", "three"}});
    for (size_t len = 0; len <= text.size(); len++)
    {
        nPlatformRegistry::Values values;
        std::string problem;
        if (!nPlatformRegistry::Parse(text.data(), len, values, problem))
        {
            EXPECT_TRUE(values.empty()) << len;
        }
    }
}

TEST(PlatformRegistry, StoreLivesUnderTheConfigDirectory)
{
    UserTempDir user;
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("ZORVEK Games", "Boxing"));
    EXPECT_EQ(reg.GetPath(), user.ConfigPath() + "/ZORVEK Games/Boxing.conf");
    EXPECT_TRUE(reg.GetProblem().empty());
    EXPECT_TRUE(reg.SetValue("window-width", "800"));
    EXPECT_EQ(ReadWholeFile(reg.GetPath()), "window-width=800\n");

    struct stat st;
    ASSERT_EQ(stat(reg.GetPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(PlatformRegistry, ConfigFallsBackToHomeDotConfig)
{
    UserTempDir user;
    ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    EXPECT_EQ(reg.GetPath(), user.Path() + "/.config/A/B.conf");
}

TEST(PlatformRegistry, UnusableNamesDoNotOpen)
{
    UserTempDir user;
    const char* names[][2] = {{"", "app"}, {"co", ""}, {"..", "app"}, {"co", "."}, {"a/b", "app"}, {"co", "../x"}};
    for (const auto& n : names)
    {
        nPlatformRegistry reg;
        EXPECT_FALSE(reg.Open(n[0], n[1])) << n[0] << "/" << n[1];
        EXPECT_FALSE(reg.IsOpen());
    }
    EXPECT_FALSE(std::filesystem::exists(user.Path() + "/x.conf"));
}

TEST(PlatformRegistry, UnmakeableDirectoryDoesNotOpen)
{
    UserTempDir user;
    WriteFile(user.ConfigPath(), "a plain file where the directory should be");
    nPlatformRegistry reg;
    EXPECT_FALSE(reg.Open("A", "B"));
}

TEST(PlatformRegistry, CorruptStoreOpensEmptyAndIsReplacedByTheNextWrite)
{
    UserTempDir user;
    const std::string file = user.ConfigPath() + "/A/B.conf";
    WriteFile(file, "good=1\ngarbage line\n");
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    EXPECT_NE(reg.GetProblem().find("line 2"), std::string::npos) << reg.GetProblem();
    EXPECT_FALSE(reg.HasValue("good"));
    EXPECT_TRUE(reg.SetValue("new", "2"));
    EXPECT_EQ(ReadWholeFile(file), "new=2\n");
}

TEST(PlatformRegistry, StoreThatIsNotAFileOpensEmpty)
{
    UserTempDir user;
    std::filesystem::create_directories(user.ConfigPath() + "/A/B.conf");
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    EXPECT_FALSE(reg.GetProblem().empty());
    // the directory in the way cannot be replaced: the write fails and changes nothing
    EXPECT_FALSE(reg.SetValue("k", "v"));
    EXPECT_FALSE(reg.HasValue("k"));
}

TEST(PlatformRegistry, FailedWriteKeepsTheOldFileAndValue)
{
    UserTempDir user;
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    ASSERT_TRUE(reg.SetValue("k", "old"));
    // a file where the store's directory was makes every write fail, also for root
    const std::string dir = user.ConfigPath() + "/A";
    std::filesystem::rename(dir, dir + ".away");
    WriteFile(dir, "");
    EXPECT_FALSE(reg.SetValue("k", "new"));
    EXPECT_FALSE(reg.SetValue("other", "x"));
    std::filesystem::remove(dir);
    std::filesystem::rename(dir + ".away", dir);
    std::string value;
    EXPECT_TRUE(reg.GetValue("k", value));
    EXPECT_EQ(value, "old");
    EXPECT_FALSE(reg.HasValue("other"));
    EXPECT_EQ(ReadWholeFile(reg.GetPath()), "k=old\n");
}

TEST(PlatformRegistry, WritesLeaveNoTemporaryFiles)
{
    UserTempDir user;
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    for (int i = 0; i < 5; i++) ASSERT_TRUE(reg.SetValue("k" + std::to_string(i), "v"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(user.ConfigPath() + "/A"))
    {
        EXPECT_EQ(entry.path().filename(), "B.conf");
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(PlatformRegistry, OversizedStoreIsNotRead)
{
    UserTempDir user;
    WriteFile(user.ConfigPath() + "/A/B.conf", "k=" + std::string(2 * 1024 * 1024, 'x') + "\n");
    nPlatformRegistry reg;
    ASSERT_TRUE(reg.Open("A", "B"));
    EXPECT_FALSE(reg.GetProblem().empty());
    EXPECT_FALSE(reg.HasValue("k"));
}
