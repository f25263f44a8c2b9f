#ifndef TESTS_USERTEMPDIR_H
#define TESTS_USERTEMPDIR_H
//------------------------------------------------------------------------------
//  A throw-away user for a test: a temporary directory that HOME and
//  XDG_CONFIG_HOME point at while the object lives, so that no test ever
//  reads or writes the real user's configuration. Both variables, and any
//  set through ScopedEnv, are restored afterwards.
//------------------------------------------------------------------------------
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

/// sets (or with nullptr unsets) one environment variable for a scope
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : name(name)
    {
        const char* old = getenv(name);
        if (old) this->saved = std::string(old);
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (this->saved) setenv(this->name.c_str(), this->saved->c_str(), 1);
        else unsetenv(this->name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    std::optional<std::string> saved;
};

/// a temporary home with its own configuration directory
class UserTempDir
{
public:
    UserTempDir() :
        dir(MakeDir()),
        home("HOME", this->dir.c_str()),
        config("XDG_CONFIG_HOME", (this->dir + "/config").c_str())
    {
    }
    ~UserTempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(this->dir, ec);
    }
    UserTempDir(const UserTempDir&) = delete;
    UserTempDir& operator=(const UserTempDir&) = delete;

    const std::string& Path() const { return this->dir; }
    std::string ConfigPath() const { return this->dir + "/config"; }

private:
    static std::string MakeDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "engine-test-XXXXXX").string();
        const char* made = mkdtemp(&tmpl[0]);
        EXPECT_NE(made, nullptr);
        return tmpl;
    }

    std::string dir;
    ScopedEnv home;
    ScopedEnv config;
};

/// the whole content of a file, empty when it cannot be read
inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif
