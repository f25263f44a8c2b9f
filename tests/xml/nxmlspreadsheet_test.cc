//------------------------------------------------------------------------------
//  XML spreadsheets: typed cells, reading a workbook through the file
//  server, and sheets that do not have the expected shape.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"
#include "xmltestfiles.h"

#include "xml/nxmldocument.h"
#include "xml/nxmlspreadsheet.h"
#include "xml/nxmltable.h"

namespace
{

class SpreadSheetTest : public KernelTest
{
protected:
    /// open a sheet on a file; whether it opened
    bool Open(const std::string& path)
    {
        this->sheet.SetFilename(path.c_str());
        return this->sheet.Open();
    }

    TempXmlDir dir;
    nXmlSpreadSheet sheet;
};

const std::string Sample = std::string(XML_TEST_DATA) + "/sample.xml";

}  // namespace

TEST(nXmlTableCellTest, BoolWordsInGermanAndEnglish)
{
    struct
    {
        const char* text;
        bool value;
    } cases[] = {
        {"ja", true},   {"NEIN", false}, {"YES", true},  {"no", false},      {"ein", true},   {"Aus", false},
        {"on", true},   {"off", false},  {"Wahr", true}, {"falsch", false},  {"TRUE", true},  {"false", false},
        {"maybe", false}, {"1", false},  {"", false},    {"yes ", false},
    };
    for (const auto& c : cases)
    {
        nXmlTableCell cell;
        cell.Set(c.text);
        EXPECT_EQ(cell.AsBool(), c.value) << c.text;
    }
}

TEST(nXmlTableCellTest, TextIsReadAsNumbersAndVectors)
{
    nXmlTableCell cell;
    EXPECT_STREQ(cell.AsString().Get(), "<invalid>");
    cell.Set("1.5, 2 3");
    EXPECT_EQ(cell.AsInt(), 1);
    EXPECT_FLOAT_EQ(cell.AsFloat(), 1.5f);
    EXPECT_TRUE(cell.AsVector4().isequal(vector4(1.5f, 2.0f, 3.0f, 0.0f), 0.0f));
    cell.Set(",,1 ,, 2,3,4,5");
    EXPECT_TRUE(cell.AsVector4().isequal(vector4(1, 2, 3, 4), 0.0f));
    cell.Set("abc");
    EXPECT_EQ(cell.AsInt(), 0);
    EXPECT_TRUE(cell.AsVector4().isequal(vector4(0, 0, 0, 0), 0.0f));
}

TEST_F(SpreadSheetTest, AHandWrittenWorkbookLoads)
{
    ASSERT_TRUE(Open(Sample));
    ASSERT_EQ(sheet.NumTables(), 2);
    const nXmlTable* t = sheet.FindTable("Texts");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t, sheet.TableAt(0));
    EXPECT_EQ(sheet.FindTable("Missing"), nullptr);
    EXPECT_EQ(t->NumRows(), 5);
    EXPECT_EQ(t->NumColumns(), 3);
    EXPECT_STREQ(t->Cell(1, "Text").AsString().Get(), "PLAY");
    EXPECT_TRUE(t->Cell(1, "Flag").AsBool());
    // ss:Index skips the empty text cell
    EXPECT_STREQ(t->Cell(2, 1).AsString().Get(), "<invalid>");
    EXPECT_STREQ(t->Cell(2, 2).AsString().Get(), "Aus");
    EXPECT_FALSE(t->Cell(2, 2).AsBool());
    EXPECT_TRUE(t->Cell(3, "Flag").AsBool());
    EXPECT_STREQ(t->Cell(3, 1).AsString().Get(), "first\\nsecond\\tend");
    // rich text: the Font pieces joined, with the blanks between them
    EXPECT_STREQ(t->Cell(4, "Text").AsString().Get(), "Red and plain");
    EXPECT_TRUE(t->Cell(4, 2).AsVector4().isequal(vector4(1.5f, 2, 3, 0), 0.0f));
    EXPECT_STREQ(sheet.TableAt(1)->Cell(0, 0).AsString().Get(), "Only");
    sheet.Close();
    EXPECT_FALSE(sheet.IsOpen());
}

TEST_F(SpreadSheetTest, CellsAreCheckedByIndexAndTitle)
{
    ASSERT_TRUE(Open(Sample));
    const nXmlTable* t = sheet.TableAt(0);
    EXPECT_FATAL(t->Cell(0, "text"), "nXmlTable::Cell: invalid column title 'text'!");
    EXPECT_FATAL(t->Cell(5, 0), ASSERTION_TEXT("\\(row >= 0\\)"));
    EXPECT_FATAL(t->Cell(0, 3), ASSERTION_TEXT("\\(row >= 0\\)"));
    nXmlTable empty;
    EXPECT_FATAL(empty.SetNumRowsCols(0, 1), ASSERTION_TEXT("\\(rows > 0\\) && \\(cols > 0\\)"));
}

TEST_F(SpreadSheetTest, AnIndexOfTheThirdColumnLeavesTheFirstTwoInvalid)
{
    const std::string rows = Row({"a", "b", "c"}) +
                             "   <Row><Cell ss:Index=\"3\"><Data ss:Type=\"String\">x</Data></Cell></Row>\n";
    ASSERT_TRUE(Open(dir.Write("index.xml", Workbook(rows))));
    const nXmlTable* t = sheet.TableAt(0);
    ASSERT_EQ(t->NumRows(), 2);
    EXPECT_STREQ(t->Cell(1, 0).AsString().Get(), "<invalid>");
    EXPECT_STREQ(t->Cell(1, 1).AsString().Get(), "<invalid>");
    EXPECT_STREQ(t->Cell(1, 2).AsString().Get(), "x");
}

TEST_F(SpreadSheetTest, BadIndicesRowsWithoutCellsAndExtraCellsAreIgnored)
{
    const std::string rows =
        Row({"a", "b"}) +
        "   <Row/>\n"
        "   <Row><Cell><Data>1</Data></Cell><Cell ss:Index=\"0\"><Data>zero</Data></Cell>"
        "<Cell ss:Index=\"-5\"><Data>neg</Data></Cell><Cell><Data>2</Data></Cell><Cell><Data>3</Data></Cell></Row>\n"
        "   <Row><Cell><Data>4</Data></Cell><Cell ss:Index=\"99999999999\"><Data>big</Data></Cell></Row>\n"
        "   <Row><Cell><Data>5</Data></Cell><Cell ss:Index=\"2147483647\"><Data>max</Data></Cell></Row>\n"
        "   <Row><Cell><Data>6</Data></Cell><Cell><Data></Data></Cell></Row>\n";
    ASSERT_TRUE(Open(dir.Write("bad.xml", Workbook(rows))));
    const nXmlTable* t = sheet.TableAt(0);
    ASSERT_EQ(t->NumRows(), 5);
    ASSERT_EQ(t->NumColumns(), 2);
    EXPECT_STREQ(t->Cell(1, 0).AsString().Get(), "1");
    EXPECT_STREQ(t->Cell(1, 1).AsString().Get(), "2");
    EXPECT_STREQ(t->Cell(2, 0).AsString().Get(), "4");
    EXPECT_STREQ(t->Cell(3, 1).AsString().Get(), "<invalid>");
    EXPECT_STREQ(t->Cell(4, 1).AsString().Get(), "<invalid>");
}

TEST_F(SpreadSheetTest, SheetsOfTheWrongShapeGiveEmptyTablesOrNone)
{
    struct
    {
        const char* what;
        std::string text;
        int tables;
        int rows;
    } cases[] = {
        {"first row without data", Workbook("   <Row><Cell ss:StyleID=\"s1\"/></Row>\n" + Row({"a"})), 1, 0},
        {"no rows", Workbook(""), 1, 0},
        {"no table", "<Workbook><Worksheet ss:Name=\"x\"/></Workbook>", 1, 0},
        {"no worksheet", "<Workbook/>", 0, 0},
        {"another root", "<Book><Worksheet ss:Name=\"x\"/></Book>", 0, 0},
        {"data ends the table", Workbook(Row({"a"}) + Row({"b"}) + "<Row><Cell/></Row>" + Row({"c"})), 1, 2},
    };
    for (const auto& c : cases)
    {
        nXmlSpreadSheet s;
        s.SetFilename(dir.Write("shape.xml", c.text).c_str());
        ASSERT_TRUE(s.Open()) << c.what;
        ASSERT_EQ(s.NumTables(), c.tables) << c.what;
        if (c.tables > 0)
        {
            EXPECT_EQ(s.TableAt(0)->NumRows(), c.rows) << c.what;
        }
    }
}

TEST_F(SpreadSheetTest, TablesTooLargeToHoldAreRefused)
{
    std::string first = "   <Row>";
    for (int i = 0; i < 2000; i++) first += "<Cell><Data>c</Data></Cell>";
    first += "</Row>\n";
    std::string rows = first;
    for (int i = 0; i < (nXmlSpreadSheet::MaxCells / 2000) + 1; i++) rows += Row({"r"});
    ASSERT_TRUE(Open(dir.Write("huge.xml", Workbook(rows))));
    EXPECT_EQ(sheet.TableAt(0)->NumRows(), 0);
}

TEST_F(SpreadSheetTest, MissingTruncatedAndCorruptFilesDoNotOpen)
{
    const std::string full = Workbook(Row({"ID", "Text"}) + Row({"a", "b"}));
    std::string deep;
    for (int i = 0; i < 60000; i++) deep += "<a>";
    const std::string texts[] = {full.substr(0, full.size() / 2), "<Workbook><Worksheet>", "\x01\x02garbage", "",
                                 "<Workbook></Worksheet></Workbook>", Workbook(Row({deep}))};
    for (const std::string& text : texts)
    {
        nXmlSpreadSheet s;
        s.SetFilename(dir.Write("broken.xml", text).c_str());
        EXPECT_FALSE(s.Open()) << text.substr(0, 80);
        EXPECT_FALSE(s.IsOpen());
    }
    nXmlSpreadSheet missing;
    missing.SetFilename("/no/such/dir/sheet.xml");
    EXPECT_FALSE(missing.Open());
}

TEST_F(SpreadSheetTest, TheLoaderReportsTinyXmlErrors)
{
    nXmlDocument doc;
    EXPECT_FALSE(doc.Load("/no/such/file.xml"));
    EXPECT_STREQ(doc.ErrorDesc(), "Failed to open file");
    EXPECT_FALSE(doc.Load(dir.Write("empty.xml", "").c_str()));
    EXPECT_TRUE(doc.Error());
    EXPECT_TRUE(doc.Load(dir.Write("ok.xml", "<a>\n<b>x\ny</b>\r\n</a>").c_str()));
    // line ends vanish from the text, carriage returns stay
    EXPECT_STREQ(doc.RootElement()->FirstChildElement("b")->GetText(), "xy");
}

TEST_F(SpreadSheetTest, ALineOfAnyLengthIsReadWhole)
{
    const std::string longText(3000, 'w');
    const std::string rows = Row({"ID", "Text"}) + Row({"long", longText}) + Row({"after", "ok"});
    ASSERT_TRUE(Open(dir.Write("longline.xml", Workbook(rows))));
    const nXmlTable* t = sheet.TableAt(0);
    ASSERT_EQ(t->NumRows(), 3);
    EXPECT_EQ(t->Cell(1, "Text").AsString().Length(), 3000);
    EXPECT_STREQ(t->Cell(2, "Text").AsString().Get(), "ok");
}

TEST_F(SpreadSheetTest, OpeningTwiceOrWithoutAFileIsAProgrammingError)
{
    nXmlSpreadSheet s;
    EXPECT_FATAL(s.Open(), ASSERTION_TEXT("!this->filename.IsEmpty\\(\\)"));
    ASSERT_TRUE(Open(Sample));
    EXPECT_FATAL(sheet.Open(), ASSERTION_TEXT("!this->isOpen"));
    sheet.Close();
    EXPECT_FATAL(sheet.Close(), ASSERTION_TEXT("this->isOpen"));
}
