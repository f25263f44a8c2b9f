#ifndef N_TEXTLAYOUT_H
#define N_TEXTLAYOUT_H
//------------------------------------------------------------------------------
/**
    @class nTextLayout
    @ingroup Gfx2

    Places the characters of a text in a pixel rectangle the way the
    device fonts did: lines at line breaks (unless SingleLine), tab stops
    every eight widths of an "x" (with ExpandTabs), each line aligned left,
    centred or right, the block of lines at the top, centred or at the
    bottom. With CalcRect the rectangle becomes the text's bounds. Wrapping
    at word boundaries is done before, on the text (nGfxServer2::BreakLines).

    Texts are decoded from UTF-8 with one- and two-byte sequences only; a
    byte that does not start a complete two-byte sequence is dropped, and
    never takes the byte after it with it unless that is a continuation.
*/
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

/// a pixel rectangle, right and bottom exclusive
struct nTextRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class nTextLayout
{
public:
    /// format bits, by the values the device font's drawing took
    enum Format
    {
        Top = 0x0,
        Left = 0x0,
        Center = 0x1,
        Right = 0x2,
        VCenter = 0x4,
        Bottom = 0x8,
        WordBreak = 0x10,
        SingleLine = 0x20,
        ExpandTabs = 0x40,
        NoClip = 0x100,
        CalcRect = 0x400,
    };

    /// one placed character: its code point and its pen position (x, and
    /// the top of its line)
    struct Placed
    {
        uint32_t codePoint;
        int x;
        int lineTop;
    };

    /// the code points of a UTF-8 text (see the class comment)
    static void Decode(const char* text, size_t length, std::vector<uint32_t>& out);
    /// whether a code point takes no room and draws nothing
    static bool IsControl(uint32_t codePoint) { return codePoint < 0x20 || 0x7f == codePoint; }

    /// lay out a text: the height of the text in pixels; 'placed' receives
    /// every character that draws; with CalcRect, rect becomes the bounds
    /// of the text; 'advance' gives the pen advance of a code point
    static int Layout(const std::vector<uint32_t>& text, nTextRect& rect, int format, int lineHeight,
                      const std::function<int(uint32_t)>& advance, std::vector<Placed>& placed);
};
#endif
