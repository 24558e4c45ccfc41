// The X11 window layer under Xvfb, driven with real input from xdotool.
#include "PatternEditor.h"
#include "editor/x11/XcbImagePresenter.h"
#include "formats/vst2/VstAbi.h"
#include "plugin/PluginInstance.h"
#include "support/TestModule.h"
#include "tools/vsthost/HostWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace tpm
{
namespace
{

constexpr int kLeft = 20; // the editor's place in the host window
constexpr int kTop = 10;

bool Xdo(const std::string& args)
{
    return std::system(("xdotool " + args).c_str()) == 0;
}

int OpenDescriptors()
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// Shared-memory segments this process made that still exist.
int OwnSharedSegments()
{
    std::ifstream table("/proc/sysvipc/shm");
    std::string line;
    std::getline(table, line);
    int n = 0;
    while (std::getline(table, line))
    {
        std::istringstream fields(line);
        long key, id, perms, size, creator;
        if (fields >> key >> id >> perms >> size >> creator && creator == getpid())
            ++n;
    }
    return n;
}

class X11Layer : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string error;
        host = HostWindow::Create(600, 400, "layer test", error);
        ASSERT_TRUE(host) << error;
        host->ScreenOrigin(originX, originY);
    }

    // Runs the host's and the editors' idle calls, as a host does, until `done` or two seconds pass.
    bool PumpUntil(std::initializer_list<PatternEditor*> editors, const std::function<bool()>& done)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end)
        {
            if (host)
                host->PumpEvents(5);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            for (PatternEditor* e : editors)
                if (e->Layer())
                    e->Layer()->Idle();
            if (done())
                return true;
        }
        return false;
    }

    // Idle calls for a while, so the server has shown what was sent.
    void Settle(std::initializer_list<PatternEditor*> editors)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        PumpUntil(editors, [end] { return std::chrono::steady_clock::now() >= end; });
    }

    uint32_t Captured(int x, int y)
    {
        if (pixels.empty())
        {
            std::string error;
            EXPECT_TRUE(host->CapturePixels(pixels, width, height, error)) << error;
        }
        return pixels[static_cast<size_t>(y) * width + x];
    }

    // Screen position of a point of an editor placed at (kLeft, kTop), as xdotool arguments.
    std::string At(int x, int y) const
    {
        return std::to_string(originX + kLeft + x) + " " + std::to_string(originY + kTop + y);
    }

    std::unique_ptr<HostWindow> host;
    int originX = 0;
    int originY = 0;
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

// The server's expose events ask the editor to paint; a later present touches only its region.
TEST_F(X11Layer, PaintsOnExposeAndPresentsOnlyTheGivenRegion)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    EXPECT_EQ(editor.Layer()->Bounds(), (tpm::PixelBox{kLeft, kTop, kLeft + 550, kTop + 363}));
    Settle({&editor});
    int wrong = 0;
    for (int y = 0; y < 363; ++y)
        for (int x = 0; x < 550; ++x)
            wrong += Captured(kLeft + x, kTop + y) != editor.PatternAt(x, y);
    EXPECT_EQ(wrong, 0);

    editor.Surface().Clear(0xFF123456);
    editor.Layer()->Present(editor.Surface(), {100, 100, 150, 130});
    host->PumpEvents(50);
    pixels.clear();
    EXPECT_EQ(Captured(kLeft + 100, kTop + 100), 0xFF123456u);
    EXPECT_EQ(Captured(kLeft + 149, kTop + 129), 0xFF123456u);
    EXPECT_EQ(Captured(kLeft + 150, kTop + 129), editor.PatternAt(150, 129));
    EXPECT_EQ(Captured(kLeft + 99, kTop + 100), editor.PatternAt(99, 100));
}

// Remote displays get plain put-image requests: the same pixels as through shared memory.
TEST_F(X11Layer, SharedMemoryAndPlainRequestsShowTheSamePixels)
{
    std::string error;
    auto conn = tpm::XcbConnection::Open(error);
    ASSERT_TRUE(conn) << error;
    const auto format = tpm::XcbPixelFormat::ForRootVisual(conn->Get(), conn->Screen());
    const auto window = static_cast<xcb_window_t>(reinterpret_cast<uintptr_t>(host->ParentHandle()));
    for (const bool shared : {true, false})
    {
        PatternEditor pattern(600, 400, shared ? 1 : 2);
        tpm::XcbImagePresenter presenter(*conn, format, window, 600, 400, shared);
        EXPECT_EQ(presenter.UsesSharedMemory(), shared);
        presenter.Put(pattern.Surface(), {0, 0, 600, 400});
        conn->Sync();
        pixels.clear();
        int wrong = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                wrong += Captured(x, y) != pattern.PatternAt(x, y);
        EXPECT_EQ(wrong, 0) << (shared ? "shared memory" : "plain requests");
    }
}

TEST_F(X11Layer, IdleRunsTheFrameTickTwentyFourTimesASecond)
{
    PatternEditor editor(100, 100);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    const auto start = std::chrono::steady_clock::now();
    PumpUntil({&editor},
              [&] { return std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(1000); });
    // Never more than the rate; fewer only when a loaded machine leaves gaps between idle calls.
    EXPECT_GE(editor.ticks, 12);
    EXPECT_LE(editor.ticks, 25);
}

TEST_F(X11Layer, MouseReachesTheEditorWithPositionButtonsAndModifiers)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    Settle({&editor});

    ASSERT_TRUE(Xdo("mousemove " + At(100, 100) + " keydown shift mousedown 1 mousemove " + At(120, 115) +
                    " mouseup 1 keyup shift"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Up) == 1; }));
    ASSERT_GE(editor.events.size(), 3u);
    const LayerEvent& down = editor.events.front();
    EXPECT_EQ(down.kind, LayerEvent::Down);
    EXPECT_EQ(std::make_pair(down.x, down.y), std::make_pair(100, 100));
    EXPECT_TRUE(down.mod.L && down.mod.S && !down.mod.R && !down.mod.C && !down.mod.A);
    const LayerEvent& drag = editor.events[editor.events.size() - 2];
    EXPECT_EQ(drag.kind, LayerEvent::Drag);
    EXPECT_EQ(std::make_pair(drag.x, drag.y), std::make_pair(120, 115));
    EXPECT_TRUE(drag.mod.L && drag.mod.S);
    const LayerEvent& up = editor.events.back();
    EXPECT_EQ(std::make_pair(up.x, up.y), std::make_pair(120, 115));
    EXPECT_TRUE(!up.mod.L && up.mod.S);

    editor.events.clear();
    ASSERT_TRUE(Xdo("mousemove " + At(200, 200) + " keydown ctrl click 3 keyup ctrl"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Up) == 1; }));
    EXPECT_TRUE(editor.events.front().mod.R && editor.events.front().mod.C && !editor.events.front().mod.L);
    EXPECT_EQ(editor.Count(LayerEvent::Drag), 0); // no drag without a move

    editor.events.clear();
    ASSERT_TRUE(Xdo("mousemove " + At(50, 60) + " click --repeat 2 --delay 40 1"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Up) == 2; }));
    std::vector<LayerEvent::Kind> kinds;
    for (const LayerEvent& e : editor.events)
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<LayerEvent::Kind>{LayerEvent::Down, LayerEvent::Up, LayerEvent::DoubleClick,
                                                    LayerEvent::Up}));

    editor.events.clear();
    ASSERT_TRUE(Xdo("click 4 click 5 click 6 click 7 click 4"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Wheel) == 3; }));
    EXPECT_EQ(editor.events.size(), 3u);
    EXPECT_EQ(editor.events[0].value, 1);
    EXPECT_EQ(editor.events[1].value, -1);
    EXPECT_EQ(std::make_pair(editor.events[2].x, editor.events[2].y), std::make_pair(50, 60));
}

TEST_F(X11Layer, KeysReachTheEditorByTheKeyTable)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    editor.Layer()->TakeFocus();
    ASSERT_TRUE(Xdo("mousemove " + At(30, 40) + " key space Up a shift+b 7 F1 Escape Right"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Key) == 6; }));
    std::vector<int> codes;
    for (const LayerEvent& e : editor.events)
        codes.push_back(e.value);
    EXPECT_EQ(codes, (std::vector<int>{0, 1, 15, 16, 12, 4}));
    EXPECT_EQ(std::make_pair(editor.events[0].x, editor.events[0].y), std::make_pair(30, 40));
}

TEST_F(X11Layer, TextFieldOpensSelectedTakesFocusAndCommitsTypedTextOnEnter)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    tpm::EntryFieldSpec request;
    request.box = {200, 100, 260, 116};
    request.text = "123.4";
    ASSERT_TRUE(editor.Layer()->OpenEntryField(request));
    EXPECT_FALSE(editor.Layer()->OpenEntryField(request)); // one at a time
    EXPECT_EQ(editor.Layer()->EntryFieldBox(), request.box);
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Focus) == 1; }));
    EXPECT_EQ(editor.events.front().value, 1);
    int highlighted = 0;
    for (int x = request.box.left; x < request.box.right; ++x)
        highlighted += Captured(kLeft + x, kTop + 108) == 0xFF3399FFu;
    EXPECT_GT(highlighted, 10);

    ASSERT_TRUE(Xdo("type 4405") && Xdo("key BackSpace"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Typing) == 5; }));
    EXPECT_EQ(editor.Layer()->EntryFieldText(), "440");
    ASSERT_TRUE(Xdo("key Return"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Commit) == 1; }));
    editor.Layer()->CloseEntryField();
    EXPECT_TRUE(editor.Layer()->EntryFieldBox().Empty());
}

TEST_F(X11Layer, EscapeCancelsTheTextField)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    tpm::EntryFieldSpec request;
    request.box = {200, 100, 260, 116};
    request.text = "7";
    ASSERT_TRUE(editor.Layer()->OpenEntryField(request));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Focus) == 1; }));
    ASSERT_TRUE(Xdo("key Escape"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Cancel) == 1; }));
    EXPECT_EQ(editor.Count(LayerEvent::Commit), 0);
    EXPECT_EQ(editor.Layer()->EntryFieldText(), "7");
}

TEST_F(X11Layer, ChoiceListCommitsTheClickedChoice)
{
    PatternEditor editor(550, 363);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
    tpm::EntryFieldSpec request;
    request.kind = tpm::EntryFieldSpec::Kind::List;
    request.box = {100, 50, 180, 66};
    request.choices = {"Sine", "Triangle", "Saw"};
    request.selected = 0;
    ASSERT_TRUE(editor.Layer()->OpenEntryField(request));
    EXPECT_EQ(editor.Layer()->EntryFieldText(), "Sine");
    EXPECT_EQ(editor.Layer()->EntryFieldBox(), (tpm::PixelBox{100, 50, 180, 50 + 3 * 16 + 2}));
    PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Focus) == 1; });
    ASSERT_TRUE(Xdo("mousemove " + At(140, 50 + 1 + 2 * 16 + 8) + " click 1"));
    ASSERT_TRUE(PumpUntil({&editor}, [&] { return editor.Count(LayerEvent::Commit) == 1; }));
    EXPECT_EQ(editor.Layer()->EntryFieldText(), "Saw");
    EXPECT_EQ(editor.Count(LayerEvent::Down), 0); // the field's own press does not reach the editor
}

TEST_F(X11Layer, FiftyOpenCloseCyclesLeakNothing)
{
    PatternEditor editor(550, 363);
    auto cycle = [&] {
        ASSERT_TRUE(editor.Open(host->ParentHandle(), kLeft, kTop));
        editor.Layer()->Redraw({0, 0, 550, 363});
        editor.Layer()->Idle();
        editor.Close();
    };
    cycle(); // the font cache and the libraries' own first-use state
    const int descriptors = OpenDescriptors();
    const size_t heap = mallinfo2().uordblks;
    for (int i = 0; i < 50; ++i)
        cycle();
    EXPECT_EQ(OpenDescriptors(), descriptors);
    // The server lets go of the last window's memory when it has handled our disconnection.
    for (int wait = 0; wait < 100 && OwnSharedSegments() > 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(OwnSharedSegments(), 0);
    EXPECT_LT(mallinfo2().uordblks, heap + 64 * 1024);
}

TEST_F(X11Layer, TwoWindowsAtOnceEachPaintAndHearTheirOwnInput)
{
    PatternEditor first(280, 200, 0);
    PatternEditor second(280, 200, 99);
    ASSERT_TRUE(first.Open(host->ParentHandle(), 0, 0));
    ASSERT_TRUE(second.Open(host->ParentHandle(), 300, 0));
    first.Layer()->Redraw({0, 0, 280, 200});
    second.Layer()->Redraw({0, 0, 280, 200});
    ASSERT_TRUE(Xdo("mousemove " + At(350 - kLeft, 50 - kTop) + " click 1"));
    ASSERT_TRUE(PumpUntil({&first, &second}, [&] { return second.Count(LayerEvent::Up) == 1; }));
    EXPECT_EQ(first.events.size(), 0u);
    EXPECT_EQ(std::make_pair(second.events[0].x, second.events[0].y), std::make_pair(50, 50));
    EXPECT_EQ(Captured(10, 20), first.PatternAt(10, 20));
    EXPECT_EQ(Captured(310, 20), second.PatternAt(10, 20));
    EXPECT_NE(first.PatternAt(10, 20), second.PatternAt(10, 20));
}

TEST_F(X11Layer, ParentDestroyedBeforeTheEditorClosesIsSurvived)
{
    PatternEditor idling(100, 100);
    PatternEditor closing(100, 100);
    ASSERT_TRUE(idling.Open(host->ParentHandle(), 0, 0));
    ASSERT_TRUE(closing.Open(host->ParentHandle(), 200, 0));
    host.reset();
    // One editor hears of it at its next idle call and closes from there.
    ASSERT_TRUE(PumpUntil({&idling}, [&] { return idling.closing; }));
    EXPECT_EQ(idling.Layer(), nullptr);
    // The other keeps using its window, then closes, without hearing first.
    closing.Layer()->Redraw({0, 0, 100, 100});
    closing.Layer()->TakeFocus();
    int x = 0;
    int y = 0;
    closing.Layer()->CursorInWindow(x, y);
    closing.Close();
}

// A stand-in opener that takes its time: the layer hands the address over and goes on at once.
TEST_F(X11Layer, WebPageGoesToTheOpenerWithoutWaitingForIt)
{
    PatternEditor editor(100, 100);
    ASSERT_TRUE(editor.Open(host->ParentHandle(), 0, 0));
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("x11-opener-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path opened = dir / "opened";
    {
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > " << opened << "\nsleep 2\n";
    }
    std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (dir.string() + ":" + path).c_str(), 1);

    EXPECT_FALSE(editor.Layer()->OpenWebPage("file:///etc/passwd"));
    EXPECT_FALSE(editor.Layer()->OpenWebPage("--help"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(editor.Layer()->OpenWebPage("https://example.org/a b"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    setenv("PATH", path.c_str(), 1);
    std::string got;
    for (int wait = 0; wait < 100 && got.empty(); ++wait)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::getline(std::ifstream(opened), got);
    }
    EXPECT_EQ(got, "https://example.org/a b");
    std::filesystem::remove_all(dir);
}

// The real editor opened at 2x: the window the server holds is twice the layout's size.
TEST_F(X11Layer, EditorOpenedAtTwiceTheScaleHasTwiceTheSize)
{
    auto product = PluginInstance::Create();
    ASSERT_TRUE(product);
    std::unique_ptr<IEditorLink> editor = product->CreateEditor();
    editor->SetScale(2.0);
    ASSERT_TRUE(editor->OpenWindow(host->ParentHandle(), false));
    const std::string command = "xwininfo -id " + std::to_string(editor->NativeWindow());
    std::string info;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char line[256];
        while (std::fgets(line, sizeof line, pipe))
            info += line;
        pclose(pipe);
    }
    EXPECT_NE(info.find("Width: 1100\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 726\n"), std::string::npos) << info;
    editor->CloseWindow();
}

TEST(X11LayerWithoutDisplay, FactoryAnswersNullWithoutADisplayOrAParent)
{
    PatternEditor editor(100, 100);
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    EXPECT_FALSE(editor.Open(reinterpret_cast<void*>(uintptr_t{0x7fffff}), 0, 0)); // no such window
    unsetenv("DISPLAY");
    std::string error;
    EXPECT_EQ(HostWindow::Create(100, 100, "none", error), nullptr);
    EXPECT_FALSE(editor.Open(reinterpret_cast<void*>(uintptr_t{0x400001}), 0, 0));
    setenv("DISPLAY", display.c_str(), 1);
}

TEST(X11LayerWithoutDisplay, ModuleAnswersNoEditorAndStillProcesses)
{
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    HostSettings settings;
    settings.playing = true;
    auto plugin = LoadTestModule(settings);
    ASSERT_TRUE(plugin);
    plugin->Start();
    EXPECT_EQ(plugin->Dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x400001})), 0);
    float left[64] = {};
    float right[64] = {};
    float* outputs[] = {left, right};
    float inLeft[64] = {};
    float inRight[64] = {};
    float* inputs[] = {inLeft, inRight};
    plugin->Effect()->processReplacing(plugin->Effect(), inputs, outputs, 64);
    EXPECT_NE(*std::max_element(left, left + 64), 0.0f); // the tone plays
    plugin->Dispatch(vst::effEditClose);
    plugin->Close();
    setenv("DISPLAY", display.c_str(), 1);
}

} // namespace
} // namespace tpm
