// A window layer without a window: it records what the editor asks of it (redraws, presents, the
// entry field, web pages) and lets tests and tools play the user and the system (cursor, modifiers,
// presses with capture, typing into the entry field, frame ticks).
#pragma once

#include "editor/IWindowLayer.h"

#include <string>
#include <vector>

namespace tpm
{

class HeadlessWindowLayer : public IWindowLayer
{
  public:
    HeadlessWindowLayer(IWindowEvents& events, const PixelBox& bounds);
    ~HeadlessWindowLayer() override;

    static std::unique_ptr<IWindowLayer> Create(IWindowEvents& events, void* parent, const PixelBox& bounds,
                                                int frameRate);
    // How many headless windows are open in the process.
    static int OpenCount();

    // What the editor asks of its window.
    void Redraw(const PixelBox& region) override;
    void Present(const PixelSurface& surface, const PixelBox& region) override;
    void Idle() override { Tick(); }
    PixelBox Bounds() const override { return bounds; }
    void Resize(int width, int height) override
    {
        bounds = {bounds.left, bounds.top, bounds.left + width, bounds.top + height};
    }
    bool CursorInWindow(int& x, int& y) const override;
    MouseMod ModifierState() const override { return modifiers; }
    void TakeFocus() override {}
    bool OpenEntryField(const EntryFieldSpec& request) override;
    std::string EntryFieldText() const override { return entryText; }
    PixelBox EntryFieldBox() const override { return entryOpen ? entry.box : PixelBox{}; }
    void CloseEntryField() override { entryOpen = false; }
    bool OpenWebPage(const std::string& address) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;

    // The system's side.
    void Tick() { events.OnFrameTick(); }
    void SetCursor(int x, int y, bool inside = true);
    void SetModifiers(const MouseMod& mod) { modifiers = mod; }
    // Mouse input as a window delivers it: a press captures, moves reach the editor only while captured.
    void Press(int x, int y, const MouseMod& mod);
    void Move(int x, int y, const MouseMod& mod);
    void Release(int x, int y, const MouseMod& mod);
    void DoubleClick(int x, int y, const MouseMod& mod);
    void Wheel(int x, int y, const MouseMod& mod, int delta); // delta in 1/120 notches
    void Key(int x, int y, EditorKey key) { events.OnKeyDown(x, y, key); }
    // The entry field: typing replaces its text; Enter or a pick commits.
    void TypeIntoEntry(const std::string& text);
    void PressEnter() { events.OnEntryCommit(); }
    void PickEntry(int choice);
    void SetEntryFocus(bool focused) { events.OnEntryFocus(focused); }
    // The window moved to a monitor of another scale.
    void ChangeSystemScale(double scale) { events.OnSystemScaleChanged(scale); }

    // What was recorded.
    const std::vector<PixelBox>& Redraws() const { return redraws; }
    const std::vector<PixelBox>& Presents() const { return presents; }
    void ClearRecords();
    bool EntryOpen() const { return entryOpen; }
    const EntryFieldSpec& Entry() const { return entry; }
    const std::vector<std::string>& OpenedPages() const { return openedPages; }
    // Addresses that the system refuses to open.
    void RefusePage(const std::string& address) { refusedPages.push_back(address); }

  private:
    IWindowEvents& events;
    PixelBox bounds;
    int cursorX = -1;
    int cursorY = -1;
    bool cursorInside = false;
    bool captured = false;
    MouseMod modifiers;
    std::vector<PixelBox> redraws;
    std::vector<PixelBox> presents;
    bool entryOpen = false;
    EntryFieldSpec entry;
    std::string entryText;
    std::vector<std::string> openedPages;
    std::vector<std::string> refusedPages;
};

} // namespace tpm
