//------------------------------------------------------------------------------
//  nkeynames.cc
//------------------------------------------------------------------------------
#include "input/nkeynames.h"

const nKeyName nKeyNames[] = {
    {"bs", 4}, {"tab", 5}, {"return", 6}, {"shift", 7}, {"ctrl", 8}, {"menu", 9}, {"pause", 10},
    {"capital", 11}, {"esc", 12},
    {"space", 13}, {"prior", 14}, {"next", 15}, {"end", 16}, {"home", 17}, {"left", 18}, {"up", 19},
    {"right", 20}, {"down", 21}, {"select", 22}, {"print", 23}, {"exec", 24}, {"snap", 25},
    {"insert", 26}, {"delete", 27}, {"help", 28},
    {"1", 29}, {"2", 30}, {"3", 31}, {"4", 32}, {"5", 33}, {"6", 34}, {"7", 35}, {"8", 36}, {"9", 37},
    {"0", 38},
    {"a", 39}, {"b", 40}, {"c", 41}, {"d", 42}, {"e", 43}, {"f", 44}, {"g", 45}, {"h", 46}, {"i", 47},
    {"j", 48}, {"k", 49}, {"l", 50}, {"m", 51}, {"n", 52}, {"o", 53}, {"p", 54}, {"q", 55}, {"r", 56},
    {"s", 57}, {"t", 58}, {"u", 59}, {"v", 60}, {"w", 61}, {"x", 62}, {"y", 63}, {"z", 64},
    {"lwin", 65}, {"rwin", 66}, {"apps", 67},
    {"num0", 68}, {"num1", 69}, {"num2", 70}, {"num3", 71}, {"num4", 72}, {"num5", 73}, {"num6", 74},
    {"num7", 75}, {"num8", 76}, {"num9", 77},
    {"mult", 78}, {"plus", 79}, {"sep", 80}, {"minus", 81}, {"decimal", 82}, {"divide", 83},
    {"f1", 84}, {"f2", 85}, {"f3", 86}, {"f4", 87}, {"f5", 88}, {"f6", 89}, {"f7", 90}, {"f8", 91},
    {"f9", 92}, {"f10", 93}, {"f11", 94}, {"f12", 95}, {"f13", 96}, {"f14", 97}, {"f15", 98},
    {"f16", 99}, {"f17", 100}, {"f18", 101}, {"f19", 102}, {"f20", 103}, {"f21", 104}, {"f22", 105},
    {"f23", 106}, {"f24", 107},
    {"numlock", 108}, {"scroll", 109},
    {nullptr, 0},
};

namespace
{

/// a run of consecutive virtual keys that map onto consecutive codes
struct KeyRange
{
    int firstKey;
    int lastKey;
    int firstCode;
};

// The few keys below 32 are not consecutive, so each is a range of one.
const KeyRange keyRanges[] = {
    {1, 2, 1},        // left and right mouse button
    {4, 4, 3},        // middle mouse button
    {8, 9, 4},        // bs, tab
    {13, 13, 6},      // return
    {16, 20, 7},      // shift .. capital
    {27, 27, 12},     // esc
    {32, 47, 13},     // space .. help
    {48, 48, 38},     // '0' comes after '9'
    {49, 57, 29},     // '1' .. '9'
    {65, 90, 39},     // 'A' .. 'Z'
    {91, 93, 65},     // lwin, rwin, apps
    {96, 111, 68},    // num0 .. divide
    {112, 135, 84},   // f1 .. f24
    {144, 145, 108},  // numlock, scroll
};

}  // namespace

/*
 * nKeyCodeFromVirtualKey --
 *     Results: the engine key code of the virtual key, 0 for a key the
 *     engine does not know.
 *     Side effects: none.
 */
int nKeyCodeFromVirtualKey(int virtualKey)
{
    for (const KeyRange& r : keyRanges)
    {
        if (virtualKey >= r.firstKey && virtualKey <= r.lastKey) return r.firstCode + (virtualKey - r.firstKey);
    }
    return 0;
}
