//------------------------------------------------------------------------------
//  ntabcomplete.cc
//------------------------------------------------------------------------------
#include "gui/ntabcomplete.h"

#include <cstring>

nTabComplete::nTabComplete() :
    candidates(16, 16),
    nextIndex(0)
{
}

void nTabComplete::SetPrefix(const nString& s)
{
    this->prefix = s;
    this->nextIndex = 0;
}

void nTabComplete::Clear()
{
    this->candidates.Clear();
    this->nextIndex = 0;
}

void nTabComplete::AddCandidate(const nString& str)
{
    n_assert(!str.IsEmpty());
    this->candidates.Append(str);
}

bool nTabComplete::Matches(const nString& candidate) const
{
    const int n = this->prefix.Length();
    return 0 == n || (candidate.Length() >= n && 0 == strncmp(candidate.Get(), this->prefix.Get(), size_t(n)));
}

/*
 * GetNext --
 *     Results: the first match at or after the next index, else the first
 *     match before it; the prefix itself when nothing matches.
 *     Side effects: the next index moves past the match.
 */
nString nTabComplete::GetNext()
{
    const int num = this->candidates.Size();
    for (int step = 0; step < num; step++)
    {
        const int i = (this->nextIndex + step) % num;
        if (this->Matches(this->candidates[i]))
        {
            this->nextIndex = i + 1;
            return this->candidates[i];
        }
    }
    return this->prefix;
}
