// The built .vst3 module driven through its interfaces directly, for what only direct calls show:
// the factory's class, interface lookup and reference lifetime, bus refusal, damaged state, and the
// program-change parameter.
#include "formats/vst3/Vst3Abi.h"
#include "support/PeakMemory.h"
#include "tools/hostkit/ModuleLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tpm
{
namespace
{
using namespace vst3;

// The class id the module must keep forever.
const char kClassId[] = "\x0E\x0A\x6D\x59\x80\xB8\x45\x7C\x95\xC3\xA0\x17\x4A\xEE\x1B\xFC";

std::string Utf8(const char16* text)
{
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text < 0x80 ? *text : '?');
    return out;
}

// A host's memory stream that hands out at most `step` bytes per read, as some hosts' streams do.
class MemoryStream final : public IBStream
{
  public:
    explicit MemoryStream(std::vector<uint8_t> bytes = {}, int32 step = 1 << 30)
        : data(std::move(bytes)), step(step)
    {
    }
    tresult queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 addRef() override { return 1; }
    uint32 release() override { return 1; }
    tresult read(void* buffer, int32 numBytes, int32* numBytesRead) override
    {
        const auto n = static_cast<int32>(std::min<std::size_t>(
            {static_cast<std::size_t>(numBytes), static_cast<std::size_t>(step), data.size() - pos}));
        if (n > 0)
            std::memcpy(buffer, data.data() + pos, static_cast<std::size_t>(n));
        pos += static_cast<std::size_t>(n);
        if (numBytesRead)
            *numBytesRead = n;
        return kResultOk;
    }
    tresult write(void* buffer, int32 numBytes, int32* numBytesWritten) override
    {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        data.insert(data.end(), bytes, bytes + numBytes);
        if (numBytesWritten)
            *numBytesWritten = numBytes;
        return kResultOk;
    }
    tresult seek(int64, int32, int64*) override { return kNotImplemented; }
    tresult tell(int64* at) override
    {
        *at = static_cast<int64>(pos);
        return kResultOk;
    }
    std::vector<uint8_t> data;
    std::size_t pos = 0;
    int32 step;
};

class RecordingHandler final : public IComponentHandler
{
  public:
    tresult queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 addRef() override { return ++refs; }
    uint32 release() override { return --refs; }
    tresult beginEdit(ParamID) override { return kResultOk; }
    tresult performEdit(ParamID, ParamValue) override { return kResultOk; }
    tresult endEdit(ParamID) override { return kResultOk; }
    tresult restartComponent(int32 flags) override
    {
        restarts.push_back(flags);
        return kResultOk;
    }
    uint32 refs = 0;
    std::vector<int32> restarts;
};

// One parameter's points for a block.
class PointQueue final : public IParamValueQueue
{
  public:
    PointQueue(ParamID id, std::vector<std::pair<int32, double>> points) : id(id), points(std::move(points))
    {
    }
    tresult queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 addRef() override { return 1; }
    uint32 release() override { return 1; }
    ParamID getParameterId() override { return id; }
    int32 getPointCount() override { return static_cast<int32>(points.size()); }
    tresult getPoint(int32 index, int32& offset, ParamValue& value) override
    {
        if (index < 0 || index >= getPointCount())
            return kInvalidArgument;
        offset = points[static_cast<std::size_t>(index)].first;
        value = points[static_cast<std::size_t>(index)].second;
        return kResultOk;
    }
    tresult addPoint(int32 offset, ParamValue value, int32& index) override
    {
        index = getPointCount();
        points.emplace_back(offset, value);
        return kResultOk;
    }
    ParamID id;
    std::vector<std::pair<int32, double>> points;
};

class Changes final : public IParameterChanges
{
  public:
    tresult queryInterface(const TUID, void** obj) override
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 addRef() override { return 1; }
    uint32 release() override { return 1; }
    int32 getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* getParameterData(int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? &queues[static_cast<std::size_t>(index)] : nullptr;
    }
    IParamValueQueue* addParameterData(const ParamID& id, int32& index) override
    {
        index = getParameterCount();
        return &queues.emplace_back(id, std::vector<std::pair<int32, double>>{});
    }
    // The last point of parameter id, or -1.
    double Last(ParamID id) const
    {
        for (const PointQueue& queue : queues)
            if (queue.id == id && !queue.points.empty())
                return queue.points.back().second;
        return -1.0;
    }
    std::vector<PointQueue> queues;
};

template <typename T> T* Query(FUnknown* object)
{
    void* found = nullptr;
    return object->queryInterface(T::iid.bytes, &found) == kResultOk ? static_cast<T*>(found) : nullptr;
}

class Vst3Module : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string error;
#if defined(_WIN32)
        entry = ModuleLibrary::Open(TPM_VST3_MODULE_PATH, error, kInitDllProcName);
        ASSERT_TRUE(entry) << error;
        ASSERT_TRUE(reinterpret_cast<InitDllProc>(entry->EntrySymbol())());
#else
        entry = ModuleLibrary::Open(TPM_VST3_MODULE_PATH, error, kModuleEntryProcName);
        ASSERT_TRUE(entry) << error;
        ASSERT_TRUE(reinterpret_cast<LinuxModuleEntryProc>(entry->EntrySymbol())(nullptr));
#endif
        library = ModuleLibrary::Open(TPM_VST3_MODULE_PATH, error, kGetFactoryProcName);
        ASSERT_TRUE(library) << error;
        factory = reinterpret_cast<GetFactoryProc>(library->EntrySymbol())();
        ASSERT_NE(factory, nullptr);
    }
    void TearDown() override
    {
        if (factory)
            factory->release();
    }

    // A new instance, initialised, as IComponent with one reference.
    IComponent* NewComponent()
    {
        void* made = nullptr;
        EXPECT_EQ(factory->createInstance(kClassId, IComponent::iid.bytes, &made), kResultOk);
        auto* component = static_cast<IComponent*>(made);
        if (component)
        {
            EXPECT_EQ(component->initialize(nullptr), kResultOk);
        }
        return component;
    }
    // Releases the other interfaces asked of a component, then terminates and releases it.
    static void Close(IComponent* component, std::initializer_list<FUnknown*> faces)
    {
        for (FUnknown* face : faces)
            face->release();
        component->terminate();
        component->release();
    }
    static ParamID ProgramParam(IEditController& controller)
    {
        for (int32 i = 0; i < controller.getParameterCount(); ++i)
        {
            ParameterInfo info{};
            if (controller.getParameterInfo(i, info) == kResultOk &&
                (info.flags & ParameterInfo::kIsProgramChange))
                return info.id;
        }
        return kNoParamId;
    }

    // One stereo block of `frames` through process, "Play Anyway" and "Mix" full on at its first frame
    // so that the tones sound; the left channel's output.
    static std::vector<float> ToneBlock(IAudioProcessor& processor, int32 frames, tresult& result)
    {
        std::vector<float> left(static_cast<std::size_t>(frames)), right(left);
        float* channels[2] = {left.data(), right.data()};
        AudioBusBuffers in{2, 0, {channels}};
        AudioBusBuffers out{2, 0, {channels}};
        Changes changes;
        changes.queues.emplace_back(5, std::vector<std::pair<int32, double>>{{0, 1.0}});
        changes.queues.emplace_back(7, std::vector<std::pair<int32, double>>{{0, 1.0}});
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &in;
        data.outputs = &out;
        data.inputParameterChanges = &changes;
        result = processor.process(data);
        return left;
    }

    // A process call without audio that carries changes only, as hosts make between blocks.
    static ProcessData ChangesOnly(IParameterChanges* in, IParameterChanges* out)
    {
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.inputParameterChanges = in;
        data.outputParameterChanges = out;
        return data;
    }

    std::unique_ptr<ModuleLibrary> entry;
    std::unique_ptr<ModuleLibrary> library;
    IPluginFactory* factory = nullptr;
};

TEST_F(Vst3Module, FactoryDescribesOneAudioModuleClass)
{
    PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Qovel");
    EXPECT_STREQ(info.url, "https://www.twinpulsetonemix.org/");
    EXPECT_EQ(info.flags & PFactoryInfo::kUnicode, PFactoryInfo::kUnicode);
    ASSERT_EQ(factory->countClasses(), 1);

    auto* factory3 = Query<IPluginFactory3>(factory);
    ASSERT_NE(factory3, nullptr);
    PClassInfo2 info2{};
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), kResultOk);
    EXPECT_EQ(std::memcmp(info2.cid, kClassId, 16), 0);
    EXPECT_STREQ(info2.category, "Audio Module Class");
    EXPECT_STREQ(info2.name, "twinPulseToneMix");
    EXPECT_STREQ(info2.subCategories, "Fx");
    EXPECT_STREQ(info2.version, "1.0.0");
    EXPECT_EQ(info2.cardinality, PClassInfo::kManyInstances);
    PClassInfoW wide{};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(Utf8(wide.name), "twinPulseToneMix");
    EXPECT_EQ(Utf8(wide.vendor), "Qovel");
    EXPECT_NE(factory3->getClassInfo2(1, &info2), kResultOk);
    factory3->release();

    // The same class for hosts that read the bundle without loading the module.
    std::ifstream json(std::string(TPM_VST3_BUNDLE_PATH) + "/Contents/Resources/moduleinfo.json");
    const std::string text((std::istreambuf_iterator<char>(json)), std::istreambuf_iterator<char>());
#if defined(_WIN32)
    const char* const cid = "\"CID\": \"596D0A0EB8807C4595C3A0174AEE1BFC\""; // as a COM GUID
#else
    const char* const cid = "\"CID\": \"0E0A6D5980B8457C95C3A0174AEE1BFC\"";
#endif
    EXPECT_NE(text.find(cid), std::string::npos) << text;
    EXPECT_NE(text.find("\"Version\": \"1.0.0\""), std::string::npos);

    void* made = nullptr;
    const char otherClass[16] = {1};
    EXPECT_NE(factory->createInstance(otherClass, IComponent::iid.bytes, &made), kResultOk);
    EXPECT_EQ(made, nullptr);
}

TEST_F(Vst3Module, OneObjectAnswersEveryInterfaceAndLivesUntilItsLastRelease)
{
    IComponent* component = NewComponent();
    ASSERT_NE(component, nullptr);
    auto* processor = Query<IAudioProcessor>(component);
    auto* controller = Query<IEditController>(component);
    auto* units = Query<IUnitInfo>(controller);
    auto* requirements = Query<IProcessContextRequirements>(processor);
    ASSERT_TRUE(processor && controller && units && requirements);
    // One identity whichever interface is asked.
    auto* identity = Query<FUnknown>(component);
    for (FUnknown* face : std::initializer_list<FUnknown*>{processor, controller, units, requirements})
    {
        FUnknown* same = Query<FUnknown>(face);
        EXPECT_EQ(same, identity);
        same->release();
    }
    void* none = &none;
    EXPECT_EQ(component->queryInterface(IPlugFrame::iid.bytes, &none), kNoInterface);
    EXPECT_EQ(none, nullptr);
    TUID controllerClass{};
    EXPECT_NE(component->getControllerClassId(controllerClass), kResultOk);
    EXPECT_NE(requirements->getProcessContextRequirements() & IProcessContextRequirements::kNeedTempo, 0u);

    // The view keeps the object: everything else released, it still answers, and the last
    // release (the view's) ends it.
    IPlugView* view = controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(controller->createView(kViewTypeEditor), nullptr); // one editor at a time
    for (FUnknown* face :
         std::initializer_list<FUnknown*>{identity, processor, units, requirements, controller})
        face->release();
    EXPECT_EQ(component->terminate(), kResultOk);
    MemoryStream afterTerminate;
    EXPECT_NE(component->getState(&afterTerminate), kResultOk);
    EXPECT_EQ(component->release(), 1u); // the view's reference
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right - size.left, 550);
    EXPECT_EQ(size.bottom - size.top, 363);
    EXPECT_EQ(view->canResize(), kResultTrue); // the user may resize it
    EXPECT_EQ(view->release(), 0u);
}

// Whatever id an object answers, the interface's FUnknown is the object's one identity, and every
// reference handed out comes back: the factory, the plug-in object (base interfaces included) and the view.
TEST_F(Vst3Module, EveryInterfaceIsTheObjectsOwnAndEveryReferenceReturns)
{
    const auto references = [](FUnknown* object) {
        object->addRef();
        return object->release();
    };
    const auto answersAsOne = [&](FUnknown* object, std::initializer_list<const Uid*> ids) {
        FUnknown* identity = Query<FUnknown>(object);
        ASSERT_NE(identity, nullptr);
        const uint32 held = references(object);
        for (const Uid* id : ids)
        {
            void* face = nullptr;
            ASSERT_EQ(object->queryInterface(id->bytes, &face), kResultOk);
            FUnknown* same = Query<FUnknown>(static_cast<FUnknown*>(face));
            EXPECT_EQ(same, identity);
            EXPECT_EQ(references(object), held + 2);
            same->release();
            static_cast<FUnknown*>(face)->release();
        }
        identity->release();
        EXPECT_EQ(references(object), held - 1);
        void* none = &none;
        EXPECT_EQ(object->queryInterface(IRunLoop::iid.bytes, &none), kNoInterface);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(references(object), held - 1);
    };
    answersAsOne(factory, {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid});

    IComponent* component = NewComponent();
    ASSERT_NE(component, nullptr);
    answersAsOne(component, {&IPluginBase::iid, &IComponent::iid, &IAudioProcessor::iid,
                             &IProcessContextRequirements::iid, &IEditController::iid, &IUnitInfo::iid});
    auto* base = Query<IPluginBase>(component);
    EXPECT_EQ(base->initialize(nullptr), kResultFalse); // the component's, initialized already
    base->release();
    auto* controller = Query<IEditController>(component);
    IPlugView* view = controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    answersAsOne(view, {&IPlugView::iid, &IPlugViewContentScaleSupport::iid});
    EXPECT_EQ(references(component), 3u); // the host's two and the view's
    EXPECT_EQ(view->release(), 0u);
    Close(component, {controller});
}

TEST_F(Vst3Module, OnlyStereoInAndOutIsAccepted)
{
    IComponent* component = NewComponent();
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_NE(processor, nullptr);
    SpeakerArrangement mono = SpeakerArr::kMono;
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement surround = SpeakerArr::kStereo | 4;
    EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &surround, 1), kResultFalse);
    EXPECT_EQ(processor->setBusArrangements(&stereo, 0, &stereo, 1), kResultFalse);
    SpeakerArrangement now = 0;
    ASSERT_EQ(processor->getBusArrangement(kOutput, 0, now), kResultTrue);
    EXPECT_EQ(now, SpeakerArr::kStereo); // refused means unchanged
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultTrue);

    // Not while active.
    ProcessSetup setup{kRealtime, kSample64, 512, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(component->setActive(true), kResultOk);
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(component->setActive(false), kResultOk);
    Close(component, {processor});
}

TEST_F(Vst3Module, ProcessFlagsSilentOutputsAndFlushesChangesWithoutAudio)
{
    IComponent* component = NewComponent();
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_NE(processor, nullptr);
    ProcessSetup setup{kRealtime, kSample32, 256, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(component->setActive(true), kResultOk);

    std::vector<float> inL(256, 0.0f), inR(256, 0.0f), outL(256, 1.0f), outR(256, 1.0f);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    AudioBusBuffers in{2, 3, {ins}};
    AudioBusBuffers out{2, 0, {outs}};
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = 256;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    EXPECT_NE(processor->process(data), kResultOk); // not processing yet
    ASSERT_EQ(processor->setProcessing(true), kResultOk);

    // Stopped transport, silent input: silence, flagged on both channels.
    ASSERT_EQ(processor->process(data), kResultOk);
    EXPECT_EQ(out.silenceFlags, 3u);
    EXPECT_TRUE(std::all_of(outL.begin(), outL.end(), [](float s) { return s == 0.0f; }));

    // "Play Anyway" (5) set to Yes by a call without audio: the tone sounds in the next block.
    Changes changes;
    changes.queues.emplace_back(5, std::vector<std::pair<int32, double>>{{0, 1.0}});
    ProcessData flush{};
    flush.symbolicSampleSize = kSample32;
    flush.inputParameterChanges = &changes;
    ASSERT_EQ(processor->process(flush), kResultOk);
    ASSERT_EQ(processor->process(data), kResultOk);
    EXPECT_EQ(out.silenceFlags, 0u);
    EXPECT_TRUE(std::any_of(outL.begin(), outL.end(), [](float s) { return s != 0.0f; }));

    EXPECT_EQ(processor->setProcessing(false), kResultOk);
    EXPECT_EQ(component->setActive(false), kResultOk);
    Close(component, {processor});
}

TEST_F(Vst3Module, DamagedStateChangesNothing)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    ASSERT_NE(controller, nullptr);
    ASSERT_EQ(controller->setParamNormalized(0, 0.25), kResultOk);
    MemoryStream saved;
    ASSERT_EQ(component->getState(&saved), kResultOk);
    ASSERT_GT(saved.data.size(), 16u);

    std::vector<uint8_t> garbage(saved.data.size(), 0xA5);
    std::vector<uint8_t> truncated(saved.data.begin(),
                                   saved.data.begin() + static_cast<long>(saved.data.size() / 2));
    std::vector<uint8_t> flipped(saved.data);
    flipped[flipped.size() / 2] ^= 0xFF;
    for (const std::vector<uint8_t>& bad : {garbage, truncated, std::vector<uint8_t>{}})
    {
        MemoryStream in(bad, 7);
        EXPECT_NE(component->setState(&in), kResultOk);
        MemoryStream again(bad);
        EXPECT_NE(controller->setComponentState(&again), kResultOk);
    }
    MemoryStream flippedIn(flipped);
    component->setState(&flippedIn); // a checksum may or may not catch one byte; it must not crash
    MemoryStream restore(saved.data);
    ASSERT_EQ(component->setState(&restore), kResultOk);
    MemoryStream after;
    ASSERT_EQ(component->getState(&after), kResultOk);
    EXPECT_EQ(after.data, saved.data);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.25);

    // A state read in small pieces loads like one read at once.
    ASSERT_EQ(controller->setParamNormalized(0, 0.75), kResultOk);
    MemoryStream slow(saved.data, 5);
    ASSERT_EQ(component->setState(&slow), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.25);
    Close(component, {controller});
}

TEST_F(Vst3Module, StateBringsBackTheProgramAndItsLiveValuesInANewInstance)
{
    IComponent* first = NewComponent();
    auto* firstController = Query<IEditController>(first);
    ASSERT_NE(firstController, nullptr);
    const ParamID program = ProgramParam(*firstController);
    ASSERT_EQ(firstController->setParamNormalized(program, 5.0 / 140.0), kResultOk);
    ASSERT_EQ(firstController->setParamNormalized(7, 0.3), kResultOk); // "Mix", changed after
    std::vector<double> values;
    for (ParamID id = 0; id < 23; ++id)
        values.push_back(firstController->getParamNormalized(id));
    MemoryStream saved;
    ASSERT_EQ(first->getState(&saved), kResultOk);

    IComponent* second = NewComponent();
    auto* secondController = Query<IEditController>(second);
    MemoryStream in(saved.data);
    ASSERT_EQ(second->setState(&in), kResultOk);
    EXPECT_DOUBLE_EQ(secondController->getParamNormalized(program), 5.0 / 140.0);
    for (ParamID id = 0; id < 23; ++id)
        EXPECT_DOUBLE_EQ(secondController->getParamNormalized(id), values[id]) << "parameter " << id;

    // A first-version container names no program: it loads, and the current program stays.
    std::vector<uint8_t> older(saved.data.begin(), saved.data.begin() + 12);
    older[4] = 1;
    older.insert(older.end(), saved.data.begin() + 16, saved.data.end());
    IComponent* third = NewComponent();
    auto* thirdController = Query<IEditController>(third);
    MemoryStream olderIn(older);
    EXPECT_EQ(third->setState(&olderIn), kResultOk);
    EXPECT_DOUBLE_EQ(thirdController->getParamNormalized(program), 0.0);
    Close(first, {firstController});
    Close(second, {secondController});
    Close(third, {thirdController});
}

TEST_F(Vst3Module, ProgramChangeParameterSelectsAFactoryProgram)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    auto* units = Query<IUnitInfo>(component);
    ASSERT_TRUE(controller && units);
    RecordingHandler handler;
    ASSERT_EQ(controller->setComponentHandler(&handler), kResultOk);

    const ParamID program = ProgramParam(*controller);
    ASSERT_NE(program, kNoParamId);
    ParameterInfo info{};
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
        if (controller->getParameterInfo(i, info) == kResultOk && info.id == program)
            break;
    EXPECT_EQ(info.stepCount, 140);
    EXPECT_NE(info.flags & ParameterInfo::kIsList, 0);
    EXPECT_EQ(info.unitId, kRootUnitId);

    UnitInfo root{};
    ASSERT_EQ(units->getUnitInfo(0, root), kResultOk);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(root.programListId, list.id);
    EXPECT_EQ(list.programCount, 141);
    String128 name{};
    EXPECT_NE(units->getProgramName(list.id, 141, name), kResultOk);

    // Program 5, chosen through the parameter: its name and its values. The host is not called back
    // inside its own call (where it may hold locks of its own).
    const double five = 5.0 / 140.0;
    std::vector<double> before;
    for (ParamID id = 0; id < 23; ++id)
        before.push_back(controller->getParamNormalized(id));
    ASSERT_EQ(controller->setParamNormalized(program, five), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(program), five);
    ASSERT_EQ(units->getProgramName(list.id, 5, name), kResultOk);
    String128 shown{};
    ASSERT_EQ(controller->getParamStringByValue(program, five, shown), kResultOk);
    EXPECT_EQ(Utf8(shown), Utf8(name));
    EXPECT_FALSE(Utf8(name).empty());
    EXPECT_TRUE(handler.restarts.empty());
    std::vector<double> after;
    for (ParamID id = 0; id < 23; ++id)
        after.push_back(controller->getParamNormalized(id));
    EXPECT_NE(after, before);

    // The same program again changes nothing the user may have tweaked since.
    ASSERT_EQ(controller->setParamNormalized(0, 0.5), kResultOk);
    const std::size_t restarts = handler.restarts.size();
    ASSERT_EQ(controller->setParamNormalized(program, five), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.5);
    EXPECT_EQ(handler.restarts.size(), restarts);

    EXPECT_EQ(controller->setComponentHandler(nullptr), kResultOk);
    EXPECT_EQ(handler.refs, 0u);
    units->release();
    Close(component, {controller});
}

// A host that keeps its own copy of every value (Ardour) chooses a program on its main thread, sends
// it to the processor too, with the values it held before, and hears the program's values back.
TEST_F(Vst3Module, AProgramChosenByTheHostReachesItThroughTheNextCallWithoutUndoing)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_TRUE(controller && processor);
    const ParamID program = ProgramParam(*controller);
    const ParamID mix = 7;
    ASSERT_EQ(controller->setParamNormalized(mix, 0.51), kResultOk);
    ASSERT_EQ(controller->setParamNormalized(program, 1.0 / 140.0), kResultOk);
    const double programMix = controller->getParamNormalized(mix);
    ASSERT_NE(programMix, 0.51);

    // Before the host hears of the program it pushes its old copy back: no edit.
    ASSERT_EQ(controller->setParamNormalized(mix, 0.51), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(mix), programMix);

    // The call carries the program and the old values at its frame, and a later change; it reports
    // the program's values.
    Changes in;
    in.queues.emplace_back(program, std::vector<std::pair<int32, double>>{{0, 1.0 / 140.0}});
    in.queues.emplace_back(mix, std::vector<std::pair<int32, double>>{{0, 0.51}});
    in.queues.emplace_back(0, std::vector<std::pair<int32, double>>{{0, 0.2}});
    in.queues.emplace_back(2, std::vector<std::pair<int32, double>>{{0, 0.3}, {0, 0.7}});
    Changes out;
    ProcessData flush = ChangesOnly(&in, &out);
    ASSERT_EQ(processor->process(flush), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(mix), programMix);
    EXPECT_DOUBLE_EQ(out.Last(mix), programMix);
    EXPECT_EQ(out.queues.size(), 22u); // every value but the hidden trigger's
    EXPECT_NE(controller->getParamNormalized(0), 0.2);

    // A program of another mix: the host's copy is the first program's, as it was told.
    double next = 1.0 / 140.0;
    while (controller->getParamNormalized(mix) == programMix && next < 1.0)
    {
        next += 1.0 / 140.0;
        ASSERT_EQ(controller->setParamNormalized(program, next), kResultOk);
    }
    const double secondMix = controller->getParamNormalized(mix);
    ASSERT_NE(secondMix, programMix);
    ASSERT_EQ(controller->setParamNormalized(mix, programMix), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(mix), secondMix);
    in.queues.erase(in.queues.begin() + 1, in.queues.end());
    in.queues[0].points[0].second = next;
    out.queues.clear();
    ASSERT_EQ(processor->process(flush), kResultOk);
    EXPECT_DOUBLE_EQ(out.Last(mix), secondMix);

    // Told, the host's copy is current: the same value again, and the same program, are edits again.
    Changes none;
    ASSERT_EQ(controller->setParamNormalized(mix, 0.51), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(mix), 0.51);
    flush.outputParameterChanges = &none;
    in.queues.emplace_back(mix, std::vector<std::pair<int32, double>>{{0, 0.6}});
    ASSERT_EQ(processor->process(flush), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(mix), 0.6);
    EXPECT_TRUE(none.queues.empty());
    Close(component, {controller, processor});
}

// A host that automates the program parameter sends it to the processor only; no editor is open.
TEST_F(Vst3Module, AProgramChosenInABlockOnlyIsSelectedAtTheHostsNextMainThreadCall)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_TRUE(controller && processor);
    const ParamID program = ProgramParam(*controller);
    const double mixBefore = controller->getParamNormalized(7);
    Changes in;
    in.queues.emplace_back(program, std::vector<std::pair<int32, double>>{{0, 1.0 / 140.0}});
    Changes out;
    ProcessData flush = ChangesOnly(&in, &out);
    ASSERT_EQ(processor->process(flush), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(program), 1.0 / 140.0);
    EXPECT_NE(controller->getParamNormalized(7), mixBefore);

    // The next call reports the program's values, and the program point sent again changes nothing.
    in.queues.emplace_back(7, std::vector<std::pair<int32, double>>{{0, 0.25}});
    ASSERT_EQ(processor->process(flush), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(7), 0.25);
    EXPECT_EQ(out.queues.size(), 22u);
    Close(component, {controller, processor});
}

// What the host does on its main thread after a block chose a program comes after the program: a
// value it sets, and a state it restores, are what the plug-in then holds and reports.
TEST_F(Vst3Module, AProgramChosenInABlockNeverUndoesTheHostsLaterValuesOrState)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_TRUE(controller && processor);
    const ParamID program = ProgramParam(*controller);
    Changes in;
    in.queues.emplace_back(program, std::vector<std::pair<int32, double>>{{0, 1.0 / 140.0}});
    Changes out;
    ProcessData flush = ChangesOnly(&in, &out);
    ASSERT_EQ(processor->process(flush), kResultOk);
    ASSERT_EQ(controller->setParamNormalized(0, 0.3), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.3);

    ASSERT_EQ(controller->setParamNormalized(0, 0.4), kResultOk);
    MemoryStream saved;
    ASSERT_EQ(component->getState(&saved), kResultOk);
    in.queues[0].points[0].second = 2.0 / 140.0;
    ASSERT_EQ(processor->process(flush), kResultOk);
    MemoryStream restore(saved.data);
    ASSERT_EQ(component->setState(&restore), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.4);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(program), 1.0 / 140.0);
    Close(component, {controller, processor});
}

TEST_F(Vst3Module, ParametersCarryTheirListsTextsAndTheHiddenTrigger)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    ASSERT_NE(controller, nullptr);
    ASSERT_EQ(controller->getParameterCount(), 24);
    int hidden = 0;
    for (int32 i = 0; i < 23; ++i)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, static_cast<ParamID>(i));
        if (info.flags & ParameterInfo::kIsHidden)
        {
            ++hidden;
            EXPECT_EQ(info.flags & ParameterInfo::kCanAutomate, 0);
            EXPECT_NE(controller->setParamNormalized(info.id, 1.0), kResultOk);
            continue;
        }
        // Every step of a list names itself and reads back to the same step.
        for (int32 step = 0; (info.flags & ParameterInfo::kIsList) && step <= info.stepCount; ++step)
        {
            const double normalized = static_cast<double>(step) / info.stepCount;
            String128 text{};
            ASSERT_EQ(controller->getParamStringByValue(info.id, normalized, text), kResultOk);
            double back = -1.0;
            ASSERT_EQ(controller->getParamValueByString(info.id, text, back), kResultOk) << Utf8(text);
            EXPECT_NEAR(back, normalized, 1e-9) << Utf8(info.title) << " " << Utf8(text);
        }
    }
    EXPECT_EQ(hidden, 1);
    // Every parameter has a title of its own, the hidden one and the two kinds of LFO rate included.
    std::set<std::string> titles;
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_FALSE(Utf8(info.title).empty()) << "parameter " << info.id;
        EXPECT_TRUE(titles.insert(Utf8(info.title)).second) << Utf8(info.title);
    }
    ParameterInfo base{};
    ASSERT_EQ(controller->getParameterInfo(0, base), kResultOk);
    EXPECT_EQ(Utf8(base.title), "Base Freq");
    EXPECT_EQ(Utf8(base.units), "Hz");
    String128 text{};
    ASSERT_EQ(controller->getParamStringByValue(0, base.defaultNormalizedValue, text), kResultOk);
    EXPECT_EQ(Utf8(text).rfind("200", 0), 0u) << Utf8(text);
    Close(component, {controller});
}

// The order the SDK's validator calls in, its teardown switching off what is already off, and the
// order Carla's discovery calls in: activation first, the processing setup after it.
TEST_F(Vst3Module, ValidatorAndCarlaCallOrdersAreTaken)
{
    IComponent* validated = NewComponent();
    auto* validatedProcessor = Query<IAudioProcessor>(validated);
    ASSERT_NE(validatedProcessor, nullptr);
    ProcessSetup setup{kRealtime, kSample32, 512, 48000.0};
    ASSERT_EQ(validatedProcessor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(validated->setActive(true), kResultOk);
    ASSERT_EQ(validatedProcessor->setProcessing(true), kResultOk);
    tresult result = kResultFalse;
    const std::vector<float> expected = ToneBlock(*validatedProcessor, 512, result);
    ASSERT_EQ(result, kResultOk);
    EXPECT_EQ(validatedProcessor->setProcessing(false), kResultOk);
    EXPECT_EQ(validated->setActive(false), kResultOk);
    EXPECT_EQ(validated->setActive(false), kResultOk) << "switched off twice";

    IComponent* carla = NewComponent();
    auto* carlaProcessor = Query<IAudioProcessor>(carla);
    ASSERT_NE(carlaProcessor, nullptr);
    ASSERT_EQ(carla->setActive(true), kResultOk) << "activated before any processing setup";
    ToneBlock(*carlaProcessor, 512, result);
    EXPECT_NE(result, kResultOk) << "processed before setProcessing";
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_NE(carlaProcessor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    // The host's setup, arriving while active, is the one the blocks run at.
    ASSERT_EQ(carlaProcessor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(carlaProcessor->setProcessing(true), kResultOk);
    EXPECT_NE(carlaProcessor->setupProcessing(setup), kResultOk) << "a new setup while processing";
    EXPECT_EQ(ToneBlock(*carlaProcessor, 512, result), expected);
    EXPECT_EQ(result, kResultOk);
    EXPECT_EQ(carla->setActive(false), kResultOk);
    Close(validated, {validatedProcessor});
    Close(carla, {carlaProcessor});
}

// Offline renderers announce huge blocks: activation takes any maximum and keeps its buffers small.
TEST_F(Vst3Module, AHugeMaximumBlockActivatesWithoutTakingTheMemory)
{
    IComponent* component = NewComponent();
    auto* processor = Query<IAudioProcessor>(component);
    ASSERT_NE(processor, nullptr);
    const long peakBefore = PeakResidentKiB();
    ProcessSetup setup{kRealtime, kSample32, 0x7fffffff, 48000.0};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(component->setActive(true), kResultOk);
    ASSERT_EQ(processor->setProcessing(true), kResultOk);
    tresult result = kResultFalse;
    const std::vector<float> left = ToneBlock(*processor, 512, result);
    EXPECT_EQ(result, kResultOk);
    EXPECT_TRUE(std::any_of(left.begin(), left.end(), [](float s) { return s != 0.0f; }));
    EXPECT_LT(PeakResidentKiB() - peakBefore, kSmallMemoryKiB);
    processor->setProcessing(false);
    component->setActive(false);
    Close(component, {processor});
}

// Not-a-number from a host reads as a number in every conversion, and sets nothing.
TEST_F(Vst3Module, NotANumberConvertsToANumberInRange)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    ASSERT_NE(controller, nullptr);
    const double nan = std::nan("");
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        const ParamID id = info.id;
        const double plain = controller->normalizedParamToPlain(id, nan);
        EXPECT_TRUE(plain >= controller->normalizedParamToPlain(id, 0.0) &&
                    plain <= controller->normalizedParamToPlain(id, 1.0))
            << "normalizedParamToPlain " << id << ": " << plain;
        const double normalized = controller->plainParamToNormalized(id, nan);
        EXPECT_TRUE(normalized >= 0.0 && normalized <= 1.0) << "plainParamToNormalized " << id;
        String128 text{};
        EXPECT_EQ(controller->getParamStringByValue(id, nan, text), kResultOk);
        EXPECT_FALSE(Utf8(text).empty()) << id;
        const double before = controller->getParamNormalized(id);
        EXPECT_NE(controller->setParamNormalized(id, nan), kResultOk) << id;
        EXPECT_EQ(controller->getParamNormalized(id), before) << id;
    }
    Close(component, {controller});
}

// A state whose current slot lies beyond the program list (an empty slot): the program parameter
// keeps showing the program it showed, and the host's copy of it sent back selects nothing.
TEST_F(Vst3Module, AStateOnAnUnlistedSlotLeavesTheProgramParameterAsItWas)
{
    IComponent* component = NewComponent();
    auto* controller = Query<IEditController>(component);
    ASSERT_NE(controller, nullptr);
    const ParamID program = ProgramParam(*controller);
    const double five = 5.0 / 140.0;
    ASSERT_EQ(controller->setParamNormalized(program, five), kResultOk);
    MemoryStream saved;
    ASSERT_EQ(component->getState(&saved), kResultOk);
    std::vector<uint8_t> lastSlot = saved.data;
    lastSlot[12] = 149; // the current slot
    MemoryStream in(lastSlot);
    ASSERT_EQ(component->setState(&in), kResultOk);
    MemoryStream loaded;
    ASSERT_EQ(component->getState(&loaded), kResultOk);
    EXPECT_DOUBLE_EQ(controller->getParamNormalized(program), five);
    ASSERT_EQ(controller->setParamNormalized(program, five), kResultOk);
    MemoryStream after;
    ASSERT_EQ(component->getState(&after), kResultOk);
    EXPECT_EQ(after.data, loaded.data);
    Close(component, {controller});
}
} // namespace
} // namespace tpm
