#pragma once

#include "draw/PixelSurface.h"
#include "editor/IWindowLayer.h"
#include "editor/x11/XcbConnection.h"
#include "editor/x11/XcbImagePresenter.h"
#include "editor/x11/XcbKeyboard.h"
#include "editor/x11/XcbPixelFormat.h"

#include <memory>
#include <string>

namespace tpm
{

class Font;

// The entry field without native widgets: a child window of the editor holding either a one-line text
// box (caret, typing, backspace, opened with all its text selected so typing replaces it) or an open
// choice list, drawn with our own drawing library. It only reports what the user did; the editor
// decides when to apply the value and close it.
class X11EntryField
{
  public:
    enum class Outcome
    {
        None,
        Typing,
        Commit,
        Cancel,
    };

    static constexpr int kRowHeight = 16;
    static constexpr size_t kMaxLength = 999;

    // `area` is the editor's client box; the field is kept inside it.
    X11EntryField(const XcbConnection& conn, const XcbPixelFormat& format, xcb_window_t parent,
                  const EntryFieldSpec& request, const PixelBox& area);
    ~X11EntryField();
    X11EntryField(const X11EntryField&) = delete;
    X11EntryField& operator=(const X11EntryField&) = delete;

    xcb_window_t Window() const { return window_; }
    const PixelBox& Box() const { return box_; }
    // The typed text, or the picked choice ("" when none is picked).
    std::string Text() const;

    Outcome OnKey(uint32_t symbol);
    // A press at field coordinates with X button `button`.
    Outcome OnPress(int x, int y, int button);
    void Paint();

  private:
    Outcome OnTextKey(uint32_t symbol);
    Outcome OnListKey(uint32_t symbol);
    void PaintText(Font& font);
    void PaintList(Font& font);

    const XcbConnection& conn_;
    EntryFieldSpec spec_;
    PixelBox box_;
    xcb_window_t window_ = 0;
    PixelSurface surface_;
    std::unique_ptr<XcbImagePresenter> presenter_;
    std::string text_;
    size_t caret_ = 0;
    bool allSelected_ = true;
    int selected_ = -1;
};

} // namespace tpm
