// The editor at another scale, through its window entry points on the headless layer: the window takes
// the physical size, input in physical pixels reaches the control under it in the layout, and the
// resize grip asks the host for an aspect-correct size.
#include "EditorRig.h"

#include "editor/controls/DropDown.h"

namespace tpm
{
namespace
{
// Answers as a host does: takes the size the grip asks for by setting the matching scale.
class ScalingHost final : public IEditorLink::IResizeRequest
{
  public:
    explicit ScalingHost(IEditorLink& e) : editor(e) {}
    bool RequestSize(int width, int height) override
    {
        asked.emplace_back(width, height);
        editor.SetScale(width / 550.0);
        return true;
    }
    IEditorLink& editor;
    std::vector<std::pair<int, int>> asked;
};

uint32_t CornerPixel(const tpm::EditorWindow& editor)
{
    const tpm::PixelSurface& s = *editor.Surface();
    // The grip's lowest dot, two logical units in from the corner.
    return s.Pixel(s.Width() - static_cast<int>(3 * editor.Scale()),
                   s.Height() - static_cast<int>(3 * editor.Scale()));
}
} // namespace

TEST(EditorScale, AnOpenWindowTakesTwiceTheSizeAndItsInputReachesTheLayoutsControls)
{
    EditorRig rig;
    rig.editor->SetScale(2.0);
    EXPECT_EQ(rig.window->Bounds(), (tpm::PixelBox{0, 0, 1100, 726}));
    EXPECT_EQ(rig.editor->Surface()->Width(), 1100);
    ASSERT_FALSE(rig.window->Presents().empty());
    EXPECT_EQ(rig.window->Presents().back(), (tpm::PixelBox{0, 0, 1100, 726}));

    // Base Freq's knob at (48, 120), 78 units high: 156 physical pixels up is a quarter of its range.
    const double start = rig.Normalized(kBaseFreq);
    rig.Drag(96, 240, 0, -156);
    EXPECT_NEAR(rig.Normalized(kBaseFreq), start + 0.25, 1e-9);

    // LFO 1's target list at (100, 220): open it, pick its third row.
    auto& dropDown = static_cast<tpm::DropDown&>(rig.Control(15));
    rig.Click(200, 440);
    ASSERT_TRUE(dropDown.IsListShown());
    rig.Click(200, 2 * (230 + 18 * 2 + 5));
    rig.Tick();
    EXPECT_EQ(rig.Normalized(kLfo1Target), 0.5);

    // Moved to a monitor of another scale, with no host that sizes it: the editor follows by itself.
    rig.window->ChangeSystemScale(1.5);
    EXPECT_EQ(rig.window->Bounds(), (tpm::PixelBox{0, 0, 825, 545}));
}

TEST(EditorScale, TheGripShowsOnlyWithARequestAndAsksForTheAspectCorrectSize)
{
    EditorRig rig;
    const uint32_t without = CornerPixel(*rig.editor);
    rig.Drag(546, 359, 100, 100); // no request: the corner is only background
    ScalingHost host(*rig.link);
    rig.editor->SetResizeRequest(&host);
    rig.Tick();
    EXPECT_NE(CornerPixel(*rig.editor), without);
    EXPECT_TRUE(host.asked.empty());

    // Dragged 275 right and 50 down: the height limits the fit to 413 / 363 of the layout.
    rig.window->Press(546, 359, EditorRig::kLeft);
    rig.window->Move(546 + 275, 359 + 50, EditorRig::kLeft);
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0], std::make_pair(626, 413));
    EXPECT_EQ(rig.window->Bounds(), (tpm::PixelBox{0, 0, 626, 413}));
    // The pointer's travel counts from the press although the window grew under it.
    rig.window->Move(546 + 1200, 359 + 1200, EditorRig::kLeft);
    rig.window->Release(546 + 1200, 359 + 1200, EditorRig::kLeft);
    EXPECT_EQ(host.asked.back(), std::make_pair(1650, 1089));
    EXPECT_EQ(rig.editor->Scale(), 3.0);
    rig.editor->SetResizeRequest(nullptr);
}
} // namespace tpm
