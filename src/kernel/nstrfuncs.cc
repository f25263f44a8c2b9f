//------------------------------------------------------------------------------
//  nstrfuncs.cc
//
//  The kernel's small string functions and n_sleep.
//------------------------------------------------------------------------------
#include "kernel/ntypes.h"
#include "platform/nplatformclock.h"

#include <cstring>

/*
 * n_sleep --
 *     Sleeps for the given seconds, truncated to whole milliseconds. A
 *     time that is not a positive number (NaN included) sleeps not at all;
 *     one beyond MaxSleepSeconds (a script's wait step may be any float)
 *     sleeps that long, since converting it to milliseconds would overflow.
 */
void n_sleep(double sec)
{
    const double MaxSleepSeconds = 1.0e9;
    if (!(sec > 0.0)) return;
    if (sec > MaxSleepSeconds) sec = MaxSleepSeconds;
    nPlatformClock::SleepMs((int64_t)(sec * 1000.0));
}

/*
 * n_strdup --
 *     Copies a text into a block from n_malloc; the caller frees it with n_free.
 */
char* n_strdup(const char* from)
{
    n_assert(from);
    const size_t len = strlen(from) + 1;
    char* to = (char*)n_malloc(len);
    if (to) memcpy(to, from, len);
    return to;
}

/*
 * n_strncpyz --
 *     strncpy of at most destSize characters; the result is always
 *     terminated (at most destSize - 1 characters are kept).
 */
char* n_strncpyz(char* dest, const char* src, size_t destSize)
{
    if (destSize == 0) return dest;
    strncpy(dest, src, destSize);
    dest[destSize - 1] = 0;
    return dest;
}

/*
 * n_strcat --
 *     strcat that asserts the combined text fits the destination buffer.
 */
void n_strcat(char* dest, const char* src, size_t dest_size)
{
    size_t l = strlen(dest) + strlen(src) + 1;
    n_assert(l < dest_size);
    strcat(dest, src);
}

namespace
{

/*
 * MatchSet --
 *     Matches one text character against a '[...]' set starting after the
 *     '['. Results: true and the pattern position behind the ']' on a match;
 *     false when no member matches or the set is not closed.
 */
bool MatchSet(char c, const char*& pat)
{
    for (;;)
    {
        if (*pat == ']' || *pat == 0) return false;
        char low = *pat++;
        char high = low;
        if (*pat == '-')
        {
            ++pat;
            if (*pat == 0) return false;
            high = *pat++;
            if (high < low)
            {
                const char t = low;
                low = high;
                high = t;
            }
        }
        if (c >= low && c <= high)
        {
            // skip the rest of the set
            while (*pat && *pat != ']') ++pat;
            if (*pat == ']') ++pat;
            return true;
        }
    }
}

}  // namespace

/*
 * n_strmatch --
 *     Glob matching with '*', '?', '[...]' sets and ranges, and '\' escapes.
 *     Case-sensitive.
 */
bool n_strmatch(const char* str, const char* pat)
{
    for (;;)
    {
        const char p = *pat;
        if (p == 0) return *str == 0;
        if (*str == 0 && p != '*') return false;
        switch (p)
        {
            case '*':
                if (pat[1] == 0) return true;
                for (const char* s = str;; ++s)
                {
                    if (n_strmatch(s, pat + 1)) return true;
                    if (*s == 0) return false;
                }
            case '?':
                break;
            case '[':
            {
                ++pat;
                if (!MatchSet(*str, pat)) return false;
                ++str;
                continue;
            }
            case '\\':
                ++pat;
                if (*pat == 0 || *pat != *str) return false;
                break;
            default:
                if (p != *str) return false;
                break;
        }
        ++pat;
        ++str;
    }
}

/*
 * n_strtofourcc --
 *     Packs a text of exactly four characters into an id, the first
 *     character into the low byte (the opposite of N_FOURCC).
 * Results: the id. Fatal for a null text or one of another length.
 */
nFourCC n_strtofourcc(const char* str)
{
    n_assert(str);
    n_assert(strlen(str) == 4);
    const uchar* c = (const uchar*)str;
    return (nFourCC)c[0] | ((nFourCC)c[1] << 8) | ((nFourCC)c[2] << 16) | ((nFourCC)c[3] << 24);
}

/*
 * n_fourcctostr --
 *     Unpacks an id low byte first, the inverse of n_strtofourcc.
 * Results: the four characters and a NUL in a static buffer, overwritten
 *     by the next call.
 */
const char* n_fourcctostr(nFourCC fourcc)
{
    static char buf[5];
    for (int i = 0; i < 4; i++)
    {
        buf[i] = (char)((fourcc >> (8 * i)) & 0xff);
    }
    buf[4] = 0;
    return buf;
}
