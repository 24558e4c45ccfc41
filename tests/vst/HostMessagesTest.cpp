#include "editor/EditorWindow.h"
#include "editor/headless/HeadlessWindowLayer.h"
#include "support/LinkedPlugin.h"
#include "support/ParamIndex.h"
#include "support/TestModule.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace tpm
{
namespace
{
struct LinkedPlugin
{
    std::unique_ptr<Vst2HostedPlugin> host;
    TwinPulseToneMix* plug = nullptr;
};

LinkedPlugin Make(const HostSettings& settings = {})
{
    std::string error;
    LinkedPlugin p;
    p.host = Vst2HostedPlugin::Create(&MakeLinkedPlugin, error, settings);
    if (p.host)
        p.plug = ProductOf(p.host->Effect());
    return p;
}
} // namespace

// Half a second of tones over silence, in blocks of the host's size: the left channel.
std::vector<float> RenderTones(const HostSettings& settings, bool lfoOnBaseFreq = false)
{
    auto p = LoadTestModule(settings);
    if (!p)
        return {};
    p->Start();
    AEffect* e = p->Effect();
    e->setParameter(e, kMix, 1.0f);
    if (lfoOnBaseFreq) // synced by default: its rate follows the host's tempo
    {
        p->SetParamText(kLfo1Target, "Base Freq");
        p->SetParamText(kLfo1RateSync, "1/16");
    }
    std::vector<float> left(22050), right(22050);
    for (std::size_t at = 0; at < left.size(); at += 1024)
    {
        const int frames = static_cast<int>(std::min<std::size_t>(1024, left.size() - at));
        float* io[] = {left.data() + at, right.data() + at};
        e->processReplacing(e, io, io, frames);
    }
    return left;
}

float Peak(const std::vector<float>& samples)
{
    float peak = 0.0f;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

TEST(TimeQueries, TheHostsTransportAndTempoReachTheBlock)
{
    // Recording counts as playing; no time information at all as stopped.
    for (const auto& [playing, recording, available, sounds] : {std::tuple{true, false, true, true},
                                                                {false, true, true, true},
                                                                {false, false, true, false},
                                                                {true, false, false, false}})
    {
        HostSettings settings;
        settings.playing = playing;
        settings.recording = recording;
        settings.timeInfoAvailable = available;
        EXPECT_EQ(Peak(RenderTones(settings)) > 0.01f, sounds) << playing << recording << available;
    }

    // A tempo the host marks invalid, or a negative one, is no tempo.
    HostSettings settings;
    settings.playing = true;
    const auto at120 = RenderTones(settings, true);
    settings.tempo = 60.0;
    const auto at60 = RenderTones(settings, true);
    settings.tempoValid = false;
    const auto invalid = RenderTones(settings, true);
    settings.tempoValid = true;
    settings.tempo = -5.0;
    const auto negative = RenderTones(settings, true);
    EXPECT_NE(at120, at60);
    EXPECT_NE(at60, invalid);
    EXPECT_EQ(invalid, negative);
}

TEST(TimeQueries, AskedOncePerBlockWhateverItsLength)
{
    HostSettings settings;
    settings.blockSize = 480;
    settings.playing = true;
    auto p = LoadTestModule(settings);
    ASSERT_TRUE(p);
    p->Start();
    AEffect* e = p->Effect();
    e->setParameter(e, kLfo1Target, 0.5f); // an LFO running changes nothing
    e->setParameter(e, kLfo2Target, 0.75f);
    std::vector<double> l(480), r(480);
    double* io[] = {l.data(), r.data()};
    for (const bool playAnyway : {false, true})
    {
        e->setParameter(e, kPlayAnyway, playAnyway ? 1.0f : 0.0f);
        const int perBlock = playAnyway ? 1 : 2; // tempo, and the transport unless it plays anyway
        for (const int frames : {1, 64, 480})    // up to the block size the host announced
        {
            p->ClearCalls();
            for (int i = 0; i < 5; ++i)
                e->processDoubleReplacing(e, io, io, frames);
            EXPECT_EQ(p->CountCalls(vst::audioMasterGetTime), 5 * perBlock) << frames;
            EXPECT_EQ(p->Calls().size(), static_cast<std::size_t>(5 * perBlock)) << frames;
        }
    }
}

TEST(HostIdentification, AskedOnceAtOpenAndCached)
{
    HostSettings settings;
    settings.productName = "Steinberg Cubase and Nuendo";
    settings.vendorVersion = 10203;
    auto plugin = LoadTestModule(settings);
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetProductString), 0); // construction asks nothing
    plugin->Dispatch(vst::effOpen);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetProductString), 1);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetVendorVersion), 1);
    plugin->Dispatch(vst::effOpen);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetProductString), 1);
}

TEST(HostIdentification, EmptyProductNameAsksNoVersion)
{
    HostSettings settings;
    settings.productName = "";
    auto plugin = LoadTestModule(settings);
    ASSERT_TRUE(plugin);
    plugin->Dispatch(vst::effOpen);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetProductString), 1);
    EXPECT_EQ(plugin->CountCalls(vst::audioMasterGetVendorVersion), 0);
}

TEST(HostIdentification, CodesAreCachedAndHostsWithChannelQuirksStillGetStereo)
{
    HostSettings settings;
    settings.productName = "Adobe Audition";
    auto p = Make(settings);
    ASSERT_TRUE(p.plug);
    p.host->Dispatch(vst::effOpen);
    EXPECT_EQ(Vst2Effect::FromEffect(p.host->Effect())->HostCode(), 17);
    EXPECT_EQ(p.host->Effect()->numInputs, 2);
    EXPECT_EQ(p.host->Effect()->numOutputs, 2);
    VstPinProperties pin{};
    EXPECT_EQ(p.host->Dispatch(vst::effGetInputProperties, 1, 0, &pin), 1);
}

TEST(HostMessages, EditorChangesAreAutomatedAndBracketed)
{
    auto p = Make();
    ASSERT_TRUE(p.plug);
    p.host->Dispatch(vst::effOpen);
    p.host->ClearCalls();
    tpm::IEditorController& editor = p.plug->EditorControl();
    editor.BeginGesture(7);
    EXPECT_EQ(editor.SetValue(7, 0.25), 0.25);
    EXPECT_EQ(p.host->CountCalls(vst::audioMasterEndEdit), 0);
    editor.EndGesture(7);
    const auto calls = p.host->Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].opcode, vst::audioMasterBeginEdit);
    EXPECT_EQ(calls[0].index, 7);
    EXPECT_EQ(calls[1].opcode, vst::audioMasterAutomate);
    EXPECT_EQ(calls[1].opt, 0.25f);
    EXPECT_EQ(calls[2].opcode, vst::audioMasterEndEdit);
    EXPECT_EQ(p.host->ParamDisplay(7), "25");

    p.host->ClearCalls();
    p.plug->Host().UpdateDisplay();
    editor.BeginGesture(3);
    EXPECT_EQ(p.host->CountCalls(vst::audioMasterUpdateDisplay), 1);
    EXPECT_EQ(p.host->CountCalls(vst::audioMasterBeginEdit), 1);
}

TEST(HostMessages, TheEditorsGripResizesThroughTheHostWindow)
{
    HostSettings settings;
    settings.editorResizable = true; // else the editor shows no grip
    auto p = Make(settings);
    ASSERT_TRUE(p.plug);
    p.host->Dispatch(vst::effOpen);
    auto* editor = dynamic_cast<tpm::EditorWindow*>(Vst2Effect::FromEffect(p.host->Effect())->Editor());
    ASSERT_TRUE(editor);
    editor->SetWindowLayerFactory(&tpm::HeadlessWindowLayer::Create);
    int width = 0, height = 0;
    ASSERT_TRUE(p.host->EditorSize(width, height)); // as hosts ask before they open the window
    ASSERT_TRUE(p.host->OpenEditor(nullptr));
    auto* window = static_cast<tpm::HeadlessWindowLayer*>(editor->WindowLayer());
    // The grip in the bottom-right corner, dragged down and right: the host is asked for an
    // aspect-correct size, and the editor takes it once the host agreed.
    window->Press(width - 4, height - 4, {true});
    window->Move(width + 446, height + 446, {true});
    window->Release(width + 446, height + 446, {true});
    ASSERT_TRUE(p.host->TakeEditorRequest(width, height));
    EXPECT_GT(width, 550);
    const tpm::EditorSize fit = tpm::FitEditorSize(width, height);
    EXPECT_EQ(fit.width, width);
    EXPECT_EQ(fit.height, height);
    EXPECT_EQ(editor->Width(), width);
    int now = 0, nowHeight = 0;
    ASSERT_TRUE(p.host->EditorSize(now, nowHeight));
    EXPECT_EQ(now, width);
    EXPECT_EQ(nowHeight, height);
    p.host->CloseEditor();
}
} // namespace tpm
