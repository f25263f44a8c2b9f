//------------------------------------------------------------------------------
//  The locale server: texts by id from a spreadsheet, the placeholder for
//  unknown ids, and the fatal errors for unusable tables.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"
#include "xmltestfiles.h"

#include "locale/nlocalepackage.h"
#include "locale/nlocaleserver.h"

namespace
{

class LocaleServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nlocale_package});
        this->locale = static_cast<nLocaleServer*>(this->ks->New("nlocaleserver", "/sys/servers/locale"));
    }
    void TearDown() override { this->ks.reset(); }

    bool OpenText(const std::string& text)
    {
        this->locale->SetFilename(this->dir.Write("locale.xml", text).c_str());
        return this->locale->Open();
    }

    std::unique_ptr<nKernelServer> ks;
    nLocaleServer* locale = nullptr;
    TempXmlDir dir;
};

const std::string Sample = std::string(XML_TEST_DATA) + "/sample.xml";

}  // namespace

TEST_F(LocaleServerTest, TextsAreFoundByIdAndUnknownIdsAreMarked)
{
    EXPECT_EQ(nLocaleServer::Instance(), locale);
    locale->SetFilename(Sample.c_str());
    ASSERT_TRUE(locale->Open());
    EXPECT_TRUE(locale->IsOpen());
    EXPECT_STREQ(locale->GetLocaleText("menu_play"), "PLAY");
    EXPECT_STREQ(locale->GetLocaleText("ID"), "Text");
    EXPECT_STREQ(locale->GetLocaleText("menu_quit"), "<invalid>");
    EXPECT_STREQ(locale->GetLocaleText("two_lines"), "first\nsecond\tend");
    EXPECT_STREQ(locale->GetLocaleText("rich"), "Red and plain");
    EXPECT_STREQ(locale->GetLocaleText("abc"), "Localize: abc");
    EXPECT_STREQ(locale->GetLocaleText(""), "Localize: ");
    locale->Close();
    EXPECT_FALSE(locale->IsOpen());
    // and again, after a new file name
    ASSERT_TRUE(OpenText(Workbook(Row({"ID", "Text"}) + Row({"k", "v\\\\n"}))));
    EXPECT_STREQ(locale->GetLocaleText("k"), "v\\\n");
}

TEST_F(LocaleServerTest, EscapesBecomeTabsAndLineFeeds)
{
    ASSERT_TRUE(OpenText(Workbook(Row({"ID", "Text"}) + Row({"a", "one\\ntwo"}) + Row({"b", "\\t\\x\\"}))));
    EXPECT_STREQ(locale->GetLocaleText("a"), "one\ntwo");
    EXPECT_STREQ(locale->GetLocaleText("b"), "\t\\x\\");
}

TEST_F(LocaleServerTest, ColumnsAreFoundByTitleInAnyOrder)
{
    ASSERT_TRUE(OpenText(Workbook(Row({"Note", "Text", "ID"}) + Row({"n", "hello", "greet"}))));
    EXPECT_STREQ(locale->GetLocaleText("greet"), "hello");
}

TEST_F(LocaleServerTest, UnusableFilesStopTheProgram)
{
    std::string deep;
    for (int i = 0; i < 60000; i++) deep += "<Data>";
    struct
    {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"repeated id", Workbook(Row({"ID", "Text"}) + Row({"a", "1"}) + Row({"a", "2"})),
         "nLocaleServer::Open\\(\\): ID 'a' is not unique!"},
        {"no data", Workbook("<Row><Cell/></Row>" + Row({"ID", "Text"})), "table 1 don't contain data!"},
        {"no tables", "<Workbook/>", "File '.*locale.xml' don't contain tables."},
        {"corrupt", "<Workbook><Worksheet>", "nLocaleServer::Open\\(\\): Can't open file '.*locale.xml'!"},
        {"no id column", Workbook(Row({"Key", "Text"})), "invalid column title 'ID'"},
        {"nested 60000 deep", Workbook(Row({"ID", "Text"}) + Row({"a", deep})),
         "nLocaleServer::Open\\(\\): Can't open file '.*locale.xml'!"},
    };
    for (const auto& c : cases)
    {
        EXPECT_FATAL(OpenText(c.text), c.message) << c.what;
    }
    locale->SetFilename("/no/such/locale.xml");
    EXPECT_FATAL(locale->Open(), "Can't open file '/no/such/locale.xml'!");
}

TEST_F(LocaleServerTest, OnlyTheFirstOfSeveralTablesIsRead)
{
    locale->SetFilename(Sample.c_str());
    ASSERT_TRUE(locale->Open());
    EXPECT_STREQ(locale->GetLocaleText("Only"), "Localize: Only");
}

TEST_F(LocaleServerTest, StateIsCheckedByAssertions)
{
    EXPECT_FATAL(locale->GetLocaleText("x"), ASSERTION_TEXT("this->IsOpen\\(\\)"));
    EXPECT_FATAL(locale->Close(), ASSERTION_TEXT("this->IsOpen\\(\\)"));
    EXPECT_FATAL(locale->Open(), ASSERTION_TEXT("!this->filename.IsEmpty\\(\\)"));
    locale->SetFilename(Sample.c_str());
    ASSERT_TRUE(locale->Open());
    EXPECT_FATAL(locale->SetFilename("other"), ASSERTION_TEXT("!this->IsOpen\\(\\)"));
    EXPECT_EQ(ks->NewNoFail("nlocaleserver", "/second"), nullptr);  // the class refuses a second one
}
