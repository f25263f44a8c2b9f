//------------------------------------------------------------------------------
//  nd3d9shaderinclude.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9shaderinclude.h"

#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

/*
 * nD3D9ShaderInclude --
 *     Side effects: keeps the effect path's directory part (up to and
 *     including its last '/'), with one more "/" appended.
 */
nD3D9ShaderInclude::nD3D9ShaderInclude(const std::string& effectPath)
{
    const size_t slash = effectPath.rfind('/');
    this->dir = ((std::string::npos == slash) ? std::string() : effectPath.substr(0, slash + 1)) + "/";
}

/*
 * ReadFile --
 *     Results: true with the whole file in text; false when the file
 *     cannot be opened or read.
 */
bool nD3D9ShaderInclude::ReadFile(const std::string& path, std::string& text)
{
    nFileServer2* fs = nFileServer2::Instance();
    nFile* file = fs->NewFileObject();
    if (!file)
    {
        return false;
    }
    bool ok = file->Open(path.c_str(), "r");
    if (ok)
    {
        const int size = file->GetSize();
        text.assign(size_t(size > 0 ? size : 0), '\0');
        ok = size <= 0 || file->Read(text.data(), size) == size;
        file->Close();
    }
    file->Release();
    return ok;
}

/*
 * Open --
 *     Results: true with the file's text and the path it was read from;
 *     false when it is found neither under its own name nor beside the
 *     effect.
 *     Side effects: prints a message when it is found nowhere.
 */
bool nD3D9ShaderInclude::Open(const std::string& fileName, std::string& resolved, std::string& text) const
{
    nFileServer2* fs = nFileServer2::Instance();
    resolved = fs->ManglePath(fileName.c_str()).Get();
    if (ReadFile(resolved, text))
    {
        return true;
    }
    resolved = fs->ManglePath((this->dir + fileName).c_str()).Get();
    if (ReadFile(resolved, text))
    {
        return true;
    }
    n_printf("nD3D9Shader: could not open include file '%s' nor '%s'!\n", fileName.c_str(),
             (this->dir + fileName).c_str());
    return false;
}
