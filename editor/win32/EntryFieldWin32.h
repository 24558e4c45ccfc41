// The small native field over a control in which a value is typed ("EDIT") or picked ("COMBOBOX").
// Its own window procedure is wrapped so that focus, typing and Enter reach the editor's events; the
// wrapping is undone before the field is destroyed.
#pragma once

#include "editor/IWindowLayer.h"

#include <memory>
#include <string>
#include <windows.h>

namespace tpm
{

class EntryFieldWin32
{
  public:
    static constexpr int kControlId = 99;

    // Opens the field as a child of `editor` with keyboard focus; null when it cannot be made.
    static std::unique_ptr<EntryFieldWin32> Open(HWND editor, const EntryFieldSpec& request,
                                                 IWindowEvents& events);
    ~EntryFieldWin32();
    EntryFieldWin32(const EntryFieldWin32&) = delete;
    EntryFieldWin32& operator=(const EntryFieldWin32&) = delete;

    HWND Handle() const { return field_; }
    // The typed text, or the picked entry of a list (at most 999 characters).
    std::string Text() const;
    // The field's client area in the editor's coordinates.
    PixelBox Box() const;

  private:
    EntryFieldWin32(HWND editor, bool isList, IWindowEvents& events)
        : editor_(editor), isList_(isList), events_(events)
    {
    }
    static LRESULT CALLBACK Procedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam);

    HWND editor_;
    bool isList_;
    IWindowEvents& events_;
    HWND field_ = nullptr;
    HFONT font_ = nullptr;
    WNDPROC previous_ = nullptr;
};

} // namespace tpm
