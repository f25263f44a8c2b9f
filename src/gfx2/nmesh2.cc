//------------------------------------------------------------------------------
//  nmesh2.cc
//------------------------------------------------------------------------------
#include "gfx2/nmesh2.h"

#include <cctype>
#include <cstring>

namespace
{

/// usage bits in the order of their words
const char* const UsageWords[] = {"WriteOnce", "ReadOnly", "WriteOnly", "NPatch", "RTPatch", "PointSprite",
                                  "NeedsVertexShader"};
const int NumUsageWords = 7;

/*
 * UsageBitOfWord --
 *     Results: the bit of a usage word compared without case, or 0 when
 *     the word names none. Side effects: none.
 */
int UsageBitOfWord(const nString& word)
{
    for (int i = 0; i < NumUsageWords; i++)
    {
        if (0 == strcasecmp(word.Get(), UsageWords[i])) return 1 << i;
    }
    return 0;
}

}  // namespace

nMesh2::~nMesh2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * ConvertUsageFlagsToString --
 *     Results: "WriteOnce|" ... for every set bit in bit order; "" for 0.
 *     Side effects: none.
 */
nString nMesh2::ConvertUsageFlagsToString(int flags)
{
    nString str;
    for (int i = 0; i < NumUsageWords; i++)
    {
        if (flags & (1 << i))
        {
            str.Append(UsageWords[i]);
            str.Append("|");
        }
    }
    return str;
}

/*
 * ParseUsageString --
 *     Results: true with the OR of the words' bits in flags; false, flags
 *     untouched, when a word is unknown. Empty words (a trailing "|") are
 *     skipped. Side effects: none.
 */
bool nMesh2::ParseUsageString(const char* str, int& flags)
{
    if (!str) return false;
    int result = 0;
    const char* word = str;
    while (true)
    {
        const char* end = strchr(word, '|');
        const size_t len = end ? size_t(end - word) : strlen(word);
        if (len > 0)
        {
            nString w;
            w.AppendRange(word, uint(len));
            const int bit = UsageBitOfWord(w);
            if (0 == bit) return false;
            result |= bit;
        }
        if (!end) break;
        word = end + 1;
    }
    flags = result;
    return true;
}

/*
 * ConvertUsageStringToFlags --
 *     Results: the flags of the text. Side effects: an unknown word is a
 *     fatal error (callers with outside text use ParseUsageString).
 */
int nMesh2::ConvertUsageStringToFlags(const char* str)
{
    int flags = 0;
    if (!ParseUsageString(str, flags))
    {
        n_error("nMesh2::ConvertUsageStringToFlags: Invalid flag string '%s' in ", str ? str : "");
    }
    return flags;
}

/*
 * SetNumGroups --
 *     Results: none. Side effects: num empty groups exist.
 */
void nMesh2::SetNumGroups(int num)
{
    n_assert(num > 0);
    n_assert(this->groups.IsEmpty());
    for (int i = 0; i < num; i++)
    {
        this->groups.Append(nMeshGroup());
    }
}

/*
 * Group --
 *     Results: the group at the index. Side effects: none.
 */
nMeshGroup& nMesh2::Group(int i) const
{
    n_assert((i >= 0) && (i < this->groups.Size()));
    return this->groups[i];
}

/*
 * UnloadResource --
 *     Results: none. Side effects: the groups are freed; state Unloaded.
 */
void nMesh2::UnloadResource()
{
    this->groups.Clear();
    this->SetState(nResource::Unloaded);
}
