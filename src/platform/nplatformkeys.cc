//------------------------------------------------------------------------------
//  nplatformkeys.cc
//------------------------------------------------------------------------------
#include "platform/nplatformkeys.h"

namespace
{

/// window-system virtual keys the table below names
enum
{
    VkBack = 8, VkTab = 9, VkClear = 12, VkReturn = 13, VkShift = 16, VkControl = 17, VkMenu = 18,
    VkPause = 19, VkCapital = 20, VkEscape = 27, VkSpace = 32, VkPrior = 33, VkNext = 34, VkEnd = 35,
    VkHome = 36, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40, VkSelect = 41, VkExecute = 43,
    VkSnapshot = 44, VkInsert = 45, VkDelete = 46, VkHelp = 47, VkLWin = 91, VkRWin = 92, VkApps = 93,
    VkNumpad0 = 96, VkMultiply = 106, VkAdd = 107, VkSeparator = 108, VkSubtract = 109, VkDecimal = 110,
    VkDivide = 111, VkF1 = 112, VkF13 = 124, VkNumLock = 144, VkScroll = 145,
};

struct KeyPair
{
    SDL_Keycode sdl;
    int vk;
};

const KeyPair namedKeys[] = {
    {SDLK_BACKSPACE, VkBack}, {SDLK_TAB, VkTab}, {SDLK_CLEAR, VkClear}, {SDLK_RETURN, VkReturn},
    {SDLK_RETURN2, VkReturn}, {SDLK_LSHIFT, VkShift}, {SDLK_RSHIFT, VkShift}, {SDLK_LCTRL, VkControl},
    {SDLK_RCTRL, VkControl}, {SDLK_LALT, VkMenu}, {SDLK_RALT, VkMenu}, {SDLK_PAUSE, VkPause},
    {SDLK_CAPSLOCK, VkCapital}, {SDLK_ESCAPE, VkEscape}, {SDLK_SPACE, VkSpace}, {SDLK_PAGEUP, VkPrior},
    {SDLK_PAGEDOWN, VkNext}, {SDLK_END, VkEnd}, {SDLK_HOME, VkHome}, {SDLK_LEFT, VkLeft}, {SDLK_UP, VkUp},
    {SDLK_RIGHT, VkRight}, {SDLK_DOWN, VkDown}, {SDLK_SELECT, VkSelect}, {SDLK_EXECUTE, VkExecute},
    {SDLK_PRINTSCREEN, VkSnapshot}, {SDLK_INSERT, VkInsert}, {SDLK_DELETE, VkDelete}, {SDLK_HELP, VkHelp},
    {SDLK_LGUI, VkLWin}, {SDLK_RGUI, VkRWin}, {SDLK_APPLICATION, VkApps}, {SDLK_SEPARATOR, VkSeparator},
    {SDLK_NUMLOCKCLEAR, VkNumLock}, {SDLK_SCROLLLOCK, VkScroll},
};

/// keypad keys 0..9 without NumLock, in digit order
const int keypadNavigation[10] = {VkInsert, VkEnd, VkDown, VkNext, VkLeft, VkClear, VkRight, VkHome, VkUp, VkPrior};

/*
 * KeypadKey --
 *     Results: the virtual key of a keypad scancode (by NumLock), -1 for a
 *     scancode that is not on the keypad.
 */
int KeypadKey(SDL_Scancode sc, bool numLock)
{
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9)
    {
        const int digit = 1 + (sc - SDL_SCANCODE_KP_1);
        return numLock ? (VkNumpad0 + digit) : keypadNavigation[digit];
    }
    switch (sc)
    {
        case SDL_SCANCODE_KP_0: return numLock ? VkNumpad0 : keypadNavigation[0];
        case SDL_SCANCODE_KP_PERIOD: return numLock ? VkDecimal : VkDelete;
        case SDL_SCANCODE_KP_MULTIPLY: return VkMultiply;
        case SDL_SCANCODE_KP_PLUS: return VkAdd;
        case SDL_SCANCODE_KP_MINUS: return VkSubtract;
        case SDL_SCANCODE_KP_DIVIDE: return VkDivide;
        case SDL_SCANCODE_KP_ENTER: return VkReturn;
        case SDL_SCANCODE_KP_COMMA: return VkSeparator;
        default: return -1;
    }
}

}  // namespace

int nPlatformVirtualKey(const SDL_Keysym& sym)
{
    const int keypad = KeypadKey(sym.scancode, (sym.mod & KMOD_NUM) != 0);
    if (keypad >= 0)
    {
        return keypad;
    }
    const SDL_Keycode k = sym.sym;
    if (k >= SDLK_a && k <= SDLK_z)
    {
        return 'A' + (k - SDLK_a);
    }
    if (k >= SDLK_0 && k <= SDLK_9)
    {
        return '0' + (k - SDLK_0);
    }
    if (k >= SDLK_F1 && k <= SDLK_F12)
    {
        return VkF1 + (k - SDLK_F1);
    }
    if (k >= SDLK_F13 && k <= SDLK_F24)
    {
        return VkF13 + (k - SDLK_F13);
    }
    for (const KeyPair& p : namedKeys)
    {
        if (p.sdl == k)
        {
            return p.vk;
        }
    }
    return 0;
}

int nPlatformNextCodePoint(const char*& text)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    if (0 == s[0])
    {
        return 0;
    }
    int len;
    int cp;
    if (s[0] < 0x80) { len = 1; cp = s[0]; }
    else if ((s[0] & 0xE0) == 0xC0) { len = 2; cp = s[0] & 0x1F; }
    else if ((s[0] & 0xF0) == 0xE0) { len = 3; cp = s[0] & 0x0F; }
    else if ((s[0] & 0xF8) == 0xF0) { len = 4; cp = s[0] & 0x07; }
    else
    {
        text++;
        return -1;
    }
    for (int i = 1; i < len; i++)
    {
        if ((s[i] & 0xC0) != 0x80)
        {
            text++;
            return -1;
        }
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    text += len;
    return cp;
}
