// SDL keys to Win32 virtual keys, for the layouts and lock states users type with.

#include "host/backends/sdl/SdlBackend.h"
#include "host/window/WinUser.h"

#include <SDL.h>
#include <gtest/gtest.h>

using korvane::backends::ModifiersForSdl;
using korvane::backends::VirtualKeyForSdlKey;

namespace {

struct KeyCase {
    const char* what;
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    unsigned modifiers;
    unsigned virtualKey;
};

void ExpectKeys(std::initializer_list<KeyCase> cases)
{
    for (const KeyCase& key : cases)
        EXPECT_EQ(VirtualKeyForSdlKey(key.scancode, key.keycode, key.modifiers), key.virtualKey) << key.what;
}

TEST(SdlKeyMap, LettersFollowTheLayoutAndDigitsTheirPlace)
{
    ExpectKeys({
        { "a on QWERTY", SDL_SCANCODE_A, SDLK_a, 0, 'A' },
        { "z on QWERTY", SDL_SCANCODE_Z, SDLK_z, 0, 'Z' },
        { "shifted letter", SDL_SCANCODE_M, SDLK_m, KMOD_LSHIFT, 'M' },
        { "a on AZERTY sits where Q is", SDL_SCANCODE_Q, SDLK_a, 0, 'A' },
        { "Cyrillic ef takes its place", SDL_SCANCODE_A, 0x444, 0, 'A' },
        { "1 on QWERTY", SDL_SCANCODE_1, SDLK_1, 0, '1' },
        { "0 on QWERTY", SDL_SCANCODE_0, SDLK_0, 0, '0' },
        { "1 on AZERTY types &", SDL_SCANCODE_1, SDLK_AMPERSAND, 0, '1' },
        { "9 on AZERTY types a c-cedilla", SDL_SCANCODE_9, 0xE7, 0, '9' },
    });
}

TEST(SdlKeyMap, EditingAndNavigationKeys)
{
    ExpectKeys({
        { "Return", SDL_SCANCODE_RETURN, SDLK_RETURN, 0, VK_RETURN },
        { "keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, VK_RETURN },
        { "Escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, VK_ESCAPE },
        { "Tab", SDL_SCANCODE_TAB, SDLK_TAB, 0, VK_TAB },
        { "Backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, VK_BACK },
        { "Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, 0, VK_DELETE },
        { "Space", SDL_SCANCODE_SPACE, SDLK_SPACE, 0, VK_SPACE },
        { "Insert", SDL_SCANCODE_INSERT, SDLK_INSERT, 0, VK_INSERT },
        { "Home", SDL_SCANCODE_HOME, SDLK_HOME, 0, VK_HOME },
        { "End", SDL_SCANCODE_END, SDLK_END, 0, VK_END },
        { "Page Up", SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 0, VK_PRIOR },
        { "Page Down", SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 0, VK_NEXT },
        { "Left", SDL_SCANCODE_LEFT, SDLK_LEFT, 0, VK_LEFT },
        { "Right", SDL_SCANCODE_RIGHT, SDLK_RIGHT, 0, VK_RIGHT },
        { "Up", SDL_SCANCODE_UP, SDLK_UP, 0, VK_UP },
        { "Down", SDL_SCANCODE_DOWN, SDLK_DOWN, 0, VK_DOWN },
        { "F1", SDL_SCANCODE_F1, SDLK_F1, 0, VK_F1 },
        { "F12", SDL_SCANCODE_F12, SDLK_F12, 0, VK_F1 + 11 },
        { "F13", SDL_SCANCODE_F13, SDLK_F13, 0, VK_F1 + 12 },
        { "left Shift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT, VK_SHIFT },
        { "right Shift", SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT, VK_SHIFT },
        { "left Control", SDL_SCANCODE_LCTRL, SDLK_LCTRL, 0, VK_CONTROL },
        { "right Control", SDL_SCANCODE_RCTRL, SDLK_RCTRL, 0, VK_CONTROL },
        { "left Alt", SDL_SCANCODE_LALT, SDLK_LALT, 0, VK_MENU },
        { "right Alt", SDL_SCANCODE_RALT, SDLK_RALT, 0, VK_MENU },
        { "Caps Lock remapped to Escape", SDL_SCANCODE_CAPSLOCK, SDLK_ESCAPE, 0, VK_ESCAPE },
    });
}

TEST(SdlKeyMap, KeypadGivesDigitsWithNumLockAndNavigationWithout)
{
    constexpr unsigned numpad0 = 0x60;
    ExpectKeys({
        { "keypad 0", SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM, numpad0 },
        { "keypad 1", SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NUM, numpad0 + 1 },
        { "keypad 9", SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NUM, numpad0 + 9 },
        { "keypad point", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM, 0x6E },
        { "keypad 7 without Num Lock", SDL_SCANCODE_KP_7, SDLK_KP_7, 0, VK_HOME },
        { "keypad 8 without Num Lock", SDL_SCANCODE_KP_8, SDLK_KP_8, 0, VK_UP },
        { "keypad 3 without Num Lock", SDL_SCANCODE_KP_3, SDLK_KP_3, 0, VK_NEXT },
        { "keypad 0 without Num Lock", SDL_SCANCODE_KP_0, SDLK_KP_0, 0, VK_INSERT },
        { "keypad point without Num Lock", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 0, VK_DELETE },
        { "keypad 5 without Num Lock", SDL_SCANCODE_KP_5, SDLK_KP_5, 0, 0 },
        { "keypad plus", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 0, 0x6B },
        { "keypad minus", SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, KMOD_NUM, 0x6D },
        { "keypad times", SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, 0, 0x6A },
        { "keypad divide", SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 0, 0x6F },
    });
}

TEST(SdlKeyMap, PunctuationAndKeysWithoutVirtualKey)
{
    ExpectKeys({
        { "comma", SDL_SCANCODE_COMMA, SDLK_COMMA, 0, 0xBC },
        { "minus", SDL_SCANCODE_MINUS, SDLK_MINUS, 0, 0xBD },
        { "slash", SDL_SCANCODE_SLASH, SDLK_SLASH, 0, 0xBF },
        { "AZERTY comma sits where M is", SDL_SCANCODE_M, SDLK_COMMA, 0, 0xBC },
        { "mute", SDL_SCANCODE_MUTE, SDLK_MUTE, 0, 0 },
        { "unknown", SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, 0, 0 },
    });
}

TEST(SdlKeyMap, ModifiersOfEitherSide)
{
    using namespace korvane::backends;
    EXPECT_EQ(ModifiersForSdl(KMOD_NONE), 0u);
    EXPECT_EQ(ModifiersForSdl(KMOD_LSHIFT), unsigned(ModShift));
    EXPECT_EQ(ModifiersForSdl(KMOD_RSHIFT), unsigned(ModShift));
    EXPECT_EQ(ModifiersForSdl(KMOD_RCTRL | KMOD_LALT), unsigned(ModControl | ModAlt));
    EXPECT_EQ(ModifiersForSdl(KMOD_NUM | KMOD_CAPS), 0u);
    EXPECT_EQ(ModifiersForSdl(KMOD_LSHIFT | KMOD_LCTRL | KMOD_RALT), unsigned(ModShift | ModControl | ModAlt));
}

} // namespace
