#include "tools/vsthost/ProgramBarX11.h"

#include "draw/DrawText.h"
#include "draw/FontCache.h"
#include "draw/TextStyle.h"

#include <algorithm>
#include <utility>

namespace tpm
{
namespace
{
constexpr int kButtonWidth = 32;
constexpr int kRowHeight = 18;
constexpr int kFontHeight = 13;
constexpr int kTextInset = 8;
constexpr int kWheelRows = 3;
constexpr int kArrowWidth = 9;
constexpr uint32_t kBarColour = 0xFF2B2B2B;
constexpr uint32_t kButtonColour = 0xFF4A4A4A;
constexpr uint32_t kTextColour = 0xFFE8E8E8;
constexpr uint32_t kListColour = 0xFF202020;
constexpr uint32_t kCurrentRowColour = 0xFF3D5A80;

tpm::Font* BarFont()
{
    return tpm::FontCache::Instance().Get(kFontHeight, 0, 0, "Sans", tpm::TextStyle::kQualityDefault);
}

// Text left-aligned (or centred) and vertically centred in box.
void Label(tpm::PixelSurface& surface, const std::string& text, tpm::PixelBox box, int align)
{
    tpm::Font* font = BarFont();
    if (!font)
        return;
    box.top += (box.H() - kFontHeight) / 2;
    tpm::DrawText(surface, *font, kTextColour, text, box, align | tpm::kTextUseAlpha);
}

void Fill(tpm::PixelSurface& surface, const tpm::PixelBox& box, uint32_t colour)
{
    const tpm::PixelBox area = box.Intersect(surface.Bounds());
    for (int y = area.top; y < area.bottom; ++y)
        std::fill_n(surface.Row(y) + area.left, area.W(), colour);
}

xcb_window_t ChildWindow(const tpm::XcbConnection& conn, xcb_window_t parent, int y, int width, int height)
{
    xcb_connection_t* c = conn.Get();
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {conn.Screen().black_pixel,
                               XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent, 0, static_cast<int16_t>(y),
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, conn.Screen().root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    return window;
}
} // namespace

ProgramBarX11::ProgramBarX11(const tpm::XcbConnection& conn, const tpm::XcbPixelFormat& format,
                             xcb_window_t parent, int width, int listHeight, std::vector<std::string> names)
    : conn_(conn), width_(width), listHeight_(listHeight), names_(std::move(names)),
      barSurface_(width, kHeight), listSurface_(width, listHeight)
{
    bar_ = ChildWindow(conn, parent, 0, width, kHeight);
    list_ = ChildWindow(conn, parent, kHeight, width, listHeight);
    barPresenter_ = std::make_unique<tpm::XcbImagePresenter>(conn, format, bar_, width, kHeight);
    listPresenter_ = std::make_unique<tpm::XcbImagePresenter>(conn, format, list_, width, listHeight);
    xcb_map_window(conn.Get(), bar_);
}

ProgramBarX11::~ProgramBarX11()
{
    barPresenter_.reset();
    listPresenter_.reset();
    xcb_destroy_window(conn_.Get(), list_);
    xcb_destroy_window(conn_.Get(), bar_);
}

bool ProgramBarX11::Handle(const xcb_generic_event_t& event)
{
    const uint8_t type = event.response_type & 0x7F;
    if (type == XCB_EXPOSE)
    {
        const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
        if (expose.window == bar_)
            PaintBar();
        else if (expose.window == list_)
            PaintList();
        return expose.window == bar_ || expose.window == list_;
    }
    if (type == XCB_BUTTON_PRESS)
    {
        const auto& press = reinterpret_cast<const xcb_button_press_event_t&>(event);
        if (press.event != bar_ && press.event != list_)
            return false;
        Click(press.event, press.event_x, press.event_y, press.detail);
        return true;
    }
    return false;
}

void ProgramBarX11::Show(int index, const std::string& name)
{
    current_ = index;
    currentName_ = name;
    if (index >= 0 && index < static_cast<int>(names_.size()))
        names_[static_cast<std::size_t>(index)] = name;
    PaintBar();
    if (listOpen_)
        PaintList();
}

int ProgramBarX11::TakeChoice()
{
    return std::exchange(choice_, -1);
}

void ProgramBarX11::Click(xcb_window_t window, int x, int y, int button)
{
    const int count = static_cast<int>(names_.size());
    if (window == list_)
    {
        if (button == 4 || button == 5) // the wheel
        {
            Scroll(button == 4 ? -kWheelRows : kWheelRows);
            return;
        }
        const int row = firstRow_ + y / kRowHeight;
        if (button == 1 && row < count)
        {
            choice_ = row;
            OpenList(false);
        }
        return;
    }
    if (button != 1 || count == 0)
        return;
    if (x < kButtonWidth)
        choice_ = ((current_ < 0 ? 0 : current_) - 1 + count) % count;
    else if (x >= width_ - kButtonWidth)
        choice_ = (current_ + 1) % count;
    else
        OpenList(!listOpen_);
}

void ProgramBarX11::OpenList(bool open)
{
    listOpen_ = open;
    if (open)
    {
        // The current program in view, near the middle.
        firstRow_ = 0;
        Scroll(current_ - VisibleRows() / 2);
        xcb_map_window(conn_.Get(), list_);
    }
    else
        xcb_unmap_window(conn_.Get(), list_);
    PaintBar();
}

void ProgramBarX11::Scroll(int rows)
{
    const int last = std::max(0, static_cast<int>(names_.size()) - VisibleRows());
    firstRow_ = std::clamp(firstRow_ + rows, 0, last);
    PaintList();
}

int ProgramBarX11::VisibleRows() const
{
    return std::max(1, listHeight_ / kRowHeight);
}

void ProgramBarX11::PaintBar()
{
    barSurface_.Clear(kBarColour);
    const tpm::PixelBox previous{2, 2, kButtonWidth - 2, kHeight - 2};
    const tpm::PixelBox next{width_ - kButtonWidth + 2, 2, width_ - 2, kHeight - 2};
    Fill(barSurface_, previous, kButtonColour);
    Fill(barSurface_, next, kButtonColour);
    Label(barSurface_, "<", previous, tpm::kTextAlignCentre);
    Label(barSurface_, ">", next, tpm::kTextAlignCentre);
    const std::string text = current_ < 0 ? "" : std::to_string(current_) + ": " + currentName_;
    const int arrowLeft = width_ - kButtonWidth - kTextInset - kArrowWidth;
    Label(barSurface_, text, {kButtonWidth + kTextInset, 0, arrowLeft - kTextInset, kHeight},
          tpm::kTextAlignLeft);
    // A small triangle says the name opens the list: pointing down, or up while the list is open.
    const int arrowTop = (kHeight - kArrowWidth / 2) / 2;
    for (int row = 0; row <= kArrowWidth / 2; ++row)
    {
        const int inset = listOpen_ ? kArrowWidth / 2 - row : row;
        Fill(barSurface_,
             {arrowLeft + inset, arrowTop + row, arrowLeft + kArrowWidth - inset, arrowTop + row + 1},
             kTextColour);
    }
    barPresenter_->Put(barSurface_, barSurface_.Bounds());
}

void ProgramBarX11::PaintList()
{
    if (!listOpen_)
        return;
    listSurface_.Clear(kListColour);
    for (int row = 0; row < VisibleRows() && firstRow_ + row < static_cast<int>(names_.size()); ++row)
    {
        const int index = firstRow_ + row;
        const tpm::PixelBox box{0, row * kRowHeight, width_, (row + 1) * kRowHeight};
        if (index == current_)
            Fill(listSurface_, box, kCurrentRowColour);
        Label(listSurface_, std::to_string(index) + ": " + names_[static_cast<std::size_t>(index)],
              {kTextInset, box.top, width_ - kTextInset, box.bottom}, tpm::kTextAlignLeft);
    }
    listPresenter_->Put(listSurface_, listSurface_.Bounds());
}
} // namespace tpm
