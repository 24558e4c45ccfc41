// The player's program bar on X11: a strip above the editor with the current program's name between
// previous and next buttons; a click on the name opens the list of every program over the editor,
// where a click picks one and the wheel scrolls. Drawn with the project's raster library.
#pragma once

#include "draw/PixelSurface.h"
#include "editor/x11/XcbConnection.h"
#include "editor/x11/XcbImagePresenter.h"
#include "editor/x11/XcbPixelFormat.h"

#include <memory>
#include <string>
#include <vector>

namespace tpm
{
class ProgramBarX11
{
  public:
    static constexpr int kHeight = 28;

    // Child windows of `parent`: the bar at its top, the list (hidden) over the `listHeight` below.
    ProgramBarX11(const tpm::XcbConnection& conn, const tpm::XcbPixelFormat& format, xcb_window_t parent,
                  int width, int listHeight, std::vector<std::string> names);
    ~ProgramBarX11();
    ProgramBarX11(const ProgramBarX11&) = delete;
    ProgramBarX11& operator=(const ProgramBarX11&) = delete;

    // True when the event was for the bar or its list.
    bool Handle(const xcb_generic_event_t& event);
    void Show(int index, const std::string& name);
    // The program the user picked since the last call, or -1.
    int TakeChoice();

  private:
    void Click(xcb_window_t window, int x, int y, int button);
    void OpenList(bool open);
    void Scroll(int rows);
    void PaintBar();
    void PaintList();
    int VisibleRows() const;

    const tpm::XcbConnection& conn_;
    xcb_window_t bar_ = 0;
    xcb_window_t list_ = 0;
    int width_;
    int listHeight_;
    std::vector<std::string> names_;
    tpm::PixelSurface barSurface_;
    tpm::PixelSurface listSurface_;
    std::unique_ptr<tpm::XcbImagePresenter> barPresenter_;
    std::unique_ptr<tpm::XcbImagePresenter> listPresenter_;
    int current_ = -1;
    std::string currentName_;
    int choice_ = -1;
    bool listOpen_ = false;
    int firstRow_ = 0; // the list's top row when scrolled
};
} // namespace tpm
