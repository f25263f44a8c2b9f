#ifndef N_VARIABLE_H
#define N_VARIABLE_H
//------------------------------------------------------------------------------
/**
    @class nVariable
    @ingroup Variable

    A render variable: a handle handed out by the variable server and one
    typed value. The variable keeps the type it was first given; strings
    and matrices are owned copies, objects and untyped pointers are not
    owned. Copies are independent of their source.
*/
#include "kernel/ntypes.h"
#include "kernel/narg.h"
#include "mathlib/vector4.h"

class matrix44;
class nObject;

class nVariable
{
public:
    /// the value types, numbered as the variable's type field stores them
    enum Type
    {
        Void = 0,
        Int = 1,
        Float = 2,
        Float4 = 3,
        String = 4,
        Object = 5,
        Matrix = 6,
        Handle = 7,
        Vector4 = 8,
    };

    /// the handle of no declaration
    static constexpr int InvalidHandle = -1;

    /// handle -1, no value
    nVariable();
    nVariable(int h, int val);
    nVariable(int h, float val);
    nVariable(int h, const nFloat4& val);
    nVariable(int h, const char* val);
    nVariable(int h, nObject* val);
    nVariable(int h, const matrix44& val);
    nVariable(int h, void* val);
    nVariable(int h, const vector4& val);
    nVariable(const nVariable& rhs);
    ~nVariable();
    nVariable& operator=(const nVariable& rhs);

    /// free an owned value; handle -1 and no value
    void Clear();

    void SetHandle(int h) { this->handle = h; }
    int GetHandle() const { return this->handle; }
    Type GetType() const { return this->type; }

    void SetInt(int val);
    int GetInt() const;
    void SetFloat(float val);
    float GetFloat() const;
    void SetFloat4(const nFloat4& val);
    const nFloat4& GetFloat4() const;
    void SetString(const char* val);
    const char* GetString() const;
    void SetObj(nObject* val);
    nObject* GetObj() const;
    void SetMatrix(const matrix44& val);
    const matrix44& GetMatrix() const;
    void SetPointer(void* val);
    void* GetPointer() const;
    void SetVector4(const vector4& val);
    const vector4& GetVector4() const;

private:
    /// take the type on first use; assert it afterwards (done by callers)
    void Adopt(Type t);
    /// copy rhs into this cleared variable
    void Copy(const nVariable& rhs);

    int handle;
    Type type;
    int intVal;
    float floatVal;
    nFloat4 float4Val;
    char* stringVal;
    nObject* objectVal;
    matrix44* matrixVal;
    void* pointerVal;
    vector4 vector4Val;
};
#endif
