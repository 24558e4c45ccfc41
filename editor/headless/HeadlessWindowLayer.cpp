#include "editor/headless/HeadlessWindowLayer.h"

#include <algorithm>
#include <atomic>

namespace tpm
{

namespace
{
std::atomic<int> openWindows{0};
} // namespace

HeadlessWindowLayer::HeadlessWindowLayer(IWindowEvents& windowEvents, const PixelBox& box)
    : events(windowEvents), bounds(box)
{
    ++openWindows;
}

HeadlessWindowLayer::~HeadlessWindowLayer()
{
    --openWindows;
}

std::unique_ptr<IWindowLayer> HeadlessWindowLayer::Create(IWindowEvents& events, void*,
                                                          const PixelBox& bounds, int)
{
    return std::make_unique<HeadlessWindowLayer>(events, bounds);
}

int HeadlessWindowLayer::OpenCount()
{
    return openWindows.load();
}

void HeadlessWindowLayer::Redraw(const PixelBox& region)
{
    redraws.push_back(region);
    events.OnPaint(region);
}

void HeadlessWindowLayer::Present(const PixelSurface&, const PixelBox& region)
{
    presents.push_back(region);
}

bool HeadlessWindowLayer::CursorInWindow(int& x, int& y) const
{
    x = cursorX;
    y = cursorY;
    return cursorInside;
}

void HeadlessWindowLayer::SetCursor(int x, int y, bool inside)
{
    cursorX = x;
    cursorY = y;
    cursorInside = inside;
}

void HeadlessWindowLayer::Press(int x, int y, const MouseMod& mod)
{
    captured = true;
    events.OnMouseDown(x, y, mod);
}

void HeadlessWindowLayer::Move(int x, int y, const MouseMod& mod)
{
    if (captured && (mod.L || mod.R))
        events.OnMouseDrag(x, y, mod);
}

void HeadlessWindowLayer::Release(int x, int y, const MouseMod& mod)
{
    captured = false;
    events.OnMouseUp(x, y, mod);
}

void HeadlessWindowLayer::DoubleClick(int x, int y, const MouseMod& mod)
{
    events.OnMouseDoubleClick(x, y, mod);
}

void HeadlessWindowLayer::Wheel(int x, int y, const MouseMod& mod, int delta)
{
    events.OnMouseWheel(x, y, mod, delta / 120);
}

bool HeadlessWindowLayer::OpenEntryField(const EntryFieldSpec& request)
{
    if (entryOpen)
        return false;
    entryOpen = true;
    entry = request;
    entryText = request.kind == EntryFieldSpec::Kind::List && request.selected >= 0
                    ? request.choices[static_cast<size_t>(request.selected)]
                    : request.text;
    events.OnEntryFocus(true);
    return true;
}

void HeadlessWindowLayer::TypeIntoEntry(const std::string& text)
{
    entryText = text;
    events.OnEntryTyping();
}

void HeadlessWindowLayer::PickEntry(int choice)
{
    if (choice < 0 || choice >= static_cast<int>(entry.choices.size()))
        return;
    entryText = entry.choices[static_cast<size_t>(choice)];
    events.OnEntryCommit();
}

bool HeadlessWindowLayer::OpenWebPage(const std::string& address)
{
    if (std::find(refusedPages.begin(), refusedPages.end(), address) != refusedPages.end())
        return false;
    openedPages.push_back(address);
    return true;
}

bool HeadlessWindowLayer::AskYesNo(const std::string&, const std::string&)
{
    return true;
}

void HeadlessWindowLayer::ShowMessage(const std::string&, const std::string&) {}

void HeadlessWindowLayer::ClearRecords()
{
    redraws.clear();
    presents.clear();
}

} // namespace tpm
