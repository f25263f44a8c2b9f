#ifndef N_XMLDOCUMENT_H
#define N_XMLDOCUMENT_H
//------------------------------------------------------------------------------
/**
    @class nXmlDocument
    @ingroup Xml

    A TinyXML document that reads its file through the engine's file
    server, so that assigns and npk archives apply to every XML reader.
*/
#include <tinyxml.h>

class nXmlDocument : public TiXmlDocument
{
public:
    /// the deepest nesting of elements a text may have
    static const int MaxDepth = 256;

    nXmlDocument() = default;

    /// read and parse a file through the file server
    bool Load(const char* fileName);
    /// parse text as the loader does: line ends removed first
    bool ParseText(char* text, int length);
    /// TinyXML's Parse on a padded copy of the text (see the source)
    const char* Parse(const char* p, TiXmlParsingData* data = nullptr,
                      TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING) override;
    /// how deep TinyXML would nest elements reading the text (see the source)
    static int NestingDepth(const char* text, size_t length, TiXmlEncoding encoding, int limit);
    /// keep the blanks at the ends of texts (TinyXML trims them by default)
    void SetKeepWhiteSpace(bool keep) { this->keepWhiteSpace = keep; }

private:
    bool keepWhiteSpace = false;
};
#endif
