#ifndef TESTS_XML_XMLTESTFILES_H
#define TESTS_XML_XMLTESTFILES_H
//------------------------------------------------------------------------------
//  Spreadsheet files for tests: a temporary directory that the test
//  writes small workbooks into, removed again at the end.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include <cstdlib>
#include "usertempdir.h"

#include <filesystem>
#include <fstream>
#include <string>

class TempXmlDir
{
public:
    TempXmlDir()
    {
        this->dir = MakeTempDir("xmltest");
    }
    ~TempXmlDir() { std::filesystem::remove_all(this->dir); }
    TempXmlDir(const TempXmlDir&) = delete;
    TempXmlDir& operator=(const TempXmlDir&) = delete;

    /// write a file into the directory; its full path
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = this->dir + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

private:
    std::string dir;
};

/// a workbook of one worksheet holding the given rows
inline std::string Workbook(const std::string& rows, const char* sheetName = "Sheet1")
{
    return std::string("<?xml version=\"1.0\"?>\n<Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n") +
           " <Worksheet ss:Name=\"" + sheetName + "\">\n  <Table>\n" + rows + "  </Table>\n </Worksheet>\n</Workbook>\n";
}

/// a row of text cells
inline std::string Row(std::initializer_list<std::string> texts)
{
    std::string row = "   <Row>";
    for (const std::string& t : texts) row += "<Cell><Data ss:Type=\"String\">" + t + "</Data></Cell>";
    return row + "</Row>\n";
}
#endif
