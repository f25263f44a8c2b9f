//------------------------------------------------------------------------------
//  ntextlayout.cc
//------------------------------------------------------------------------------
#include "gfx2/ntextlayout.h"

#include <algorithm>
#include <climits>

namespace
{

/// tab stops lie this many widths of an "x" apart
const int TabStopChars = 8;

/// one line of the text: [begin, end) of the code points and its width
struct Line
{
    size_t begin;
    size_t end;
    int width;
};

/// the pen position after a tab at x (relative to the line's start)
int NextTabStop(int x, int tabWidth)
{
    return (tabWidth > 0) ? (x / tabWidth + 1) * tabWidth : x;
}

/// the room a code point takes at pen position x of its line
int Step(uint32_t c, int x, int format, int tabWidth, const std::function<int(uint32_t)>& advance)
{
    if ('\t' == c && (format & nTextLayout::ExpandTabs))
    {
        return NextTabStop(x, tabWidth) - x;
    }
    if (nTextLayout::IsControl(c))
    {
        return 0;
    }
    return std::max(0, advance(c));
}

/// the lines of the text, each with its width
std::vector<Line> SplitLines(const std::vector<uint32_t>& text, int format, int tabWidth,
                             const std::function<int(uint32_t)>& advance)
{
    std::vector<Line> lines;
    const bool single = 0 != (format & nTextLayout::SingleLine);
    Line cur = {0, 0, 0};
    for (size_t i = 0; i < text.size(); i++)
    {
        const uint32_t c = text[i];
        if (!single && ('\n' == c || '\r' == c))
        {
            cur.end = i;
            lines.push_back(cur);
            if ('\r' == c && i + 1 < text.size() && '\n' == text[i + 1])
            {
                i++;
            }
            cur = {i + 1, i + 1, 0};
            continue;
        }
        cur.width += Step(c, cur.width, format, tabWidth, advance);
    }
    cur.end = text.size();
    if (cur.end > cur.begin || lines.empty())
    {
        lines.push_back(cur);
    }
    if (text.empty())
    {
        lines.clear();
    }
    return lines;
}

}  // namespace

/*
 * Decode --
 *     Results: none.
 *     Side effects: 'out' holds the code points: bytes below 0x80 as they
 *     are, a 110xxxxx byte followed by a 10xxxxxx byte as one code point
 *     of both; every other byte is dropped alone, so a lead byte at the
 *     end or before an ordinary character neither reads past the text nor
 *     swallows that character.
 */
void nTextLayout::Decode(const char* text, size_t length, std::vector<uint32_t>& out)
{
    out.clear();
    out.reserve(length);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length; i++)
    {
        const unsigned char b = s[i];
        if (b < 0x80)
        {
            out.push_back(b);
        }
        else if (0xC0 == (b & 0xE0) && i + 1 < length && 0x80 == (s[i + 1] & 0xC0))
        {
            out.push_back((uint32_t(b & 0x1F) << 6) | uint32_t(s[i + 1] & 0x3F));
            i++;
        }
    }
}

/*
 * Layout --
 *     Results: the height of the text (lines x line height); 0 for an
 *     empty text.
 *     Side effects: 'placed' holds the characters that draw, at their pen
 *     positions; with CalcRect, rect becomes the bounds of the laid-out
 *     lines (their widest extent, all their height).
 */
int nTextLayout::Layout(const std::vector<uint32_t>& text, nTextRect& rect, int format, int lineHeight,
                        const std::function<int(uint32_t)>& advance, std::vector<Placed>& placed)
{
    placed.clear();
    const int tabWidth = TabStopChars * std::max(0, advance('x'));
    const std::vector<Line> lines = SplitLines(text, format, tabWidth, advance);
    const long long total = (long long)lines.size() * lineHeight;
    const int height = int(std::min<long long>(total, INT_MAX / 2));

    int top = rect.top;
    if (format & VCenter)
    {
        top = int(((long long)rect.top + rect.bottom - height) / 2);
    }
    else if (format & Bottom)
    {
        top = rect.bottom - height;
    }

    int minX = INT_MAX;
    int maxX = INT_MIN;
    int lineTop = top;
    for (const Line& line : lines)
    {
        int x = rect.left;
        if (format & Center)
        {
            x = int(((long long)rect.left + rect.right - line.width) / 2);
        }
        else if (format & Right)
        {
            x = rect.right - line.width;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x + line.width);
        int pen = 0;
        for (size_t i = line.begin; i < line.end; i++)
        {
            const uint32_t c = text[i];
            if (!IsControl(c))
            {
                placed.push_back({c, x + pen, lineTop});
            }
            pen += Step(c, pen, format, tabWidth, advance);
        }
        lineTop += lineHeight;
    }

    if (format & CalcRect)
    {
        if (lines.empty())
        {
            rect.right = rect.left;
            rect.bottom = rect.top;
        }
        else
        {
            rect.left = minX;
            rect.right = maxX;
            rect.top = top;
            rect.bottom = top + height;
        }
    }
    return height;
}
