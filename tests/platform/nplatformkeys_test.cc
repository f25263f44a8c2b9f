//------------------------------------------------------------------------------
//  SDL keys as window-system virtual keys, and UTF-8 text as characters.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "platform/nplatformkeys.h"

namespace
{

struct KeyCase
{
    SDL_Keycode sym;
    SDL_Scancode scancode;
    Uint16 mod;
    int virtualKey;
};

SDL_Keysym Sym(const KeyCase& c)
{
    SDL_Keysym s;
    SDL_zero(s);
    s.sym = c.sym;
    s.scancode = c.scancode;
    s.mod = c.mod;
    return s;
}

const KeyCase keyCases[] = {
    {SDLK_a, SDL_SCANCODE_A, 0, 'A'},
    {SDLK_z, SDL_SCANCODE_Z, KMOD_SHIFT, 'Z'},
    {SDLK_0, SDL_SCANCODE_0, 0, '0'},
    {SDLK_9, SDL_SCANCODE_9, 0, '9'},
    {SDLK_F1, SDL_SCANCODE_F1, 0, 112},
    {SDLK_F12, SDL_SCANCODE_F12, 0, 123},
    {SDLK_F13, SDL_SCANCODE_F13, 0, 124},
    {SDLK_F24, SDL_SCANCODE_F24, 0, 135},
    {SDLK_RETURN, SDL_SCANCODE_RETURN, 0, 13},
    {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0, 27},
    {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0, 16},
    {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0, 17},
    {SDLK_RALT, SDL_SCANCODE_RALT, 0, 18},
    {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 0, 20},
    {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 0, 44},
    {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 0, 144},
    {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 0, 145},
    {SDLK_LGUI, SDL_SCANCODE_LGUI, 0, 91},
    {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, 0, 93},
    // the keypad by NumLock
    {SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, 96},
    {SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM, 103},
    {SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NUM, 105},
    {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NUM, 110},
    {SDLK_KP_0, SDL_SCANCODE_KP_0, 0, 45},
    {SDLK_KP_1, SDL_SCANCODE_KP_1, 0, 35},
    {SDLK_KP_2, SDL_SCANCODE_KP_2, 0, 40},
    {SDLK_KP_3, SDL_SCANCODE_KP_3, 0, 34},
    {SDLK_KP_4, SDL_SCANCODE_KP_4, 0, 37},
    {SDLK_KP_5, SDL_SCANCODE_KP_5, 0, 12},
    {SDLK_KP_6, SDL_SCANCODE_KP_6, 0, 39},
    {SDLK_KP_7, SDL_SCANCODE_KP_7, 0, 36},
    {SDLK_KP_8, SDL_SCANCODE_KP_8, 0, 38},
    {SDLK_KP_9, SDL_SCANCODE_KP_9, 0, 33},
    {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 0, 46},
    {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 0, 106},
    {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NUM, 107},
    {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 0, 109},
    {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 0, 111},
    {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0, 13},
    // keys without a virtual key
    {SDLK_MUTE, SDL_SCANCODE_MUTE, 0, 0},
    {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0, 0},
};

}  // namespace

TEST(PlatformKeys, TableOfSDLKeysToVirtualKeys)
{
    for (const KeyCase& c : keyCases)
    {
        EXPECT_EQ(nPlatformVirtualKey(Sym(c)), c.virtualKey) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    }
}

TEST(PlatformKeys, DecodesUTF8AndSkipsBrokenBytes)
{
    const char* text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\x80" "b";
    const char* p = text;
    EXPECT_EQ(nPlatformNextCodePoint(p), 'a');
    EXPECT_EQ(nPlatformNextCodePoint(p), 0xE9);
    EXPECT_EQ(nPlatformNextCodePoint(p), 0x20AC);
    EXPECT_EQ(nPlatformNextCodePoint(p), 0x1F600);
    EXPECT_EQ(nPlatformNextCodePoint(p), -1);
    EXPECT_EQ(nPlatformNextCodePoint(p), 'b');
    EXPECT_EQ(nPlatformNextCodePoint(p), 0);
    EXPECT_EQ(nPlatformNextCodePoint(p), 0);

    const char* cut = "\xE2\x82";  // a sequence cut short by the end of the text
    p = cut;
    EXPECT_EQ(nPlatformNextCodePoint(p), -1);
    EXPECT_EQ(p, cut + 1);
}
