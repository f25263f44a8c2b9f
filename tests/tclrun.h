#ifndef TESTS_TCLRUN_H
#define TESTS_TCLRUN_H
//------------------------------------------------------------------------------
//  Running one script line in a test: it must succeed, or it must fail as
//  a script error (with fail-on-error cleared for that line only, as the
//  console has it). Either way the result text is returned.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "kernel/nscriptserver.h"

#include <string>

inline std::string TclOk(nScriptServer* script, const std::string& str)
{
    nString result;
    EXPECT_TRUE(script->Run(str.c_str(), result)) << str << ": " << result.Get();
    return result.Get();
}

inline std::string TclFails(nScriptServer* script, const std::string& str)
{
    const bool failOnError = script->GetFailOnError();
    script->SetFailOnError(false);
    nString result;
    EXPECT_FALSE(script->Run(str.c_str(), result)) << str;
    script->SetFailOnError(failOnError);
    return result.Get();
}
#endif
