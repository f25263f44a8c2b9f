//------------------------------------------------------------------------------
//  A saved file is on the disk before it takes its name: the program is
//  linked with fsync and rename wrapped, and the wrappers note each call,
//  so the order of what reaches the system is seen without a power cut.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "usertempdir.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nroot.h"
#include "platform/nplatformfile.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

/// "fsync <path>" and "rename <from> <to>", in the order they were made
std::vector<std::string> calls;

std::string PathOfFd(int fd)
{
    char buf[PATH_MAX];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buf, sizeof(buf) - 1);
    return std::string(buf, n > 0 ? (size_t)n : 0);
}

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_fsync(int fd)
{
    calls.push_back("fsync " + PathOfFd(fd));
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to)
{
    calls.push_back(std::string("rename ") + from + " " + to);
    return __real_rename(from, to);
}

class FileSyncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // the directory as the system names it, links resolved
        this->dir = std::filesystem::canonical(MakeTempDir("filesync")).string();
        calls.clear();
    }
    void TearDown() override { std::filesystem::remove_all(this->dir); }
    std::string dir;
};

TEST_F(FileSyncTest, ReplaceSyncsTheNewFileThenRenamesThenSyncsTheDirectory)
{
    const std::string from = this->dir + "/players.n2.saving";
    const std::string to = this->dir + "/players.n2";
    std::ofstream(from) << "new";
    std::ofstream(to) << "old";
    calls.clear();
    ASSERT_TRUE(nPlatformFile::Replace(from.c_str(), to.c_str()));
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + from, "rename " + from + " " + to, "fsync " + this->dir}));
    EXPECT_EQ(ReadWholeFile(to), "new");
}

TEST_F(FileSyncTest, ReplaceNeverWaitsOnAFifoNorRenamesOne)
{
    const std::string from = this->dir + "/players.n2.saving";
    const std::string to = this->dir + "/players.n2";
    ASSERT_EQ(mkfifo(from.c_str(), 0600), 0);
    std::ofstream(to) << "old";
    EXPECT_FALSE(nPlatformFile::Replace(from.c_str(), to.c_str()));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(ReadWholeFile(to), "old");
}

TEST_F(FileSyncTest, ASaveOfTheEngineIsOnTheDiskBeforeItTakesItsName)
{
    nKernelServer ks;
    ks.New("nbinscriptserver", "/sys/servers/script");
    ks.GetFileServer()->SetAssign("home", (this->dir + "/").c_str());
    nRoot* tree = static_cast<nRoot*>(ks.New("nroot", "/players"));
    ks.New("nroot", "/players/me");
    calls.clear();
    ASSERT_TRUE(tree->SaveAs("home:players.n2"));
    const std::string to = this->dir + "/players.n2";
    const std::string temp = to + ".saving";
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + temp, "rename " + temp + " " + to, "fsync " + this->dir}));
}
