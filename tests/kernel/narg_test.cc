//------------------------------------------------------------------------------
//  Typed arguments: ownership and deep copies (the sanitizers catch leaks
//  and double frees), type assertions, and filling from argument lists.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "util/assertdeath.h"
#include "kernel/narg.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdprotonative.h"
#include "mathlib/matrix.h"

#include <functional>

namespace
{

/// a list of two strings and a nested list of one string and one int
nArg MakeNestedList()
{
    nArg* inner = n_new_array(nArg, 2);
    inner[0].SetS("deep");
    inner[1].SetI(3);
    nArg* outer = n_new_array(nArg, 3);
    outer[0].SetS("a");
    outer[1].SetS(nullptr);
    outer[2].SetL(inner, 2);
    nArg arg;
    arg.SetL(outer, 3);
    return arg;
}

/// fills typed arguments from this function's own variable arguments
void FillFromVarArgs(nArg* args, int num, ...)
{
    va_list va;
    va_start(va, num);
    for (int i = 0; i < num; i++)
    {
        args[i].SetFromVarArgs(&va);
    }
    va_end(va);
}

}  // namespace

TEST(Arg, StringsAreOwnedCopies)
{
    char text[] = "hello";
    nArg a;
    a.SetS(text);
    text[0] = 'j';
    EXPECT_STREQ(a.GetS(), "hello");
    a.SetS("again");
    EXPECT_STREQ(a.GetS(), "again");
    a.SetS(nullptr);
    EXPECT_EQ(a.GetS(), nullptr);

    nArg b;
    b.SetS("source");
    nArg c(b);
    EXPECT_NE(c.GetS(), b.GetS());
    EXPECT_STREQ(c.GetS(), "source");
    nArg nullCopy(a);
    EXPECT_EQ(nullCopy.GetType(), nArg::String);
    EXPECT_EQ(nullCopy.GetS(), nullptr);
    nArg& alias = c;
    c = alias;
    EXPECT_STREQ(c.GetS(), "source");
}

TEST(Arg, ListsAreCopiedDeeply)
{
    nArg original = MakeNestedList();
    nArg copy;
    copy.SetI(1);
    copy = original;  // another type: the old value goes first
    nArg* o = nullptr;
    nArg* c = nullptr;
    ASSERT_EQ(copy.GetL(c), 3);
    original.GetL(o);
    EXPECT_NE(c, o);
    EXPECT_NE(c[0].GetS(), o[0].GetS());
    EXPECT_STREQ(c[0].GetS(), "a");
    EXPECT_EQ(c[1].GetS(), nullptr);
    nArg* ci = nullptr;
    nArg* oi = nullptr;
    ASSERT_EQ(c[2].GetL(ci), 2);
    o[2].GetL(oi);
    EXPECT_NE(ci, oi);
    EXPECT_STREQ(ci[0].GetS(), "deep");
    EXPECT_EQ(ci[1].GetI(), 3);

    // changing the original leaves the copy alone
    o[0].SetS("changed");
    EXPECT_STREQ(c[0].GetS(), "a");

    // a list replaced by another list frees the first
    copy = original;
    copy.SetL(n_new_array(nArg, 1), 1);
    copy.GetL(c);
    EXPECT_EQ(c[0].GetType(), nArg::Void);
    nArg empty;
    empty.SetL(nullptr, 0);
    copy = empty;
    EXPECT_EQ(copy.GetL(c), 0);
    EXPECT_EQ(c, nullptr);
}

TEST(Arg, CommandCopiesCopyTheirArguments)
{
    nCmdProtoNative proto("l_x_s", 1, nullptr);
    nCmd* first = proto.NewCmd();
    first->Out()->SetL(n_new_array(nArg, 1), 1);
    first->In()->SetS("input");
    nCmd* second = proto.NewCmd();
    nArg* a = nullptr;
    nArg* b = nullptr;
    first->Rewind();
    first->Out()->GetL(a);
    second->Out()->GetL(b);
    EXPECT_NE(a, b);
    const char* s1 = first->In()->GetS();
    const char* s2 = second->In()->GetS();
    EXPECT_NE(s1, s2);
    EXPECT_STREQ(s2, "input");
    proto.RelCmd(second);
    proto.RelCmd(first);
}

TEST(Arg, MatricesAndFloat4)
{
    matrix44 m;
    m.m[3][0] = 5.0f;
    nArg a;
    a.SetM44(m);
    nArg b(a);
    EXPECT_NE(&a.GetM44(), &b.GetM44());
    EXPECT_EQ(b.GetM44().m[3][0], 5.0f);
    m.m[3][0] = 6.0f;
    b.SetM44(m);
    a = b;
    EXPECT_EQ(a.GetM44().m[3][0], 6.0f);
    a.Delete();
    EXPECT_EQ(a.GetType(), nArg::Void);

    nArg f;
    f.SetF4(nFloat4{1.0f, 2.0f, 3.0f, 4.0f});
    nArg g(f);
    EXPECT_EQ(g.GetF4().w, 4.0f);
}

TEST(Arg, AnArgumentKeepsItsFirstType)
{
    struct Case
    {
        const char* what;
        std::function<void(nArg&)> first;
        std::function<void(nArg&)> second;
        const char* expression;
    } cases[] = {
        {"SetI on Float", [](nArg& a) { a.SetF(1.0f); }, [](nArg& a) { a.SetI(1); }, "(Void == this->type) || (Int == this->type)"},
        {"SetF on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.SetF(1.0f); }, "(Void == this->type) || (Float == this->type)"},
        {"SetB on String", [](nArg& a) { a.SetS("x"); }, [](nArg& a) { a.SetB(true); }, "(Void == this->type) || (Bool == this->type)"},
        {"SetS on Bool", [](nArg& a) { a.SetB(true); }, [](nArg& a) { a.SetS("x"); }, "(Void == this->type) || (String == this->type)"},
        {"SetO on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.SetO(nullptr); }, "(Void == this->type) || (Object == this->type)"},
        {"SetL on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.SetL(nullptr, 0); }, "(Void == this->type) || (List == this->type)"},
        {"SetF4 on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.SetF4(nFloat4{}); }, "(Void == this->type) || (Float4 == this->type)"},
        {"GetI on Void", [](nArg&) {}, [](nArg& a) { a.GetI(); }, "Int == this->type"},
        {"GetF on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.GetF(); }, "Float == this->type"},
        {"GetB on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.GetB(); }, "Bool == this->type"},
        {"GetS on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.GetS(); }, "String == this->type"},
        {"GetO on String", [](nArg& a) { a.SetS("x"); }, [](nArg& a) { a.GetO(); }, "Object == this->type"},
        {"GetL on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { nArg* l; a.GetL(l); }, "List == this->type"},
        {"GetF4 on Int", [](nArg& a) { a.SetI(1); }, [](nArg& a) { a.GetF4(); }, "Float4 == this->type"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        nArg arg;
        c.first(arg);
        EXPECT_ASSERT_DEATH(c.second(arg), c.expression);
    }
}

TEST(Arg, FillsFromVariableArguments)
{
    nArg args[6];
    args[0].Reset(nArg::Int);
    args[1].Reset(nArg::Float);
    args[2].Reset(nArg::String);
    args[3].Reset(nArg::Bool);
    args[4].Reset(nArg::Object);
    args[5].Reset(nArg::Float4);
    int target = 0;
    const float f4[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    FillFromVarArgs(args, 6, -42, 2.5f, "text", 7, &target, f4);
    EXPECT_EQ(args[0].GetI(), -42);
    EXPECT_EQ(args[1].GetF(), 2.5f);
    EXPECT_STREQ(args[2].GetS(), "text");
    EXPECT_TRUE(args[3].GetB());
    EXPECT_EQ(args[4].GetO(), &target);
    EXPECT_EQ(args[5].GetF4().z, 3.0f);

    // a second fill replaces the owned string
    FillFromVarArgs(&args[2], 1, "other");
    EXPECT_STREQ(args[2].GetS(), "other");

    nArg matrix;
    matrix.Reset(nArg::Matrix44);
    float m[16] = {};
    m[12] = 9.0f;
    FillFromVarArgs(&matrix, 1, m);
    EXPECT_EQ(matrix.GetM44().m[3][0], 9.0f);

    nArg list;
    list.Reset(nArg::List);
    EXPECT_ASSERT_DEATH(FillFromVarArgs(&list, 1, nullptr), "0");
}
