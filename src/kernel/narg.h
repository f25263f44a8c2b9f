#ifndef N_ARG_H
#define N_ARG_H
//------------------------------------------------------------------------------
/**
    @class nArg
    @ingroup Kernel

    One typed value of a script command. An argument keeps the type it
    first received: every setter asserts that the type is Void or its own.
    Strings, lists and matrices are owned; objects are plain pointers.
*/
#include "kernel/ntypes.h"

class matrix44;

struct nFloat4
{
    float x, y, z, w;
};

class nArg
{
public:
    enum Type
    {
        Void = 0,
        Int = 1,
        Float = 2,
        String = 3,
        Bool = 4,
        Object = 5,
        List = 6,
        Float4 = 7,
        Matrix44 = 8,
    };

    nArg() = default;
    nArg(const nArg& rhs);
    ~nArg();
    nArg& operator=(const nArg& rhs);

    /// free an owned value; the type becomes Void
    void Delete();
    /// the argument's type
    Type GetType() const { return this->type; }
    /// set the type without a value (used when a prototype types its arguments)
    void Reset(Type t);

    void SetI(int i);
    void SetF(float f);
    void SetB(bool b);
    void SetS(const char* s);
    void SetO(void* o);
    /// takes ownership of an array made with n_new_array(nArg, len)
    void SetL(nArg* l, int len);
    void SetF4(const nFloat4& f4);
    void SetM44(const matrix44& m);

    int GetI() const;
    float GetF() const;
    bool GetB() const;
    const char* GetS() const;
    void* GetO() const;
    int GetL(nArg*& l) const;
    const nFloat4& GetF4() const;
    const matrix44& GetM44() const;

    /// fill the value from a variable argument list according to the type
    void SetFromVarArgs(va_list* args);

    /// the prototype letter of a type, 0 for none
    static char TypeToChar(Type t);
    /// the type of a prototype letter, Void for an unknown letter
    static Type CharToType(char c);

private:
    Type type = Void;
    union
    {
        int i;
        float f;
        bool b;
        char* s;
        void* o;
        struct
        {
            nArg* array;
            int len;
        } l;
        nFloat4 f4;
        matrix44* m44;
    };
};
#endif
