// [SECTION] Active and last boxes
// [SECTION] Painting: icons and push buttons
// [SECTION] The box window
// [SECTION] MsgBox

#include "host/forms/MessageBox.h"

#include "host/forms/HostServices.h"
#include "host/forms/StdFont.h"
#include "host/gdi/Gdi.h"
#include "host/window/WindowSystem.h"

#include <algorithm>
#include <cmath>

namespace korvane::forms {

namespace {

// Metrics of the Windows XP message box at 96 dots per inch, in pixels.
constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMinimumWidth = 120;

class MessageBoxWindow;

// ---------------------------------------------------------------------------
// [SECTION] Active and last boxes

// Boxes can nest: a handler run by a box's modal loop may show another one.
std::vector<MessageBoxWindow*> g_active;
std::optional<MessageBoxInfo> g_last;

// ---------------------------------------------------------------------------
// [SECTION] Painting: icons and push buttons

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A shape drawn with a one-pixel outline and a solid inside.
template <typename Draw>
void WithPenAndBrush(HDC dc, COLORREF outline, COLORREF inside, Draw draw)
{
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HBRUSH brush = CreateSolidBrush(inside);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    draw();
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void DrawPolygon(HDC dc, std::initializer_list<POINT> points, COLORREF outline, COLORREF inside)
{
    std::vector<POINT> list(points);
    WithPenAndBrush(dc, outline, inside, [&] { Polygon(dc, list.data(), static_cast<int>(list.size())); });
}

void DrawDisc(HDC dc, int x, int y, COLORREF outline, COLORREF inside)
{
    WithPenAndBrush(dc, outline, inside, [&] { Ellipse(dc, x, y, x + kIconSize - 1, y + kIconSize - 1); });
}

// The four system icons, drawn at (x, y) in a 32 by 32 cell.
void DrawMessageIcon(HDC dc, int kind, int x, int y)
{
    const COLORREF white = RGB(255, 255, 255);
    auto at = [&](int dx, int dy) { return POINT { x + dx, y + dy }; };
    switch (kind) {
    case vbInformation:
        DrawDisc(dc, x, y, RGB(0, 40, 140), RGB(40, 100, 220));
        FillSolid(dc, RECT { x + 13, y + 6, x + 18, y + 11 }, white);
        FillSolid(dc, RECT { x + 13, y + 13, x + 18, y + 25 }, white);
        FillSolid(dc, RECT { x + 11, y + 13, x + 13, y + 15 }, white);
        FillSolid(dc, RECT { x + 11, y + 23, x + 20, y + 25 }, white);
        break;
    case vbCritical:
        DrawDisc(dc, x, y, RGB(140, 0, 0), RGB(220, 30, 30));
        DrawPolygon(dc, { at(9, 11), at(11, 9), at(22, 20), at(20, 22) }, white, white);
        DrawPolygon(dc, { at(20, 9), at(22, 11), at(11, 22), at(9, 20) }, white, white);
        break;
    case vbExclamation:
        DrawPolygon(dc, { at(15, 1), at(30, 29), at(0, 29) }, RGB(120, 90, 0), RGB(255, 210, 0));
        FillSolid(dc, RECT { x + 13, y + 9, x + 18, y + 21 }, RGB(0, 0, 0));
        FillSolid(dc, RECT { x + 13, y + 23, x + 18, y + 27 }, RGB(0, 0, 0));
        break;
    case vbQuestion: {
        DrawDisc(dc, x, y, RGB(0, 40, 140), RGB(40, 100, 220));
        HFONT font = CreateFontA(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
            DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, white);
        RECT cell { x, y, x + kIconSize - 1, y + kIconSize - 1 };
        DrawTextA(dc, "?", 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(font);
        break;
    }
    default: break;
    }
}

COLORREF Blend(COLORREF a, COLORREF b, int step, int steps)
{
    auto mix = [&](int ca, int cb) { return static_cast<BYTE>(ca + (cb - ca) * step / std::max(1, steps)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// An XP push button: a dark blue frame with clipped corners over a pale gradient;
// the focused (or default) button gets a blue inner rim and a dotted focus rectangle.
void DrawPushButton(HDC dc, const RECT& rect, const std::string& caption, HFONT font, bool focused, bool pressed)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    COLORREF top = pressed ? RGB(226, 225, 218) : RGB(255, 255, 255);
    COLORREF bottom = pressed ? RGB(238, 238, 232) : RGB(226, 223, 214);
    for (int row = 1; row < height - 1; ++row)
        FillSolid(dc, RECT { rect.left + 1, rect.top + row, rect.right - 1, rect.top + row + 1 }, Blend(top, bottom, row, height));
    const COLORREF frame = RGB(0, 60, 116);
    FillSolid(dc, RECT { rect.left + 1, rect.top, rect.right - 1, rect.top + 1 }, frame);
    FillSolid(dc, RECT { rect.left + 1, rect.bottom - 1, rect.right - 1, rect.bottom }, frame);
    FillSolid(dc, RECT { rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1 }, frame);
    FillSolid(dc, RECT { rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1 }, frame);
    if (focused && !pressed) {
        RECT rim { rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1 };
        HBRUSH outer = CreateSolidBrush(RGB(105, 130, 238));
        FrameRect(dc, &rim, outer);
        DeleteObject(outer);
        InflateRect(&rim, -1, -1);
        HBRUSH inner = CreateSolidBrush(RGB(188, 212, 246));
        FrameRect(dc, &rim, inner);
        DeleteObject(inner);
    }
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text = rect;
    if (pressed)
        OffsetRect(&text, 1, 1);
    DrawTextA(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    if (focused && width > 8 && height > 8) {
        RECT focus { rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3 };
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

// ---------------------------------------------------------------------------
// [SECTION] The box window

class MessageBoxWindow final : public window::WindowHandler {
public:
    MessageBoxWindow(const std::string& prompt, int style, const std::string& title, HWND owner)
    {
        m_info.prompt = prompt;
        m_info.style = style;
        m_info.title = title.empty() ? std::string("Korvane") : title;
        m_info.owner = owner;
        int icon = style & 0x70;
        m_icon = (icon == vbCritical || icon == vbQuestion || icon == vbExclamation || icon == vbInformation) ? icon : 0;
        m_info.buttons.push_back(MessageBoxButton { vbOK, "确定", {} });
        if ((style & 0x7) == vbOKCancel)
            m_info.buttons.push_back(MessageBoxButton { vbCancel, "取消", {} });
        // vbDefaultButton2 (256) puts the focus on the second button.
        if ((style & 0x300) == 0x100 && m_info.buttons.size() > 1)
            m_focus = 1;
    }

    ~MessageBoxWindow() override
    {
        if (m_info.hwnd && IsWindow(m_info.hwnd)) {
            window::SetWindowHandler(m_info.hwnd, nullptr);
            DestroyWindow(m_info.hwnd);
        }
    }

    MessageBoxWindow(const MessageBoxWindow&) = delete;
    MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

    const MessageBoxInfo& Info() const { return m_info; }

    int Run()
    {
        HWND previousFocus = GetFocus();
        HWND owner = m_info.owner ? window::TopLevelOf(m_info.owner) : GetActiveWindow();
        m_info.owner = owner;

        // Every window the user could reach is disabled while the box waits.
        std::vector<HWND> disabled;
        for (HWND candidate : window::TopLevelWindows()) {
            if (candidate && IsWindowEnabled(candidate)
                && std::find(disabled.begin(), disabled.end(), candidate) == disabled.end()) {
                EnableWindow(candidate, FALSE);
                disabled.push_back(candidate);
            }
        }

        raster::IntRect placed = Layout(owner);
        window::WindowCreateInfo info;
        info.rect = placed;
        info.title = m_info.title;
        info.visible = false;
        info.owner = owner;
        info.handler = this;
        m_info.hwnd = window::CreateHostWindow(info);
        Paint();
        ShowWindow(m_info.hwnd, SW_SHOWNORMAL);
        SetFocus(m_info.hwnd);
        UpdateWindow(m_info.hwnd);

        g_active.push_back(this);
        g_last = m_info;
        // A loop that gives up (no input can ever arrive) counts as OK.
        window::RunModalLoop([this] { return m_info.result.has_value(); });
        if (!m_info.result)
            m_info.result = vbOK;
        std::erase(g_active, this);

        // The owner comes back before the box goes, so the owner is what gets activated.
        for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
            EnableWindow(*it, TRUE);
        if (m_info.hwnd && IsWindow(m_info.hwnd)) {
            window::SetWindowHandler(m_info.hwnd, nullptr);
            DestroyWindow(m_info.hwnd);
        }
        g_last = m_info;
        if (previousFocus && IsWindow(previousFocus))
            SetFocus(previousFocus);
        else if (owner && IsWindow(owner))
            SetFocus(owner);
        return *m_info.result;
    }

    std::optional<LRESULT> HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        POINT point { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        switch (message) {
        case WM_PAINT: Paint(); return 0;
        case WM_KEYDOWN:
            switch (wParam) {
            case VK_RETURN:
            case VK_SPACE: Dismiss(m_info.buttons[m_focus].result); break;
            case VK_ESCAPE: Dismiss(EscapeResult()); break;
            case VK_TAB:
            case VK_LEFT:
            case VK_RIGHT:
            case VK_UP:
            case VK_DOWN: {
                bool back = wParam == VK_LEFT || wParam == VK_UP
                    || (wParam == VK_TAB && (window::CurrentModifiers() & backends::ModShift));
                std::size_t count = m_info.buttons.size();
                m_focus = (m_focus + (back ? count - 1 : 1)) % count;
                Repaint();
                break;
            }
            default: break;
            }
            return 0;
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSCHAR: return 0;
        case WM_LBUTTONDOWN:
            if (std::optional<std::size_t> button = ButtonAt(point)) {
                m_pressed = button;
                m_pressedInside = true;
                m_focus = *button;
                SetCapture(m_info.hwnd);
                Repaint();
            }
            return 0;
        case WM_MOUSEMOVE:
            if (m_pressed) {
                bool inside = PtInRect(&m_info.buttons[*m_pressed].rect, point) != 0;
                if (inside != m_pressedInside) {
                    m_pressedInside = inside;
                    Repaint();
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (m_pressed) {
                std::size_t button = *m_pressed;
                bool inside = PtInRect(&m_info.buttons[button].rect, point) != 0;
                m_pressed.reset();
                ReleaseCapture();
                Repaint();
                if (inside)
                    Dismiss(m_info.buttons[button].result);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (m_pressed) {
                m_pressed.reset();
                Repaint();
            }
            return 0;
        case WM_CLOSE: Dismiss(EscapeResult()); return 0;
        case WM_DESTROY:
            // Destroyed from outside (the program is ending): the box is answered as by Esc.
            if (!m_info.result)
                m_info.result = EscapeResult();
            m_info.hwnd = nullptr;
            return 0;
        default: return std::nullopt;
        }
    }

private:
    int EscapeResult() const { return m_info.buttons.back().result; }

    void Dismiss(int result)
    {
        if (!m_info.result)
            m_info.result = result;
    }

    std::optional<std::size_t> ButtonAt(POINT point) const
    {
        for (std::size_t i = 0; i < m_info.buttons.size(); ++i)
            if (PtInRect(&m_info.buttons[i].rect, point))
                return i;
        return std::nullopt;
    }

    // Sizes the box to its text and places it over the owner; returns its screen rectangle.
    raster::IntRect Layout(HWND owner)
    {
        raster::IntRect screen = window::CurrentBackend().ScreenBounds();
        int textLeft = m_icon ? kMargin + kIconSize + kIconGap : kMargin + 1;
        int maximumText = std::max(40, screen.Width() * 6 / 10 - textLeft - kMargin);

        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, m_font.Handle());
        RECT measured { 0, 0, maximumText, 0 };
        if (!m_info.prompt.empty())
            DrawTextA(dc, m_info.prompt.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        DeleteDC(dc);
        int textWidth = std::min<int>(maximumText, measured.right - measured.left);
        int textHeight = std::max<int>(metrics.tmHeight, measured.bottom - measured.top);

        int buttonsWidth = static_cast<int>(m_info.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
        int width = std::max({ textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin, kMinimumWidth });
        int contentHeight = std::max(m_icon ? kIconSize : 0, textHeight);
        int textTop = kMargin + (contentHeight - textHeight) / 2;
        m_iconTop = kMargin + (contentHeight - kIconSize) / 2;
        m_textRect = RECT { textLeft, textTop, textLeft + textWidth, textTop + textHeight };
        int buttonTop = kMargin + contentHeight + kMargin + 1;
        int height = buttonTop + kButtonHeight + kMargin;
        int x = (width - buttonsWidth) / 2;
        for (MessageBoxButton& button : m_info.buttons) {
            button.rect = RECT { x, buttonTop, x + kButtonWidth, buttonTop + kButtonHeight };
            x += kButtonWidth + kButtonGap;
        }

        RECT around { screen.left, screen.top, screen.right, screen.bottom };
        if (owner && IsWindowVisible(owner))
            GetWindowRect(owner, &around);
        int left = around.left + (around.right - around.left - width) / 2;
        int top = around.top + (around.bottom - around.top - height) / 2;
        left = std::clamp(left, screen.left, std::max(screen.left, screen.right - width));
        top = std::clamp(top, screen.top, std::max(screen.top, screen.bottom - height));
        return raster::IntRect { left, top, left + width, top + height };
    }

    void Paint()
    {
        HWND hwnd = m_info.hwnd;
        if (!hwnd)
            return;
        HDC dc = window::GetWindowDC(hwnd);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        if (m_icon)
            DrawMessageIcon(dc, m_icon, kMargin, m_iconTop);
        HGDIOBJ old = SelectObject(dc, m_font.Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT text = m_textRect;
        DrawTextA(dc, m_info.prompt.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
        SelectObject(dc, old);
        for (std::size_t i = 0; i < m_info.buttons.size(); ++i) {
            const MessageBoxButton& button = m_info.buttons[i];
            DrawPushButton(dc, button.rect, button.caption, m_font.Handle(), i == m_focus, m_pressed == i && m_pressedInside);
        }
        ReleaseDC(hwnd, dc);
    }

    void Repaint()
    {
        Paint();
        UpdateWindow(m_info.hwnd);
    }

    MessageBoxInfo m_info;
    StdFont m_font { StdFont::DefaultSpec() };
    int m_icon = 0;
    int m_iconTop = kMargin;
    RECT m_textRect {};
    std::size_t m_focus = 0;
    std::optional<std::size_t> m_pressed;
    bool m_pressedInside = false;
};

} // namespace

std::optional<MessageBoxInfo> ActiveMessageBox()
{
    if (g_active.empty())
        return std::nullopt;
    return g_active.back()->Info();
}

std::optional<MessageBoxInfo> LastMessageBox() { return g_last; }

void ForgetLastMessageBox() { g_last.reset(); }

POINT MessageBoxButtonCentre(const MessageBoxInfo& box, std::size_t button)
{
    if (button >= box.buttons.size())
        return POINT { -1, -1 };
    const RECT& rect = box.buttons[button].rect;
    POINT centre { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
    ClientToScreen(box.hwnd, &centre);
    return centre;
}

// ---------------------------------------------------------------------------
// [SECTION] MsgBox

int MsgBox(const std::string& prompt, int style, const std::string& title, HWND owner)
{
    MessageBoxWindow box(prompt, style, title, owner);
    return box.Run();
}

} // namespace korvane::forms
