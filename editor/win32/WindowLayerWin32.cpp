#include "editor/win32/WindowLayerWin32.h"

#include "editor/win32/WindowClassWin32.h"

#include <algorithm>
#include <shellapi.h>
#include <wininet.h>

namespace tpm
{

namespace
{

constexpr int kDefaultFrameRate = 24;
constexpr int kWheelNotch = 120;
// Sent to a top-level window and to children after their parent, on a move to a monitor of another DPI.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;
constexpr double kStandardDpi = 96.0;

// The per-monitor DPI functions, looked up at run time: older systems (and some Wine versions) lack them.
using DpiContext = HANDLE;
using SetThreadDpiContextFn = DpiContext(WINAPI*)(DpiContext);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
const DpiContext kPerMonitorAwareV2 = reinterpret_cast<DpiContext>(static_cast<intptr_t>(-4));

template <class Fn> Fn User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// Makes windows created on this thread per-monitor DPI aware while it lives, so that the system sends
// the editor its DPI changes instead of stretching its bitmap.
class PerMonitorAwareness
{
  public:
    PerMonitorAwareness() : set(User32Function<SetThreadDpiContextFn>("SetThreadDpiAwarenessContext"))
    {
        if (set)
            previous = set(kPerMonitorAwareV2);
    }
    ~PerMonitorAwareness()
    {
        if (set && previous)
            set(previous);
    }
    PerMonitorAwareness(const PerMonitorAwareness&) = delete;
    PerMonitorAwareness& operator=(const PerMonitorAwareness&) = delete;

  private:
    SetThreadDpiContextFn set;
    DpiContext previous = nullptr;
};

int LowSigned(LPARAM v)
{
    return static_cast<short>(LOWORD(v));
}
int HighSigned(LPARAM v)
{
    return static_cast<short>(HIWORD(v));
}
bool KeyHeld(int virtualKey)
{
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// The modifier record of a mouse message from its key-state word; Alt is read as it is now.
MouseMod ModFromKeyState(WPARAM keys)
{
    MouseMod mod;
    mod.L = (keys & MK_LBUTTON) != 0;
    mod.R = (keys & MK_RBUTTON) != 0;
    mod.S = (keys & MK_SHIFT) != 0;
    mod.C = (keys & MK_CONTROL) != 0;
    mod.A = KeyHeld(VK_MENU);
    return mod;
}

// Space, arrows, digits and letters have editor key codes; other keys have none.
bool EditorKeyFromVirtualKey(WPARAM vk, EditorKey& key)
{
    const int base = [&] {
        switch (vk)
        {
        case VK_SPACE:
            return static_cast<int>(EditorKey::Space);
        case VK_UP:
            return static_cast<int>(EditorKey::Up);
        case VK_DOWN:
            return static_cast<int>(EditorKey::Down);
        case VK_LEFT:
            return static_cast<int>(EditorKey::Left);
        case VK_RIGHT:
            return static_cast<int>(EditorKey::Right);
        default:
            break;
        }
        if (vk >= '0' && vk <= '9')
            return static_cast<int>(EditorKey::Digit0) + static_cast<int>(vk - '0');
        if (vk >= 'A' && vk <= 'Z')
            return static_cast<int>(EditorKey::LetterA) + static_cast<int>(vk - 'A');
        if (vk >= 'a' && vk <= 'z')
            return static_cast<int>(EditorKey::LetterA) + static_cast<int>(vk - 'a');
        return -1;
    }();
    if (base < 0)
        return false;
    key = static_cast<EditorKey>(base);
    return true;
}

} // namespace

std::unique_ptr<IWindowLayer> WindowLayerWin32::Create(IWindowEvents& events, void* parent,
                                                       const PixelBox& bounds, int frameRate)
{
    if (!parent || !WindowClassWin32::Acquire(&WindowLayerWin32::Procedure))
        return nullptr;
    // From here the layer owns one count of the class; its destructor gives it back.
    std::unique_ptr<WindowLayerWin32> layer(
        new WindowLayerWin32(events, frameRate > 0 ? frameRate : kDefaultFrameRate));
    const auto make = [&] {
        return CreateWindowExA(0, WindowClassWin32::kName, "twinPulseToneMix", WS_CHILD | WS_VISIBLE,
                               bounds.left, bounds.top, bounds.W(), bounds.H(), static_cast<HWND>(parent),
                               nullptr, WindowClassWin32::Module(), layer.get());
    };
    HWND window = nullptr;
    {
        const PerMonitorAwareness awareness;
        window = make();
    }
    // A parent that allows no child of another DPI awareness gets one of its own kind.
    if (!window)
        window = make();
    if (!window)
        return nullptr;
    return layer;
}

WindowLayerWin32::~WindowLayerWin32()
{
    if (window_)
    {
        entry_.reset();
        KillTimer(window_, kFrameTimerId);
        // Detached first: nothing that happens during destruction reaches the editor any more.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    WindowClassWin32::Release();
}

LRESULT CALLBACK WindowLayerWin32::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
    {
        auto* self = static_cast<WindowLayerWin32*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetTimer(window, kFrameTimerId, static_cast<UINT>(std::max(1, 1000 / self->frameRate_)), nullptr);
        return 0;
    }
    auto* self = reinterpret_cast<WindowLayerWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || self->window_ != window)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

// Every event call is the last thing a branch does: the editor may close the window (and so destroy
// this object) from inside any of them.
LRESULT WindowLayerWin32::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = LowSigned(lParam);
    const int y = HighSigned(lParam);
    switch (message)
    {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_TIMER:
        if (wParam != kFrameTimerId)
            break;
        events_.OnFrameTick();
        return 0;
    case WM_MOUSEACTIVATE:
        if (focusOnClick_)
            SetFocus(window_);
        return MA_ACTIVATE;
    case WM_KEYDOWN:
    {
        EditorKey key{};
        POINT p{};
        if (!EditorKeyFromVirtualKey(wParam, key) || !GetCursorPos(&p))
            return 0; // keys without a code are swallowed, not passed on
        ScreenToClient(window_, &p);
        events_.OnKeyDown(p.x, p.y, key);
        return 0;
    }
    case WM_MOUSEMOVE:
        if ((wParam & (MK_LBUTTON | MK_RBUTTON)) != 0 && GetCapture() == window_)
            events_.OnMouseDrag(x, y, ModFromKeyState(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    {
        MouseMod mod = ModFromKeyState(wParam);
        (message == WM_LBUTTONUP ? mod.L : mod.R) = true; // which button was released
        ReleaseCapture();
        events_.OnMouseUp(x, y, mod);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        events_.OnMouseDoubleClick(x, y, ModFromKeyState(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: // a quick second right click is a right click, so its release pairs with a press
        SetCapture(window_);
        events_.OnMouseDown(x, y, ModFromKeyState(wParam));
        return 0;
    case WM_MOUSEWHEEL:
    {
        POINT p{x, y}; // screen coordinates
        ScreenToClient(window_, &p);
        const int steps = static_cast<short>(HIWORD(wParam)) / kWheelNotch;
        events_.OnMouseWheel(p.x, p.y, ModFromKeyState(LOWORD(wParam)), steps);
        return 0;
    }
    case WM_COMMAND:
        // A pick in the drop-down list is reported to the list's parent, this window.
        if (entry_ && reinterpret_cast<HWND>(lParam) == entry_->Handle() && HIWORD(wParam) == CBN_SELCHANGE)
        {
            events_.OnEntryCommit();
            return 0;
        }
        break;
    case kDpiChanged:
    case kDpiChangedAfterParent:
    {
        const auto dpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
        const UINT dpi = dpiForWindow ? dpiForWindow(window_) : 0;
        if (dpi > 0)
            events_.OnSystemScaleChanged(dpi / kStandardDpi);
        return 0;
    }
    case WM_CLOSE:
        events_.OnWindowClosing();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside (the parent went away): nothing is left to destroy later.
        KillTimer(window_, kFrameTimerId);
        window_ = nullptr;
        entry_.reset();
        events_.OnWindowClosing();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void WindowLayerWin32::Paint()
{
    RECT update{};
    if (!GetUpdateRect(window_, &update, FALSE))
        return;
    painting_ = true;
    presented_ = false;
    events_.OnPaint({update.left, update.top, update.right, update.bottom});
    painting_ = false;
    if (!presented_)
        ValidateRect(window_, nullptr); // nothing to show: do not ask again
}

void WindowLayerWin32::Present(const PixelSurface& surface, const PixelBox& region)
{
    if (!window_)
        return;
    if (painting_)
    {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window_, &ps);
        BlitToWindow(dc, surface, region);
        EndPaint(window_, &ps);
        presented_ = true;
        return;
    }
    HDC dc = GetDC(window_);
    BlitToWindow(dc, surface, region);
    ReleaseDC(window_, dc);
}

void WindowLayerWin32::BlitToWindow(HDC target, const PixelSurface& surface, const PixelBox& region) const
{
    auto* source = static_cast<HDC>(surface.NativeContext());
    if (target && source)
        BitBlt(target, region.left, region.top, region.W(), region.H(), source, region.left, region.top,
               SRCCOPY);
}

void WindowLayerWin32::Redraw(const PixelBox& region)
{
    if (!window_)
        return;
    RECT r{region.left, region.top, region.right, region.bottom};
    InvalidateRect(window_, &r, FALSE);
    if (entry_)
    {
        // The open field stays as it is; painting the editor under it would cover it.
        const PixelBox field = entry_->Box();
        RECT f{field.left, field.top, field.right, field.bottom};
        ValidateRect(window_, &f);
    }
    UpdateWindow(window_);
}

PixelBox WindowLayerWin32::Bounds() const
{
    if (!window_)
        return {};
    RECT r{};
    GetWindowRect(window_, &r);
    // In the parent's client coordinates, where the window was placed, so a reopened window keeps its place.
    MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

void WindowLayerWin32::Resize(int width, int height)
{
    if (window_)
        SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WindowLayerWin32::CursorInWindow(int& x, int& y) const
{
    POINT p{};
    if (!window_ || !GetCursorPos(&p) || WindowFromPoint(p) != window_)
        return false;
    ScreenToClient(window_, &p);
    x = p.x;
    y = p.y;
    return true;
}

MouseMod WindowLayerWin32::ModifierState() const
{
    MouseMod mod;
    mod.S = KeyHeld(VK_SHIFT);
    mod.C = KeyHeld(VK_CONTROL);
    mod.A = KeyHeld(VK_MENU);
    return mod;
}

void WindowLayerWin32::TakeFocus()
{
    focusOnClick_ = true;
    if (window_)
        SetFocus(window_);
}

bool WindowLayerWin32::OpenEntryField(const EntryFieldSpec& request)
{
    if (!window_ || entry_)
        return false;
    entry_ = EntryFieldWin32::Open(window_, request, events_);
    return entry_ != nullptr;
}

std::string WindowLayerWin32::EntryFieldText() const
{
    return entry_ ? entry_->Text() : std::string();
}

PixelBox WindowLayerWin32::EntryFieldBox() const
{
    return entry_ ? entry_->Box() : PixelBox{};
}

void WindowLayerWin32::CloseEntryField()
{
    entry_.reset();
}

bool WindowLayerWin32::OpenWebPage(const std::string& address)
{
    DWORD connection = 0;
    if (!InternetGetConnectedState(&connection, 0))
        return false;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window_, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool WindowLayerWin32::AskYesNo(const std::string& title, const std::string& text)
{
    return MessageBoxA(window_, text.c_str(), title.c_str(), MB_YESNO) == IDYES;
}

void WindowLayerWin32::ShowMessage(const std::string& title, const std::string& text)
{
    MessageBoxA(window_, text.c_str(), title.c_str(), MB_OK);
}

WindowLayerFactory PlatformWindowLayerFactory()
{
    return &WindowLayerWin32::Create;
}

} // namespace tpm
