#ifndef N_PLATFORMREGISTRY_H
#define N_PLATFORMREGISTRY_H
//------------------------------------------------------------------------------
/**
    @class nPlatformRegistry
    @ingroup Platform

    The preference store of one application of one company: named string
    values kept in the file <config>/<company>/<application>.conf, where
    <config> is $XDG_CONFIG_HOME (else ~/.config).

    Every change rewrites the whole file through a temporary file that is
    renamed over the old one, so a crash leaves either the old or the new
    store, never half of one.

    File format: one value per line, "key=value". In keys and values a
    backslash, a newline and a carriage return are written "\\", "\n" and
    "\r"; in keys '=' is written "\=". Empty lines are ignored; any other
    line without an unescaped '=', with an empty key or an unknown escape
    makes the file corrupt, and a corrupt file reads as an empty store.
*/
#include <map>
#include <string>

class nPlatformRegistry
{
public:
    typedef std::map<std::string, std::string> Values;

    /// a store that is not open
    nPlatformRegistry() = default;
    nPlatformRegistry(const nPlatformRegistry&) = delete;
    nPlatformRegistry& operator=(const nPlatformRegistry&) = delete;

    /// open (and create the directory of) a store; false for unusable names or an unmakeable directory
    bool Open(const std::string& company, const std::string& application);
    /// forget the values; the file stays as last written
    void Close();
    /// whether the store is open
    bool IsOpen() const { return this->isOpen; }
    /// the store's file
    const std::string& GetPath() const { return this->path; }
    /// what was wrong with the file at Open (it then read as empty); empty when nothing was
    const std::string& GetProblem() const { return this->problem; }

    /// whether a value of that name exists
    bool HasValue(const std::string& key) const;
    /// a value; false when there is none
    bool GetValue(const std::string& key, std::string& value) const;
    /// set a value and write the store; false (and the value unchanged) when the file cannot be written
    bool SetValue(const std::string& key, const std::string& value);

    /// the file name of a store; false when a name is empty, ".", ".." or holds a '/'
    static bool StorePath(const std::string& company, const std::string& application, std::string& path);
    /// the file text of a set of values
    static std::string Format(const Values& values);
    /// parse a file text; on corrupt text false, values empty and the problem described
    static bool Parse(const char* data, size_t size, Values& values, std::string& problem);

private:
    /// read the store's file into values; a missing file is an empty store
    void Load();
    /// write all values to the store's file atomically
    bool Save() const;

    bool isOpen = false;
    std::string path;
    std::string problem;
    Values values;
};
#endif
