#include "platform/display_keys.h"

#include <SDL_keycode.h>

#include <unordered_map>

namespace demo::platform {
namespace {

// Virtual-key codes by name, for the keys that are not letters or digits.
enum VirtualKey : int {
    kBack = 0x08, kTab = 0x09, kClear = 0x0C, kReturn = 0x0D,
    kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13, kCapital = 0x14,
    kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24,
    kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kSelect = 0x29, kPrint = 0x2A,
    kExecute = 0x2B, kSnapshot = 0x2C, kInsert = 0x2D, kDelete = 0x2E, kHelp = 0x2F,
    kLeftWin = 0x5B, kRightWin = 0x5C, kApps = 0x5D, kSleep = 0x5F,
    kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSeparator = 0x6C, kSubtract = 0x6D,
    kDecimal = 0x6E, kDivide = 0x6F, kF1 = 0x70,
    kNumLock = 0x90, kScroll = 0x91,
    kBrowserBack = 0xA6, kBrowserForward = 0xA7, kBrowserRefresh = 0xA8, kBrowserStop = 0xA9,
    kBrowserSearch = 0xAA, kBrowserFavorites = 0xAB, kBrowserHome = 0xAC,
    kVolumeMute = 0xAD, kVolumeDown = 0xAE, kVolumeUp = 0xAF,
    kMediaNext = 0xB0, kMediaPrevious = 0xB1, kMediaStop = 0xB2, kMediaPlayPause = 0xB3,
    kLaunchMail = 0xB4, kLaunchMediaSelect = 0xB5, kLaunchApp1 = 0xB6, kLaunchApp2 = 0xB7,
    kOem1 = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE,
    kOem2 = 0xBF, kOem3 = 0xC0, kOem4 = 0xDB, kOem5 = 0xDC, kOem6 = 0xDD, kOem7 = 0xDE,
    kOem102 = 0xE2,
};

const std::unordered_map<std::int32_t, int>& table() {
    static const std::unordered_map<std::int32_t, int> keys = [] {
        std::unordered_map<std::int32_t, int> t = {
            {SDLK_BACKSPACE, kBack}, {SDLK_TAB, kTab}, {SDLK_CLEAR, kClear},
            {SDLK_RETURN, kReturn}, {SDLK_RETURN2, kReturn}, {SDLK_KP_ENTER, kReturn},
            {SDLK_LSHIFT, kShift}, {SDLK_RSHIFT, kShift},
            {SDLK_LCTRL, kControl}, {SDLK_RCTRL, kControl},
            {SDLK_LALT, kMenu}, {SDLK_RALT, kMenu},
            {SDLK_PAUSE, kPause}, {SDLK_CAPSLOCK, kCapital}, {SDLK_ESCAPE, kEscape},
            {SDLK_SPACE, kSpace}, {SDLK_PAGEUP, kPrior}, {SDLK_PAGEDOWN, kNext},
            {SDLK_END, kEnd}, {SDLK_HOME, kHome},
            {SDLK_LEFT, kLeft}, {SDLK_UP, kUp}, {SDLK_RIGHT, kRight}, {SDLK_DOWN, kDown},
            {SDLK_SELECT, kSelect}, {SDLK_EXECUTE, kExecute}, {SDLK_PRINTSCREEN, kSnapshot},
            {SDLK_INSERT, kInsert}, {SDLK_DELETE, kDelete}, {SDLK_HELP, kHelp},
            {SDLK_LGUI, kLeftWin}, {SDLK_RGUI, kRightWin}, {SDLK_APPLICATION, kApps},
            {SDLK_MENU, kApps}, {SDLK_SLEEP, kSleep},
            {SDLK_KP_MULTIPLY, kMultiply}, {SDLK_KP_PLUS, kAdd}, {SDLK_KP_COMMA, kSeparator},
            {SDLK_KP_MINUS, kSubtract}, {SDLK_KP_PERIOD, kDecimal},
            {SDLK_KP_DECIMAL, kDecimal}, {SDLK_KP_DIVIDE, kDivide},
            {SDLK_NUMLOCKCLEAR, kNumLock}, {SDLK_SCROLLLOCK, kScroll},
            {SDLK_AC_BACK, kBrowserBack}, {SDLK_AC_FORWARD, kBrowserForward},
            {SDLK_AC_REFRESH, kBrowserRefresh}, {SDLK_AC_STOP, kBrowserStop},
            {SDLK_AC_SEARCH, kBrowserSearch}, {SDLK_AC_BOOKMARKS, kBrowserFavorites},
            {SDLK_AC_HOME, kBrowserHome},
            {SDLK_MUTE, kVolumeMute}, {SDLK_AUDIOMUTE, kVolumeMute},
            {SDLK_VOLUMEDOWN, kVolumeDown}, {SDLK_VOLUMEUP, kVolumeUp},
            {SDLK_AUDIONEXT, kMediaNext}, {SDLK_AUDIOPREV, kMediaPrevious},
            {SDLK_AUDIOSTOP, kMediaStop}, {SDLK_AUDIOPLAY, kMediaPlayPause},
            {SDLK_MAIL, kLaunchMail}, {SDLK_MEDIASELECT, kLaunchMediaSelect},
            {SDLK_COMPUTER, kLaunchApp1}, {SDLK_CALCULATOR, kLaunchApp2},
            // Punctuation by its US-layout key, as the OEM codes name them.
            {SDLK_SEMICOLON, kOem1}, {SDLK_COLON, kOem1},
            {SDLK_EQUALS, kOemPlus}, {SDLK_PLUS, kOemPlus},
            {SDLK_COMMA, kOemComma}, {SDLK_LESS, kOemComma},
            {SDLK_MINUS, kOemMinus}, {SDLK_UNDERSCORE, kOemMinus},
            {SDLK_PERIOD, kOemPeriod}, {SDLK_GREATER, kOemPeriod},
            {SDLK_SLASH, kOem2}, {SDLK_QUESTION, kOem2},
            {SDLK_BACKQUOTE, kOem3},
            {SDLK_LEFTBRACKET, kOem4}, {SDLK_BACKSLASH, kOem5}, {SDLK_RIGHTBRACKET, kOem6},
            {SDLK_QUOTE, kOem7}, {SDLK_QUOTEDBL, kOem7},
        };
        for (int i = 0; i < 26; ++i) t[SDLK_a + i] = 'A' + i;
        for (int i = 0; i < 10; ++i) t[SDLK_0 + i] = '0' + i;
        const SDL_Keycode keypad[10] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                        SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
        for (int i = 0; i < 10; ++i) t[keypad[i]] = kNumpad0 + i;
        const SDL_Keycode functionKeys[24] = {
            SDLK_F1,  SDLK_F2,  SDLK_F3,  SDLK_F4,  SDLK_F5,  SDLK_F6,  SDLK_F7,  SDLK_F8,
            SDLK_F9,  SDLK_F10, SDLK_F11, SDLK_F12, SDLK_F13, SDLK_F14, SDLK_F15, SDLK_F16,
            SDLK_F17, SDLK_F18, SDLK_F19, SDLK_F20, SDLK_F21, SDLK_F22, SDLK_F23, SDLK_F24};
        for (int i = 0; i < 24; ++i) t[functionKeys[i]] = kF1 + i;
        return t;
    }();
    return keys;
}

}  // namespace

int virtualKeyFromSdl(std::int32_t sdlKeycode) {
    auto found = table().find(sdlKeycode);
    return found == table().end() ? 0 : found->second;
}

}  // namespace demo::platform
