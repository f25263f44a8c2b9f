//------------------------------------------------------------------------------
//  Fuzzes the XML document's guard against deep texts: the input is parsed
//  as the loader parses a file, and the tree TinyXML built may be no deeper
//  than the depth scan promised (it would overflow the stack on a text the
//  scan misjudged).
//------------------------------------------------------------------------------
#include "xml/nxmldocument.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{

/// Results: the deepest chain of elements below the node, without recursing
int TreeDepth(const TiXmlNode* root)
{
    int deepest = 0;
    int depth = 0;
    const TiXmlNode* node = root->FirstChild();
    while (node)
    {
        if (node->ToElement()) deepest = std::max(deepest, ++depth);
        if (node->FirstChild())
        {
            node = node->FirstChild();
            continue;
        }
        if (node->ToElement()) depth--;
        while (node != root && !node->NextSibling())
        {
            node = node->Parent();
            if (node != root && node->ToElement()) depth--;
        }
        node = (node == root) ? nullptr : node->NextSibling();
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back(0);
    // the scan of the text as the loader hands it over: line feeds gone
    std::vector<char> condensed;
    for (char c : text)
    {
        if ('\n' != c) condensed.push_back(c);
    }
    const int scanned =
        nXmlDocument::NestingDepth(condensed.data(), condensed.size() - 1, TIXML_DEFAULT_ENCODING, nXmlDocument::MaxDepth);
    nXmlDocument doc;
    doc.ParseText(text.data(), (int)size);
    // an empty tag is one element deeper than the scan counts levels of content
    if (scanned <= nXmlDocument::MaxDepth && TreeDepth(&doc) > scanned + 1) __builtin_trap();
    return 0;
}
