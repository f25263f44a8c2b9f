//------------------------------------------------------------------------------
//  The OpenAL test fixture.
//------------------------------------------------------------------------------
#include "openalfixture.h"
#include "soundfiles.h"

#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "kernel/nenv.h"
#include "nopenal/nopenalpackage.h"
#include "resource/nresourcepackage.h"

#include <filesystem>
#include <stdlib.h>

void OpenALTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(
        std::initializer_list<nPackageFunc>{nfile_package, nresource_package, naudio3_package, nopenal_package});
    this->ks->SetLogHandler(&this->log);
    this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
    static_cast<nEnv*>(this->ks->New("nenv", "/sys/env/hwnd"))->SetI(1);
    this->server = static_cast<nOpenALServer*>(this->ks->New("nopenalserver", "/sys/servers/audio"));
    ASSERT_NE(this->server, nullptr);
    ASSERT_TRUE(this->server->Open()) << this->log.text;

    std::string tmpl = (std::filesystem::temp_directory_path() / "openal-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
    this->dir = tmpl;
}

void OpenALTest::TearDown()
{
    this->ks.reset();
    std::error_code ec;
    std::filesystem::remove_all(this->dir, ec);
}

std::string OpenALTest::Write(const std::string& name, const std::string& bytes)
{
    const std::string path = this->dir + "/" + name;
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
    return path;
}

nOpenALObj* OpenALTest::NewSound(const std::string& path, const char* name)
{
    nOpenALObj* s = static_cast<nOpenALObj*>(this->server->NewSound());
    EXPECT_NE(s, nullptr);
    if (name) s->SetName(name);
    s->SetFilename(path.c_str());
    return s;
}

int OpenALTest::BufferInt(nOpenALObj* sound, ALenum param)
{
    ALint value = -1;
    alGetBufferi(this->server->GetBuffer(sound->GetSourceIndex()), param, &value);
    return value;
}

std::string OpenALTest::TakeLog()
{
    std::string text;
    text.swap(this->log.text);
    return text;
}
