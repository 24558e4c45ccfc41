// The editor's Win32 window in real windows under Wine: the class's lifetime, painting from the surface,
// pointer and keyboard input sent from outside, the entry field and the frame timer.
#include "WindowTestEditor.h"
#include "WindowedTest.h"
#include "editor/win32/WindowClassWin32.h"

#include <windows.h>

namespace tpm
{
namespace
{

using tpm::EntryFieldSpec;
using tpm::PixelBox;
using tpm::WindowClassWin32;
using Editor = WindowTestEditor;

constexpr PixelBox kEditorBox{0, 0, 550, 363};

bool ClassRegistered()
{
    WNDCLASSA wc{};
    return GetClassInfoA(WindowClassWin32::Module(), WindowClassWin32::kName, &wc) != 0;
}

int ChildWindowCount(HWND parent)
{
    int count = 0;
    EnumChildWindows(
        parent,
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

EntryFieldSpec TextField()
{
    EntryFieldSpec request;
    request.box = {200, 150, 260, 166};
    request.text = "12.5";
    return request;
}

class WindowLayerTest : public WindowedTest
{
  protected:
    HWND Parent() { return static_cast<HWND>(host->ParentHandle()); }
    HWND EditorWindow() { return FindWindowExA(Parent(), nullptr, WindowClassWin32::kName, nullptr); }
    // Opens the editor over the whole host window and lets it paint once.
    void OpenAndShow(Editor& editor)
    {
        ASSERT_TRUE(editor.Open(host->ParentHandle(), kEditorBox));
        ASSERT_TRUE(PumpUntil([&] { return editor.paints > 0; }));
        PumpFor(100);
    }
    static const Editor::Event& Last(const Editor& editor, const std::string& kind)
    {
        for (auto it = editor.events.rbegin(); it != editor.events.rend(); ++it)
            if (it->kind == kind)
                return *it;
        static const Editor::Event none{"none"};
        return none;
    }
};

TEST_F(WindowLayerTest, ClassLivesFromTheFirstOpenWindowToTheLast)
{
    EXPECT_FALSE(ClassRegistered());
    Editor first(275, 363);
    Editor second(275, 363);
    ASSERT_TRUE(first.Open(Parent(), {0, 0, 275, 363}));
    ASSERT_TRUE(second.Open(Parent(), {275, 0, 550, 363}));
    EXPECT_TRUE(ClassRegistered());
    EXPECT_EQ(2, WindowClassWin32::OpenCount());
    first.Close();
    EXPECT_TRUE(ClassRegistered());
    second.Close();
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(0, ChildWindowCount(Parent()));
}

TEST_F(WindowLayerTest, FiftyOpenCloseCyclesLeaveNoClassWindowOrObject)
{
    Editor editor(550, 363);
    auto cycle = [&] {
        ASSERT_TRUE(editor.Open(Parent(), kEditorBox));
        ASSERT_TRUE(editor.Layer()->OpenEntryField(TextField()));
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(GetDlgItem(EditorWindow(), 99), WM_GETFONT, 0, 0));
        ASSERT_NE(nullptr, font);
        host->PumpEvents(0);
        editor.Close();
        EXPECT_EQ(0u, GetObjectType(font)) << "the field's font outlives it";
    };
    cycle(); // system objects made on first use are counted before
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 50; ++i)
        cycle();
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(0, WindowClassWin32::OpenCount());
    EXPECT_EQ(0, ChildWindowCount(Parent()));
    // Wine answers 0 here; on Windows these count every object of the process.
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

TEST_F(WindowLayerTest, ParentDestroyedUnderTheEditorEndsTheWindowCleanly)
{
    std::string error;
    auto other = HostWindow::Create(200, 100, "short-lived host", error);
    ASSERT_TRUE(other) << error;
    Editor editor(200, 100);
    ASSERT_TRUE(editor.Open(other->ParentHandle(), {0, 0, 200, 100}));
    other.reset();
    EXPECT_EQ(nullptr, editor.Layer());
    EXPECT_EQ(0, WindowClassWin32::OpenCount());
    ASSERT_TRUE(editor.Open(Parent(), {0, 0, 200, 100})) << "the class is usable again";
    editor.Close();
}

TEST_F(WindowLayerTest, PaintCopiesTheSurfaceAndRedrawRepaintsARegion)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    std::string error;
    ASSERT_TRUE(host->CapturePixels(pixels, width, height, error)) << error;
    ASSERT_EQ(550, width);
    ASSERT_EQ(363, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += (pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) !=
                     (Editor::PatternAt(x, y) & 0xFFFFFF);
    EXPECT_EQ(0, wrong);

    const int paintsBefore = editor.paints;
    editor.Layer()->Redraw({10, 20, 30, 40});
    EXPECT_EQ(paintsBefore + 1, editor.paints) << "Redraw paints at once";
}

TEST_F(WindowLayerTest, DragWithShiftArrivesWithClientCoordinatesAndModifiers)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    Xdo("mousemove " + ScreenAt(100, 50) + " keydown shift mousedown 1 mousemove " + ScreenAt(130, 90) +
        " mouseup 1 keyup shift");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("up") == 1; }));
    const auto& down = Last(editor, "down");
    EXPECT_EQ(100, down.x);
    EXPECT_EQ(50, down.y);
    EXPECT_TRUE(down.mod.L && down.mod.S && !down.mod.R && !down.mod.C);
    const auto& drag = Last(editor, "drag");
    EXPECT_EQ(130, drag.x);
    EXPECT_EQ(90, drag.y);
    EXPECT_TRUE(drag.mod.L);
    const auto& up = Last(editor, "up");
    EXPECT_EQ(130, up.x);
    EXPECT_TRUE(up.mod.L);
    EXPECT_EQ(nullptr, GetCapture()) << "released with the button";

    const int drags = editor.Count("drag");
    Xdo("mousemove " + ScreenAt(140, 100) + " mousemove " + ScreenAt(150, 110));
    PumpFor(300);
    EXPECT_EQ(drags, editor.Count("drag")) << "no drag without a button";
}

TEST_F(WindowLayerTest, WheelNotchesArriveAsStepsAtTheCursor)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    Xdo("mousemove " + ScreenAt(200, 100) + " click 4 keydown ctrl click 5 keyup ctrl");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("wheel") == 2; }));
    EXPECT_EQ(200, editor.events[0].x);
    EXPECT_EQ(100, editor.events[0].y);
    EXPECT_EQ(1, editor.events[0].value);
    EXPECT_FALSE(editor.events[0].mod.C);
    EXPECT_EQ(-1, editor.events[1].value);
    EXPECT_TRUE(editor.events[1].mod.C);
}

TEST_F(WindowLayerTest, DoubleClickAndRightPressesArrive)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    Xdo("mousemove " + ScreenAt(60, 70) + " click --repeat 2 --delay 60 1 sleep 0.3 click 3");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("up") == 3; }));
    EXPECT_EQ(1, editor.Count("double"));
    EXPECT_EQ(60, Last(editor, "double").x);
    const auto& right = Last(editor, "down");
    EXPECT_TRUE(right.mod.R && !right.mod.L);
}

TEST_F(WindowLayerTest, KeysReachTheFocusedEditorAtTheCursor)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    editor.Layer()->TakeFocus();
    Xdo("mousemove " + ScreenAt(300, 200) + " key Escape key a key 7 key space");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("key") == 3; }));
    PumpFor(200);
    ASSERT_EQ(3, editor.Count("key")) << "Escape has no code and is not passed on";
    EXPECT_EQ(static_cast<int>(tpm::EditorKey::LetterA), editor.events[0].value);
    EXPECT_EQ(300, editor.events[0].x);
    EXPECT_EQ(200, editor.events[0].y);
    EXPECT_EQ(static_cast<int>(tpm::EditorKey::Digit0) + 7, editor.events[1].value);
    EXPECT_EQ(static_cast<int>(tpm::EditorKey::Space), editor.events[2].value);
}

TEST_F(WindowLayerTest, TypedTextAndEnterCommitInTheEntryField)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    ASSERT_TRUE(editor.Layer()->OpenEntryField(TextField()));
    EXPECT_FALSE(editor.Layer()->OpenEntryField(TextField())) << "one field at a time";
    EXPECT_EQ(1, editor.Count("focus"));
    HWND field = GetDlgItem(EditorWindow(), 99);
    char className[16] = {};
    GetClassNameA(field, className, sizeof(className));
    EXPECT_STRCASEEQ("EDIT", className);
    EXPECT_EQ(TextField().box, editor.Layer()->EntryFieldBox());
    EXPECT_EQ("12.5", editor.Layer()->EntryFieldText());

    Xdo("mousemove " + ScreenAt(230, 158) + " type 440");
    ASSERT_TRUE(PumpUntil([&] { return editor.Layer()->EntryFieldText() == "440"; }));
    EXPECT_GE(editor.Count("typing"), 3);
    Xdo("key Return");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("commit") == 1; }));
    EXPECT_EQ("440", editor.Layer()->EntryFieldText()) << "Enter adds no line break";

    editor.Layer()->CloseEntryField();
    EXPECT_EQ(nullptr, GetDlgItem(EditorWindow(), 99));
    EXPECT_EQ(0, editor.Count("blur")) << "closing is not reported as a focus loss";
}

TEST_F(WindowLayerTest, APickInTheListCommitsIt)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    EntryFieldSpec request;
    request.kind = EntryFieldSpec::Kind::List;
    request.box = {200, 150, 300, 150 + 36 * 4};
    request.choices = {"Sine", "Square", "Saw"};
    request.selected = 0;
    ASSERT_TRUE(editor.Layer()->OpenEntryField(request));
    EXPECT_EQ("Sine", editor.Layer()->EntryFieldText());
    Xdo("mousemove " + ScreenAt(250, 158) + " key Down");
    ASSERT_TRUE(PumpUntil([&] { return editor.Count("commit") == 1; }));
    EXPECT_EQ("Square", editor.Layer()->EntryFieldText());
}

TEST_F(WindowLayerTest, FrameTimerTicksAbout24TimesASecond)
{
    Editor editor(550, 363);
    OpenAndShow(editor);
    const int before = editor.ticks;
    PumpFor(1000);
    const int ticks = editor.ticks - before;
    EXPECT_GE(ticks, 16); // 41 ms apart; a busy machine may drop one or two
    EXPECT_LE(ticks, 26);
}

} // namespace
} // namespace tpm
