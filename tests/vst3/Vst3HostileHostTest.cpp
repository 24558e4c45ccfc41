// Hosts that call the VST3 bundle out of order, hand it damaged state, or let go of its view while it
// is attached get refusals, never a crash; what they break changes nothing.
#include "tools/hostkit/Vst3HostServices.h"
#include "tools/hostkit/Vst3MemoryStream.h"
#include "tools/hostkit/Vst3Module.h"
#include "tools/hostkit/Vst3ParameterChanges.h"
#include "tools/hostkit/Vst3Query.h"
#include "tools/vsthost/HostWindow.h"
#include "vst3/Vst3TestSupport.h"

namespace tpm
{
namespace
{
#if defined(_WIN32)
constexpr const char* kOwnPlatform = vst3::kPlatformTypeHWND;
constexpr const char* kForeignPlatform = vst3::kPlatformTypeX11EmbedWindowID;
#else
constexpr const char* kOwnPlatform = vst3::kPlatformTypeX11EmbedWindowID;
constexpr const char* kForeignPlatform = vst3::kPlatformTypeHWND;
#endif

// The module's first class made through its factory, driven call by call; the services stand in for
// the host context and the editor's frame.
struct RawPlugin
{
    std::shared_ptr<Vst3Module> module;
    Vst3HostServices* services = Vst3HostServices::Create(HostSettings{});
    vst3::IComponent* component = nullptr;

    RawPlugin()
    {
        std::string error;
        module = Vst3Module::Load(TPM_VST3_BUNDLE_PATH, error);
        EXPECT_TRUE(module) << error;
        vst3::PClassInfo info{};
        void* made = nullptr;
        if (module && module->Factory()->getClassInfo(0, &info) == vst3::kResultOk &&
            module->Factory()->createInstance(info.cid, vst3::IComponent::iid.bytes, &made) ==
                vst3::kResultOk)
            component = static_cast<vst3::IComponent*>(made);
        EXPECT_TRUE(component);
    }
    ~RawPlugin()
    {
        if (component)
            component->release();
        services->release();
    }
    RawPlugin(const RawPlugin&) = delete;
    RawPlugin& operator=(const RawPlugin&) = delete;

    vst3::tresult Process(vst3::IAudioProcessor& processor, int frames,
                          vst3::int32 sampleSize = vst3::kSample32, vst3::IParameterChanges* output = nullptr)
    {
        std::vector<float> l(static_cast<std::size_t>(frames)), r(static_cast<std::size_t>(frames));
        float* channels[2] = {l.data(), r.data()};
        vst3::AudioBusBuffers in{}, out{};
        in.numChannels = out.numChannels = 2;
        in.channelBuffers32 = channels;
        out.channelBuffers32 = channels;
        vst3::ProcessData data{};
        data.symbolicSampleSize = sampleSize;
        data.numSamples = frames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
        data.outputParameterChanges = output;
        return processor.process(data);
    }
};
// Counts the host re-reads the plug-in asks for.
class RereadCounter final : public vst3::IComponentHandler
{
  public:
    vst3::tresult queryInterface(const vst3::TUID, void** obj) override
    {
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::tresult beginEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult performEdit(vst3::ParamID, vst3::ParamValue) override { return vst3::kResultOk; }
    vst3::tresult endEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult restartComponent(vst3::int32 flags) override
    {
        rereads += (flags & vst3::kParamValuesChanged) != 0;
        return vst3::kResultOk;
    }
    int rereads = 0;
};
} // namespace

TEST(Vst3HostileHost, CallsOutOfOrderAreRefusedWithoutHarm)
{
    RawPlugin raw;
    ASSERT_TRUE(raw.component);
    vst3::IAudioProcessor* processor = Vst3Query<vst3::IAudioProcessor>(raw.component);
    ASSERT_TRUE(processor);
    std::vector<uint8_t> bytes;
    Vst3MemoryStream stream(bytes);
    // Before initialize.
    EXPECT_NE(raw.component->setActive(1), vst3::kResultOk);
    EXPECT_NE(raw.Process(*processor, 64), vst3::kResultOk) << "process before anything";
    EXPECT_NE(raw.component->getState(nullptr), vst3::kResultOk);
    ASSERT_EQ(raw.component->initialize(raw.services->Context()), vst3::kResultOk);

    EXPECT_NE(raw.Process(*processor, 64), vst3::kResultOk) << "process before setActive";
    EXPECT_NE(processor->setProcessing(1), vst3::kResultOk) << "processing before setActive";
    vst3::SpeakerArrangement mono = vst3::SpeakerArr::kMono, stereo = vst3::SpeakerArr::kStereo;
    EXPECT_NE(processor->setBusArrangements(&mono, 1, &stereo, 1), vst3::kResultOk) << "mono in";
    EXPECT_NE(processor->setBusArrangements(&stereo, 1, nullptr, 0), vst3::kResultOk) << "no output";
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), vst3::kResultOk);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 128, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), vst3::kResultOk);
    ASSERT_EQ(raw.component->setActive(1), vst3::kResultOk);
    EXPECT_NE(raw.component->setActive(1), vst3::kResultOk) << "active twice";
    EXPECT_NE(raw.Process(*processor, 64), vst3::kResultOk) << "process before setProcessing";
    processor->setProcessing(1);
    EXPECT_EQ(raw.Process(*processor, 64), vst3::kResultOk);
    raw.Process(*processor, 64, 7); // an unknown sample size
    raw.Process(*processor, 4096);  // beyond the set-up block: refused or split, never overrun
    EXPECT_EQ(raw.component->getState(&stream), vst3::kResultOk) << "state while processing";
    // Terminated while still processing, then released: the host's last word.
    raw.component->terminate();
    raw.Process(*processor, 64);
    processor->release();
}

TEST(Vst3HostileHost, DamagedStateChangesNothing)
{
    auto plugin = LoadVst3();
    ASSERT_TRUE(plugin);
    plugin->SetParamText(0, "440");
    std::vector<uint8_t> good;
    ASSERT_TRUE(plugin->SaveState(good));
    ASSERT_GT(good.size(), 12u);
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    std::vector<uint8_t> otherCount = good;
    otherCount[8] = 22;
    std::vector<uint8_t> later = good;
    later[4] = 9;
    std::vector<uint8_t> empty;
    std::vector<uint8_t> noise(good.size());
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 131 + 7);
    for (const auto* damaged : {&cut, &otherCount, &later, &noise, &empty})
        EXPECT_FALSE(plugin->LoadState(*damaged));
    std::vector<uint8_t> after;
    ASSERT_TRUE(plugin->SaveState(after));
    EXPECT_EQ(after, good);
    EXPECT_EQ(plugin->ParamDisplay(0), "440.0");
}

// Runs only under a display (the vst3_views entry: Xvfb, or Wine's).
TEST(Vst3HostileHost, ViewLetGoWhileAttached)
{
    RawPlugin raw;
    ASSERT_TRUE(raw.component);
    ASSERT_EQ(raw.component->initialize(raw.services->Context()), vst3::kResultOk);
    vst3::IEditController* controller = Vst3Query<vst3::IEditController>(raw.component);
    ASSERT_TRUE(controller);
    vst3::IPlugView* view = controller->createView(vst3::kViewTypeEditor);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->isPlatformTypeSupported(kForeignPlatform), vst3::kResultFalse);
    EXPECT_EQ(controller->createView("another view"), nullptr);
    vst3::ViewRect size{};
    ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
    EXPECT_EQ(size.right - size.left, 550);
    EXPECT_EQ(size.bottom - size.top, 363);
    EXPECT_NE(view->removed(), vst3::kResultOk) << "removed before attached";
    std::string error;
    auto window = HostWindow::Create(550, 363, "vst3 hostile host", error);
    ASSERT_TRUE(window) << "no display: " << error;
    view->setFrame(raw.services->Frame());
    ASSERT_EQ(view->attached(window->ParentHandle(), kOwnPlatform), vst3::kResultOk);
    EXPECT_NE(view->attached(window->ParentHandle(), kOwnPlatform), vst3::kResultOk) << "attached twice";
    for (int i = 0; i < 5; ++i)
    {
        window->PumpEvents(16);
        raw.services->RunLoop().Service();
    }
    // A second view, attached too; the plug-in is let go before either view.
    vst3::IPlugView* second = controller->createView(vst3::kViewTypeEditor);
    auto secondWindow = HostWindow::Create(550, 363, "vst3 hostile host 2", error);
    if (second && secondWindow)
        second->attached(secondWindow->ParentHandle(), kOwnPlatform);
    controller->release();
    raw.component->terminate();
    raw.component->release();
    raw.component = nullptr;
    window->PumpEvents(16);
    raw.services->RunLoop().Service();
    // The first view's last reference goes while attached, without removed(); the second after.
    view->release();
    window->PumpEvents(16);
    raw.services->RunLoop().Service();
    if (second)
    {
        second->removed();
        second->release();
    }
    EXPECT_EQ(raw.services->RunLoop().TimerCount(), 0) << "a timer outlived its views";
    EXPECT_EQ(raw.services->RunLoop().HandlerCount(), 0) << "a descriptor handler outlived its views";
}

// Ardour keeps a single-precision copy of every value and counts whatever a re-read finds different as
// the user's change since the program it loaded. With the editor open and blocks running, a program it
// picks reaches it through a block's output changes only: the editor's ticks, before and after that
// block, ask for no re-read.
TEST(Vst3HostileHost, ViewTicksAskNoRereadOfAProgramTheBlocksReport)
{
#if defined(_WIN32)
    GTEST_SKIP()
        << "the editor ticks from a thread timer here; the host's run loop counts its ticks on Linux";
#endif
    RawPlugin raw;
    ASSERT_TRUE(raw.component);
    ASSERT_EQ(raw.component->initialize(raw.services->Context()), vst3::kResultOk);
    auto* controller = Vst3Query<vst3::IEditController>(raw.component);
    auto* processor = Vst3Query<vst3::IAudioProcessor>(raw.component);
    ASSERT_TRUE(controller && processor);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 128, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), vst3::kResultOk);
    ASSERT_EQ(raw.component->setActive(1), vst3::kResultOk);
    ASSERT_EQ(processor->setProcessing(1), vst3::kResultOk);
    RereadCounter handler;
    ASSERT_EQ(controller->setComponentHandler(&handler), vst3::kResultOk);
    Vst3ParameterChanges output;
    ASSERT_EQ(raw.Process(*processor, 128, vst3::kSample32, &output), vst3::kResultOk);

    vst3::IPlugView* view = controller->createView(vst3::kViewTypeEditor);
    ASSERT_TRUE(view);
    std::string error;
    auto window = HostWindow::Create(550, 363, "vst3 program with the view open", error);
    if (!window)
    {
        view->release();
        GTEST_SKIP() << "no display: " << error;
    }
    view->setFrame(raw.services->Frame());
    ASSERT_EQ(view->attached(window->ParentHandle(), kOwnPlatform), vst3::kResultOk);
    // The editor's next tick on the host's run loop.
    const auto tick = [&] {
        const long fired = raw.services->RunLoop().TimersFired();
        while (raw.services->RunLoop().TimersFired() == fired)
        {
            window->PumpEvents(16);
            raw.services->RunLoop().Service();
        }
    };
    tick();

    constexpr vst3::ParamID kProgram = 1000, kMix = 7;
    ASSERT_EQ(controller->setParamNormalized(kProgram, 1.0 / 140.0), vst3::kResultOk);
    const double programMix = controller->getParamNormalized(kMix);
    tick();
    output.Clear();
    ASSERT_EQ(raw.Process(*processor, 128, vst3::kSample32, &output), vst3::kResultOk);
    EXPECT_EQ(output.getParameterCount(), 22);
    tick();
    EXPECT_EQ(handler.rereads, 0);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(kMix), programMix);

    view->removed();
    view->release();
    controller->setComponentHandler(nullptr);
    processor->setProcessing(0);
    raw.component->setActive(0);
    processor->release();
    controller->release();
    raw.component->terminate();
}
} // namespace tpm
