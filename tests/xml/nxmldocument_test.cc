//------------------------------------------------------------------------------
//  The XML document wrapper guards TinyXML's input: no trailing byte of a
//  text makes the parser read past its end.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "xml/nxmldocument.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace
{

/// texts whose last byte is a UTF-8 lead byte of each length, after a BOM
/// and an element as in the text reader's path
const std::vector<std::string> trailingLeadBytes = {
    "\xEF\xBB\xBF<a>\xC3",
    "\xEF\xBB\xBF<a>\xE2",
    "\xEF\xBB\xBF<a>\xF0",
    "\xEF\xBB\xBF<a>\xF0\x9F",
    "<a>\xC3",
    "<a x='\xE2",
    "<!--\xF0",
    "\xC3",
};

/// A copy of a text whose terminator is the last byte before a page that
/// may not be read: TinyXML is a system library without the sanitizer's
/// checks, so a read past the text must fault by itself.
class GuardedText
{
public:
    explicit GuardedText(const std::string& text)
    {
        const size_t page = (size_t)sysconf(_SC_PAGESIZE);
        this->size = 2 * page;
        void* mem = mmap(nullptr, this->size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        EXPECT_NE(mem, MAP_FAILED);
        this->base = static_cast<char*>(mem);
        EXPECT_EQ(mprotect(this->base + page, page, PROT_NONE), 0);
        this->text = this->base + page - (text.size() + 1);
        memcpy(this->text, text.c_str(), text.size() + 1);
    }
    ~GuardedText() { munmap(this->base, this->size); }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    char* get() const { return this->text; }

private:
    char* base = nullptr;
    char* text = nullptr;
    size_t size = 0;
};

TEST(XmlDocumentTest, ATrailingLeadByteIsNeverReadPast)
{
    for (const std::string& text : trailingLeadBytes)
    {
        GuardedText buf(text);
        nXmlDocument doc;
        const char* end = doc.Parse(buf.get());
        if (end)
        {
            EXPECT_GE(end, buf.get());
            EXPECT_LE(end, buf.get() + text.size());
        }
        // the loader's path: line ends removed in place, then parsed
        GuardedText again(text);
        nXmlDocument loaded;
        loaded.ParseText(again.get(), (int)text.size());
    }
}

TEST(XmlDocumentTest, ParseStillReadsWholeDocuments)
{
    const std::string text = "\xEF\xBB\xBF<a x=\"\xC3\xA9\">t\xC3\xA9xt</a>";
    GuardedText buf(text);
    nXmlDocument doc;
    doc.Parse(buf.get());
    ASSERT_FALSE(doc.Error()) << doc.ErrorDesc();
    ASSERT_NE(doc.RootElement(), nullptr);
    EXPECT_STREQ(doc.RootElement()->Attribute("x"), "\xC3\xA9");
    EXPECT_STREQ(doc.RootElement()->GetText(), "t\xC3\xA9xt");
}

/// n copies of the text
std::string Repeat(const std::string& text, int n)
{
    std::string out;
    for (int i = 0; i < n; i++) out += text;
    return out;
}

TEST(XmlDocumentTest, TextsNestedDeeperThanTheLimitAreRefusedBeforeTinyXmlRecurses)
{
    const int max = nXmlDocument::MaxDepth;
    const struct
    {
        const char* what;
        std::string text;
        bool refused;
    } cases[] = {
        {"60000 levels", Repeat("<a>", 60000), true},
        {"a slash inside a value", Repeat("<a b=\"/\">", 60000), true},
        {"a '>' inside a value", Repeat("<a b = '/>'>", 60000), true},
        {"comments between levels", Repeat("<a><!-- </a> -->", 60000), true},
        {"closing tags in declarations", Repeat("<a><?xml version=\"></a>\"?>", 300), true},
        {"closing tags in a value's entity", Repeat("<a x=\"&#\"></a>#;\">", 300), true},
        {"closing tags in a text's entity", Repeat("<a>&#</a>#;", 300), true},
        {"closing tags behind UTF-8 lead bytes", "<?xml version='1.0'?>" + Repeat("<a x='\xC3'></a>'>", 300), true},
        {"closing tags behind a lead byte in a text", "\xEF\xBB\xBF" + Repeat("<a>\xE3</a>", 300), true},
        {"one level too many", Repeat("<a>", max + 1) + Repeat("</a>", max + 1), true},
        {"the deepest allowed", Repeat("<a>", max) + "<!-- <b> -->" + Repeat("</a>", max), false},
        {"many empty elements", "<r>" + Repeat("<a b='1'/><c>x</c>", 30000) + "</r>", false},
        {"lead bytes outside a UTF-8 document", "<?xml version='1.0' encoding='ISO-8859-1'?><r>" +
                                                    Repeat("<a x='\xC3'>\xE3</a>", 300) + "</r>",
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<char> text(c.text.begin(), c.text.end());
        text.push_back(0);
        nXmlDocument doc;
        const bool ok = doc.ParseText(text.data(), (int)c.text.size());
        EXPECT_EQ(ok, !c.refused) << doc.ErrorDesc();
        if (c.refused) EXPECT_EQ(doc.ErrorId(), TiXmlBase::TIXML_ERROR_PARSING_ELEMENT);
    }
}

/// Results: the deepest chain of elements below the node
int TreeDepth(const TiXmlNode* node)
{
    int deepest = 0;
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
    {
        deepest = std::max(deepest, TreeDepth(child) + (child->ToElement() ? 1 : 0));
    }
    return deepest;
}

TEST(XmlDocumentTest, TheDepthScanStepsAsTinyXmlReads)
{
    // TinyXML itself parses each text (none is deep enough to hurt); the
    // scan must find the depth of the tree it built
    const struct
    {
        const char* what;
        std::string text;
        int depth;
    } cases[] = {
        {"plain", "<a><b><c></c></b><d/></a>", 3},
        {"a declaration hides a closing tag", "<a><?xml version=\"></a>\"?><b></b></a>", 2},
        {"a declaration's other words end at '>'", "<a><?xml foo=\"></a>\"?><b></b></a>", 1},
        {"a hex entity runs to its ';'", "<a x='&#x'></a>x1;'><b></b></a>", 2},
        {"a decimal entity runs to its ';'", "<a>&#</a>#;<b></b></a>", 2},
        {"a broken entity stops the parse", "<a>&#1z;<b></b></a>", 1},
        {"a lead byte hides a quote in UTF-8", "\xEF\xBB\xBF<a x='\xC3'></a>'><b></b></a>", 2},
        {"a declared UTF-8 hides a '<'", "<?xml version='1.0' encoding='utf-8'?><a>\xE3</a><b></b></a>", 2},
        {"an entity spells the encoding", "<?xml encoding='&#85;TF-8'?><a>\xE3</a><b></b></a>", 2},
        {"another encoding steps by bytes", "<?xml encoding='latin1'?><a>\xE3</a><b></b>", 1},
        {"comments and CDATA", "<a><!-- <b> --><![CDATA[ <c> ]]><d></d></a>", 2},
        {"an unknown tag ends at '>'", "<a><!DOCTYPE x '>'><b></b></a>", 2},
        {"a closing tag with blanks", "<a><b></b  ><c></c></a>", 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        TiXmlDocument plain;
        plain.Parse(c.text.c_str());
        const int scanned = nXmlDocument::NestingDepth(c.text.c_str(), c.text.size(), TIXML_DEFAULT_ENCODING, 1000);
        EXPECT_EQ(TreeDepth(&plain), c.depth) << plain.ErrorDesc();
        EXPECT_EQ(scanned, c.depth);
    }
}

}  // namespace
