#ifndef TESTS_USERTEMPDIR_H
#define TESTS_USERTEMPDIR_H
//------------------------------------------------------------------------------
//  The tests' file helpers: temporary directories, whole-file reads and
//  writes, and a throw-away user (a temporary directory that HOME and
//  XDG_CONFIG_HOME point at while the object lives, so that no test ever
//  reads or writes the real user's configuration; both variables, and any
//  set through ScopedEnv, are restored afterwards).
//------------------------------------------------------------------------------
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

/// a new, empty directory below the system's temporary directory, named
/// after the prefix; the caller removes it
inline std::string MakeTempDir(const char* prefix)
{
    std::string tmpl = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    const char* made = mkdtemp(&tmpl[0]);
    EXPECT_NE(made, nullptr) << tmpl;
    return tmpl;
}

/// the whole content of a file, empty when it cannot be read
inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// replace a file's content with the bytes
inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

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

/// a temporary home with its own configuration and data directories
class UserTempDir
{
public:
    UserTempDir() :
        dir(MakeDir()),
        home("HOME", this->dir.c_str()),
        config("XDG_CONFIG_HOME", (this->dir + "/config").c_str()),
        data("XDG_DATA_HOME", (this->dir + "/data").c_str())
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
    std::string DataPath() const { return this->dir + "/data"; }

private:
    static std::string MakeDir() { return MakeTempDir("engine-test"); }

    std::string dir;
    ScopedEnv home;
    ScopedEnv config;
    ScopedEnv data;
};
#endif
