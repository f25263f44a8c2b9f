//------------------------------------------------------------------------------
//  The preference server over the registry-style store: persistence
//  across kernels, the store's place, KeyExists, and bad stores.
//------------------------------------------------------------------------------
#include "preffixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

TEST_F(PrefTest, ValuesSurviveANewKernel)
{
    nPrefServer* prefs = this->NewPrefs("nwin32prefserver", "ZORVEK Games", "Boxing");
    EXPECT_STREQ(prefs->GetClass()->GetProperName(), "nWin32PrefServer");
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->WriteString("window-type", "fullscreen"));
    EXPECT_TRUE(prefs->WriteInt("window-width", 1024));
    EXPECT_TRUE(prefs->WriteVector3("pos", vector3(1, 2, 3)));
    prefs->Close();
    EXPECT_TRUE(std::filesystem::exists(user.ConfigPath() + "/ZORVEK Games/Boxing.conf"));

    this->RestartKernel();
    prefs = this->NewPrefs("nwin32prefserver", "ZORVEK Games", "Boxing");
    ASSERT_TRUE(prefs->Open());
    EXPECT_STREQ(prefs->ReadString("window-type").Get(), "fullscreen");
    EXPECT_EQ(prefs->ReadInt("window-width"), 1024);
    EXPECT_EQ(prefs->ReadVector3("pos").z, 3.0f);
}

TEST_F(PrefTest, ReleasingAnOpenServerClosesIt)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->WriteBool("sound", true));
    prefs->Release();
    EXPECT_EQ(ks->Lookup("/sys/servers/pref"), nullptr);

    prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->ReadBool("sound"));
    // the kernel's teardown releases the still open server without complaint
}

TEST_F(PrefTest, ApplicationsAndCompaniesHaveSeparateStores)
{
    nPrefServer* prefs = this->NewPrefs("nwin32prefserver", "A", "B");
    ASSERT_TRUE(prefs->Open());
    prefs->WriteString("k", "A/B");
    prefs->Close();
    prefs->SetApplicationName("C");
    ASSERT_TRUE(prefs->Open());
    EXPECT_TRUE(prefs->ReadString("k").IsEmpty());
    prefs->Close();
    prefs->SetApplicationName("B");
    ASSERT_TRUE(prefs->Open());
    EXPECT_STREQ(prefs->ReadString("k").Get(), "A/B");
}

TEST_F(PrefTest, KeyExistsFindsWrittenValues)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    EXPECT_FALSE(prefs->KeyExists("window-type"));
    prefs->WriteString("window-type", "windowed");
    EXPECT_TRUE(prefs->KeyExists("window-type"));
    prefs->WriteString("empty", "");
    EXPECT_TRUE(prefs->KeyExists("empty"));
}

TEST_F(PrefTest, LongValuesReadBackWhole)
{
    nPrefServer* prefs = this->NewPrefs();
    ASSERT_TRUE(prefs->Open());
    const std::string longText(2000, 'x');
    ASSERT_TRUE(prefs->WriteString("long", longText.c_str()));
    EXPECT_EQ(std::string(prefs->ReadString("long").Get()), longText);
}

TEST_F(PrefTest, StoreOperationsNeedAnOpenServerAndAKey)
{
    nPrefServer* prefs = this->NewPrefs();
    EXPECT_FATAL(prefs->ReadString("k"), ASSERTION_TEXT("0 != rootKey\n"));
    EXPECT_FATAL(prefs->WriteInt("k", 1), ASSERTION_TEXT("0 != this->rootKey"));
    EXPECT_FATAL(prefs->KeyExists("k"), ASSERTION_TEXT("0 != this->rootKey"));
    EXPECT_FATAL(prefs->Close(), ASSERTION_TEXT("this->isOpen\n"));
    ASSERT_TRUE(prefs->Open());
    EXPECT_FATAL(prefs->WriteInt("", 1), ASSERTION_TEXT("!key.IsEmpty\\(\\)"));
    EXPECT_FATAL(prefs->ReadInt(""), ASSERTION_TEXT("!key.IsEmpty\\(\\)"));
}

TEST_F(PrefTest, UnusableStoreDoesNotOpen)
{
    nPrefServer* prefs = this->NewPrefs("nwin32prefserver", "..", "B");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(prefs->Open());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("could not open"), std::string::npos);
    EXPECT_FALSE(prefs->IsOpen());
    // closed again properly: the names can be fixed and the server opened
    prefs->SetCompanyName("A");
    EXPECT_TRUE(prefs->Open());
}

TEST_F(PrefTest, CorruptStoreIsReportedAndReadAsEmpty)
{
    const std::string file = user.ConfigPath() + "/A/B.conf";
    std::filesystem::create_directories(user.ConfigPath() + "/A");
    std::ofstream(file) << "window-width=800\n\x01\x02 binary junk without separator\n";

    nPrefServer* prefs = this->NewPrefs();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(prefs->Open());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("unreadable"), std::string::npos) << out;
    EXPECT_NE(out.find("B.conf"), std::string::npos) << out;
    EXPECT_EQ(prefs->ReadInt("window-width"), 0);
    EXPECT_TRUE(prefs->WriteInt("window-width", 640));
    EXPECT_EQ(ReadWholeFile(file), "window-width=640\n");
}
