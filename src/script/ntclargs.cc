//------------------------------------------------------------------------------
//  ntclargs.cc
//------------------------------------------------------------------------------
#include "script/ntclargs.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"
#include "kernel/ncmd.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace
{

/*
 * NarrowToFloat --
 *     A double beyond the float range has no float value (the plain cast
 *     is undefined); it becomes the infinity of its sign.
 * Results: the float.
 * Side effects: none.
 */
float NarrowToFloat(double d)
{
    if (d > FLT_MAX) return INFINITY;
    if (d < -FLT_MAX) return -INFINITY;
    return (float)d;
}

/*
 * GetInArg --
 *     Converts one word into an input argument of the argument's type.
 * Results: false when the word does not convert (Tcl leaves its own
 *     message in the result for numbers and booleans).
 * Side effects: the argument's value.
 */
bool GetInArg(Tcl_Interp* interp, nArg* arg, Tcl_Obj* word)
{
    switch (arg->GetType())
    {
        case nArg::Int:
        {
            int i;
            if (Tcl_GetIntFromObj(interp, word, &i) != TCL_OK) return false;
            arg->SetI(i);
            return true;
        }
        case nArg::Float:
        {
            double d;
            if (Tcl_GetDoubleFromObj(interp, word, &d) != TCL_OK) return false;
            arg->SetF(NarrowToFloat(d));
            return true;
        }
        case nArg::Bool:
        {
            int b;
            if (Tcl_GetBooleanFromObj(interp, word, &b) != TCL_OK) return false;
            arg->SetB(b != 0);
            return true;
        }
        case nArg::String:
        {
            const char* s = Tcl_GetString(word);
            arg->SetS(strcmp(s, ":null:") == 0 ? nullptr : s);
            return true;
        }
        case nArg::Object:
        {
            const char* path = Tcl_GetString(word);
            if (strcmp(path, "null") == 0)
            {
                arg->SetO(nullptr);
                return true;
            }
            nRoot* obj = nKernelServer::Instance()->Lookup(path);
            if (!obj)
            {
                n_printf("could not lookup '%s' as object!\n", path);
                return false;
            }
            arg->SetO(static_cast<nObject*>(obj));
            return true;
        }
        case nArg::List:
            n_printf("List values aren't acceptable in arguments.\n");
            return false;
        default:
            n_error("nTclServer::_getInArg(): unsupported data type!");
    }
}

/*
 * NewObjectObj --
 *     Results: a new Tcl object naming the object: its full path, "null"
 *     for none.
 *     Side effects: none.
 */
Tcl_Obj* NewObjectObj(void* ptr)
{
    if (!ptr) return Tcl_NewStringObj("null", -1);
    return Tcl_NewStringObj(nTclObjectName(static_cast<nObject*>(ptr)).Get(), -1);
}

Tcl_Obj* NewListObj(const nArg* arg);

/*
 * NewArgObj --
 *     Converts one value into a new Tcl object; a list becomes a nested
 *     list. Types without a script form stop the program with 'fatal'.
 * Results: the new object, 0 for a Void value.
 * Side effects: none.
 */
Tcl_Obj* NewArgObj(const nArg* arg, const char* fatal)
{
    switch (arg->GetType())
    {
        case nArg::Void: return nullptr;
        case nArg::Int: return Tcl_NewIntObj(arg->GetI());
        case nArg::Float: return Tcl_NewDoubleObj((double)arg->GetF());
        case nArg::String:
        {
            const char* s = arg->GetS();
            return Tcl_NewStringObj(s ? s : ":null:", -1);
        }
        case nArg::Bool: return Tcl_NewStringObj(arg->GetB() ? "true" : "false", -1);
        case nArg::Object: return NewObjectObj(arg->GetO());
        case nArg::List: return NewListObj(arg);
        default: n_error("%s", fatal);
    }
}

/*
 * NewListObj --
 *     Results: a new Tcl list of the list argument's elements, Void
 *     elements skipped.
 *     Side effects: none.
 */
Tcl_Obj* NewListObj(const nArg* arg)
{
    nArg* elements = nullptr;
    const int num = arg->GetL(elements);
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int i = 0; i < num; i++)
    {
        Tcl_Obj* element = NewArgObj(&elements[i], "nTclServer _putOutListArg(): unsupported argument type!");
        if (element) Tcl_ListObjAppendElement(nullptr, list, element);
    }
    return list;
}

const char* const putOutFatal = "nTclServer::_putOutArgs(): unsupported data type!";

}  // namespace

/*
 * nTclGetInArgs --
 *     Fills the command's inputs from the words, in prototype order. The
 *     number of words must match the number of inputs.
 * Results: false when a word does not convert or the count is wrong;
 *     some inputs may be filled then.
 * Side effects: the command's inputs; log lines for bad objects and lists.
 */
bool nTclGetInArgs(Tcl_Interp* interp, nCmd* cmd, int objc, Tcl_Obj* const objv[])
{
    if (objc != cmd->GetNumInArgs()) return false;
    cmd->Rewind();
    for (int i = 0; i < objc; i++)
    {
        if (!GetInArg(interp, cmd->In(), objv[i])) return false;
    }
    return true;
}

/*
 * nTclPutOutArgs --
 *     A single output becomes the result itself; none or several become a
 *     list with one element each.
 * Results: none.
 * Side effects: the interpreter's result.
 */
void nTclPutOutArgs(Tcl_Interp* interp, nCmd* cmd)
{
    cmd->Rewind();
    Tcl_ResetResult(interp);
    const int numOut = cmd->GetNumOutArgs();
    if (numOut == 1)
    {
        Tcl_Obj* value = NewArgObj(cmd->Out(), putOutFatal);
        if (value) Tcl_SetObjResult(interp, value);
        return;
    }
    if (numOut == 0) return;
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int i = 0; i < numOut; i++)
    {
        Tcl_Obj* value = NewArgObj(cmd->Out(), putOutFatal);
        if (value) Tcl_ListObjAppendElement(nullptr, list, value);
    }
    Tcl_SetObjResult(interp, list);
}

/*
 * nTclObjectName --
 *     Only tree objects have paths; any other object is named by its kind.
 * Results: the full path of a tree object, else "nObject".
 * Side effects: none.
 */
nString nTclObjectName(nObject* obj)
{
    n_assert(obj);
    if (obj->IsA("nroot")) return static_cast<nRoot*>(obj)->GetFullName();
    return nString("nObject");
}
