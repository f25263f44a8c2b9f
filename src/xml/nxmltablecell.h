#ifndef N_XMLTABLECELL_H
#define N_XMLTABLECELL_H
//------------------------------------------------------------------------------
/**
    @class nXmlTableCell
    @ingroup Xml

    One cell of a spreadsheet table. Setting its text fills every typed
    view at once: int, float, bool and a vector of up to four numbers.
    A cell that was never set reads "<invalid>".
*/
#include "util/nstring.h"
#include "mathlib/vector4.h"

class nXmlTableCell
{
public:
    nXmlTableCell();

    /// set the text and derive the typed views from it
    void Set(const char* str);
    /// the text
    const nString& AsString() const { return this->string; }
    /// the text as an int (atoi)
    int AsInt() const { return this->intVal; }
    /// the text as a float (atof)
    float AsFloat() const { return this->floatVal; }
    /// the text as a bool word ("yes", "wahr", "on" ... are true)
    bool AsBool() const { return this->boolVal; }
    /// the first four numbers of the text, split at blanks and commas
    const vector4& AsVector4() const { return this->vectorVal; }

    /// the bool value of a word; words outside the list are false
    static bool StringToBool(const char* str);
    /// the first four numbers of a text split at blanks and commas, the rest 0
    static vector4 StringToVector4(const char* str);

private:
    nString string;
    int intVal;
    float floatVal;
    bool boolVal;
    vector4 vectorVal;
};
#endif
