// What the editor shows: its controls in place, the redraw cycle (which area, in which order, and
// nothing when nothing changed), and the whole default editor against a reference picture.
#include "EditorRig.h"

#include "draw/PngDecoder.h"
#include "editor/controls/TextControl.h"
#include "tools/preview/PngWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace tpm
{
namespace
{
int Channel(uint32_t p, int shift)
{
    return static_cast<int>(p >> shift & 0xFF);
}
} // namespace

TEST(EditorDraw, LayoutHas29ControlsEachParameterBoundOnceAndTheVersionText)
{
    EditorRig rig(false);
    ASSERT_EQ(rig.editor->ControlCount(), 29);
    std::multiset<int> bound;
    for (int i = 0; i < 29; ++i)
    {
        const tpm::PixelBox& r = rig.Control(i).Rect();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 550 && r.bottom <= 363) << i;
        EXPECT_EQ(rig.Control(i).IsHidden(), i == 20 || i == 27) << i;
        if (rig.Control(i).IsBound())
            bound.insert(rig.Control(i).ParamIdx());
    }
    EXPECT_EQ(bound.size(), 23u);
    EXPECT_EQ(std::set<int>(bound.begin(), bound.end()).size(), 23u);
    EXPECT_EQ(static_cast<tpm::TextControl&>(rig.Control(3)).GetText(), "v1.00");
    EXPECT_EQ(rig.Control(8).Rect(), (tpm::PixelBox{157, 100, 237, 178}));
    EXPECT_EQ(rig.Control(15).Rect(), (tpm::PixelBox{84, 213, 170, 231}));
}

TEST(EditorDraw, AnIdleTickDrawsNothingAndChangedControlsRedrawTheirUnion)
{
    EditorRig rig;
    rig.window->ClearRecords();
    rig.Tick();
    EXPECT_TRUE(rig.window->Redraws().empty());

    rig.SetNormalized(kBaseFreq, 0.9);
    rig.SetNormalized(kMix, 0.1);
    rig.window->ClearRecords();
    rig.Tick();
    ASSERT_EQ(rig.window->Redraws().size(), 1u);
    EXPECT_EQ(rig.window->Redraws()[0], (tpm::PixelBox{19, 100, 530, 178}));
    EXPECT_EQ(rig.window->Presents(), rig.window->Redraws());
}

TEST(EditorDraw, OverlappingControlsRedrawInListOrder)
{
    EditorRig rig;
    rig.Click(100, 220); // the LFO1 target list opens over the LFO1 wave selector
    rig.Tick();
    rig.SetNormalized(kLfo1Wave, 1.0); // the selector under the list changes
    rig.Tick();
    // Where the list's picture is opaque it covers the selector that was drawn first.
    const tpm::BitmapRef list = rig.editor->LoadBitmap(108, "img/lfo_tg_.png", 5);
    const tpm::PixelSurface& shown = *rig.editor->Surface();
    int opaque = 0;
    for (int y = 257; y < 317; ++y)
        for (int x = 84; x < 127; ++x)
        {
            const uint32_t p = list.Surface()->Pixel(x - 84, y - 230);
            if (Channel(p, 24) == 255)
            {
                ++opaque;
                EXPECT_EQ(shown.Pixel(x, y) & 0xFFFFFF, p & 0xFFFFFF) << x << "," << y;
            }
        }
    EXPECT_GT(opaque, 100);
}

TEST(EditorDraw, DefaultEditorMatchesTheReferencePicture)
{
    EditorRig rig;
    rig.editor->MarkAllDirty();
    rig.Tick();
    const tpm::PixelSurface& shown = *rig.editor->Surface();
    const std::string written = std::string(TPM_TEST_OUTPUT_DIR) + "/editor-default.png";
    ASSERT_TRUE(tpm::WritePng(shown, written)); // for a person to look at

    std::ifstream file(std::string(TPM_SOURCE_DIR) + "/tests/editor/editor-default.png", std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    auto reference = tpm::DecodePng(bytes.data(), bytes.size());
    ASSERT_TRUE(reference) << "no reference picture";
    ASSERT_EQ(reference->Width(), 550);
    ASSERT_EQ(reference->Height(), 363);
    // Text is drawn by the system's fonts, whose antialiasing differs between machines: a few pixels
    // may differ a lot, and on average the picture must agree closely.
    long total = 0;
    int far = 0;
    for (int y = 0; y < 363; ++y)
        for (int x = 0; x < 550; ++x)
            for (const int shift : {16, 8, 0})
            {
                const int d =
                    std::abs(Channel(shown.Pixel(x, y), shift) - Channel(reference->Pixel(x, y), shift));
                total += d;
                far += d > 48 ? 1 : 0;
            }
    EXPECT_LT(far, 550 * 363 * 3 / 100) << "see " << written;
    EXPECT_LT(static_cast<double>(total) / (550.0 * 363.0 * 3.0), 2.0) << "see " << written;
}

TEST(EditorDraw, MarkersFollowTheLfosAndTheSecondShowsRedWhenBlocked)
{
    EditorRig rig;
    rig.SetNormalized(kLfo1Target, 0.25);
    rig.SetNormalized(kLfo2Target, 0.25); // the same target: LFO2 is blocked
    rig.Process();
    rig.Tick();
    const tpm::PixelSurface& shown = *rig.editor->Surface();
    const uint32_t blocked = shown.Pixel(328, 323);
    EXPECT_GT(Channel(blocked, 16), 150);
    EXPECT_LT(Channel(blocked, 8), 100);
    int lit = 0;
    for (int x = 22; x < 223; ++x)
        lit += Channel(shown.Pixel(x, 322), 8) > 150 ? 1 : 0;
    EXPECT_EQ(lit, 6);
}

TEST(EditorDraw, AudioBlocksTouchNoControlAndTheTickShowsWhatTheEngineShows)
{
    EditorRig rig;
    rig.SetNormalized(kLfo1Target, 0.75); // LFO1 sweeps the binaural pan
    rig.product->SetParamValue(kBinaural, 10);
    rig.Process();
    auto& band = static_cast<tpm::TextControl&>(rig.Control(5));
    EXPECT_EQ(band.GetText(), "THETA"); // nothing shown before the tick
    rig.Tick(2);
    EXPECT_EQ(band.GetText(), "ALPHA");

    std::vector<uint32_t> stamps;
    stamps.reserve(static_cast<std::size_t>(rig.editor->ControlCount()));
    for (int i = 0; i < rig.editor->ControlCount(); ++i)
        stamps.push_back(rig.Control(i).DirtyStamp());
    rig.Process(40);
    for (int i = 0; i < rig.editor->ControlCount(); ++i)
    {
        EXPECT_EQ(rig.Control(i).DirtyStamp(), stamps[static_cast<size_t>(i)]) << i;
        EXPECT_FALSE(rig.Control(i).NeedsRedraw()) << i;
    }
    rig.window->ClearRecords();
    rig.Tick();
    ASSERT_EQ(rig.window->Redraws().size(), 1u);
    EXPECT_EQ(rig.window->Redraws()[0], rig.Control(1).Rect()); // the first LFO's marker strip moved
}
} // namespace tpm
