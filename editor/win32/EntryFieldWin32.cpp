#include "editor/win32/EntryFieldWin32.h"

#include <cmath>

namespace tpm
{

std::unique_ptr<EntryFieldWin32> EntryFieldWin32::Open(HWND editor, const EntryFieldSpec& request,
                                                       IWindowEvents& events)
{
    const bool isList = request.kind == EntryFieldSpec::Kind::List;
    std::unique_ptr<EntryFieldWin32> entry(new EntryFieldWin32(editor, isList, events));
    const DWORD style =
        isList ? WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST : WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE;
    entry->field_ =
        CreateWindowExA(0, isList ? "COMBOBOX" : "EDIT", isList ? "" : request.text.c_str(), style,
                        request.box.left, request.box.top, request.box.W(), request.box.H(), editor,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(editor, GWLP_HINSTANCE)), nullptr);
    if (!entry->field_)
        return nullptr;
    HWND field = entry->field_;
    entry->font_ = CreateFontA(static_cast<int>(std::lround(14 * request.scale)), 0, 0, 0, FW_DONTCARE, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    if (entry->font_)
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(entry->font_), FALSE);
    if (isList)
    {
        for (const std::string& choice : request.choices)
            SendMessageA(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
        if (request.selected >= 0 && request.selected < static_cast<int>(request.choices.size()))
            SendMessageA(field, CB_SETCURSEL, static_cast<WPARAM>(request.selected), 0);
    }
    else
    {
        SendMessageA(field, EM_SETSEL, 0, -1);
    }
    SetWindowLongPtrA(field, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(entry.get()));
    entry->previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EntryFieldWin32::Procedure)));
    SetFocus(field);
    return entry;
}

EntryFieldWin32::~EntryFieldWin32()
{
    if (field_)
    {
        // Unhook first, so the focus loss during destruction is not reported.
        SetWindowLongPtrA(field_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        SetWindowLongPtrA(field_, GWLP_USERDATA, 0);
        DestroyWindow(field_);
    }
    if (font_)
        DeleteObject(font_);
}

std::string EntryFieldWin32::Text() const
{
    char text[1000] = {};
    SendMessageA(field_, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

PixelBox EntryFieldWin32::Box() const
{
    RECT r{};
    GetClientRect(field_, &r);
    MapWindowPoints(field_, editor_, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

LRESULT CALLBACK EntryFieldWin32::Procedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<EntryFieldWin32*>(GetWindowLongPtrA(field, GWLP_USERDATA));
    if (!self || self->field_ != field)
        return DefWindowProcA(field, message, wParam, lParam);
    // The events may close the field; everything needed afterwards is copied first.
    const WNDPROC previous = self->previous_;
    IWindowEvents& events = self->events_;
    switch (message)
    {
    case WM_SETFOCUS:
        events.OnEntryFocus(true);
        break;
    case WM_KILLFOCUS:
        events.OnEntryFocus(false);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
        {
            if (!self->isList_)
                SendMessageA(field, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            events.OnEntryCommit();
            return 0;
        }
        events.OnEntryTyping();
        break;
    case WM_CHAR:
        // The character of Enter would otherwise put a line break into the multi-line field.
        if (wParam == '\r' || wParam == '\n')
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(previous, field, message, wParam, lParam);
}

} // namespace tpm
