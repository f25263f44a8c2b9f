#ifndef N_D3D9SHADERINCLUDE_H
#define N_D3D9SHADERINCLUDE_H
//------------------------------------------------------------------------------
/**
    @class nD3D9ShaderInclude
    @ingroup Gfx2

    Reads the files an effect includes through the file server (so that
    assigns and archives work): a name is tried as it stands, then beside
    the effect file.
*/
#include <string>

class nD3D9ShaderInclude
{
public:
    /// for an effect file at this mangled path
    explicit nD3D9ShaderInclude(const std::string& effectPath);

    /// read an included file: true with the path it was found at and its text
    bool Open(const std::string& fileName, std::string& resolved, std::string& text) const;
    /// read a whole file through the file server; false when it cannot be opened
    static bool ReadFile(const std::string& path, std::string& text);

private:
    /// the effect's directory with a "/" appended
    std::string dir;
};
#endif
