// [SECTION] Window table
// [SECTION] Geometry and hit testing
// [SECTION] Composition
// [SECTION] Focus and tab order
// [SECTION] Input routing
// [SECTION] Message queue, timers and loops
// [SECTION] Win32 calls

#include "host/window/WindowSystem.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

namespace korvane::window {

using backends::CursorShape;
using backends::InputEvent;
using raster::IntRect;
using raster::Region;
using raster::Surface;

namespace {

// ---------------------------------------------------------------------------
// [SECTION] Window table

struct Window {
    HWND handle = nullptr;
    HWND parent = nullptr;
    std::vector<HWND> children; // front (top of the z-order) first
    IntRect rect;               // parent client coordinates, or screen coordinates
    std::string title;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    bool wantsTextInput = false;
    int tabIndex = 0;
    std::optional<Region> region; // window coordinates
    std::shared_ptr<Surface> surface;
    std::map<std::string, HANDLE> properties;
    WindowHandler* handler = nullptr;
    CursorShape cursor = CursorShape::Arrow;
    std::shared_ptr<Surface> customCursor;
    POINT cursorHotspot {};
    bool needsPaint = false;
    std::uint64_t creationOrder = 0;
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT interval;
    TIMERPROC callback;
    std::uint64_t due;
};

struct ClickMemory {
    HWND window = nullptr;
    backends::MouseButton button = backends::MouseButton::Left;
    std::uint64_t time = 0;
    POINT at {};
    bool armed = false;
};

struct State {
    std::unique_ptr<backends::Backend> backend;
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevels; // front first
    std::deque<MSG> queue;
    std::vector<Timer> timers;
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND hovered = nullptr;
    std::optional<CursorShape> programCursor;
    ClickMemory lastClick;
    std::map<HWND, Surface> frames; // last frame shown per top-level window
    bool quit = false;
    int exitCode = 0;
    std::uintptr_t nextHandle = 0x10000;
    std::uint64_t creations = 0;
};

State& S()
{
    static State state;
    return state;
}

Window* Find(HWND hwnd)
{
    auto it = S().windows.find(hwnd);
    return it == S().windows.end() ? nullptr : it->second.get();
}

backends::Backend& Backend()
{
    if (!S().backend)
        S().backend = std::make_unique<backends::HeadlessBackend>();
    return *S().backend;
}

std::optional<LRESULT> Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = Find(hwnd);
    if (!window || !window->handler)
        return std::nullopt;
    return window->handler->HandleMessage(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// [SECTION] Geometry and hit testing

POINT ClientOriginOnScreen(const Window& window)
{
    POINT origin { window.rect.left, window.rect.top };
    for (Window* parent = Find(window.parent); parent; parent = Find(parent->parent)) {
        origin.x += parent->rect.left;
        origin.y += parent->rect.top;
    }
    return origin;
}

bool Holds(const Window& window, int x, int y) // x, y in the window's coordinates
{
    if (x < 0 || y < 0 || x >= window.rect.Width() || y >= window.rect.Height())
        return false;
    return !window.region || window.region->Contains(x, y);
}

// The deepest window under (x, y), given in `window`'s coordinates. A disabled
// child is never found: the descent stops at its parent.
HWND DeepestAt(const Window& window, int x, int y)
{
    for (HWND hwnd : window.children) {
        Window* child = Find(hwnd);
        if (!child || !child->visible || !Holds(*child, x - child->rect.left, y - child->rect.top))
            continue;
        if (!child->enabled)
            return window.handle;
        return DeepestAt(*child, x - child->rect.left, y - child->rect.top);
    }
    return window.handle;
}

HWND HitTestScreen(POINT point)
{
    for (HWND hwnd : S().topLevels) {
        Window* window = Find(hwnd);
        if (!window || !window->visible)
            continue;
        int x = point.x - window->rect.left;
        int y = point.y - window->rect.top;
        if (Holds(*window, x, y))
            return window->enabled ? DeepestAt(*window, x, y) : hwnd;
    }
    return nullptr;
}

void ResizeSurface(Window& window)
{
    int width = std::max(0, window.rect.Width());
    int height = std::max(0, window.rect.Height());
    if (window.surface && window.surface->Width() == width && window.surface->Height() == height)
        return;
    auto resized = std::make_shared<Surface>(width, height, raster::SurfaceFormat::Colour32, 0xFFFFFF);
    if (window.surface) {
        int w = std::min(width, window.surface->Width());
        int h = std::min(height, window.surface->Height());
        for (int y = 0; y < h; ++y)
            std::copy_n(window.surface->Row(y), w, resized->Row(y));
        *window.surface = std::move(*resized); // DCs on the surface keep drawing on it
    } else {
        window.surface = std::move(resized);
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Composition

// Draws the window and its children into the frame. `origin` is the window's
// top-left in frame coordinates; `clip` is what its parent lets it cover.
void ComposeInto(const Window& window, POINT origin, const Region& clip, Surface& frame)
{
    Region visible(IntRect { origin.x, origin.y, origin.x + window.rect.Width(), origin.y + window.rect.Height() });
    if (window.region) {
        Region shape = *window.region;
        shape.Offset(origin.x, origin.y);
        visible = Region::Combine(visible, shape, raster::RegionOp::And);
    }
    visible = Region::Combine(visible, clip, raster::RegionOp::And);
    if (visible.IsEmpty())
        return;
    // A plain child covering the whole area hides this window and every child behind
    // it, so they are not copied only to be overwritten (a repainting control).
    const IntRect box = visible.Box();
    const auto cover = std::find_if(window.children.begin(), window.children.end(), [&](HWND hwnd) {
        const Window* child = Find(hwnd);
        return child && child->visible && !child->region && child->rect.Translated(origin.x, origin.y).Covers(box);
    });
    const bool covered = cover != window.children.end();
    // Children are front first: draw from the covering one (or the rearmost) forward.
    const std::size_t back = static_cast<std::size_t>(cover - window.children.begin()) + (covered ? 1 : 0);
    if (!covered) {
        for (const IntRect& rect : visible.Rects()) {
            for (int y = rect.top; y < rect.bottom; ++y) {
                const raster::PixelValue* source = window.surface->Row(y - origin.y) + (rect.left - origin.x);
                std::copy_n(source, rect.Width(), frame.Row(y) + rect.left);
            }
        }
    }
    for (std::size_t i = back; i-- > 0;) {
        const Window* child = Find(window.children[i]);
        if (child && child->visible)
            ComposeInto(*child, POINT { origin.x + child->rect.left, origin.y + child->rect.top }, visible, frame);
    }
}

void ComposeRect(const Window& top, Surface& frame, const IntRect& rect)
{
    ComposeInto(top, POINT { 0, 0 }, Region(rect.Intersected(frame.Bounds())), frame);
}

// ---------------------------------------------------------------------------
// [SECTION] Focus and tab order

void CollectTabStops(const Window& window, std::vector<HWND>& stops)
{
    std::vector<Window*> children;
    for (HWND child : window.children)
        if (Window* found = Find(child))
            children.push_back(found);
    std::stable_sort(children.begin(), children.end(), [](const Window* a, const Window* b) {
        return a->tabIndex != b->tabIndex ? a->tabIndex < b->tabIndex : a->creationOrder < b->creationOrder;
    });
    for (Window* child : children) {
        if (child->tabStop)
            stops.push_back(child->handle);
        CollectTabStops(*child, stops);
    }
}

void UpdateTextInput()
{
    Window* focused = Find(S().focus);
    Backend().SetTextInput(focused && focused->wantsTextInput);
}

void MoveFocusAwayFrom(HWND hwnd)
{
    // The focus leaves a window that is going, hidden or disabled, and rests on its top-level window.
    for (HWND at = S().focus; at; at = GetParent(at)) {
        if (at == hwnd) {
            HWND old = S().focus;
            HWND top = TopLevelOf(hwnd);
            S().focus = (top == hwnd) ? nullptr : top;
            Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(S().focus), 0);
            if (S().focus)
                Deliver(S().focus, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
            UpdateTextInput();
            return;
        }
    }
}

void MoveFocusByTab(HWND from, bool forward)
{
    if (HWND next = NextTabStop(from, forward))
        SetFocus(next);
}

// ---------------------------------------------------------------------------
// [SECTION] Input routing

WPARAM MouseKeyState(unsigned modifiers, unsigned buttons)
{
    WPARAM state = buttons;
    if (modifiers & backends::ModShift)
        state |= MK_SHIFT;
    if (modifiers & backends::ModControl)
        state |= MK_CONTROL;
    return state;
}

unsigned g_buttonsDown = 0;
unsigned g_modifiers = 0;

unsigned ButtonFlag(backends::MouseButton button)
{
    switch (button) {
    case backends::MouseButton::Left: return MK_LBUTTON;
    case backends::MouseButton::Right: return MK_RBUTTON;
    case backends::MouseButton::Middle: return MK_MBUTTON;
    }
    return 0;
}

UINT ButtonMessage(backends::MouseButton button, int kind) // 0 down, 1 up, 2 double-click
{
    UINT base = button == backends::MouseButton::Left ? WM_LBUTTONDOWN
        : button == backends::MouseButton::Right       ? WM_RBUTTONDOWN
                                                       : WM_MBUTTONDOWN;
    return base + static_cast<UINT>(kind);
}

void ApplyCursor(HWND over)
{
    if (S().programCursor) {
        Backend().SetCursor(*S().programCursor, nullptr, {});
        return;
    }
    Window* window = Find(over);
    if (!window) {
        Backend().SetCursor(CursorShape::Arrow, nullptr, {});
        return;
    }
    Backend().SetCursor(window->cursor, window->customCursor.get(), window->cursorHotspot);
}

void PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    S().queue.push_back(MSG { hwnd, message, wParam, lParam, static_cast<DWORD>(Backend().Now()), {} });
}

void RouteMouse(const InputEvent& event)
{
    Window* top = Find(event.window);
    if (!top)
        return;
    g_modifiers = event.modifiers;
    POINT screen { top->rect.left + event.x, top->rect.top + event.y };
    HWND target = S().capture ? S().capture : HitTestScreen(screen);
    if (event.kind == InputEvent::Kind::MouseMove) {
        if (target != S().hovered) {
            S().hovered = target;
            ApplyCursor(target);
        }
    }
    if (!target || (!S().capture && !CanTakeInput(target)))
        return;
    Window* window = Find(target);
    POINT origin = ClientOriginOnScreen(*window);
    LPARAM position = MAKELPARAM(screen.x - origin.x, screen.y - origin.y);

    switch (event.kind) {
    case InputEvent::Kind::MouseMove:
        PostToWindow(target, WM_MOUSEMOVE, MouseKeyState(g_modifiers, g_buttonsDown), position);
        break;
    case InputEvent::Kind::MouseDown: {
        g_buttonsDown |= ButtonFlag(event.button);
        ClickMemory& last = S().lastClick;
        std::uint64_t now = Backend().Now();
        bool doubleClick = last.armed && last.window == target && last.button == event.button
            && now - last.time <= Backend().DoubleClickTime() && std::abs(last.at.x - screen.x) <= 2
            && std::abs(last.at.y - screen.y) <= 2;
        last = ClickMemory { target, event.button, now, screen, !doubleClick };
        PostToWindow(target, ButtonMessage(event.button, doubleClick ? 2 : 0), MouseKeyState(g_modifiers, g_buttonsDown), position);
        break;
    }
    case InputEvent::Kind::MouseUp:
        g_buttonsDown &= ~ButtonFlag(event.button);
        PostToWindow(target, ButtonMessage(event.button, 1), MouseKeyState(g_modifiers, g_buttonsDown), position);
        break;
    default: break;
    }
}

void RouteKey(const InputEvent& event)
{
    g_modifiers = event.modifiers;
    HWND target = S().focus;
    if (!target) {
        // Keys go to the window the event came from when nothing has the focus.
        target = event.window;
    }
    if (!target || !CanTakeInput(target))
        return;
    bool down = event.kind == InputEvent::Kind::KeyDown;
    bool alt = event.modifiers & backends::ModAlt;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    PostToWindow(target, message, event.virtualKey, 1);
    // The characters of keys that have no text event, as TranslateMessage makes them.
    if (down && !alt) {
        unsigned character = 0;
        switch (event.virtualKey) {
        case VK_RETURN: character = '\r'; break;
        case VK_BACK: character = '\b'; break;
        case VK_ESCAPE: character = 0x1B; break;
        case VK_TAB: character = '\t'; break;
        default:
            if ((event.modifiers & backends::ModControl) && event.virtualKey >= 'A' && event.virtualKey <= 'Z')
                character = event.virtualKey - 'A' + 1;
            break;
        }
        if (character)
            PostToWindow(target, WM_CHAR, character, 1);
    }
}

void RouteText(const InputEvent& event)
{
    HWND target = S().focus;
    if (!target || !CanTakeInput(target))
        return;
    // One WM_CHAR per code point; wParam carries the code point.
    const std::string& text = event.text;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
        unsigned codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        PostToWindow(target, WM_CHAR, codePoint, 1);
        i += length;
    }
}

void Route(const InputEvent& event)
{
    switch (event.kind) {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp: RouteMouse(event); break;
    case InputEvent::Kind::MouseLeave:
        S().hovered = nullptr;
        break;
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::KeyUp: RouteKey(event); break;
    case InputEvent::Kind::Text: RouteText(event); break;
    case InputEvent::Kind::Close:
        if (CanTakeInput(event.window))
            PostToWindow(event.window, WM_CLOSE, 0, 0);
        break;
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Message queue, timers and loops

void DefaultProcessing(const MSG& msg)
{
    switch (msg.message) {
    case WM_CLOSE: DestroyWindow(msg.hwnd); break;
    case WM_KEYDOWN:
        if (msg.wParam == VK_TAB) {
            MoveFocusByTab(S().focus ? S().focus : msg.hwnd, !(g_modifiers & backends::ModShift));
        } else if (Find(msg.hwnd) && !GetParent(msg.hwnd)) {
            // Arrows that reach a form move the focus along the tab order.
            HWND from = S().focus ? S().focus : msg.hwnd;
            if (msg.wParam == VK_DOWN || msg.wParam == VK_RIGHT)
                MoveFocusByTab(from, true);
            else if (msg.wParam == VK_UP || msg.wParam == VK_LEFT)
                MoveFocusByTab(from, false);
        }
        break;
    case WM_TIMER:
        if (msg.lParam)
            reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        break;
    default: break;
    }
}

void Dispatch(const MSG& msg)
{
    if (!Find(msg.hwnd))
        return;
    if (msg.message == WM_TIMER && msg.lParam) {
        DefaultProcessing(msg); // timer callbacks bypass the window's handler
        return;
    }
    if (!Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam))
        DefaultProcessing(msg);
}

std::optional<std::uint64_t> NextTimerDue()
{
    std::optional<std::uint64_t> due;
    for (const Timer& timer : S().timers)
        if (!due || timer.due < *due)
            due = timer.due;
    return due;
}

// Fires every timer due by now, each at most once per call.
bool FireDueTimers()
{
    std::uint64_t now = Backend().Now();
    std::vector<std::pair<HWND, UINT_PTR>> due;
    for (Timer& timer : S().timers) {
        if (timer.due <= now) {
            due.emplace_back(timer.window, timer.id);
            timer.due = std::max(timer.due + timer.interval, now + 1);
            if (timer.due <= now)
                timer.due = now + timer.interval;
        }
    }
    for (auto [hwnd, id] : due) {
        auto it = std::find_if(S().timers.begin(), S().timers.end(),
            [&](const Timer& t) { return t.window == hwnd && t.id == id; });
        if (it == S().timers.end())
            continue; // killed by an earlier callback
        MSG msg { hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(it->callback), static_cast<DWORD>(now), {} };
        Dispatch(msg);
    }
    return !due.empty();
}

bool DeliverPaints()
{
    bool painted = false;
    std::vector<HWND> pending;
    for (auto& [hwnd, window] : S().windows)
        if (window->needsPaint)
            pending.push_back(hwnd);
    for (HWND hwnd : pending) {
        if (Window* window = Find(hwnd)) {
            window->needsPaint = false;
            Deliver(hwnd, WM_PAINT, 0, 0);
            painted = true;
        }
    }
    return painted;
}

void PresentAll()
{
    for (HWND top : std::vector<HWND>(S().topLevels))
        if (Window* window = Find(top); window && window->visible)
            PresentWindow(top);
}

// One round of work without waiting; false when there was nothing to do. Input
// is routed only after the messages before it are handled, so that a press that
// takes the capture decides where the next move goes, as it does on a display.
bool ProcessPending()
{
    bool worked = false;
    for (;;) {
        if (!S().queue.empty()) {
            MSG msg = S().queue.front();
            S().queue.pop_front();
            if (msg.message == WM_QUIT) {
                S().quit = true;
                S().exitCode = static_cast<int>(msg.wParam);
                return true;
            }
            Dispatch(msg);
            worked = true;
            continue;
        }
        if (std::optional<InputEvent> event = Backend().PollEvent()) {
            Route(*event);
            worked = true;
            continue;
        }
        break;
    }
    worked |= FireDueTimers();
    worked |= DeliverPaints();
    return worked;
}

int g_modalDepth = 0;

} // namespace

// ---------------------------------------------------------------------------
// Public C++ interface

void UseBackend(std::unique_ptr<backends::Backend> backend) { S().backend = std::move(backend); }

backends::Backend& CurrentBackend() { return Backend(); }

void ResetWindowSystem()
{
    for (HWND top : std::vector<HWND>(S().topLevels))
        DestroyWindow(top);
    S().queue.clear();
    S().timers.clear();
    S().frames.clear();
    S().focus = S().capture = S().hovered = nullptr;
    S().programCursor.reset();
    S().lastClick = {};
    S().quit = false;
    S().exitCode = 0;
    g_buttonsDown = 0;
    g_modifiers = 0;
    S().backend.reset();
}

HWND CreateHostWindow(const WindowCreateInfo& info)
{
    if (info.parent && !Find(info.parent))
        return nullptr;
    auto window = std::make_unique<Window>();
    HWND hwnd = reinterpret_cast<HWND>(S().nextHandle);
    S().nextHandle += 4;
    window->handle = hwnd;
    window->parent = info.parent;
    window->rect = info.rect;
    window->title = info.title;
    window->visible = info.visible;
    window->enabled = info.enabled;
    window->tabStop = info.tabStop;
    window->handler = info.handler;
    window->cursor = info.cursor;
    window->wantsTextInput = info.wantsTextInput;
    window->creationOrder = ++S().creations;
    ResizeSurface(*window);
    S().windows.emplace(hwnd, std::move(window));
    if (info.parent) {
        Find(info.parent)->children.insert(Find(info.parent)->children.begin(), hwnd);
    } else {
        S().topLevels.insert(S().topLevels.begin(), hwnd);
        Backend().CreateTopLevel(hwnd, backends::TopLevelInfo { info.title, info.rect, info.visible });
    }
    Deliver(hwnd, WM_CREATE, 0, 0);
    return hwnd;
}

void SetWindowHandler(HWND hwnd, WindowHandler* handler)
{
    if (Window* window = Find(hwnd))
        window->handler = handler;
}

std::size_t LiveWindowCount() { return S().windows.size(); }

std::vector<HWND> TopLevelWindows() { return S().topLevels; }

std::shared_ptr<Surface> WindowSurface(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window ? window->surface : nullptr;
}

HDC GetWindowDC(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return nullptr;
    // A display DC retargeted at the window's own surface: no bitmap of its own.
    HDC hdc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (gdi::DcObject* dc = gdi::LookupDc(hdc))
        dc->surface = window->surface;
    return hdc;
}

void SetTabOrder(HWND hwnd, int tabIndex, bool tabStop)
{
    if (Window* window = Find(hwnd)) {
        window->tabIndex = tabIndex;
        window->tabStop = tabStop;
    }
}

HWND NextTabStop(HWND from, bool forward)
{
    HWND top = TopLevelOf(from);
    Window* topWindow = Find(top);
    if (!topWindow)
        return nullptr;
    std::vector<HWND> stops;
    CollectTabStops(*topWindow, stops);
    std::erase_if(stops, [&](HWND hwnd) { return hwnd != from && !CanTakeInput(hwnd); });
    if (stops.empty())
        return nullptr;
    auto at = std::find(stops.begin(), stops.end(), from);
    std::ptrdiff_t count = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t index = at == stops.end() ? (forward ? -1 : count) : at - stops.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        std::ptrdiff_t next = ((index + (forward ? step : -step)) % count + count) % count;
        if (stops[static_cast<std::size_t>(next)] != from || count == 1)
            return CanTakeInput(stops[static_cast<std::size_t>(next)]) ? stops[static_cast<std::size_t>(next)] : nullptr;
    }
    return nullptr;
}

void SetWindowCursor(HWND hwnd, CursorShape cursor, std::shared_ptr<Surface> custom, POINT hotspot)
{
    if (Window* window = Find(hwnd)) {
        window->cursor = cursor;
        window->customCursor = std::move(custom);
        window->cursorHotspot = hotspot;
        if (S().hovered == hwnd)
            ApplyCursor(hwnd);
    }
}

void SetProgramCursor(std::optional<CursorShape> cursor)
{
    S().programCursor = cursor;
    ApplyCursor(S().hovered);
}

void SetWindowIcon(HWND hwnd, const Surface& icon)
{
    if (Find(hwnd) && !GetParent(hwnd))
        Backend().SetIcon(hwnd, icon);
}

void PresentWindow(HWND hwnd, const std::optional<IntRect>& rect)
{
    HWND top = TopLevelOf(hwnd);
    Window* topWindow = Find(top);
    Window* window = Find(hwnd);
    if (!topWindow || !window || !topWindow->visible)
        return;
    Surface& frame = S().frames[top];
    IntRect area = topWindow->rect.Translated(-topWindow->rect.left, -topWindow->rect.top);
    if (frame.Width() != area.Width() || frame.Height() != area.Height()) {
        frame = Surface(area.Width(), area.Height(), raster::SurfaceFormat::Colour32, 0xFFFFFF);
    } else if (rect) {
        POINT origin = ClientOriginOnScreen(*window);
        POINT topOrigin = ClientOriginOnScreen(*topWindow);
        area = rect->Translated(origin.x - topOrigin.x, origin.y - topOrigin.y).Intersected(area);
    }
    if (area.IsEmpty())
        return;
    ComposeRect(*topWindow, frame, area);
    Backend().Present(top, frame, area);
}

Surface ComposeTopLevel(HWND topLevel)
{
    Window* window = Find(topLevel);
    if (!window)
        return {};
    Surface frame(window->rect.Width(), window->rect.Height(), raster::SurfaceFormat::Colour32, 0xFFFFFF);
    ComposeRect(*window, frame, frame.Bounds());
    return frame;
}

Surface ComposeScreen()
{
    IntRect bounds = Backend().ScreenBounds();
    Surface screen(bounds.Width(), bounds.Height(), raster::SurfaceFormat::Colour32, 0x3A6EA5);
    for (auto it = S().topLevels.rbegin(); it != S().topLevels.rend(); ++it) {
        Window* window = Find(*it);
        if (window && window->visible)
            ComposeInto(*window, POINT { window->rect.left, window->rect.top }, Region(screen.Bounds()), screen);
    }
    return screen;
}

void DoEvents()
{
    while (!S().quit && ProcessPending()) {
    }
    PresentAll();
}

int RunMessageLoop()
{
    while (!S().quit && !S().topLevels.empty()) {
        if (ProcessPending())
            continue;
        PresentAll();
        if (S().quit || S().topLevels.empty())
            break;
        if (!Backend().WaitForEvent(NextTimerDue()))
            break;
    }
    PresentAll();
    return S().exitCode;
}

bool RunModalLoop(const std::function<bool()>& finished)
{
    ++g_modalDepth;
    bool ended = true;
    while (!finished()) {
        if (S().quit) {
            break;
        }
        if (ProcessPending())
            continue;
        PresentAll();
        if (finished())
            break;
        if (!Backend().WaitForEvent(NextTimerDue())) {
            ended = false;
            break;
        }
    }
    --g_modalDepth;
    return ended;
}

unsigned CurrentModifiers() { return g_modifiers; }

void AdvanceClock(unsigned ms)
{
    auto* headless = dynamic_cast<backends::HeadlessBackend*>(&Backend());
    assert(headless && "AdvanceClock needs the headless backend; install it with UseBackend()");
    std::uint64_t target = headless->Now() + ms;
    DoEvents();
    while (std::optional<std::uint64_t> due = NextTimerDue()) {
        if (*due > target)
            break;
        headless->SetNow(std::max(*due, headless->Now()));
        DoEvents();
    }
    headless->SetNow(target);
    DoEvents();
}

HWND TopLevelOf(HWND hwnd)
{
    Window* window = Find(hwnd);
    while (window && window->parent)
        window = Find(window->parent);
    return window ? window->handle : nullptr;
}

bool CanTakeInput(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return false;
    for (; window; window = Find(window->parent))
        if (!window->visible || !window->enabled)
            return false;
    return true;
}

} // namespace korvane::window

// ---------------------------------------------------------------------------
// [SECTION] Win32 calls

using namespace korvane;
using namespace korvane::window;

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    Window* window = Find(hwnd);
    if (!window)
        return 0;
    if (region) {
        gdi::RegionObject* object = gdi::LookupRegion(region);
        if (!object)
            return 0;
        window->region = object->region;
        // The window owns the region from here on.
        DeleteObject(region);
    } else {
        window->region.reset();
    }
    if (redraw)
        PresentWindow(window->parent ? window->parent : hwnd);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    Window* window = Find(hwnd);
    gdi::RegionObject* object = gdi::LookupRegion(region);
    if (!window || !object || !window->region)
        return 0; // ERROR
    object->region = *window->region;
    switch (object->region.Complexity()) {
    case raster::RegionComplexity::Empty: return NULLREGION;
    case raster::RegionComplexity::Simple: return SIMPLEREGION;
    case raster::RegionComplexity::Complex: return COMPLEXREGION;
    }
    return 0;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* window = Find(hwnd);
    if (!window || !rect)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    *rect = RECT { origin.x, origin.y, origin.x + window->rect.Width(), origin.y + window->rect.Height() };
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* window = Find(hwnd);
    if (!window || !rect)
        return FALSE;
    *rect = RECT { 0, 0, window->rect.Width(), window->rect.Height() };
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    bool resized = width != window->rect.Width() || height != window->rect.Height();
    window->rect = IntRect { x, y, x + std::max(0, width), y + std::max(0, height) };
    ResizeSurface(*window);
    if (!window->parent)
        Backend().MoveTopLevel(hwnd, window->rect);
    if (resized)
        Deliver(hwnd, WM_SIZE, 0, MAKELPARAM(window->rect.Width(), window->rect.Height()));
    if (repaint)
        PresentWindow(window->parent ? TopLevelOf(hwnd) : hwnd);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    if (!(flags & SWP_NOZORDER)) {
        std::vector<HWND>& siblings = window->parent ? Find(window->parent)->children : S().topLevels;
        std::erase(siblings, hwnd);
        if (insertAfter == HWND_BOTTOM) {
            siblings.push_back(hwnd);
        } else if (insertAfter == HWND_TOP || !Find(insertAfter)) {
            siblings.insert(siblings.begin(), hwnd);
        } else {
            auto at = std::find(siblings.begin(), siblings.end(), insertAfter);
            siblings.insert(at == siblings.end() ? siblings.end() : at + 1, hwnd);
        }
    }
    int newX = (flags & SWP_NOMOVE) ? window->rect.left : x;
    int newY = (flags & SWP_NOMOVE) ? window->rect.top : y;
    int newWidth = (flags & SWP_NOSIZE) ? window->rect.Width() : cx;
    int newHeight = (flags & SWP_NOSIZE) ? window->rect.Height() : cy;
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE))
        MoveWindow(hwnd, newX, newY, newWidth, newHeight, FALSE);
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point)
{
    Window* window = Find(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
    Window* window = Find(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr; }

BOOL IsWindowVisible(HWND hwnd)
{
    Window* window = Find(hwnd);
    for (; window; window = Find(window->parent))
        if (!window->visible)
            return FALSE;
    return Find(hwnd) != nullptr;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window && window->enabled;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    BOOL wasVisible = window->visible;
    bool visible = command != SW_HIDE;
    if (visible == window->visible)
        return wasVisible;
    window->visible = visible;
    if (!visible)
        MoveFocusAwayFrom(hwnd);
    if (!window->parent) {
        Backend().ShowTopLevel(hwnd, visible);
        if (visible) {
            std::erase(S().topLevels, hwnd);
            S().topLevels.insert(S().topLevels.begin(), hwnd);
        }
    }
    Deliver(hwnd, WM_SHOWWINDOW, visible, 0);
    PresentWindow(window->parent ? TopLevelOf(hwnd) : hwnd);
    return wasVisible;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    BOOL wasDisabled = !window->enabled;
    if (window->enabled == static_cast<bool>(enable))
        return wasDisabled;
    window->enabled = enable;
    if (!enable) {
        MoveFocusAwayFrom(hwnd);
        if (S().capture == hwnd)
            ReleaseCapture();
    }
    Deliver(hwnd, WM_ENABLE, enable, 0);
    return wasDisabled;
}

HWND GetParent(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window ? window->parent : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    for (HWND child : std::vector<HWND>(window->children))
        DestroyWindow(child);
    MoveFocusAwayFrom(hwnd);
    if (S().capture == hwnd)
        ReleaseCapture();
    if (S().hovered == hwnd)
        S().hovered = nullptr;
    Deliver(hwnd, WM_DESTROY, 0, 0);
    std::erase_if(S().timers, [&](const Timer& timer) { return timer.window == hwnd; });
    std::erase_if(S().queue, [&](const MSG& msg) { return msg.hwnd == hwnd; });
    if (window->parent) {
        if (Window* parent = Find(window->parent))
            std::erase(parent->children, hwnd);
    } else {
        std::erase(S().topLevels, hwnd);
        S().frames.erase(hwnd);
        Backend().DestroyTopLevel(hwnd);
    }
    HWND parent = window->parent;
    S().windows.erase(hwnd);
    if (parent)
        PresentWindow(TopLevelOf(parent));
    return TRUE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    window->title = text ? text : "";
    if (!window->parent)
        Backend().SetTitle(hwnd, window->title);
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount)
{
    Window* window = Find(hwnd);
    if (!window || !text || maxCount <= 0)
        return 0;
    std::size_t length = std::min(window->title.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(text, window->title.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

HWND SetCapture(HWND hwnd)
{
    HWND previous = S().capture;
    if (!Find(hwnd))
        return previous;
    S().capture = hwnd;
    if (previous && previous != hwnd)
        Deliver(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture()
{
    HWND previous = S().capture;
    S().capture = nullptr;
    if (previous)
        Deliver(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return S().capture; }

HWND SetFocus(HWND hwnd)
{
    HWND previous = S().focus;
    if (hwnd && !CanTakeInput(hwnd))
        return nullptr;
    if (hwnd == previous)
        return previous;
    S().focus = hwnd;
    if (previous)
        Deliver(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && S().focus == hwnd)
        Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    UpdateTextInput();
    return previous;
}

HWND GetFocus() { return S().focus; }

HWND GetActiveWindow()
{
    if (S().focus)
        return TopLevelOf(S().focus);
    for (HWND top : S().topLevels)
        if (CanTakeInput(top))
            return top;
    return nullptr;
}

BOOL GetCursorPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    *point = Backend().CursorPosition();
    return TRUE;
}

HWND WindowFromPoint(POINT point)
{
    POINT cursor = Backend().CursorPosition();
    if (!Backend().CursorInsideProgram() && cursor.x == point.x && cursor.y == point.y)
        return nullptr;
    return HitTestScreen(point);
}

HCURSOR LoadCursorA(void*, LPCSTR name)
{
    // Stock cursors are identified by their resource number; the backend draws them.
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

HCURSOR SetCursor(HCURSOR cursor)
{
    CursorShape shape = CursorShape::Arrow;
    if (cursor == LoadCursorA(nullptr, IDC_WAIT))
        shape = CursorShape::Wait;
    else if (cursor == LoadCursorA(nullptr, IDC_IBEAM))
        shape = CursorShape::IBeam;
    else if (cursor == LoadCursorA(nullptr, IDC_HAND))
        shape = CursorShape::Hand;
    Backend().SetCursor(shape, nullptr, {});
    return nullptr;
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return FALSE;
    window->properties[name] = data;
    return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return nullptr;
    auto it = window->properties.find(name);
    return it == window->properties.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return nullptr;
    auto it = window->properties.find(name);
    if (it == window->properties.end())
        return nullptr;
    HANDLE data = it->second;
    window->properties.erase(it);
    return data;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC callback)
{
    if (!Find(hwnd))
        return 0; // timers here always belong to a window
    UINT interval = std::max<UINT>(elapse, 10);
    std::uint64_t due = Backend().Now() + interval;
    for (Timer& timer : S().timers) {
        if (timer.window == hwnd && timer.id == id) {
            timer = Timer { hwnd, id, interval, callback, due };
            return id ? id : 1;
        }
    }
    S().timers.push_back(Timer { hwnd, id, interval, callback, due });
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    auto removed = std::erase_if(S().timers, [&](const Timer& timer) { return timer.window == hwnd && timer.id == id; });
    std::erase_if(S().queue, [&](const MSG& msg) { return msg.hwnd == hwnd && msg.message == WM_TIMER && msg.wParam == id; });
    return removed ? TRUE : FALSE;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Find(hwnd))
        return FALSE;
    PostToWindow(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Find(hwnd))
        return 0;
    if (std::optional<LRESULT> result = Deliver(hwnd, message, wParam, lParam))
        return *result;
    DefaultProcessing(MSG { hwnd, message, wParam, lParam, static_cast<DWORD>(Backend().Now()), {} });
    return 0;
}

void PostQuitMessage(int exitCode)
{
    S().queue.push_back(MSG { nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, {} });
}

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    window->needsPaint = true;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    if (window->needsPaint) {
        window->needsPaint = false;
        Deliver(hwnd, WM_PAINT, 0, 0);
    }
    PresentWindow(hwnd, IntRect { 0, 0, window->rect.Width(), window->rect.Height() });
    return TRUE;
}

DWORD GetTickCount() { return static_cast<DWORD>(Backend().Now()); }

UINT GetDoubleClickTime() { return Backend().DoubleClickTime(); }

int GetSystemMetrics(int index)
{
    IntRect screen = Backend().ScreenBounds();
    switch (index) {
    case SM_CXSCREEN: return screen.Width();
    case SM_CYSCREEN: return screen.Height();
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    default: return 0;
    }
}
