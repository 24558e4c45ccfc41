// The user's side of the editor, through its window entry points on the headless layer: what a drag,
// a wheel, a press or typed text does to the plug-in's parameters and what the host is told.
#include "EditorRig.h"

#include "editor/controls/DropDown.h"
#include "editor/controls/TextControl.h"

#include <gmock/gmock.h>

namespace tpm
{
using ::testing::ElementsAre;

namespace
{
constexpr int kBaseFreqX = 48, kBaseFreqY = 120; // control 6, 78 pixels high
constexpr int kMixX = 501, kMixY = 120;          // control 13
constexpr int kFadeX = 352, kFadeY = 120;        // control 11
} // namespace

TEST(EditorInput, DragMovesAQuarterPerFullHeightAndATenthOfThatWithShift)
{
    EditorRig rig;
    const double start = rig.Normalized(kBaseFreq);
    rig.Drag(kBaseFreqX, kBaseFreqY, 0, -78);
    EXPECT_NEAR(rig.Normalized(kBaseFreq), start + 0.25, 1e-9);
    EXPECT_THAT(rig.Edits(), ElementsAre("b0", "a0", "e0"));

    rig.Drag(kBaseFreqX, kBaseFreqY, 0, 78, EditorRig::kLeftShift);
    EXPECT_NEAR(rig.Normalized(kBaseFreq), start + 0.225, 1e-9);
}

TEST(EditorInput, DragPastTheEndClampsAndDoubleClickRestoresTheFirstValue)
{
    EditorRig rig;
    const double start = rig.Normalized(kMix);
    rig.Drag(kMixX, kMixY, 0, -2000);
    EXPECT_EQ(rig.Normalized(kMix), 1.0);
    EXPECT_EQ(rig.LastValue(kMix), 1.0);

    rig.ClearEvents();
    rig.window->DoubleClick(kMixX, kMixY, EditorRig::kLeft);
    rig.window->Release(kMixX, kMixY, EditorRig::kLeft);
    EXPECT_NEAR(rig.Normalized(kMix), start, 1e-9);
    EXPECT_THAT(rig.Edits(), ElementsAre("b7", "a7", "e7"));
}

TEST(EditorInput, WheelStepsFormOneGestureEndedTwelveTicksAfterTheLast)
{
    EditorRig rig;
    const double start = rig.Normalized(kMix);
    for (int i = 0; i < 10; ++i)
        rig.window->Wheel(kMixX, kMixY, EditorRig::kNone, 120);
    rig.window->Wheel(kMixX, kMixY, EditorRig::kNone, 60); // a partial notch: no step, same gesture
    EXPECT_NEAR(rig.Normalized(kMix), start + 0.1, 1e-9);
    rig.Tick(11);
    EXPECT_EQ(rig.Edits().back(), "a7");
    rig.Tick();
    const auto edits = rig.Edits();
    EXPECT_EQ(std::count(edits.begin(), edits.end(), "b7"), 1);
    EXPECT_EQ(std::count(edits.begin(), edits.end(), "e7"), 1);
    EXPECT_EQ(edits.back(), "e7");
}

TEST(EditorInput, WheelOnASecondControlEndsTheFirstGestureAtOnce)
{
    EditorRig rig;
    rig.window->Wheel(kMixX, kMixY, EditorRig::kNone, 120);
    rig.window->Wheel(kFadeX, kFadeY, EditorRig::kNone, -120);
    EXPECT_THAT(rig.Edits(), ElementsAre("b7", "a7", "e7", "b6", "a6"));
}

TEST(EditorInput, WheelFromTheHostActsAtTheCursorOnlyOverTheEditor)
{
    EditorRig rig;
    const double start = rig.Normalized(kMix);
    rig.window->SetCursor(kMixX, kMixY, false);
    EXPECT_EQ(rig.editor->WheelAtCursor(1.0f), 0);
    rig.window->SetCursor(kMixX, kMixY, true);
    EXPECT_EQ(rig.editor->WheelAtCursor(1.0f), 1);
    EXPECT_EQ(rig.editor->WheelAtCursor(std::numeric_limits<float>::quiet_NaN()), 1);
    EXPECT_NEAR(rig.Normalized(kMix), start + 0.01, 1e-9);
}

TEST(EditorInput, DropDownOpensPicksAndSendsTheChoiceAtTheNextDraw)
{
    EditorRig rig;
    auto& dropDown = static_cast<tpm::DropDown&>(rig.Control(15));
    rig.Click(100, 220);
    ASSERT_TRUE(dropDown.IsListShown());
    ASSERT_EQ(rig.editor->ControlCount(), 30);
    EXPECT_FALSE(rig.Control(29).IsHidden());

    rig.Click(100, 230 + 18 * 2 + 5); // the third of five rows
    EXPECT_EQ(rig.Normalized(kLfo1Target), 0.0);
    rig.Tick();
    EXPECT_EQ(rig.Normalized(kLfo1Target), 0.5);
    EXPECT_TRUE(rig.Control(29).IsHidden());
    EXPECT_FALSE(dropDown.IsListShown());

    rig.Click(100, 220);
    rig.Click(100, 220); // a second press closes without a change
    rig.Tick();
    EXPECT_TRUE(rig.Control(29).IsHidden());
    EXPECT_EQ(rig.Normalized(kLfo1Target), 0.5);
}

TEST(EditorInput, HoldButtonSetsRestartWhileHeldAndRestartsTheLfos)
{
    // LFO1 drives Base Freq; its marker shows where it stands after a block.
    EditorRig rig, fresh;
    auto marker = [](EditorRig& r) {
        r.Process();
        return r.editor->Controller().DisplayState().lfo[0].position;
    };
    rig.SetNormalized(kLfo1Target, 0.25);
    fresh.SetNormalized(kLfo1Target, 0.25);
    const float afterOneBlock = marker(fresh);
    rig.Process(20);
    ASSERT_NE(marker(rig), afterOneBlock);

    rig.window->Press(275, 330, EditorRig::kLeft);
    EXPECT_EQ(rig.Real(kRestartLfos), 1.0);
    EXPECT_EQ(marker(rig), afterOneBlock);
    rig.window->Release(400, 10, EditorRig::kLeft); // released elsewhere: still the button's
    EXPECT_EQ(rig.Real(kRestartLfos), 0.0);
    EXPECT_THAT(rig.Edits(), ElementsAre("b22", "a22", "a22", "e22"));
}

TEST(EditorInput, SyncClickConvertsTheRateAndSwapsTheRateKnobs)
{
    EditorRig rig;
    rig.SetNormalized(kLfo1Target, 0.75);
    rig.SetNormalized(kLfo1RateSync, 0.25);
    rig.Process();
    const double rateMsBefore = rig.Real(kLfo1RateMs);
    rig.Click(200, 200); // LFO1 Sync: Yes -> No
    rig.ApplyPending();
    EXPECT_EQ(rig.Real(kLfo1Sync), 0.0);
    EXPECT_NE(rig.Real(kLfo1RateMs), rateMsBefore);
    rig.Tick();
    EXPECT_TRUE(rig.Control(19).IsHidden());
    EXPECT_FALSE(rig.Control(20).IsHidden());
    EXPECT_EQ(rig.editor->GetControlAt(201, 277), 20);

    // Back to synced: the free rate becomes its note length at the host's tempo.
    rig.product->SetParamValue(kLfo1RateMs, 2000);
    rig.ApplyPending();
    rig.ClearEvents();
    rig.Click(200, 200);
    rig.ApplyPending();
    EXPECT_EQ(rig.Real(kLfo1Sync), 1.0);
    EXPECT_EQ(rig.Real(kLfo1RateSync), 15); // "1/1": 2 s at 120 BPM
    EXPECT_THAT(rig.Edits(), ElementsAre("b10", "a10", "e10", "b11", "a11", "e11"));
}

TEST(EditorInput, BandTextFollowsBinauralAndBeats)
{
    EditorRig rig;
    auto& band = static_cast<tpm::TextControl&>(rig.Control(5));
    EXPECT_EQ(band.GetText(), "THETA"); // 4 Hz
    rig.product->SetParamValue(kBinaural, 10);
    rig.ApplyPending();
    rig.Tick();
    EXPECT_EQ(band.GetText(), "ALPHA");
    rig.product->SetParamValue(kBinaural, 0);
    rig.ApplyPending();
    rig.Tick();
    EXPECT_EQ(band.GetText(), "Binaural Off");
    rig.Click(270, 110); // Beats: Binaural -> Monaural
    rig.ApplyPending();
    rig.Tick();
    EXPECT_EQ(band.GetText(), "Monaural Off");
}

TEST(EditorInput, HiddenAndGrayedControlsAreNotHit)
{
    EditorRig rig;
    EXPECT_EQ(rig.editor->GetControlAt(201, 277), 19); // 20 lies on top but is hidden
    rig.Control(19).SetGrayed(true);
    EXPECT_EQ(rig.editor->GetControlAt(201, 277), 0); // the background
    rig.Click(201, 277);
    EXPECT_TRUE(rig.Edits().empty());
}

TEST(EditorInput, EntryFieldCommitsTypedTextCancelsAndLeavesTextsThatNameNoValue)
{
    EditorRig rig;
    rig.Click(kBaseFreqX, kBaseFreqY, EditorRig::kRight);
    ASSERT_TRUE(rig.window->EntryOpen());
    EXPECT_EQ(rig.window->Entry().text, "200.0");
    rig.window->TypeIntoEntry("440");
    rig.window->PressEnter();
    rig.Tick();
    EXPECT_FALSE(rig.window->EntryOpen());
    EXPECT_NEAR(rig.Real(kBaseFreq), 440.0, 1e-9);

    rig.Click(kBaseFreqX, kBaseFreqY, EditorRig::kRight);
    rig.window->TypeIntoEntry("999");
    rig.ClearEvents();
    rig.window->Press(kMixX, kMixY, EditorRig::kRight); // a right press elsewhere cancels
    rig.Tick();
    EXPECT_NEAR(rig.Real(kBaseFreq), 440.0, 1e-9);
    EXPECT_THAT(rig.Edits(), ElementsAre("a0")); // the unchanged value, sent once more

    rig.Click(kBaseFreqX, kBaseFreqY, EditorRig::kRight);
    rig.window->TypeIntoEntry("abc");
    rig.ClearEvents();
    rig.window->PressEnter();
    rig.Tick();
    EXPECT_NEAR(rig.Real(kBaseFreq), 440.0, 1e-9); // text that names no value changes nothing
    EXPECT_THAT(rig.Edits(), ElementsAre("a0"));

    rig.Click(kBaseFreqX, kBaseFreqY, EditorRig::kRight);
    rig.window->TypeIntoEntry("136,1");
    rig.window->Press(kMixX, kMixY, EditorRig::kLeft); // a left press elsewhere commits
    rig.window->Release(kMixX, kMixY, EditorRig::kLeft);
    rig.Tick();
    EXPECT_NEAR(rig.Real(kBaseFreq), 136.1, 1e-9); // a decimal comma

    rig.Click(100, 220, EditorRig::kRight); // a list parameter offers its texts
    ASSERT_EQ(rig.window->Entry().kind, tpm::EntryFieldSpec::Kind::List);
    rig.window->PickEntry(4);
    rig.Tick();
    EXPECT_EQ(rig.Normalized(kLfo1Target), 1.0);
}

TEST(EditorInput, WebLinkTriesTheSecondAddressWhenTheFirstFails)
{
    EditorRig rig;
    rig.Click(270, 40);
    ASSERT_EQ(rig.window->OpenedPages().size(), 1u);
    rig.window->RefusePage(rig.window->OpenedPages()[0]);
    rig.Click(270, 40);
    ASSERT_EQ(rig.window->OpenedPages().size(), 2u);
    EXPECT_NE(rig.window->OpenedPages()[1], rig.window->OpenedPages()[0]);
}

TEST(EditorInput, SyncClickTravelsWithItsOwnChangeOnly)
{
    EditorRig rig;
    rig.SetNormalized(kLfo1Target, 0.75);
    rig.SetNormalized(kLfo1RateSync, 0.25);
    rig.Process();
    rig.ClearEvents();
    rig.Click(200, 200); // Yes -> No: at the next block the running rate becomes the millisecond rate
    rig.ApplyPending();
    const std::string sync = std::to_string(kLfo1Sync), ms = std::to_string(kLfo1RateMs);
    EXPECT_THAT(rig.Edits(), ElementsAre("b" + sync, "a" + sync, "e" + sync, "b" + ms, "a" + ms, "e" + ms));
    const double convertedMs = rig.Real(kLfo1RateMs);

    // The host switching back and forth converts nothing: the click's command went with its own change.
    const double syncedBefore = rig.Real(kLfo1RateSync);
    rig.ClearEvents();
    rig.SetNormalized(kLfo1Sync, 1.0);
    rig.ApplyPending();
    rig.SetNormalized(kLfo1Sync, 0.0);
    rig.ApplyPending();
    EXPECT_TRUE(rig.Edits().empty());
    EXPECT_EQ(rig.Real(kLfo1RateSync), syncedBefore);
    EXPECT_EQ(rig.Real(kLfo1RateMs), convertedMs);

    // A right press sends the unchanged value with the command; a later host switch still converts nothing.
    rig.Click(200, 200, EditorRig::kRight);
    rig.ApplyPending();
    EXPECT_THAT(rig.Edits(), ElementsAre("b" + sync, "a" + sync, "e" + sync));
    rig.SetNormalized(kLfo1Sync, 1.0);
    rig.ApplyPending();
    EXPECT_EQ(rig.Real(kLfo1RateSync), syncedBefore);
    EXPECT_EQ(rig.Edits().size(), 3u);
}

TEST(EditorInput, AValueTheEngineSetsIsOneEditWhetherTheWindowIsOpenOrNot)
{
    // The same sync click, from the open window and from the controller with no window open.
    EditorRig open;
    EditorRig closed(false);
    std::vector<std::vector<std::string>> edits;
    std::vector<std::vector<uint8_t>> states;
    for (EditorRig* rig : {&open, &closed})
    {
        rig->SetNormalized(kLfo1Target, 0.75);
        rig->SetNormalized(kLfo1RateSync, 0.25);
        rig->Process();
        rig->ClearEvents();
        if (rig == &open)
            rig->Click(200, 200);
        else
        {
            tpm::IEditorController& controller = rig->editor->Controller();
            controller.BeginGesture(kLfo1Sync);
            controller.SetValueAfterCommand(tpm::EditorCommand::kSyncClick, kLfo1Sync, 0.0);
            controller.EndGesture(kLfo1Sync);
        }
        rig->ApplyPending();
        edits.push_back(rig->Edits());
        states.emplace_back();
        EXPECT_TRUE(rig->product->SaveState(states.back()));
    }
    EXPECT_EQ(edits[0].size(), 6u);
    EXPECT_EQ(edits[0], edits[1]);
    EXPECT_EQ(states[0], states[1]);
    EXPECT_EQ(open.LastValue(kLfo1RateMs), closed.LastValue(kLfo1RateMs));

    // The open window shows the new rate at its next tick.
    open.Tick();
    EXPECT_DOUBLE_EQ(open.Control(20).Value(), open.Normalized(kLfo1RateMs));
}

TEST(EditorInput, AKnobShowsTheValueTheParameterStores)
{
    // A drag leaves Mix's knob between steps; the text shows what the plug-in keeps, rounded, not cut.
    EditorRig rig;
    tpm::IEditorController& controller = rig.editor->Controller();
    EXPECT_EQ(controller.DisplayText(kMix, 0.3955), "40");
    EXPECT_EQ(controller.DisplayText(kMix, 0.3949), "39");
    EXPECT_EQ(controller.DisplayText(kBinaural, 0.5), "256.00");
}
} // namespace tpm
