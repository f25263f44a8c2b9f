//------------------------------------------------------------------------------
//  The file server: assigns, path mangling, whole-file operations, the
//  checksum, file nodes and the script commands.
//------------------------------------------------------------------------------
#include "filefixture.h"

#include "kernel/nenv.h"
#include "kernel/nfilenode.h"
#include "kernel/nroot.h"
#include "platform/nplatformfolders.h"

#include <sys/stat.h>

TEST_F(FileTest, StandardAssignsAreMadeAtStart)
{
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string exeDir = exe.substr(0, exe.rfind('/') + 1);
    EXPECT_STREQ(fs->GetAssign("bin"), exeDir.c_str());
    EXPECT_STREQ(fs->GetAssign("home"), nFileServer2::HomeFromProgramPath(exe.c_str()).Get());
    EXPECT_STREQ(fs->GetAssign("temp"), (nPlatformTempDir() + "/").c_str());
    const std::string user = fs->GetAssign("user");
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(user.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(user));
    const std::string appData = fs->GetAssign("appdata");
    const std::string dataHome = nPlatformFolders::DataHome();
    EXPECT_EQ(appData, (dataHome.empty() ? nPlatformTempDir() : dataHome) + "/");
    // assigns are plain tree objects, visible to scripts
    nRoot* node = ks->Lookup("/sys/share/assigns/bin");
    ASSERT_NE(node, nullptr);
    ASSERT_TRUE(node->IsA("nenv"));
    EXPECT_STREQ(static_cast<nEnv*>(node)->GetS(), exeDir.c_str());
}

TEST_F(FileTest, HomeIsTwoLevelsAboveALinuxProgramDirectory)
{
    struct Case
    {
        const char* program;
        const char* home;
    } cases[] = {
        {"/g/bin/linux/game", "/g/"},
        {"/g/bin/LinuxD/game", "/g/"},
        {"/g/bin/linuxx/game", "/g/bin/linuxx/"},
        {"/g/bin/other/game", "/g/bin/other/"},
        {"c:\\g\\bin\\linux\\game.exe", "c:/g/"},
    };
    for (const Case& c : cases)
    {
        EXPECT_STREQ(nFileServer2::HomeFromProgramPath(c.program).Get(), c.home) << c.program;
    }
}

TEST_F(FileTest, SetAssignStoresExactlyOneTrailingSlash)
{
    struct Case
    {
        const char* path;
        const char* stored;
    } cases[] = {
        {"c:/dir/", "c:/dir/"},
        {"c:/dir", "c:/dir/"},
        {"c:\\dir\\", "c:\\dir/"},
        {"/x//", "/x//"},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(fs->SetAssign("qq", c.path));
        EXPECT_STREQ(fs->GetAssign("qq"), c.stored) << c.path;
    }
    EXPECT_STREQ(fs->ManglePath("qq:a").Get(), "/x//a");
    fs->SetAssign("qq", "c:\\dir\\");
    EXPECT_STREQ(fs->ManglePath("qq:file").Get(), "c:/dir/file");
}

TEST_F(FileTest, SetAssignRefusesNamesThatAreNoAssigns)
{
    // names come from scripts: none may reach a node that is not an assign
    ks->New("nroot", "/sys/share/assigns/dir");
    static_cast<nEnv*>(ks->New("nenv", "/sys/share/assigns/num"))->SetI(3);
    for (const char* name : {"", ".", "..", "a/b", "/abs", "dir", "num"})
    {
        RunCmd(fs, "setassign", {name, "/x"}, [](nCmd*) {});
        EXPECT_FALSE(fs->SetAssign(name, "/x")) << name;
    }
    EXPECT_EQ(ks->Lookup("/sys/share/assigns/a"), nullptr);
    EXPECT_FALSE(ks->Lookup("/sys/share/assigns/dir")->IsA("nenv"));
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/sys/share/assigns/num"))->GetI(), 3);
    EXPECT_NE(log.text.find("nFileServer2::SetAssign(): '..' is no assign name!\n"), std::string::npos) << log.text;
    EXPECT_TRUE(fs->SetAssign("fine", "/x"));
    EXPECT_STREQ(fs->GetAssign("fine"), "/x/");
}

TEST_F(FileTest, ManglePathExpandsAssignsFromTheLeft)
{
    fs->SetAssign("aa", "d:");
    fs->SetAssign("outer", "aa:sub");
    const std::string home = fs->GetAssign("home");
    struct Case
    {
        const char* path;
        std::string mangled;
    } cases[] = {
        {"c:/x", "c:/x"},
        {"c:x", "c:x"},
        {":x", ":x"},
        {"aa:b:c", "d:/b:c"},
        {"outer:f", "d:/sub/f"},
        {"tst:", dir},
        {"tst:sub/", dir + "/sub"},
        {"tst:a\\b", dir + "/a/b"},
        {"home:data/x.n2", home + "data/x.n2"},
        {"home:/data/x.n2", home + "/data/x.n2"},
        {"/", "/"},
        {"plain/rel", "plain/rel"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(fs->ManglePath(c.path).Get(), c.mangled) << c.path;
    }
}

TEST_F(FileTest, UndefinedAssignEmptiesThePath)
{
    EXPECT_STREQ(fs->ManglePath("nosuch:x/y").Get(), "");
    EXPECT_EQ(log.text, "Assign 'nosuch' not defined!\n");
    EXPECT_EQ(fs->GetAssign("nosuch"), nullptr);
    nFile* f = NewFile();
    EXPECT_FALSE(f->Open("nosuch:x", "rb"));
    f->Release();
}

TEST_F(FileTest, CyclicAssignsDoNotExpandForever)
{
    fs->SetAssign("aa", "aa:x");
    fs->SetAssign("bb", "cc:y");
    fs->SetAssign("cc", "bb:z");
    EXPECT_STREQ(fs->ManglePath("aa:foo").Get(), "");
    EXPECT_STREQ(fs->ManglePath("bb:foo").Get(), "");
    EXPECT_NE(log.text.find("nested too deep"), std::string::npos);
    EXPECT_FALSE(fs->FileExists("aa:foo"));
}

TEST_F(FileTest, AssignsOutliveTheServer)
{
    fs->SetAssign("home", "/elsewhere");
    ks->ReplaceFileServer("nnpkfileserver");
    fs = ks->GetFileServer();
    EXPECT_EQ(fs, nFileServer2::Instance());
    EXPECT_STREQ(fs->GetAssign("home"), "/elsewhere/");
    EXPECT_EQ(fs->ManglePath("tst:x").Get(), Path("x"));
}

TEST_F(FileTest, KernelFallsBackToThePlainServerWithoutTheFilePackage)
{
    EXPECT_STREQ(fs->GetClass()->GetName(), "nnpkfileserver");
    EXPECT_EQ(ks->Lookup("/sys/servers/file2"), fs);
    MakeKernel(false);
    EXPECT_STREQ(fs->GetClass()->GetName(), "nfileserver2");
    EXPECT_EQ(fs, nFileServer2::Instance());
    WriteFile("a.txt", "abc");
    EXPECT_EQ(ReadThrough("tst:a.txt"), "abc");
}

TEST_F(FileTest, MakePathCreatesEveryMissingLevel)
{
    EXPECT_TRUE(fs->MakePath("tst:a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(Path("a/b/c")));
    EXPECT_TRUE(fs->MakePath("tst:a/b/c/"));
    EXPECT_TRUE(fs->MakePath("tst:a"));
    EXPECT_TRUE(fs->DirectoryExists("tst:a/b"));
    EXPECT_FALSE(fs->MakePath("nosuch:a"));
    WriteFile("file", "x");
    EXPECT_FALSE(fs->MakePath("tst:file/sub"));
}

TEST_F(FileTest, CopyFileOverwritesEvenReadOnlyTargets)
{
    WriteFile("src", "new contents");
    WriteFile("dst", "old");
    fs->SetFileReadOnly("tst:dst", true);
    EXPECT_TRUE(fs->IsFileReadOnly("tst:dst"));
    EXPECT_TRUE(fs->CopyFile("tst:src", "tst:dst"));
    EXPECT_EQ(ReadFile("dst"), "new contents");
    EXPECT_TRUE(fs->CopyFile("tst:src", "tst:fresh"));
    EXPECT_EQ(ReadFile("fresh"), "new contents");
    EXPECT_FALSE(fs->CopyFile("tst:missing", "tst:other"));
    EXPECT_FALSE(fs->FileExists("tst:other"));
}

TEST_F(FileTest, CopyingAFileOntoItselfIsRefusedAndKeepsIt)
{
    WriteFile("self", "precious");
    std::filesystem::create_directory(Path("d"));
    EXPECT_FALSE(fs->CopyFile("tst:self", "tst:self"));
    EXPECT_FALSE(fs->CopyFile("tst:self", "tst:d/../self"));
    std::filesystem::create_hard_link(Path("self"), Path("link"));
    EXPECT_FALSE(fs->CopyFile("tst:self", "tst:link"));
    EXPECT_EQ(ReadFile("self"), "precious");
    // a refused copy does not make a read-only target writable
    fs->SetFileReadOnly("tst:self", true);
    EXPECT_FALSE(fs->CopyFile("tst:self", "tst:self"));
    EXPECT_FALSE(fs->CopyFile("tst:missing", "tst:self"));
    EXPECT_TRUE(fs->IsFileReadOnly("tst:self"));
}

TEST_F(FileTest, DeleteFileAndDirectory)
{
    WriteFile("f", "x");
    std::filesystem::create_directories(Path("full/inner"));
    std::filesystem::create_directory(Path("empty"));
    EXPECT_TRUE(fs->DeleteFile("tst:f"));
    EXPECT_FALSE(fs->FileExists("tst:f"));
    EXPECT_FALSE(fs->DeleteFile("tst:f"));
    EXPECT_FALSE(fs->DeleteFile("tst:empty"));
    EXPECT_TRUE(fs->DeleteDirectory("tst:empty"));
    EXPECT_FALSE(fs->DirectoryExists("tst:empty"));
    EXPECT_FALSE(fs->DeleteDirectory("tst:full"));
}

TEST_F(FileTest, ChecksumIsTheUnreflectedCrc32)
{
    WriteFile("abc", "abc");
    WriteFile("empty", "");
    uint crc = 1;
    EXPECT_TRUE(fs->Checksum("tst:abc", crc));
    EXPECT_EQ(crc, 0x2C17398Cu);
    crc = 1;
    EXPECT_TRUE(fs->Checksum("tst:empty", crc));
    EXPECT_EQ(crc, 0u);
    crc = 1;
    EXPECT_FALSE(fs->Checksum("tst:missing", crc));
    EXPECT_EQ(crc, 0u);
    crc = 1;
    std::filesystem::create_directory(Path("dir"));
    EXPECT_FALSE(fs->Checksum("tst:dir", crc));
    EXPECT_EQ(crc, 0u);
}

TEST_F(FileTest, ReadOnlyAttribute)
{
    WriteFile("f", "x");
    EXPECT_FALSE(fs->IsFileReadOnly("tst:f"));
    fs->SetFileReadOnly("tst:f", true);
    EXPECT_TRUE(fs->IsFileReadOnly("tst:f"));
    EXPECT_EQ(std::filesystem::status(Path("f")).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    fs->SetFileReadOnly("tst:f", false);
    EXPECT_FALSE(fs->IsFileReadOnly("tst:f"));
}

TEST_F(FileTest, FilesAndDirectoriesExistApart)
{
    WriteFile("f", "x");
    std::filesystem::create_directory(Path("d"));
    EXPECT_TRUE(fs->FileExists("tst:f"));
    EXPECT_FALSE(fs->FileExists("tst:d"));
    EXPECT_FALSE(fs->FileExists("tst:none"));
    EXPECT_TRUE(fs->DirectoryExists("tst:d"));
    EXPECT_TRUE(fs->DirectoryExists("tst:"));
    EXPECT_FALSE(fs->DirectoryExists("tst:f"));
    EXPECT_FALSE(fs->DirectoryExists("tst:none"));
}

TEST_F(FileTest, ScriptCommandsOfTheFileServer)
{
    RunCmd(fs, "setassign", {"sb", Path("sub").c_str()}, [](nCmd*) {});
    RunCmd(fs, "getassign", {"sb"}, [&](nCmd* cmd) { EXPECT_EQ(cmd->Out()->GetS(), Path("sub") + "/"); });
    // an undefined assign is a null string, unlike one set to ""
    RunCmd(fs, "getassign", {"undefined"}, [](nCmd* cmd) { EXPECT_EQ(cmd->Out()->GetS(), nullptr); });
    RunCmd(fs, "manglepath", {"sb:x/"}, [&](nCmd* cmd) { EXPECT_EQ(cmd->Out()->GetS(), Path("sub/x")); });
    WriteFile("there", "1");
    RunCmd(fs, "fileexists", {"tst:there"}, [](nCmd* cmd) { EXPECT_TRUE(cmd->Out()->GetB()); });
    RunCmd(fs, "fileexists", {"tst:absent"}, [](nCmd* cmd) { EXPECT_FALSE(cmd->Out()->GetB()); });
    RunCmd(fs, "createfilenode", {"log"}, [&](nCmd* cmd) {
        nObject* node = static_cast<nObject*>(cmd->Out()->GetO());
        EXPECT_EQ(node, ks->Lookup("/sys/share/files/log"));
        EXPECT_TRUE(node->IsA("nfilenode"));
    });
    EXPECT_EQ(fs->GetClass()->FindCmdByName("parsedirectory")->GetId(), N_FOURCC('P', 'R', 'S', 'D'));
}

TEST_F(FileTest, FileNodesWriteTextFilesByScript)
{
    nFileNode* node = fs->CreateFileNode("out");
    ASSERT_NE(node, nullptr);
    RunCmd(node, "isopen", {}, [](nCmd* cmd) { EXPECT_FALSE(cmd->Out()->GetB()); });
    RunCmd(node, "open", {"tst:missing/dir/f.txt", "w"}, [](nCmd* cmd) { EXPECT_FALSE(cmd->Out()->GetB()); });
    RunCmd(node, "isopen", {}, [](nCmd* cmd) { EXPECT_FALSE(cmd->Out()->GetB()); });
    RunCmd(node, "open", {"tst:f.txt", "w"}, [](nCmd* cmd) { EXPECT_TRUE(cmd->Out()->GetB()); });
    RunCmd(node, "isopen", {}, [](nCmd* cmd) { EXPECT_TRUE(cmd->Out()->GetB()); });
    RunCmd(node, "puts", {"line one\n"}, [](nCmd* cmd) { EXPECT_TRUE(cmd->Out()->GetB()); });
    RunCmd(node, "puts", {"two"}, [](nCmd* cmd) { EXPECT_TRUE(cmd->Out()->GetB()); });
    RunCmd(node, "close", {}, [](nCmd*) {});
    EXPECT_EQ(ReadFile("f.txt"), "line one\ntwo");
    // open again and let the node die open: the file is closed and kept
    EXPECT_TRUE(node->Open("tst:g.txt", "w"));
    EXPECT_TRUE(node->PutS("kept"));
    node->Release();
    EXPECT_EQ(ReadFile("g.txt"), "kept");
}

TEST_F(FileTest, MisuseIsFatal)
{
    EXPECT_FATAL(fs->SetAssign(nullptr, "x"), ASSERTION_TEXT("assignName"));
    EXPECT_FATAL(fs->CopyFile(nullptr, "x"), ASSERTION_TEXT("from && to"));
    fs->CreateFileNode("dup");
    EXPECT_FATAL(fs->CreateFileNode("dup"), "nFileServer2: file node 'dup' exists!");
    nFileNode* node = fs->CreateFileNode("closed");
    EXPECT_FATAL(node->Close(), ASSERTION_TEXT("this->file"));
}
