//------------------------------------------------------------------------------
//  Text layout with made-up metrics (every character 10 pixels wide, "i"
//  4, lines 12 high): alignment, vertical placement, line breaks, single
//  line, tabs, the calculated rectangle; and the UTF-8 decoding, which
//  must never read past the text nor swallow the character after a
//  broken sequence.
//------------------------------------------------------------------------------
#include "gfx2/ntextlayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

const int LineHeight = 12;

int Advance(uint32_t c)
{
    return ('i' == c) ? 4 : 10;
}

std::vector<uint32_t> Cps(const char* s)
{
    std::vector<uint32_t> out;
    nTextLayout::Decode(s, strlen(s), out);
    return out;
}

struct LayoutCase
{
    const char* what;
    const char* text;
    int format;
    nTextRect rect;
    /// expected pen positions of the first and the last placed character
    int firstX, firstTop, lastX, lastTop;
    int height;
};

using L = nTextLayout;
const nTextRect box = {100, 50, 300, 150};

const LayoutCase layoutCases[] = {
    {"left top", "abc", L::Left | L::Top, box, 100, 50, 120, 50, 12},
    {"centred", "abcd", L::Center, box, 180, 50, 210, 50, 12},
    {"right", "abcd", L::Right, box, 260, 50, 290, 50, 12},
    {"vertically centred", "ab", L::VCenter, box, 100, 94, 110, 94, 12},
    {"bottom", "ab", L::Bottom, box, 100, 138, 110, 138, 12},
    {"centre and vcentre", "ab", L::Center | L::VCenter, box, 190, 94, 200, 94, 12},
    {"two lines, each line aligned", "abcd\nab", L::Right, box, 260, 50, 290, 62, 24},
    {"two lines vertically centred", "a\nb", L::VCenter, box, 100, 88, 100, 100, 24},
    {"two lines at the bottom", "a\nb", L::Bottom, box, 100, 126, 100, 138, 24},
    {"carriage return and line feed are one break", "a\r\nb", 0, box, 100, 50, 100, 62, 24},
    {"single line keeps breaks on one line", "a\nb", L::SingleLine, box, 100, 50, 110, 50, 12},
    {"tab without expansion takes no room", "a\tb", 0, box, 100, 50, 110, 50, 12},
    {"tab expands to the next stop of eight x widths", "a\tb", L::ExpandTabs, box, 100, 50, 180, 50, 12},
    {"narrow characters advance less", "iii", 0, box, 100, 50, 108, 50, 12},
    {"text wider than the rectangle centres around it", "abcdefghjklmnopqrstuvwxyz", L::Center, {0, 0, 100, 12}, -75,
     0, 165, 0, 12},
};

class TextLayoutCases : public ::testing::TestWithParam<LayoutCase>
{
};

}  // namespace

TEST_P(TextLayoutCases, PlacesCharacters)
{
    const LayoutCase& c = GetParam();
    nTextRect rect = c.rect;
    std::vector<nTextLayout::Placed> placed;
    const int height = nTextLayout::Layout(Cps(c.text), rect, c.format, LineHeight, Advance, placed);
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(placed.front().x, c.firstX);
    EXPECT_EQ(placed.front().lineTop, c.firstTop);
    EXPECT_EQ(placed.back().x, c.lastX);
    EXPECT_EQ(placed.back().lineTop, c.lastTop);
    // without CalcRect the rectangle is left alone
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.bottom, c.rect.bottom);
}

INSTANTIATE_TEST_SUITE_P(Formats, TextLayoutCases, ::testing::ValuesIn(layoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::to_string(info.index); });

struct CalcCase
{
    const char* what;
    const char* text;
    int format;
    nTextRect rect;
    nTextRect expected;
};

const CalcCase calcCases[] = {
    {"one line from the corner", "abc", L::CalcRect, {0, 0, 0, 0}, {0, 0, 30, 12}},
    {"widest line and all lines", "ab\nabcd\na", L::CalcRect, {0, 0, 0, 0}, {0, 0, 40, 36}},
    {"trailing break adds no line", "ab\n", L::CalcRect, {5, 7, 5, 7}, {5, 7, 25, 19}},
    {"blank line in between counts", "a\n\nb", L::CalcRect, {0, 0, 0, 0}, {0, 0, 10, 36}},
    {"single line", "ab\ncd", L::CalcRect | L::SingleLine, {0, 0, 0, 0}, {0, 0, 40, 12}},
    {"centred text's bounds", "ab", L::CalcRect | L::Center | L::VCenter, {0, 0, 100, 100}, {40, 44, 60, 56}},
    {"empty text", "", L::CalcRect, {3, 4, 50, 60}, {3, 4, 3, 4}},
    {"trailing blanks count", "a  ", L::CalcRect, {0, 0, 0, 0}, {0, 0, 30, 12}},
};

class TextCalcCases : public ::testing::TestWithParam<CalcCase>
{
};

TEST_P(TextCalcCases, GivesTheBounds)
{
    const CalcCase& c = GetParam();
    nTextRect rect = c.rect;
    std::vector<nTextLayout::Placed> placed;
    nTextLayout::Layout(Cps(c.text), rect, c.format, LineHeight, Advance, placed);
    EXPECT_EQ(rect.left, c.expected.left) << c.what;
    EXPECT_EQ(rect.top, c.expected.top) << c.what;
    EXPECT_EQ(rect.right, c.expected.right) << c.what;
    EXPECT_EQ(rect.bottom, c.expected.bottom) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Bounds, TextCalcCases, ::testing::ValuesIn(calcCases),
                         [](const ::testing::TestParamInfo<CalcCase>& info) { return std::to_string(info.index); });

TEST(TextLayout, EmptyTextHasNoHeightAndPlacesNothing)
{
    nTextRect rect = box;
    std::vector<nTextLayout::Placed> placed;
    EXPECT_EQ(nTextLayout::Layout({}, rect, 0, LineHeight, Advance, placed), 0);
    EXPECT_TRUE(placed.empty());
}

TEST(TextLayout, ControlCharactersAreNotPlaced)
{
    nTextRect rect = box;
    std::vector<nTextLayout::Placed> placed;
    nTextLayout::Layout(Cps("a\x01\tb"), rect, 0, LineHeight, Advance, placed);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[1].codePoint, uint32_t('b'));
    EXPECT_EQ(placed[1].x, 110);
}

//--- UTF-8 ---------------------------------------------------------------------------

struct DecodeCase
{
    const char* what;
    std::string bytes;
    std::vector<uint32_t> expected;
};

const DecodeCase decodeCases[] = {
    {"ASCII stays", "Ab1", {'A', 'b', '1'}},
    {"two-byte Latin-1 character", "\xC3\xA9t\xC3\xA9", {0xE9, 't', 0xE9}},
    {"highest two-byte character", "\xDF\xBF", {0x7FF}},
    {"three-byte character dropped", "a\xE2\x82\xAC" "b", {'a', 'b'}},
    {"four-byte character dropped", "a\xF0\x9F\x98\x80" "b", {'a', 'b'}},
    {"lead byte at the end dropped", "ab\xC3", {'a', 'b'}},
    {"lead byte alone dropped", "\xC3", {}},
    {"lead byte before an ordinary character keeps it", "\xC3" "ab", {'a', 'b'}},
    {"lead byte before another lead byte keeps the pair", "\xC3\xC3\xA9", {0xE9}},
    {"stray continuation byte dropped", "a\xA9" "b", {'a', 'b'}},
    {"lead byte before a line break keeps the break", "a\xC3\nb", {'a', '\n', 'b'}},
};

class DecodeCases : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeCases, Decodes)
{
    const DecodeCase& c = GetParam();
    std::vector<uint32_t> out;
    nTextLayout::Decode(c.bytes.data(), c.bytes.size(), out);
    EXPECT_EQ(out, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Utf8, DecodeCases, ::testing::ValuesIn(decodeCases),
                         [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::to_string(info.index); });

TEST(TextDecode, LeadByteAtTheEndOfABufferReadsNothingBeyondIt)
{
    // the text ends exactly at the end of its allocation: ASan reports any
    // read of the byte after the lead byte
    std::vector<char> heap = {'x', '\xC3'};
    std::vector<uint32_t> out;
    nTextLayout::Decode(heap.data(), heap.size(), out);
    EXPECT_EQ(out, std::vector<uint32_t>({'x'}));
}
