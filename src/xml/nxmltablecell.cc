//------------------------------------------------------------------------------
//  nxmltablecell.cc
//------------------------------------------------------------------------------
#include "xml/nxmltablecell.h"

#include <cstdlib>
#include <cstring>
#include <strings.h>

nXmlTableCell::nXmlTableCell() :
    string("<invalid>"),
    intVal(0),
    floatVal(0.0f),
    boolVal(false)
{
}

/*
 * Set --
 *     Side effects: stores a copy of the text and recomputes every typed
 *     view from it.
 */
void nXmlTableCell::Set(const char* str)
{
    n_assert(str);
    this->string = str;
    this->intVal = atoi(str);
    this->floatVal = (float)atof(str);
    this->boolVal = StringToBool(str);
    this->vectorVal = StringToVector4(str);
}

/*
 * StringToBool --
 *     Results: the word's place in the list of German and English bool
 *     words (compared without case): an even place is true, an odd one
 *     false; a word not in the list is false.
 */
bool nXmlTableCell::StringToBool(const char* str)
{
    static const char* const words[] = {"ja", "nein", "yes", "no", "ein", "aus",
                                        "on", "off", "wahr", "falsch", "true", "false"};
    for (int i = 0; i < (int)(sizeof(words) / sizeof(words[0])); i++)
    {
        if (0 == strcasecmp(str, words[i])) return 0 == (i & 1);
    }
    return false;
}

/*
 * StringToVector4 --
 *     Results: the text cut at blanks and commas (empty parts skipped),
 *     the first four parts as numbers (atof); missing ones are 0.
 */
vector4 nXmlTableCell::StringToVector4(const char* str)
{
    float comps[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int num = 0;
    const char* pos = str;
    while (*pos && (num < 4))
    {
        pos += strspn(pos, " ,");
        const size_t len = strcspn(pos, " ,");
        if (0 == len) break;
        // a number never holds a blank or comma, so atof stops inside the part
        comps[num++] = (float)atof(pos);
        pos += len;
    }
    return vector4(comps[0], comps[1], comps[2], comps[3]);
}
