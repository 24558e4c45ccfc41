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
    HeadlessWindowLayer(IWindowEvents& events, const IBox& bounds);
    ~HeadlessWindowLayer() override;

    static std::unique_ptr<IWindowLayer> Create(IWindowEvents& events, void* parent, const IBox& bounds,
                                                int frameRate);
    // How many headless windows are open in the process.
    static int OpenCount();

    // What the editor asks of its window.
    void Redraw(const IBox& region) override;
    void Present(const ISurface& surface, const IBox& region) override;
    void Idle() override { Tick(); }
    IBox Bounds() const override { return bounds; }
    void Resize(int width, int height) override
    {
        bounds = {bounds.left, bounds.top, bounds.left + width, bounds.top + height};
    }
    bool CursorInWindow(int& x, int& y) const override;
    IMouseMod ModifierState() const override { return modifiers; }
    void TakeFocus() override {}
    bool OpenEntryField(const IEntryFieldSpec& request) override;
    std::string EntryFieldText() const override { return entryText; }
    IBox EntryFieldBox() const override { return entryOpen ? entry.box : IBox{}; }
    void CloseEntryField() override { entryOpen = false; }
    bool OpenWebPage(const std::string& address) override;
    bool AskYesNo(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;

    // The system's side.
    void Tick() { events.OnFrameTick(); }
    void SetCursor(int x, int y, bool inside = true);
    void SetModifiers(const IMouseMod& mod) { modifiers = mod; }
    // Mouse input as a window delivers it: a press captures, moves reach the editor only while captured.
    void Press(int x, int y, const IMouseMod& mod);
    void Move(int x, int y, const IMouseMod& mod);
    void Release(int x, int y, const IMouseMod& mod);
    void DoubleClick(int x, int y, const IMouseMod& mod);
    void Wheel(int x, int y, const IMouseMod& mod, int delta); // delta in 1/120 notches
    void Key(int x, int y, EditorKey key) { events.OnKeyDown(x, y, key); }
    // The entry field: typing replaces its text; Enter or a pick commits.
    void TypeIntoEntry(const std::string& text);
    void PressEnter() { events.OnEntryCommit(); }
    void PickEntry(int choice);
    void SetEntryFocus(bool focused) { events.OnEntryFocus(focused); }
    // The window moved to a monitor of another scale.
    void ChangeSystemScale(double scale) { events.OnSystemScaleChanged(scale); }

    // What was recorded.
    const std::vector<IBox>& Redraws() const { return redraws; }
    const std::vector<IBox>& Presents() const { return presents; }
    void ClearRecords();
    bool EntryOpen() const { return entryOpen; }
    const IEntryFieldSpec& Entry() const { return entry; }
    const std::vector<std::string>& OpenedPages() const { return openedPages; }
    // Addresses that the system refuses to open.
    void RefusePage(const std::string& address) { refusedPages.push_back(address); }

  private:
    IWindowEvents& events;
    IBox bounds;
    int cursorX = -1;
    int cursorY = -1;
    bool cursorInside = false;
    bool captured = false;
    IMouseMod modifiers;
    std::vector<IBox> redraws;
    std::vector<IBox> presents;
    bool entryOpen = false;
    IEntryFieldSpec entry;
    std::string entryText;
    std::vector<std::string> openedPages;
    std::vector<std::string> refusedPages;
};

} // namespace tpm
