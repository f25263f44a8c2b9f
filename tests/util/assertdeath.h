#ifndef N_TEST_ASSERTDEATH_H
#define N_TEST_ASSERTDEATH_H
//------------------------------------------------------------------------------
/**
    Death tests on the engine's fatal assertions.

    A failed n_assert prints "*** QUELOR ASSERTION ***", then
    "expression: <the asserted text>", and aborts. Without a kernel log
    handler that text goes to standard output, while death tests only see
    standard error, so the dying statement first routes the one into the
    other.
*/
#include <cstdio>
#include <string>
#include <unistd.h>
#include <gtest/gtest.h>

//------------------------------------------------------------------------------
/**
    Results: a regular expression matching the message of a failed
    assertion on expr, with expr taken literally and in full.
    Side effects: none.
*/
inline std::string
AssertionMessage(const char* expr)
{
    std::string re = "\\*\\*\\* QUELOR ASSERTION \\*\\*\\*\nexpression: ";
    for (const char* c = expr; *c; c++)
    {
        if (std::string("\\^$.|?*+()[]{}").find(*c) != std::string::npos)
        {
            re += '\\';
        }
        re += *c;
    }
    re += "\n";
    return re;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: from here on, standard output goes to standard error.
    Only ever called inside the child process of a death test.
*/
inline void
RouteStdoutToStderr()
{
    fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

/// statement must end the program with a failed assertion on expr
#define EXPECT_ASSERT_DEATH(statement, expr) \
    EXPECT_DEATH({ RouteStdoutToStderr(); statement; }, AssertionMessage(expr))

/// matches the fatal assertion text for an expression given as a regular
/// expression (AssertionMessage takes it literally)
#define ASSERTION_TEXT(expr) "QUELOR ASSERTION.*\nexpression: " expr

/// statement must end the program with a fatal error whose text matches
/// regex, whether the log writes it to standard output or error
#define EXPECT_FATAL(statement, regex) \
    EXPECT_DEATH({ RouteStdoutToStderr(); statement; }, regex)

#endif
