#ifndef N_PLATFORMKEYS_H
#define N_PLATFORMKEYS_H
//------------------------------------------------------------------------------
/**
    @file nplatformkeys.h
    @ingroup Platform

    SDL keys and text as the window-system key numbers and character codes
    the engine's key table is made from.
*/
#include <SDL.h>

/**
    The window-system virtual key of an SDL key, 0 for a key without one.
    Letters and digits follow the keyboard layout (the key's symbol); the
    keypad follows its scancode and the NumLock state in the key's
    modifiers: with NumLock the digits and the decimal point, without it
    the navigation keys printed on them.
*/
int nPlatformVirtualKey(const SDL_Keysym& sym);

/**
    Decode the next UTF-8 character of 'text' and advance past it.
    Results: the code point; -1 for a malformed sequence (one byte is
    skipped); 0 at the end of the text (not advanced).
*/
int nPlatformNextCodePoint(const char*& text);
#endif
