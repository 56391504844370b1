// SDL keys to Win32 virtual keys, for the layouts and lock states users type with.

#include "host/backends/sdl/SdlBackend.h"
#include "host/window/WinUser.h"

#include <SDL.h>
#include <gtest/gtest.h>

using namespace korvane::backends;

namespace {

constexpr unsigned kNumpad0 = 0x60;

TEST(SdlKeyMap, VirtualKeysFollowTheLayoutForLettersAndThePlaceForDigits)
{
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        unsigned modifiers;
        unsigned virtualKey;
    } const cases[] = {
        { SDL_SCANCODE_A, SDLK_a, 0, 'A' }, { SDL_SCANCODE_Z, SDLK_z, 0, 'Z' }, { SDL_SCANCODE_M, SDLK_m, KMOD_LSHIFT, 'M' },
        { SDL_SCANCODE_Q, SDLK_a, 0, 'A' }, // AZERTY a sits where Q is
        { SDL_SCANCODE_A, 0x444, 0, 'A' }, // a Cyrillic letter takes its place
        { SDL_SCANCODE_1, SDLK_1, 0, '1' }, { SDL_SCANCODE_0, SDLK_0, 0, '0' },
        { SDL_SCANCODE_1, SDLK_AMPERSAND, 0, '1' }, // AZERTY 1 types &
        { SDL_SCANCODE_9, 0xE7, 0, '9' }, // AZERTY 9 types a c-cedilla
        { SDL_SCANCODE_RETURN, SDLK_RETURN, 0, VK_RETURN }, { SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, VK_RETURN },
        { SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, VK_ESCAPE },
        { SDL_SCANCODE_CAPSLOCK, SDLK_ESCAPE, 0, VK_ESCAPE }, // Caps Lock remapped
        { SDL_SCANCODE_TAB, SDLK_TAB, 0, VK_TAB }, { SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, VK_BACK },
        { SDL_SCANCODE_DELETE, SDLK_DELETE, 0, VK_DELETE }, { SDL_SCANCODE_SPACE, SDLK_SPACE, 0, VK_SPACE },
        { SDL_SCANCODE_INSERT, SDLK_INSERT, 0, VK_INSERT }, { SDL_SCANCODE_HOME, SDLK_HOME, 0, VK_HOME },
        { SDL_SCANCODE_END, SDLK_END, 0, VK_END }, { SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 0, VK_PRIOR },
        { SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 0, VK_NEXT }, { SDL_SCANCODE_LEFT, SDLK_LEFT, 0, VK_LEFT },
        { SDL_SCANCODE_RIGHT, SDLK_RIGHT, 0, VK_RIGHT }, { SDL_SCANCODE_UP, SDLK_UP, 0, VK_UP },
        { SDL_SCANCODE_DOWN, SDLK_DOWN, 0, VK_DOWN }, { SDL_SCANCODE_F1, SDLK_F1, 0, VK_F1 },
        { SDL_SCANCODE_F12, SDLK_F12, 0, VK_F1 + 11 }, { SDL_SCANCODE_F13, SDLK_F13, 0, VK_F1 + 12 },
        { SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT, VK_SHIFT }, { SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT, VK_SHIFT },
        { SDL_SCANCODE_LCTRL, SDLK_LCTRL, 0, VK_CONTROL }, { SDL_SCANCODE_RCTRL, SDLK_RCTRL, 0, VK_CONTROL },
        { SDL_SCANCODE_LALT, SDLK_LALT, 0, VK_MENU }, { SDL_SCANCODE_RALT, SDLK_RALT, 0, VK_MENU },
        // The keypad gives digits with Num Lock and navigation without.
        { SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM, kNumpad0 }, { SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NUM, kNumpad0 + 1 },
        { SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NUM, kNumpad0 + 9 }, { SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM, 0x6E },
        { SDL_SCANCODE_KP_7, SDLK_KP_7, 0, VK_HOME }, { SDL_SCANCODE_KP_8, SDLK_KP_8, 0, VK_UP },
        { SDL_SCANCODE_KP_3, SDLK_KP_3, 0, VK_NEXT }, { SDL_SCANCODE_KP_0, SDLK_KP_0, 0, VK_INSERT },
        { SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 0, VK_DELETE }, { SDL_SCANCODE_KP_5, SDLK_KP_5, 0, 0 },
        { SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 0, 0x6B }, { SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, KMOD_NUM, 0x6D },
        { SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, 0, 0x6A }, { SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 0, 0x6F },
        { SDL_SCANCODE_COMMA, SDLK_COMMA, 0, 0xBC }, { SDL_SCANCODE_MINUS, SDLK_MINUS, 0, 0xBD },
        { SDL_SCANCODE_SLASH, SDLK_SLASH, 0, 0xBF },
        { SDL_SCANCODE_M, SDLK_COMMA, 0, 0xBC }, // AZERTY comma sits where M is
        { SDL_SCANCODE_MUTE, SDLK_MUTE, 0, 0 }, { SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, 0, 0 },
    };
    for (const Case& key : cases)
        EXPECT_EQ(VirtualKeyForSdlKey(key.scancode, key.keycode, key.modifiers), key.virtualKey)
            << SDL_GetScancodeName(key.scancode) << " typing " << key.keycode << " with modifiers " << key.modifiers;
}

TEST(SdlKeyMap, ModifiersOfEitherSide)
{
    EXPECT_EQ(ModifiersForSdl(KMOD_NONE), 0u);
    EXPECT_EQ(ModifiersForSdl(KMOD_RSHIFT), unsigned(ModShift));
    EXPECT_EQ(ModifiersForSdl(KMOD_NUM | KMOD_CAPS), 0u);
    EXPECT_EQ(ModifiersForSdl(KMOD_LSHIFT | KMOD_LCTRL | KMOD_RALT), unsigned(ModShift | ModControl | ModAlt));
    EXPECT_EQ(ModifiersForSdl(KMOD_RCTRL | KMOD_LALT), unsigned(ModControl | ModAlt));
}

} // namespace

TEST(SdlScale, WholeMultiplesOfTheDesktopsScaleOnly)
{
    const struct {
        const char* gdkScale;
        double xftDpi;
        int scale;
    } cases[] = {
        { nullptr, 0, 1 }, { nullptr, 96, 1 }, { nullptr, 144, 1 }, { nullptr, 192, 2 }, { nullptr, 287, 2 },
        { nullptr, 288, 3 }, { nullptr, 9600, kMaxScale }, { "2", 96, 2 }, { "1", 192, 1 }, { "", 192, 2 },
        { "1.5", 192, 1 }, { "0", 96, 1 }, { "-2", 96, 1 }, { "99", 96, kMaxScale },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleFactorFor(c.gdkScale, c.xftDpi), c.scale) << (c.gdkScale ? c.gdkScale : "unset") << ", " << c.xftDpi;
}
