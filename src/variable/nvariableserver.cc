//------------------------------------------------------------------------------
//  nvariableserver.cc
//------------------------------------------------------------------------------
#include "variable/nvariableserver.h"

#include <cctype>
#include <cstring>

nVariableServer* nVariableServer::Singleton = nullptr;

nVariableServer::nVariableServer() :
    registry(64, 64)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

nVariableServer::~nVariableServer()
{
    n_assert(Singleton);
    Singleton = nullptr;
}

nVariableServer* nVariableServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

nVariableServer* nVariableServer::InstanceOrNull()
{
    return Singleton;
}

int nVariableServer::AddDeclaration(const char* name, nFourCC fourcc)
{
    Declaration decl;
    decl.name = name;
    decl.fourcc = fourcc;
    this->registry.Append(decl);
    return this->registry.Size() - 1;
}

/*
 * DeclareVariable --
 *     Results: the handle of the declaration with this name and fourcc,
 *     new when neither is known yet.
 *     Side effects: a name and fourcc that belong to different
 *     declarations (or only one of them known) is a fatal error.
 */
int nVariableServer::DeclareVariable(const char* varName, nFourCC varFourCC)
{
    n_assert(varName);
    n_assert(0 != varFourCC);
    const int byName = this->FindVariableHandleByName(varName);
    const int byFourCC = this->FindVariableHandleByFourCC(varFourCC);
    if ((nVariable::InvalidHandle == byName) && (nVariable::InvalidHandle == byFourCC))
    {
        return this->AddDeclaration(varName, varFourCC);
    }
    if (byName == byFourCC)
    {
        return byName;
    }
    char buf[5];
    n_error("Inconsistent variable declaration: '%s'/'%s'!\nEither the name or the fourcc code is already used",
            varName, FourCCToString(varFourCC, buf, sizeof(buf)));
    return nVariable::InvalidHandle;
}

int nVariableServer::FindVariableHandleByName(const char* varName) const
{
    n_assert(varName);
    for (int i = 0; i < this->registry.Size(); i++)
    {
        if (0 == strcmp(this->registry[i].name.Get(), varName)) return i;
    }
    return nVariable::InvalidHandle;
}

int nVariableServer::FindVariableHandleByFourCC(nFourCC varFourCC) const
{
    n_assert(0 != varFourCC);
    for (int i = 0; i < this->registry.Size(); i++)
    {
        if (this->registry[i].fourcc == varFourCC) return i;
    }
    return nVariable::InvalidHandle;
}

/*
 * GetVariableHandleByName --
 *     Results: the handle of the name.
 *     Side effects: an unknown name is declared without a fourcc.
 */
int nVariableServer::GetVariableHandleByName(const char* varName)
{
    n_assert(varName);
    const int h = this->FindVariableHandleByName(varName);
    return (nVariable::InvalidHandle != h) ? h : this->AddDeclaration(varName, 0);
}

/*
 * GetVariableHandleByFourCC --
 *     Results: the handle of the fourcc.
 *     Side effects: an unknown fourcc is declared without a name.
 */
int nVariableServer::GetVariableHandleByFourCC(nFourCC fourcc)
{
    n_assert(0 != fourcc);
    const int h = this->FindVariableHandleByFourCC(fourcc);
    return (nVariable::InvalidHandle != h) ? h : this->AddDeclaration("", fourcc);
}

const char* nVariableServer::GetVariableName(int h) const
{
    n_assert(nVariable::InvalidHandle != h);
    const nString& name = this->registry[h].name;
    return name.IsEmpty() ? nullptr : name.Get();
}

nFourCC nVariableServer::GetVariableFourCC(int h) const
{
    n_assert(nVariable::InvalidHandle != h);
    return this->registry[h].fourcc;
}

int nVariableServer::GetNumVariables() const
{
    return this->registry.Size();
}

/*
 * GetVariableAt --
 *     Results: name (never 0, "" when it has none) and fourcc of the
 *     declaration at the index, which must exist.
 */
void nVariableServer::GetVariableAt(int index, const char*& name, nFourCC& fourcc) const
{
    const Declaration& decl = this->registry[index];
    name = decl.name.Get();
    fourcc = decl.fourcc;
}

nVariableContext& nVariableServer::GetGlobalVariableContext()
{
    return this->globalVarContext;
}

/*
 * FindGlobal --
 *     Results: the global variable of the handle.
 *     Side effects: a missing one is the fatal error fmt, naming the
 *     variable (its fourcc text when it has no name).
 */
nVariable* nVariableServer::FindGlobal(int h, const char* fmt) const
{
    nVariable* var = this->globalVarContext.GetVariable(h);
    if (!var)
    {
        char buf[5];
        const char* name = this->GetVariableName(h);
        n_error(fmt, name ? name : FourCCToString(this->GetVariableFourCC(h), buf, sizeof(buf)));
    }
    return var;
}

float nVariableServer::GetFloatVariable(int h) const
{
    nVariable* var = this->FindGlobal(h, "Variable  %s does not exist in global variable context!");
    return var ? var->GetFloat() : 0.0f;
}

int nVariableServer::GetIntVariable(int h) const
{
    nVariable* var = this->FindGlobal(h, "Variable '%s' does not exist in global variable context!");
    return var ? var->GetInt() : 0;
}

const vector4& nVariableServer::GetVectorVariable(int h) const
{
    static const vector4 zero;
    nVariable* var = this->FindGlobal(h, "Variable '%s' does not exist in global variable context!");
    return var ? var->GetVector4() : zero;
}

const char* nVariableServer::GetStringVariable(int h) const
{
    nVariable* var = this->FindGlobal(h, "Variable '%s' does not exist in global variable context!");
    return var ? var->GetString() : nullptr;
}

/*
 * Set*Variable --
 *     Side effects: sets the global variable of the handle, adding it to
 *     the global context when missing; an existing one must hold the type.
 */
void nVariableServer::SetFloatVariable(int h, float val)
{
    n_assert(nVariable::InvalidHandle != h);
    nVariable* var = this->globalVarContext.GetVariable(h);
    if (var) var->SetFloat(val);
    else this->globalVarContext.AddVariable(nVariable(h, val));
}

void nVariableServer::SetIntVariable(int h, int val)
{
    n_assert(nVariable::InvalidHandle != h);
    nVariable* var = this->globalVarContext.GetVariable(h);
    if (var) var->SetInt(val);
    else this->globalVarContext.AddVariable(nVariable(h, val));
}

void nVariableServer::SetVectorVariable(int h, const vector4& val)
{
    n_assert(nVariable::InvalidHandle != h);
    nVariable* var = this->globalVarContext.GetVariable(h);
    if (var) var->SetVector4(val);
    else this->globalVarContext.AddVariable(nVariable(h, val));
}

void nVariableServer::SetStringVariable(int h, const char* val)
{
    n_assert(nVariable::InvalidHandle != h);
    nVariable* var = this->globalVarContext.GetVariable(h);
    if (var) var->SetString(val);
    else this->globalVarContext.AddVariable(nVariable(h, val));
}

/*
 * StringToFourCC --
 *     Results: the fourcc of the text: four blanks, each replaced by the
 *     text's character at that place when it is alphanumeric; the first
 *     character lands in the low byte.
 */
nFourCC nVariableServer::StringToFourCC(const char* str)
{
    n_assert(str);
    char chars[4] = {' ', ' ', ' ', ' '};
    for (int i = 0; (i < 4) && str[i]; i++)
    {
        if (isalnum((uchar)str[i])) chars[i] = str[i];
    }
    return (nFourCC)(uchar)chars[0] | ((nFourCC)(uchar)chars[1] << 8) |
           ((nFourCC)(uchar)chars[2] << 16) | ((nFourCC)(uchar)chars[3] << 24);
}

/*
 * FourCCToString --
 *     Results: buf, holding the fourcc's four characters, low byte first.
 */
const char* nVariableServer::FourCCToString(nFourCC fourcc, char* buf, int bufSize)
{
    n_assert(bufSize >= 5);
    for (int i = 0; i < 4; i++)
    {
        buf[i] = (char)((fourcc >> (8 * i)) & 0xff);
    }
    buf[4] = 0;
    return buf;
}
