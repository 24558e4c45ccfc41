// The host window on Windows: a plain captioned top-level window; closing it only marks it closed, so
// the command can close the editor before the window goes away.
#include "tools/vsthost/HostWindow.h"

#include <windows.h>

namespace
{

constexpr const char* kClassName = "VsthostEditorHost";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kPosition = 40; // a fixed place: without a window manager it stays where it is put

class HostWindowWin32 final : public HostWindow
{
  public:
    explicit HostWindowWin32(HWND window) : window_(window)
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

    void* ParentHandle() override { return window_; }

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
        GetClientRect(window_, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC windowDc = GetDC(window_);
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
        ReleaseDC(window_, windowDc);
        if (!ok)
            error = "could not read the window's pixels";
        return ok;
    }

    void ScreenOrigin(int& x, int& y) override
    {
        POINT p{0, 0};
        ClientToScreen(window_, &p);
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
        return DefWindowProcA(window, message, wParam, lParam);
    }

  private:
    HWND window_;
    bool closed_ = false;
};

} // namespace

std::unique_ptr<HostWindow> HostWindow::Create(int width, int height, const std::string& title,
                                               std::string& error)
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
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, kStyle, FALSE);
    HWND window =
        CreateWindowExA(0, kClassName, title.c_str(), kStyle, kPosition, kPosition, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, module, nullptr);
    if (!window)
    {
        error = "could not create the host window (is there a display?)";
        return nullptr;
    }
    auto host = std::make_unique<HostWindowWin32>(window);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return host;
}
