// [SECTION] Virtual keys
// [SECTION] Backend state
// [SECTION] Start-up and shut-down
// [SECTION] Top-level windows
// [SECTION] Frames
// [SECTION] Cursors and text input
// [SECTION] Events and waiting
// [SECTION] Pointer and screen

#include "host/backends/sdl/SdlBackend.h"
#include "host/backends/sdl/SdlDesktop.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

namespace korvane::backends {

// ---------------------------------------------------------------------------
// [SECTION] Virtual keys

namespace {

// Win32's virtual-key codes; the window system's header sits above the backends,
// so the values the mapping needs are repeated here (the tests compare them).
namespace vk {
constexpr unsigned Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
                   Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22,
                   End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28,
                   Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E, LeftWin = 0x5B, RightWin = 0x5C,
                   Apps = 0x5D, Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D,
                   Decimal = 0x6E, Divide = 0x6F, F1 = 0x70, F13 = 0x7C, NumLock = 0x90, Scroll = 0x91,
                   Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE,
                   Oem2 = 0xBF, Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD, Oem7 = 0xDE,
                   Oem102 = 0xE2;
}

// Keys named by their SDL keycode; keycodes follow any remapping the user set up.
unsigned NamedKey(SDL_Keycode keycode)
{
    switch (keycode) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return vk::Return;
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_SPACE: return vk::Space;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_HOME: return vk::Home;
    case SDLK_END: return vk::End;
    case SDLK_PAGEUP: return vk::Prior;
    case SDLK_PAGEDOWN: return vk::Next;
    case SDLK_LEFT: return vk::Left;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_UP: return vk::Up;
    case SDLK_DOWN: return vk::Down;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT:
    case SDLK_RALT: return vk::Menu;
    case SDLK_LGUI: return vk::LeftWin;
    case SDLK_RGUI: return vk::RightWin;
    case SDLK_APPLICATION: return vk::Apps;
    case SDLK_CAPSLOCK: return vk::Capital;
    case SDLK_NUMLOCKCLEAR: return vk::NumLock;
    case SDLK_SCROLLLOCK: return vk::Scroll;
    case SDLK_PAUSE: return vk::Pause;
    case SDLK_PRINTSCREEN: return vk::Snapshot;
    case SDLK_KP_MULTIPLY: return vk::Multiply;
    case SDLK_KP_PLUS: return vk::Add;
    case SDLK_KP_MINUS: return vk::Subtract;
    case SDLK_KP_DIVIDE: return vk::Divide;
    default: break;
    }
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12)
        return vk::F1 + static_cast<unsigned>(keycode - SDLK_F1);
    if (keycode >= SDLK_F13 && keycode <= SDLK_F24)
        return vk::F13 + static_cast<unsigned>(keycode - SDLK_F13);
    return 0;
}

// The keypad's digits and point: digits with Num Lock on, navigation keys without,
// as Windows reports them.
unsigned KeypadKey(SDL_Scancode scancode, bool numLock)
{
    static constexpr unsigned navigation[] = { vk::End, vk::Down, vk::Next, vk::Left, 0, vk::Right,
                                               vk::Home, vk::Up, vk::Prior, vk::Insert, vk::Delete };
    if (scancode < SDL_SCANCODE_KP_1 || scancode > SDL_SCANCODE_KP_PERIOD)
        return 0;
    int index = scancode - SDL_SCANCODE_KP_1; // KP_1 .. KP_9, KP_0, KP_PERIOD
    if (!numLock)
        return navigation[index];
    if (index < 9)
        return vk::Numpad0 + 1 + static_cast<unsigned>(index);
    return index == 9 ? vk::Numpad0 : vk::Decimal;
}

// US-layout punctuation, by the character a key types.
unsigned PunctuationKey(SDL_Keycode keycode)
{
    switch (keycode) {
    case ';': return vk::Oem1;
    case '=': return vk::OemPlus;
    case ',': return vk::OemComma;
    case '-': return vk::OemMinus;
    case '.': return vk::OemPeriod;
    case '/': return vk::Oem2;
    case '`': return vk::Oem3;
    case '[': return vk::Oem4;
    case '\\': return vk::Oem5;
    case ']': return vk::Oem6;
    case '\'': return vk::Oem7;
    default: return 0;
    }
}

// Punctuation by its place, for layouts whose punctuation keys type other characters.
unsigned PunctuationPlace(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_SEMICOLON: return vk::Oem1;
    case SDL_SCANCODE_EQUALS: return vk::OemPlus;
    case SDL_SCANCODE_COMMA: return vk::OemComma;
    case SDL_SCANCODE_MINUS: return vk::OemMinus;
    case SDL_SCANCODE_PERIOD: return vk::OemPeriod;
    case SDL_SCANCODE_SLASH: return vk::Oem2;
    case SDL_SCANCODE_GRAVE: return vk::Oem3;
    case SDL_SCANCODE_LEFTBRACKET: return vk::Oem4;
    case SDL_SCANCODE_BACKSLASH: return vk::Oem5;
    case SDL_SCANCODE_RIGHTBRACKET: return vk::Oem6;
    case SDL_SCANCODE_APOSTROPHE: return vk::Oem7;
    case SDL_SCANCODE_NONUSBACKSLASH: return vk::Oem102;
    default: return 0;
    }
}

} // namespace

unsigned VirtualKeyForSdlKey(int scancodeValue, int keycodeValue, unsigned sdlModifiers)
{
    auto scancode = static_cast<SDL_Scancode>(scancodeValue);
    auto keycode = static_cast<SDL_Keycode>(keycodeValue);
    if (unsigned key = KeypadKey(scancode, sdlModifiers & KMOD_NUM))
        return key;
    if (unsigned key = NamedKey(keycode))
        return key;
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + static_cast<unsigned>(scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0)
        return '0';
    if (keycode >= 'a' && keycode <= 'z')
        return 'A' + static_cast<unsigned>(keycode - 'a');
    if (unsigned key = PunctuationKey(keycode))
        return key;
    // A key whose keycode says nothing we know (a non-Latin layout, a key remapped to
    // an odd character) is known by its place.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + static_cast<unsigned>(scancode - SDL_SCANCODE_A);
    if (unsigned key = PunctuationPlace(scancode))
        return key;
    switch (scancode) {
    case SDL_SCANCODE_RETURN: return vk::Return;
    case SDL_SCANCODE_ESCAPE: return vk::Escape;
    case SDL_SCANCODE_BACKSPACE: return vk::Back;
    case SDL_SCANCODE_TAB: return vk::Tab;
    case SDL_SCANCODE_SPACE: return vk::Space;
    case SDL_SCANCODE_DELETE: return vk::Delete;
    default: return NamedKey(SDL_SCANCODE_TO_KEYCODE(scancode));
    }
}

unsigned ModifiersForSdl(unsigned sdlModifiers)
{
    unsigned modifiers = 0;
    if (sdlModifiers & KMOD_SHIFT)
        modifiers |= ModShift;
    if (sdlModifiers & KMOD_CTRL)
        modifiers |= ModControl;
    if (sdlModifiers & KMOD_ALT)
        modifiers |= ModAlt;
    return modifiers;
}

// ---------------------------------------------------------------------------
// [SECTION] Backend state

namespace {

struct TopLevel {
    SDL_Window* window = nullptr;
    bool visible = true;
    bool presented = false; // hidden until the first frame, so no blank window flashes
    // What was presented last, to refill a window surface that SDL recreated.
    raster::Surface frame;
    SDL_Surface* lastTarget = nullptr;
    bool targetStale = true; // the window surface lost its pixels
    int scale = 1;           // the backend's scale, for Show
    raster::IntRect rect;    // where the window system placed it, in its own pixels
};

constexpr std::size_t SystemCursorCount = 5; // Arrow .. Cross

} // namespace

struct SdlBackend::Data {
    std::map<HWND, TopLevel> windows;
    std::unordered_map<Uint32, HWND> byId; // SDL window id to top-level window
    // Events taken from SDL while waiting, kept for PollEvent.
    std::deque<InputEvent> pending;
    std::array<SDL_Cursor*, SystemCursorCount> systemCursors {};
    SDL_Cursor* customCursor = nullptr;
    // SDL still delivers text typed while text input is off; the window system must not see it.
    bool textInput = false;
    // Screen pixels per pixel of the window system: frames are grown and input and
    // placement shrunk by it, so that nothing above the backend sees it.
    int scale = 1;
};

namespace {

using Data = SdlBackend::Data;

// SDL's view of a surface's pixels, which it only reads. 0x00RRGGBB in a 32-bit
// word is SDL's RGB888 (XRGB8888).
SDL_Surface* WrapSurface(const raster::Surface& surface)
{
    auto* pixels = const_cast<raster::PixelValue*>(surface.Pixels().data());
    return SDL_CreateRGBSurfaceWithFormatFrom(pixels, surface.Width(), surface.Height(), 32,
        surface.Width() * static_cast<int>(sizeof(raster::PixelValue)), SDL_PIXELFORMAT_RGB888);
}

HWND WindowOf(const Data& data, Uint32 id)
{
    auto it = data.byId.find(id);
    return it == data.byId.end() ? nullptr : it->second;
}

TopLevel* Find(Data& data, HWND window)
{
    auto it = data.windows.find(window);
    return it == data.windows.end() ? nullptr : &it->second;
}

// Runs as SDL queues each event, before anything reads it: a window surface that a
// resize threw away must be refilled whole by the next Present, even one that comes
// before the event is read. The new surface can sit at the old one's address. Window
// events are queued by the thread that pumps events, which is the one running us.
int WatchEvents(void* userData, SDL_Event* event)
{
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        Data& data = *static_cast<Data*>(userData);
        if (TopLevel* top = Find(data, WindowOf(data, event->window.windowID)))
            top->targetStale = true;
    }
    return 1;
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Start-up and shut-down

SdlBackend::SdlBackend() : m_data(std::make_unique<Data>()) {}

std::unique_ptr<SdlBackend> SdlBackend::Create(std::string* error)
{
    // The program handles Ctrl+C itself and has no use for SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Frames are made by the CPU: the window surface goes straight to the server
    // (shared memory on X11) instead of through an OpenGL texture and its driver.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A click on a window that is not active still reaches it, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A desktop form neither turns the desktop's compositor off nor keeps the screen saver away.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = SDL_GetError();
        SDL_Quit();
        return nullptr;
    }
    ToleratePassingWindows();
    // When no display answers SDL falls back to drivers that draw nowhere; the program
    // must hear that there is no display unless someone asked for one of those.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !(asked && std::strstr(asked, driver))) {
        if (error)
            *error = "no display could be opened (SDL offered only its \"" + std::string(driver) + "\" driver)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
        return nullptr;
    }
    std::unique_ptr<SdlBackend> backend(new SdlBackend());
    if (driver && std::strcmp(driver, "x11") == 0)
        backend->m_data->scale = ScaleFactorFor(std::getenv("GDK_SCALE"), DesktopXftDpi());
    SDL_AddEventWatch(WatchEvents, backend->m_data.get());
    // SDL starts with text input on; the window system turns it on for text boxes.
    SDL_StopTextInput();
    return backend;
}

SdlBackend::~SdlBackend()
{
    SDL_DelEventWatch(WatchEvents, m_data.get());
    for (auto& [hwnd, top] : m_data->windows)
        SDL_DestroyWindow(top.window);
    m_data->windows.clear();
    SDL_SetCursor(SDL_GetDefaultCursor());
    for (SDL_Cursor* cursor : m_data->systemCursors)
        if (cursor)
            SDL_FreeCursor(cursor);
    if (m_data->customCursor)
        SDL_FreeCursor(m_data->customCursor);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

std::uint32_t SdlBackend::SdlWindowId(HWND window) const
{
    TopLevel* top = Find(*m_data, window);
    return top ? SDL_GetWindowID(top->window) : 0;
}

// ---------------------------------------------------------------------------
// [SECTION] Top-level windows

void SdlBackend::CreateTopLevel(HWND window, const TopLevelInfo& info)
{
    // SDL refuses empty windows; a zero-sized form gets one pixel nobody draws on.
    const int scale = m_data->scale;
    int width = std::max(1, info.rect.Width()) * scale;
    int height = std::max(1, info.rect.Height()) * scale;
    TopLevel* owner = info.owner ? Find(*m_data, info.owner) : nullptr;
    // SDL reads the window type when it makes the window; only a dialog asks for another.
    if (owner)
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
    SDL_Window* sdlWindow = SDL_CreateWindow(info.title.c_str(), info.rect.left * scale, info.rect.top * scale, width, height,
        SDL_WINDOW_HIDDEN);
    if (owner)
        SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_NORMAL");
    if (!sdlWindow) {
        SDL_Log("Korvane: cannot create a window: %s", SDL_GetError());
        return;
    }
    if (owner)
        MakeDialogOf(sdlWindow, owner->window);
    TopLevel top;
    top.window = sdlWindow;
    top.scale = scale;
    top.rect = info.rect;
    top.visible = info.visible;
    m_data->windows[window] = std::move(top);
    m_data->byId[SDL_GetWindowID(sdlWindow)] = window;
}

void SdlBackend::DestroyTopLevel(HWND window)
{
    TopLevel* top = Find(*m_data, window);
    if (!top)
        return;
    m_data->byId.erase(SDL_GetWindowID(top->window));
    SDL_DestroyWindow(top->window);
    m_data->windows.erase(window);
    // Events SDL still holds for it find no window and are dropped when read.
    std::erase_if(m_data->pending, [&](const InputEvent& event) { return event.window == window; });
}

namespace {

// Copies `area` of the kept frame to the window surface and shows it; the whole
// frame when the surface is new or lost its pixels.
void Show(TopLevel& top, raster::IntRect area)
{
    SDL_Surface* target = SDL_GetWindowSurface(top.window);
    if (!target)
        return; // nothing to draw on now; the kept frame fills it later
    if (top.targetStale || target != top.lastTarget)
        area = top.frame.Bounds();
    const int scale = top.scale;
    area = area.Intersected(top.frame.Bounds())
               .Intersected(raster::IntRect { 0, 0, target->w / scale, target->h / scale });
    top.lastTarget = target;
    top.targetStale = false;
    if (area.IsEmpty())
        return;
    SDL_Rect rect { area.left * scale, area.top * scale, area.Width() * scale, area.Height() * scale };
    if (target->format->format == SDL_PIXELFORMAT_RGB888 && !SDL_MUSTLOCK(target)) {
        // The usual case on X11: the same layout, so rows are copied as they are,
        // each pixel repeated `scale` times across and each row `scale` times down.
        auto rowBytes = static_cast<std::size_t>(rect.w) * sizeof(raster::PixelValue);
        for (int y = rect.y; y < rect.y + rect.h; ++y) {
            auto* destination = static_cast<std::uint8_t*>(target->pixels) + static_cast<std::ptrdiff_t>(y) * target->pitch
                + static_cast<std::ptrdiff_t>(rect.x) * 4;
            const raster::PixelValue* source = top.frame.Row(y / scale) + area.left;
            if (scale == 1) {
                std::memcpy(destination, source, rowBytes);
            } else {
                auto* pixels = reinterpret_cast<raster::PixelValue*>(destination);
                for (int x = 0; x < rect.w; ++x)
                    pixels[x] = source[x / scale];
            }
        }
    } else if (SDL_Surface* source = WrapSurface(top.frame)) {
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_Rect from { area.left, area.top, area.Width(), area.Height() };
        SDL_Rect destination = rect;
        if (scale == 1)
            SDL_BlitSurface(source, &from, target, &destination);
        else
            SDL_BlitScaled(source, &from, target, &destination); // nearest-neighbour, as SDL2 scales
        SDL_FreeSurface(source);
    }
    SDL_UpdateWindowSurfaceRects(top.window, &rect, 1);
}

} // namespace

void SdlBackend::ShowTopLevel(HWND window, bool visible)
{
    TopLevel* top = Find(*m_data, window);
    if (!top)
        return;
    top->visible = visible;
    if (!visible) {
        SDL_HideWindow(top->window);
    } else if (top->presented) {
        SDL_ShowWindow(top->window);
        top->targetStale = true;
        Show(*top, top->frame.Bounds());
    }
}

void SdlBackend::MoveTopLevel(HWND window, const raster::IntRect& rect)
{
    TopLevel* top = Find(*m_data, window);
    if (!top)
        return;
    const int scale = m_data->scale;
    top->rect = rect;
    SDL_SetWindowPosition(top->window, rect.left * scale, rect.top * scale);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(top->window, &width, &height);
    if (width != std::max(1, rect.Width()) * scale || height != std::max(1, rect.Height()) * scale) {
        SDL_SetWindowSize(top->window, std::max(1, rect.Width()) * scale, std::max(1, rect.Height()) * scale);
        top->targetStale = true;
    }
}

void SdlBackend::SetTitle(HWND window, const std::string& title)
{
    if (TopLevel* top = Find(*m_data, window))
        SDL_SetWindowTitle(top->window, title.c_str());
}

void SdlBackend::SetIcon(HWND window, const raster::Surface& icon)
{
    TopLevel* top = Find(*m_data, window);
    if (!top || icon.Width() == 0 || icon.Height() == 0)
        return; // SDL2 keeps an icon once set; an empty one changes nothing
    if (SDL_Surface* surface = WrapSurface(icon)) {
        SDL_SetWindowIcon(top->window, surface); // SDL copies the pixels
        SDL_FreeSurface(surface);
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Frames

void SdlBackend::Present(HWND window, const raster::Surface& frame, const raster::IntRect& changed)
{
    TopLevel* top = Find(*m_data, window);
    if (!top)
        return;
    raster::IntRect area = changed.Intersected(frame.Bounds());
    if (top->frame.Width() != frame.Width() || top->frame.Height() != frame.Height()) {
        top->frame = frame;
        area = frame.Bounds();
    } else {
        for (int y = area.top; y < area.bottom; ++y)
            std::copy_n(frame.Row(y) + area.left, area.Width(), top->frame.Row(y) + area.left);
    }
    if (!top->presented) {
        top->presented = true;
        area = frame.Bounds();
        if (top->visible)
            SDL_ShowWindow(top->window);
    }
    Show(*top, area);
}

// ---------------------------------------------------------------------------
// [SECTION] Cursors and text input

void SdlBackend::SetCursor(CursorShape shape, const raster::Surface* custom, POINT hotspot)
{
    Data& data = *m_data;
    SDL_Cursor* previousCustom = data.customCursor;
    data.customCursor = nullptr;
    SDL_Cursor* cursor = nullptr;
    if (shape == CursorShape::Custom && custom && custom->Width() > 0 && custom->Height() > 0) {
        if (SDL_Surface* surface = WrapSurface(*custom)) {
            cursor = SDL_CreateColorCursor(surface, hotspot.x, hotspot.y);
            SDL_FreeSurface(surface);
        }
        data.customCursor = cursor;
    }
    if (!cursor) {
        // A custom cursor SDL could not make shows as the arrow.
        static constexpr SDL_SystemCursor system[SystemCursorCount] = { SDL_SYSTEM_CURSOR_ARROW,
            SDL_SYSTEM_CURSOR_WAIT, SDL_SYSTEM_CURSOR_IBEAM, SDL_SYSTEM_CURSOR_HAND, SDL_SYSTEM_CURSOR_CROSSHAIR };
        auto index = static_cast<std::size_t>(shape);
        if (index >= SystemCursorCount)
            index = 0;
        if (!data.systemCursors[index])
            data.systemCursors[index] = SDL_CreateSystemCursor(system[index]);
        cursor = data.systemCursors[index];
    }
    SDL_SetCursor(cursor ? cursor : SDL_GetDefaultCursor());
    // Freed only once it is no longer the cursor shown.
    if (previousCustom)
        SDL_FreeCursor(previousCustom);
}

void SdlBackend::SetTextInput(bool enabled)
{
    m_data->textInput = enabled;
    if (enabled)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

// ---------------------------------------------------------------------------
// [SECTION] Events and waiting

std::uint64_t SdlBackend::Now() { return SDL_GetTicks64(); }

namespace {

std::optional<MouseButton> ButtonOf(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    default: return std::nullopt;
    }
}

void HandleWindowEvent(Data& data, const SDL_WindowEvent& event)
{
    TopLevel* top = Find(data, WindowOf(data, event.windowID));
    if (!top || !top->presented)
        return;
    if (event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        Show(*top, top->frame.Bounds());
}

// A screen coordinate in the window system's pixels; floor division, so that the
// pixels left of or above a window stay outside it.
int Unscaled(const Data& data, int value)
{
    return value >= 0 ? value / data.scale : -((-value + data.scale - 1) / data.scale);
}

// The input event an SDL event stands for; SDL events of no interest, and those for
// windows already gone, give none.
std::optional<InputEvent> Translate(Data& data, const SDL_Event& sdl)
{
    InputEvent event;
    switch (sdl.type) {
    case SDL_MOUSEMOTION:
        event.kind = InputEvent::Kind::MouseMove;
        event.window = WindowOf(data, sdl.motion.windowID);
        event.x = Unscaled(data, sdl.motion.x);
        event.y = Unscaled(data, sdl.motion.y);
        event.modifiers = ModifiersForSdl(SDL_GetModState());
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        std::optional<MouseButton> button = ButtonOf(sdl.button.button);
        if (!button)
            return std::nullopt;
        event.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
        event.window = WindowOf(data, sdl.button.windowID);
        event.x = Unscaled(data, sdl.button.x);
        event.y = Unscaled(data, sdl.button.y);
        event.button = *button;
        event.modifiers = ModifiersForSdl(SDL_GetModState());
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        event.kind = sdl.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        event.virtualKey = VirtualKeyForSdlKey(sdl.key.keysym.scancode, sdl.key.keysym.sym, sdl.key.keysym.mod);
        event.modifiers = ModifiersForSdl(sdl.key.keysym.mod);
        if (event.virtualKey == 0)
            return std::nullopt;
        // Keys without a focused window still go to the program's focus.
        if (sdl.key.windowID == 0)
            return event;
        event.window = WindowOf(data, sdl.key.windowID);
        break;
    case SDL_TEXTINPUT:
        if (!data.textInput)
            return std::nullopt;
        event.kind = InputEvent::Kind::Text;
        event.text = sdl.text.text;
        if (sdl.text.windowID == 0)
            return event;
        event.window = WindowOf(data, sdl.text.windowID);
        break;
    case SDL_WINDOWEVENT:
        if (sdl.window.event == SDL_WINDOWEVENT_LEAVE)
            event.kind = InputEvent::Kind::MouseLeave;
        else if (sdl.window.event == SDL_WINDOWEVENT_CLOSE)
            event.kind = InputEvent::Kind::Close;
        else {
            HandleWindowEvent(data, sdl.window);
            return std::nullopt;
        }
        event.window = WindowOf(data, sdl.window.windowID);
        break;
    default: return std::nullopt;
    }
    if (!event.window)
        return std::nullopt;
    return event;
}

} // namespace

std::optional<InputEvent> SdlBackend::PollEvent()
{
    Data& data = *m_data;
    if (!data.pending.empty()) {
        InputEvent event = std::move(data.pending.front());
        data.pending.pop_front();
        return event;
    }
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl))
        if (std::optional<InputEvent> event = Translate(data, sdl))
            return event;
    return std::nullopt;
}

bool SdlBackend::WaitForEvent(std::optional<std::uint64_t> deadline)
{
    Data& data = *m_data;
    if (!data.pending.empty())
        return true;
    // Without a window no input can come, and without a deadline nothing else would end the wait.
    if (data.windows.empty() && !deadline)
        return false;
    for (;;) {
        SDL_Event sdl;
        int got = 0;
        if (deadline) {
            std::uint64_t now = Now();
            if (now >= *deadline)
                return true;
            got = SDL_WaitEventTimeout(&sdl, static_cast<int>(std::min<std::uint64_t>(*deadline - now, INT_MAX)));
        } else {
            got = SDL_WaitEvent(&sdl);
            if (!got)
                return false; // SDL cannot deliver events at all
        }
        // Events the window system does not see (exposures, SDL's own) do not end the wait.
        if (got) {
            if (std::optional<InputEvent> event = Translate(data, sdl)) {
                data.pending.push_back(std::move(*event));
                return true;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Pointer and screen

POINT SdlBackend::CursorPosition()
{
    int x = 0;
    int y = 0;
    // Over one of our windows its own events place the pointer, where the window
    // system put that window: X11's global state can lag behind the pointer, and a
    // window manager's frame moves a window from where it was asked to be.
    if (SDL_Window* focus = SDL_GetMouseFocus()) {
        if (const TopLevel* top = Find(*m_data, WindowOf(*m_data, SDL_GetWindowID(focus)))) {
            SDL_GetMouseState(&x, &y);
            return POINT { top->rect.left + Unscaled(*m_data, x), top->rect.top + Unscaled(*m_data, y) };
        }
    }
    SDL_GetGlobalMouseState(&x, &y);
    return POINT { Unscaled(*m_data, x), Unscaled(*m_data, y) };
}

bool SdlBackend::CursorInsideProgram()
{
    SDL_Window* focus = SDL_GetMouseFocus();
    if (!focus || !WindowOf(*m_data, SDL_GetWindowID(focus)))
        return false;
    // SDL keeps the focus while a button is held outside; the pointer itself decides.
    int atX = 0;
    int atY = 0;
    SDL_GetGlobalMouseState(&atX, &atY);
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(focus, &left, &top);
    SDL_GetWindowSize(focus, &width, &height);
    return atX >= left && atY >= top && atX < left + width && atY < top + height;
}

raster::IntRect SdlBackend::ScreenBounds()
{
    SDL_Rect bounds {};
    if (SDL_GetDisplayBounds(0, &bounds) != 0)
        return raster::IntRect { 0, 0, 1024, 768 };
    const int scale = m_data->scale;
    return raster::IntRect { bounds.x / scale, bounds.y / scale, (bounds.x + bounds.w) / scale, (bounds.y + bounds.h) / scale };
}

std::optional<std::string> SdlBackend::ClipboardText()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_HasClipboardText())
        return std::nullopt;
    char* text = SDL_GetClipboardText();
    if (!text)
        return std::nullopt;
    std::string copy = text;
    SDL_free(text);
    return copy;
}

bool SdlBackend::SetClipboardText(const std::string& text)
{
    return SDL_WasInit(SDL_INIT_VIDEO) && SDL_SetClipboardText(text.c_str()) == 0;
}

int ScaleFactorFor(const char* gdkScale, double xftDpi)
{
    int scale = 1;
    if (gdkScale && *gdkScale) {
        char* end = nullptr;
        long asked = std::strtol(gdkScale, &end, 10);
        if (*end == '\0' && asked >= 1)
            scale = static_cast<int>(std::min<long>(asked, kMaxScale));
    } else if (xftDpi >= 2 * kStandardDpi) {
        scale = std::min(static_cast<int>(xftDpi / kStandardDpi), kMaxScale);
    }
    return scale;
}

} // namespace korvane::backends
