#ifndef N_VARIABLESERVER_H
#define N_VARIABLESERVER_H
//------------------------------------------------------------------------------
/**
    @class nVariableServer
    @ingroup Variable

    The registry of render variables and the global variable context.
    A variable is declared by a name, a four-character code or both; its
    handle is the index of its declaration, and declarations are never
    removed, so handles stay valid for the server's lifetime.

    Variable fourccs made from text put the first character in the LOW
    byte, unlike command ids.
*/
#include "kernel/nroot.h"
#include "util/narray.h"
#include "util/nstring.h"
#include "variable/nvariablecontext.h"

class nVariableServer : public nRoot
{
public:
    nVariableServer();

    /// the one variable server
    static nVariableServer* Instance();
    /// the one variable server, or null while none exists
    static nVariableServer* InstanceOrNull();

    /// declare a variable by name and fourcc; both must be new or agree
    int DeclareVariable(const char* varName, nFourCC varFourCC);
    /// the handle of a declared name, or -1
    int FindVariableHandleByName(const char* varName) const;
    /// the handle of a declared fourcc, or -1
    int FindVariableHandleByFourCC(nFourCC varFourCC) const;
    /// the handle of a name, declaring it when new
    int GetVariableHandleByName(const char* varName);
    /// the handle of a fourcc, declaring it when new
    int GetVariableHandleByFourCC(nFourCC fourcc);
    /// the declared name (0 when it has none)
    const char* GetVariableName(int h) const;
    /// the declared fourcc (0 when it has none)
    nFourCC GetVariableFourCC(int h) const;
    /// the number of declarations
    int GetNumVariables() const;
    /// the declaration at an index
    void GetVariableAt(int index, const char*& name, nFourCC& fourcc) const;
    /// the server's global context
    nVariableContext& GetGlobalVariableContext();

    float GetFloatVariable(int h) const;
    int GetIntVariable(int h) const;
    const vector4& GetVectorVariable(int h) const;
    const char* GetStringVariable(int h) const;
    void SetFloatVariable(int h, float val);
    void SetIntVariable(int h, int val);
    void SetVectorVariable(int h, const vector4& val);
    void SetStringVariable(int h, const char* val);

    /// a variable fourcc from text (first character in the low byte)
    static nFourCC StringToFourCC(const char* str);
    /// the text of a variable fourcc into buf (at least 5 characters)
    static const char* FourCCToString(nFourCC fourcc, char* buf, int bufSize);

protected:
    ~nVariableServer() override;

private:
    struct Declaration
    {
        nString name;
        nFourCC fourcc = 0;
    };

    /// append a declaration and return its handle
    int AddDeclaration(const char* name, nFourCC fourcc);
    /// the global variable of a handle of the given type, or 0 when missing
    nVariable* FindGlobal(int h, const char* fmt) const;

    static nVariableServer* Singleton;

    nVariableContext globalVarContext;
    nArray<Declaration> registry;
};
#endif
