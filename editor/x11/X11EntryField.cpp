#include "editor/x11/X11EntryField.h"

#include "draw/DrawText.h"
#include "draw/FontCache.h"
#include "draw/Raster.h"

#include <algorithm>
#include <cmath>

namespace tpm
{

namespace
{

constexpr uint32_t kPaper = 0xFFFFFFFF;
constexpr uint32_t kInk = 0xFF000000;
constexpr uint32_t kFrame = 0xFF7A7A7A;
constexpr uint32_t kHighlight = 0xFF3399FF;
constexpr uint32_t kHighlightInk = 0xFFFFFFFF;
constexpr int kFontHeight = 14;
constexpr int kListPadding = 4;

// Sizes of the field at the editor's scale.
int Scaled(int size, const EntryFieldSpec& request)
{
    return static_cast<int>(std::lround(size * request.scale));
}

// The box moved (not shrunk, unless it is larger) so that it lies inside `area`.
PixelBox KeepInside(PixelBox box, const PixelBox& area)
{
    const int w = std::min(std::max(box.W(), 1), area.W());
    const int h = std::min(std::max(box.H(), 1), area.H());
    const int left = std::clamp(box.left, area.left, area.right - w);
    const int top = std::clamp(box.top, area.top, area.bottom - h);
    return {left, top, left + w, top + h};
}

PixelBox FieldBox(const EntryFieldSpec& request, const PixelBox& area)
{
    PixelBox box = request.box;
    if (request.kind == EntryFieldSpec::Kind::List)
    {
        // The list is shown open, one row per choice, at the width the editor asked for.
        size_t longest = 0;
        for (const std::string& c : request.choices)
            longest = std::max(longest, c.size());
        const int width = box.W() > 0 ? box.W() : std::max(24, 8 * static_cast<int>(longest) + 24);
        const int rows = std::max(1, static_cast<int>(request.choices.size()));
        box = {box.left, box.top, box.left + width,
               box.top + rows * Scaled(X11EntryField::kRowHeight, request) + 2};
    }
    return KeepInside(box, area);
}

} // namespace

X11EntryField::X11EntryField(const XcbConnection& conn, const XcbPixelFormat& format, xcb_window_t parent,
                             const EntryFieldSpec& request, const PixelBox& area)
    : conn_(conn), spec_(request), box_(FieldBox(request, area)), surface_(box_.W(), box_.H())
{
    if (spec_.kind == EntryFieldSpec::Kind::Text)
    {
        text_ = spec_.text.substr(0, kMaxLength);
        caret_ = text_.size();
    }
    else if (spec_.selected >= 0 && spec_.selected < static_cast<int>(spec_.choices.size()))
    {
        selected_ = spec_.selected;
    }

    xcb_connection_t* c = conn_.Get();
    window_ = xcb_generate_id(c);
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                   XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_FOCUS_CHANGE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, parent, static_cast<int16_t>(box_.left),
                      static_cast<int16_t>(box_.top), static_cast<uint16_t>(box_.W()),
                      static_cast<uint16_t>(box_.H()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(c, window_);
    presenter_ = std::make_unique<XcbImagePresenter>(conn_, format, window_, box_.W(), box_.H());
    // Keyboard focus comes with the field, as with a native one.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window_, XCB_CURRENT_TIME);
    Paint();
}

X11EntryField::~X11EntryField()
{
    presenter_.reset();
    xcb_destroy_window(conn_.Get(), window_);
    xcb_flush(conn_.Get());
}

std::string X11EntryField::Text() const
{
    if (spec_.kind == EntryFieldSpec::Kind::Text)
        return text_;
    return selected_ >= 0 ? spec_.choices[static_cast<size_t>(selected_)] : std::string();
}

X11EntryField::Outcome X11EntryField::OnKey(uint32_t symbol)
{
    const Outcome outcome = spec_.kind == EntryFieldSpec::Kind::Text ? OnTextKey(symbol) : OnListKey(symbol);
    Paint();
    return outcome;
}

X11EntryField::Outcome X11EntryField::OnTextKey(uint32_t symbol)
{
    using Edit = XcbKeyboard::Edit;
    const Edit edit = XcbKeyboard::EditFor(symbol);
    const char typed = XcbKeyboard::CharacterFor(symbol);
    if (edit == Edit::Enter)
    {
        allSelected_ = false;
        return Outcome::Commit;
    }
    if (edit == Edit::Escape)
        return Outcome::Cancel;
    if (allSelected_ && (edit == Edit::Backspace || edit == Edit::Delete || typed != 0))
    {
        text_.clear();
        caret_ = 0;
    }
    else if (edit == Edit::Backspace && caret_ > 0)
    {
        text_.erase(--caret_, 1);
    }
    else if (edit == Edit::Delete && caret_ < text_.size())
    {
        text_.erase(caret_, 1);
    }
    else if (edit == Edit::Left && caret_ > 0)
    {
        --caret_;
    }
    else if (edit == Edit::Right && caret_ < text_.size())
    {
        ++caret_;
    }
    else if (edit == Edit::Home)
    {
        caret_ = 0;
    }
    else if (edit == Edit::End)
    {
        caret_ = text_.size();
    }
    if (edit == Edit::None && typed != 0 && text_.size() < kMaxLength)
        text_.insert(caret_++, 1, typed);
    if (edit != Edit::None || typed != 0)
        allSelected_ = false;
    return Outcome::Typing;
}

X11EntryField::Outcome X11EntryField::OnListKey(uint32_t symbol)
{
    using Edit = XcbKeyboard::Edit;
    const int count = static_cast<int>(spec_.choices.size());
    switch (XcbKeyboard::EditFor(symbol))
    {
    case Edit::Enter:
        return Outcome::Commit;
    case Edit::Escape:
        return Outcome::Cancel;
    case Edit::Up:
        if (count > 0)
            selected_ = std::max(0, selected_ - 1);
        return Outcome::Typing;
    case Edit::Down:
        if (count > 0)
            selected_ = std::min(count - 1, selected_ + 1);
        return Outcome::Typing;
    default:
        return Outcome::Typing;
    }
}

X11EntryField::Outcome X11EntryField::OnPress(int x, int y, int button)
{
    (void)x;
    if (button != XCB_BUTTON_INDEX_1)
        return Outcome::None;
    if (spec_.kind == EntryFieldSpec::Kind::Text)
    {
        allSelected_ = false;
        caret_ = text_.size();
        Paint();
        return Outcome::None;
    }
    const int row = (y - 1) / Scaled(kRowHeight, spec_);
    if (y < 1 || row >= static_cast<int>(spec_.choices.size()))
        return Outcome::None;
    selected_ = row;
    Paint();
    return Outcome::Commit;
}

void X11EntryField::Paint()
{
    surface_.Clear(kPaper);
    const int w = box_.W();
    const int h = box_.H();
    FillRect(surface_, 0, 0, w, 1, kFrame, 1.0f, kBlendCopy);
    FillRect(surface_, 0, h - 1, w, 1, kFrame, 1.0f, kBlendCopy);
    FillRect(surface_, 0, 0, 1, h, kFrame, 1.0f, kBlendCopy);
    FillRect(surface_, w - 1, 0, 1, h, kFrame, 1.0f, kBlendCopy);
    if (Font* font =
            FontCache::Instance().Get(Scaled(kFontHeight, spec_), 0, 0, "Arial", TextStyle::kQualityDefault))
    {
        if (spec_.kind == EntryFieldSpec::Kind::Text)
            PaintText(*font);
        else
            PaintList(*font);
    }
    presenter_->Put(surface_, surface_.Bounds());
}

void X11EntryField::PaintText(Font& font)
{
    const PixelBox inner{1, 1, box_.W() - 1, box_.H() - 1};
    TextCoverage centred;
    const bool inked = !text_.empty() && font.RenderCoverage(text_, inner, kTextAlignCentre, centred) &&
                       !centred.box.Empty();
    if (allSelected_ && inked)
    {
        const PixelBox mark =
            PixelBox{centred.box.left - 1, inner.top, centred.box.right + 1, inner.bottom}.Intersect(inner);
        FillRect(surface_, mark.left, mark.top, mark.W(), mark.H(), kHighlight, 1.0f, kBlendCopy);
        DrawText(surface_, font, kHighlightInk, text_, inner, kTextAlignCentre);
        return;
    }
    DrawText(surface_, font, kInk, text_, inner, kTextAlignCentre);
    // The caret sits after the ink of the text before it, shifted as the centring shifts the line.
    int caretX = inner.left + inner.W() / 2;
    TextCoverage whole;
    if (inked && font.RenderCoverage(text_, inner, kTextAlignLeft, whole) && !whole.box.Empty())
    {
        const int shift = centred.box.left - whole.box.left;
        caretX = inner.left + shift;
        TextCoverage before;
        if (caret_ > 0 &&
            font.RenderCoverage(std::string_view(text_).substr(0, caret_), inner, kTextAlignLeft, before) &&
            !before.box.Empty())
            caretX = before.box.right + shift + 1;
    }
    caretX = std::clamp(caretX, inner.left, inner.right - 1);
    FillRect(surface_, caretX, inner.top + 1, 1, inner.H() - 2, kInk, 1.0f, kBlendCopy);
}

void X11EntryField::PaintList(Font& font)
{
    for (int i = 0; i < static_cast<int>(spec_.choices.size()); ++i)
    {
        const int rowHeight = Scaled(kRowHeight, spec_);
        const PixelBox row{1, 1 + i * rowHeight, box_.W() - 1, 1 + (i + 1) * rowHeight};
        if (i == selected_)
            FillRect(surface_, row.left, row.top, row.W(), row.H(), kHighlight, 1.0f, kBlendCopy);
        const PixelBox textBox{row.left + kListPadding, row.top + 1, row.right - kListPadding, row.bottom};
        DrawText(surface_, font, i == selected_ ? kHighlightInk : kInk, spec_.choices[static_cast<size_t>(i)],
                 textBox, kTextAlignLeft);
    }
}

} // namespace tpm
