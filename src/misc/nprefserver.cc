//------------------------------------------------------------------------------
//  nprefserver.cc
//------------------------------------------------------------------------------
#include "misc/nprefserver.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

nPrefServer* nPrefServer::Singleton = nullptr;

namespace
{

/*
 * TextToInt --
 *     atoi's reading (leading blanks, sign, digits, the rest ignored) with
 *     out-of-range numbers clamped instead of undefined.
 * Results: the number, 0 when the text does not start with one.
 */
int TextToInt(const char* text)
{
    const long value = strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return (int)value;
}

/*
 * TextToFloat --
 *     Results: the leading number of the text as atof reads it, converted
 *     without overflow (too large numbers become infinite); 0 for none.
 */
float TextToFloat(const char* text)
{
    return strtof(text, nullptr);
}

}  // namespace

nPrefServer::nPrefServer() :
    isOpen(false)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

/*
 * ~nPrefServer --
 *     Closes a server still open. A subclass closes its own store in its
 *     destructor first, since its Close cannot be reached from here.
 */
nPrefServer::~nPrefServer()
{
    if (this->isOpen)
    {
        nPrefServer::Close();
    }
    n_assert(Singleton);
    Singleton = nullptr;
}

nPrefServer* nPrefServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * Open --
 *     Results: true. Side effects: the server is open.
 */
bool nPrefServer::Open()
{
    n_assert(!this->isOpen);
    n_assert(!this->GetCompanyName().IsEmpty());
    n_assert(!this->GetApplicationName().IsEmpty());
    this->isOpen = true;
    return true;
}

void nPrefServer::Close()
{
    n_assert(this->isOpen);
    this->isOpen = false;
}

bool nPrefServer::KeyExists(const nString& /*key*/)
{
    return false;
}

bool nPrefServer::WriteGeneric(const nString& /*key*/, const nString& /*value*/)
{
    return false;
}

nString nPrefServer::ReadGeneric(const nString& /*key*/)
{
    return nString();
}

bool nPrefServer::WriteString(const nString& key, const nString& value)
{
    return this->WriteGeneric(key, value);
}

bool nPrefServer::WriteInt(const nString& key, int value)
{
    return this->WriteGeneric(key, nString(value));
}

/*
 * WriteFloat --
 *     Results: the store's result; the value is kept as "%.6f".
 */
bool nPrefServer::WriteFloat(const nString& key, float value)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "%.6f", value);
    return this->WriteGeneric(key, buf);
}

bool nPrefServer::WriteBool(const nString& key, bool value)
{
    return this->WriteGeneric(key, value ? "true" : "false");
}

bool nPrefServer::WriteVector4(const nString& key, const vector4& value)
{
    char buf[256];
    snprintf(buf, sizeof(buf), "%f,%f,%f,%f", value.x, value.y, value.z, value.w);
    return this->WriteGeneric(key, buf);
}

bool nPrefServer::WriteVector3(const nString& key, const vector3& value)
{
    char buf[256];
    snprintf(buf, sizeof(buf), "%f,%f,%f", value.x, value.y, value.z);
    return this->WriteGeneric(key, buf);
}

nString nPrefServer::ReadString(const nString& key)
{
    return this->ReadGeneric(key);
}

int nPrefServer::ReadInt(const nString& key)
{
    return TextToInt(this->ReadGeneric(key).Get());
}

float nPrefServer::ReadFloat(const nString& key)
{
    return TextToFloat(this->ReadGeneric(key).Get());
}

/*
 * ReadBool --
 *     Results: true exactly when the stored text is "true".
 */
bool nPrefServer::ReadBool(const nString& key)
{
    return this->ReadGeneric(key) == "true";
}

/*
 * ParseFloats --
 *     Results: true and the numbers when the text splits at ',' into
 *     exactly num non-empty parts (empty parts vanish, as with strtok).
 */
bool nPrefServer::ParseFloats(const nString& text, float* values, int num)
{
    int count = 0;
    const char* p = text.Get();
    while (*p)
    {
        const size_t len = strcspn(p, ",");
        if (len > 0)
        {
            if (count == num) return false;
            nString piece;
            piece.Set(p, (int)len);
            values[count++] = TextToFloat(piece.Get());
        }
        p += len;
        if (*p == ',') ++p;
    }
    return count == num;
}

vector4 nPrefServer::ReadVector4(const nString& key)
{
    float v[4];
    if (!ParseFloats(this->ReadGeneric(key), v, 4)) return vector4();
    return vector4(v[0], v[1], v[2], v[3]);
}

vector3 nPrefServer::ReadVector3(const nString& key)
{
    float v[3];
    if (!ParseFloats(this->ReadGeneric(key), v, 3)) return vector3();
    return vector3(v[0], v[1], v[2]);
}
