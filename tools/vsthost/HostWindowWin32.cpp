// The host window on Windows: a plain captioned top-level window; closing it only marks it closed, so
// the command can close the editor before the window goes away. With program names, a bar of native
// controls (previous, a drop-down list of every program, next) sits above the editor's child window.
#include "tools/vsthost/HostWindow.h"

#include <utility>
#include <windows.h>

namespace tpm
{
namespace
{

constexpr const char* kClassName = "VsthostEditorHost";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kPosition = 40; // a fixed place: without a window manager it stays where it is put
constexpr int kBarHeight = 28;
constexpr int kButtonWidth = 32;
constexpr int kListDropHeight = 400;
constexpr int kPreviousId = 1;
constexpr int kListId = 2;
constexpr int kNextId = 3;

class HostWindowWin32 final : public HostWindow
{
  public:
    HostWindowWin32(HWND window, std::string title)
        : window_(window), editorParent_(window), title_(std::move(title))
    {
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~HostWindowWin32() override
    {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    HostWindowWin32(const HostWindowWin32&) = delete;
    HostWindowWin32& operator=(const HostWindowWin32&) = delete;

    void* ParentHandle() override { return editorParent_; }
    // Every editor vsthost hosts on Windows tells its size before it opens: none asks for another.
    bool Resize(int, int) override { return false; }

    // The bar's controls across the top, and the editor's own child window below them.
    void AddProgramBar(int width, int height, const std::vector<std::string>& programs)
    {
        HINSTANCE module = GetModuleHandleA(nullptr);
        const DWORD child = WS_CHILD | WS_VISIBLE;
        auto control = [&](const char* type, const char* text, DWORD style, int x, int w, int h, int id) {
            HWND made = CreateWindowExA(0, type, text, child | style, x, 2, w, h, window_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
            SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
            return made;
        };
        control("BUTTON", "<", BS_PUSHBUTTON, 2, kButtonWidth - 4, kBarHeight - 4, kPreviousId);
        list_ = control("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, kButtonWidth, width - 2 * kButtonWidth,
                        kListDropHeight, kListId);
        control("BUTTON", ">", BS_PUSHBUTTON, width - kButtonWidth + 2, kButtonWidth - 4, kBarHeight - 4,
                kNextId);
        for (std::size_t i = 0; i < programs.size(); ++i)
            SendMessageA(list_, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>((std::to_string(i) + ": " + programs[i]).c_str()));
        count_ = static_cast<int>(programs.size());
        editorParent_ = CreateWindowExA(0, kClassName, "", child, 0, kBarHeight, width, height, window_,
                                        nullptr, module, nullptr);
    }

    void ShowProgram(int index, const std::string& name) override
    {
        if (!list_)
            return;
        current_ = index;
        // The list's entry follows a renamed program; the selection shows the current one.
        SendMessageA(list_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendMessageA(list_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>((std::to_string(index) + ": " + name).c_str()));
        SendMessageA(list_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetWindowTextA(window_, (title_ + " - " + name).c_str());
    }

    int TakeProgramChoice() override { return std::exchange(choice_, -1); }

    bool PumpEvents(int waitMs) override
    {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(waitMs > 0 ? waitMs : 0),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
                closed_ = true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return !closed_;
    }

    bool CapturePixels(std::vector<uint32_t>& argb, int& width, int& height, std::string& error) override
    {
        RECT client{};
        GetClientRect(editorParent_, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC windowDc = GetDC(editorParent_);
        HDC memoryDc = CreateCompatibleDC(windowDc);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = bitmap && bits && width > 0 && height > 0;
        if (ok)
        {
            HGDIOBJ previous = SelectObject(memoryDc, bitmap);
            ok = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != 0;
            GdiFlush();
            const auto* pixels = static_cast<const uint32_t*>(bits);
            argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
            for (size_t i = 0; i < argb.size(); ++i)
                argb[i] = pixels[i] | 0xFF000000u; // the screen is opaque
            SelectObject(memoryDc, previous);
        }
        if (bitmap)
            DeleteObject(bitmap);
        DeleteDC(memoryDc);
        ReleaseDC(editorParent_, windowDc);
        if (!ok)
            error = "could not read the window's pixels";
        return ok;
    }

    void ScreenOrigin(int& x, int& y) override
    {
        POINT p{0, 0};
        ClientToScreen(editorParent_, &p);
        x = p.x;
        y = p.y;
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<HostWindowWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_CLOSE)
        {
            self->closed_ = true;
            return 0;
        }
        if (self && message == WM_COMMAND)
        {
            self->Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

  private:
    void Command(int id, int code)
    {
        if (count_ == 0)
            return;
        if (id == kPreviousId && code == BN_CLICKED)
            choice_ = ((current_ < 0 ? 0 : current_) - 1 + count_) % count_;
        else if (id == kNextId && code == BN_CLICKED)
            choice_ = (current_ + 1) % count_;
        else if (id == kListId && code == CBN_SELCHANGE)
            choice_ = static_cast<int>(SendMessageA(list_, CB_GETCURSEL, 0, 0));
        if (choice_ >= 0)
            SetFocus(window_); // keys go back to the editor, not the list
    }

    HWND window_;
    HWND editorParent_;
    HWND list_ = nullptr;
    std::string title_;
    int count_ = 0;
    int current_ = -1;
    int choice_ = -1;
    bool closed_ = false;
};

} // namespace

std::unique_ptr<HostWindow> HostWindow::Create(int width, int height, const std::string& title,
                                               std::string& error, const std::vector<std::string>& programs)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(module, kClassName, &wc))
    {
        wc.lpfnWndProc = &HostWindowWin32::Procedure;
        wc.hInstance = module;
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = kClassName;
        if (!RegisterClassA(&wc))
        {
            error = "could not register the host window class";
            return nullptr;
        }
    }
    const int barHeight = programs.empty() ? 0 : kBarHeight;
    RECT frame{0, 0, width, height + barHeight};
    AdjustWindowRect(&frame, kStyle, FALSE);
    HWND window =
        CreateWindowExA(0, kClassName, title.c_str(), kStyle, kPosition, kPosition, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, module, nullptr);
    if (!window)
    {
        error = "could not create the host window (is there a display?)";
        return nullptr;
    }
    auto host = std::make_unique<HostWindowWin32>(window, title);
    if (!programs.empty())
        host->AddProgramBar(width, height, programs);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return host;
}
} // namespace tpm
