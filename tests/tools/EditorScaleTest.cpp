// The editor's size as each format's host sets it, through the hosts' own calls: the host's scale
// (CLAP set_scale, VST3 setContentScaleFactor, LV2 ui:scaleFactor), the user's resizing
// (adjust_size/set_size, checkSizeConstraint/onSize, the UI's ui:resize) and the size kept in the
// state (LV2: sent by the editor to the plug-in with the next block, told back on a port). Needs an X
// server: the editors open in real windows.
#include "tools/hostkit/HostedInstance.h"
#include "tools/vsthost/HostWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tpm
{
namespace
{
constexpr int kBlock = 64;

// One block of silence: what the editor sent reaches the plug-in, what it reports reaches the editor.
void Block(HostedInstance& plugin)
{
    std::vector<float> in(kBlock), outL(kBlock), outR(kBlock);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {outL.data(), outR.data()};
    plugin.Process(ins, outs, kBlock);
}

struct OpenEditor
{
    std::unique_ptr<HostedInstance> plugin;
    std::unique_ptr<HostWindow> window;
    int width = 0;
    int height = 0;
};

// An instance (with `state` loaded first, if any) and its editor open at `scale` (0: none given).
OpenEditor Open(const char* path, double scale, const std::vector<uint8_t>& state = {})
{
    OpenEditor open;
    std::string error;
    open.plugin = OpenHostedInstance(path, error, HostSettings{});
    EXPECT_TRUE(open.plugin) << error;
    if (!open.plugin)
        return open;
    open.plugin->Open();
    open.plugin->Configure(48000.0, kBlock);
    EXPECT_TRUE(open.plugin->Resume());
    if (!state.empty())
    {
        EXPECT_TRUE(open.plugin->LoadState(state));
        Block(*open.plugin);
    }
    open.plugin->SetEditorScale(scale);
    EXPECT_TRUE(open.plugin->EditorSize(open.width, open.height));
    open.window = HostWindow::Create(open.width, open.height, "scale", error);
    EXPECT_TRUE(open.window) << error;
    if (!open.window)
        return open;
    EXPECT_TRUE(open.plugin->OpenEditor(open.window->ParentHandle()));
    // LV2 editors tell their size once they are open.
    EXPECT_TRUE(open.plugin->EditorSize(open.width, open.height));
    return open;
}

void Close(OpenEditor& open)
{
    open.plugin->CloseEditor();
    open.window.reset();
    open.plugin->Suspend();
}
} // namespace

TEST(EditorScale, TheHostsScaleGivesTheScaledSize)
{
    for (const char* path : {TPM_CLAP_MODULE_PATH, TPM_VST3_BUNDLE_PATH, TPM_LV2_BUNDLE_PATH})
    {
        SCOPED_TRACE(path);
        OpenEditor open = Open(path, 2.0);
        ASSERT_TRUE(open.window);
        EXPECT_EQ(open.width, 1100);
        EXPECT_EQ(open.height, 726);
        Close(open);
    }
}

TEST(EditorScale, AResizeTakesTheAspectCorrectSizeWithinOneToThreeTimes)
{
    for (const char* path : {TPM_CLAP_MODULE_PATH, TPM_VST3_BUNDLE_PATH, TPM_LV2_BUNDLE_PATH})
    {
        SCOPED_TRACE(path);
        OpenEditor open = Open(path, 0.0);
        ASSERT_TRUE(open.window);
        EXPECT_EQ(open.width, 550);
        EXPECT_EQ(open.height, 363);
        const int asked[][2] = {{1000, 1000}, {1600, 2000}, {5000, 4000}, {100, 100}};
        const int taken[][2] = {{1000, 660}, {1600, 1056}, {1650, 1089}, {550, 363}};
        for (int i = 0; i < 4; ++i)
        {
            int width = asked[i][0];
            int height = asked[i][1];
            EXPECT_TRUE(open.plugin->ResizeEditor(width, height)) << asked[i][0] << "x" << asked[i][1];
            EXPECT_EQ(width, taken[i][0]);
            EXPECT_EQ(height, taken[i][1]);
            int now = 0, nowHeight = 0;
            EXPECT_TRUE(open.plugin->EditorSize(now, nowHeight));
            EXPECT_EQ(now, taken[i][0]);
        }
        Close(open);
    }
}

TEST(EditorScale, TheUsersSizeComesBackWithTheStateAndOldStatesOpenAtTheDefault)
{
    for (const char* path : {TPM_CLAP_MODULE_PATH, TPM_VST3_BUNDLE_PATH, TPM_LV2_BUNDLE_PATH})
    {
        SCOPED_TRACE(path);
        OpenEditor first = Open(path, 0.0);
        ASSERT_TRUE(first.window);
        std::vector<uint8_t> untouched;
        ASSERT_TRUE(first.plugin->SaveState(untouched));
        int width = 825;
        int height = 545;
        ASSERT_TRUE(first.plugin->ResizeEditor(width, height));
        Block(*first.plugin);
        Close(first);
        std::vector<uint8_t> resized;
        ASSERT_TRUE(first.plugin->SaveState(resized));

        // The user's size wins over the host's scale, which says nothing of what the user chose.
        OpenEditor second = Open(path, 2.0, resized);
        ASSERT_TRUE(second.window);
        EXPECT_EQ(second.width, width);
        EXPECT_EQ(second.height, height);
        Close(second);

        // A state from before any resizing (as earlier builds save it) opens at the host's scale.
        OpenEditor third = Open(path, 0.0, untouched);
        ASSERT_TRUE(third.window);
        EXPECT_EQ(third.width, 550);
        EXPECT_EQ(third.height, 363);
        Close(third);
    }
}
} // namespace tpm
