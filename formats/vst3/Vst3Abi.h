// Our own declarations of the VST3 binary interface, as far as this plug-in and our hosts use it: the
// interfaces (vtable order), structures, interface ids and numbers a VST3 host and plug-in exchange
// on 64-bit Linux and 64-bit Windows.
//
// ABI notes:
// - Interfaces are classes with pure virtual functions only and no virtual destructor, so GCC/Clang
//   and MSVC lay out the vtables alike (one slot per function in declaration order).
// - The calling convention is __stdcall on Windows, which x86-64 ignores: one convention per platform.
// - Structures use natural alignment on both platforms (Windows packs to 16, which is natural here).
// - An interface id's 16 bytes are ordered as COM GUIDs on Windows and big-endian elsewhere.
// - Result codes are COM HRESULTs on Windows and small numbers elsewhere.
// Sizes and offsets are checked at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(sizeof(void*) == 8, "the VST3 declarations here are for 64-bit builds");

namespace vst3
{

// ---- basic types ------------------------------------------------------------------------------

using int8 = int8_t;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using tresult = int32_t;
using TBool = uint8_t;
using char8 = char;
using char16 = char16_t; // UTF-16
using TChar = char16;
using String128 = TChar[128];
using CString = const char8*;
using FIDString = const char8*;
using TUID = char[16];

#if defined(_WIN32)
inline constexpr bool kComCompatible = true;
#else
inline constexpr bool kComCompatible = false;
#endif

// ---- result codes -----------------------------------------------------------------------------

inline constexpr tresult kResultOk = 0;
inline constexpr tresult kResultTrue = kResultOk;
inline constexpr tresult kResultFalse = 1;
inline constexpr tresult kNoInterface = kComCompatible ? static_cast<tresult>(0x80004002u) : -1;
inline constexpr tresult kInvalidArgument = kComCompatible ? static_cast<tresult>(0x80070057u) : 2;
inline constexpr tresult kNotImplemented = kComCompatible ? static_cast<tresult>(0x80004001u) : 3;
inline constexpr tresult kInternalError = kComCompatible ? static_cast<tresult>(0x80004005u) : 4;
inline constexpr tresult kNotInitialized = kComCompatible ? static_cast<tresult>(0x8000FFFFu) : 5;
inline constexpr tresult kOutOfMemory = kComCompatible ? static_cast<tresult>(0x8007000Eu) : 6;

// ---- interface and class ids ------------------------------------------------------------------

// A 16-byte id in the platform's byte order, as the host passes it to queryInterface and createInstance.
struct Uid
{
    char bytes[16];
};

constexpr char ByteOf(uint32 value, int shift)
{
    return static_cast<char>((value >> shift) & 0xFFu);
}

// The id written in the interface headers as four 32-bit numbers.
constexpr Uid MakeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4)
{
    if constexpr (kComCompatible)
        return {{ByteOf(l1, 0), ByteOf(l1, 8), ByteOf(l1, 16), ByteOf(l1, 24), ByteOf(l2, 16), ByteOf(l2, 24),
                 ByteOf(l2, 0), ByteOf(l2, 8), ByteOf(l3, 24), ByteOf(l3, 16), ByteOf(l3, 8), ByteOf(l3, 0),
                 ByteOf(l4, 24), ByteOf(l4, 16), ByteOf(l4, 8), ByteOf(l4, 0)}};
    else
        return {{ByteOf(l1, 24), ByteOf(l1, 16), ByteOf(l1, 8), ByteOf(l1, 0), ByteOf(l2, 24), ByteOf(l2, 16),
                 ByteOf(l2, 8), ByteOf(l2, 0), ByteOf(l3, 24), ByteOf(l3, 16), ByteOf(l3, 8), ByteOf(l3, 0),
                 ByteOf(l4, 24), ByteOf(l4, 16), ByteOf(l4, 8), ByteOf(l4, 0)}};
}

// Whether the 16 bytes at id (may be null) are uid.
inline bool SameUid(const char* id, const Uid& uid)
{
    return id != nullptr && std::memcmp(id, uid.bytes, sizeof uid.bytes) == 0;
}

constexpr bool operator==(const Uid& a, const Uid& b)
{
    for (int i = 0; i < 16; ++i)
        if (a.bytes[i] != b.bytes[i])
            return false;
    return true;
}

// ---- FUnknown and streams ---------------------------------------------------------------------

class FUnknown
{
  public:
    virtual tresult queryInterface(const TUID iid, void** obj) = 0;
    virtual uint32 addRef() = 0;
    virtual uint32 release() = 0;
    static constexpr Uid iid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

  protected:
    ~FUnknown() = default;
};

class IBStream : public FUnknown
{
  public:
    enum IStreamSeekMode : int32
    {
        kIBSeekSet = 0,
        kIBSeekCur,
        kIBSeekEnd
    };
    // numBytesRead / numBytesWritten / result may be null.
    virtual tresult read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult seek(int64 pos, int32 mode, int64* result) = 0;
    virtual tresult tell(int64* pos) = 0;
    static constexpr Uid iid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

  protected:
    ~IBStream() = default;
};

class ISizeableStream : public FUnknown
{
  public:
    virtual tresult getStreamSize(int64& size) = 0;
    virtual tresult setStreamSize(int64 size) = 0;
    static constexpr Uid iid = MakeUid(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);

  protected:
    ~ISizeableStream() = default;
};

// ---- plug-in base and factory -----------------------------------------------------------------

class IPluginBase : public FUnknown
{
  public:
    virtual tresult initialize(FUnknown* context) = 0;
    virtual tresult terminate() = 0;
    static constexpr Uid iid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

  protected:
    ~IPluginBase() = default;
};

struct PFactoryInfo
{
    enum FactoryFlags : int32
    {
        kNoFlags = 0,
        kClassesDiscardable = 1 << 0,
        kLicenseCheck = 1 << 1,
        kComponentNonDiscardable = 1 << 3,
        kUnicode = 1 << 4
    };
    static constexpr int kURLSize = 256;
    static constexpr int kEmailSize = 128;
    static constexpr int kNameSize = 64;

    char8 vendor[kNameSize];
    char8 url[kURLSize];
    char8 email[kEmailSize];
    int32 flags;
};

struct PClassInfo
{
    static constexpr int32 kManyInstances = 0x7FFFFFFF;
    static constexpr int kCategorySize = 32;
    static constexpr int kNameSize = 64;

    TUID cid;
    int32 cardinality;
    char8 category[kCategorySize];
    char8 name[kNameSize];
};

struct PClassInfo2
{
    static constexpr int kVendorSize = 64;
    static constexpr int kVersionSize = 64;
    static constexpr int kSubCategoriesSize = 128;

    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char8 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[kSubCategoriesSize];
    char8 vendor[kVendorSize];
    char8 version[kVersionSize];
    char8 sdkVersion[kVersionSize];
};

struct PClassInfoW
{
    static constexpr int kVendorSize = 64;
    static constexpr int kVersionSize = 64;
    static constexpr int kSubCategoriesSize = 128;

    TUID cid;
    int32 cardinality;
    char8 category[PClassInfo::kCategorySize];
    char16 name[PClassInfo::kNameSize];
    uint32 classFlags;
    char8 subCategories[kSubCategoriesSize];
    char16 vendor[kVendorSize];
    char16 version[kVersionSize];
    char16 sdkVersion[kVersionSize];
};

class IPluginFactory : public FUnknown
{
  public:
    virtual tresult getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 countClasses() = 0;
    virtual tresult getClassInfo(int32 index, PClassInfo* info) = 0;
    virtual tresult createInstance(FIDString cid, FIDString iid, void** obj) = 0;
    static constexpr Uid iid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

  protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory
{
  public:
    virtual tresult getClassInfo2(int32 index, PClassInfo2* info) = 0;
    static constexpr Uid iid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

  protected:
    ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2
{
  public:
    virtual tresult getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult setHostContext(FUnknown* context) = 0;
    static constexpr Uid iid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);

  protected:
    ~IPluginFactory3() = default;
};

// Category of an audio processor component class, and of a separate controller class.
inline constexpr char kVstAudioEffectClass[] = "Audio Module Class";
inline constexpr char kVstComponentControllerClass[] = "Component Controller Class";
// The interface version these declarations follow, for PClassInfo2::sdkVersion.
inline constexpr char kVstVersionString[] = "VST 3.7.13";
inline constexpr int32 kDefaultFactoryFlags = PFactoryInfo::kUnicode;

// PClassInfo2::classFlags of an audio module class.
enum ComponentFlags : uint32
{
    kDistributable = 1 << 0,
    kSimpleModeSupported = 1 << 1
};

// ---- vst types --------------------------------------------------------------------------------

using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ParamValue = double;
using ParamID = uint32;
using ProgramListID = int32;
using TQuarterNotes = double;
using TSamples = int64;
using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using SpeakerArrangement = uint64;
using Speaker = uint64;

inline constexpr ParamID kNoParamId = 0xFFFFFFFF;

enum MediaTypes : int32
{
    kAudio = 0,
    kEvent,
    kNumMediaTypes
};

enum BusDirections : int32
{
    kInput = 0,
    kOutput
};

enum BusTypes : int32
{
    kMain = 0,
    kAux
};

enum IoModes : int32
{
    kSimple = 0,
    kAdvanced,
    kOfflineProcessing
};

namespace SpeakerArr
{
inline constexpr Speaker kSpeakerL = 1 << 0;
inline constexpr Speaker kSpeakerR = 1 << 1;
inline constexpr Speaker kSpeakerM = 1 << 19;
inline constexpr SpeakerArrangement kEmpty = 0;
inline constexpr SpeakerArrangement kMono = kSpeakerM;
inline constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
} // namespace SpeakerArr

// ---- component --------------------------------------------------------------------------------

struct BusInfo
{
    enum BusFlags : uint32
    {
        kDefaultActive = 1 << 0,
        kIsControlVoltage = 1 << 1
    };
    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};

struct RoutingInfo
{
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};

class IComponent : public IPluginBase
{
  public:
    virtual tresult getControllerClassId(TUID classId) = 0;
    virtual tresult setIoMode(IoMode mode) = 0;
    virtual int32 getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
    virtual tresult getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
    virtual tresult activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
    virtual tresult setActive(TBool state) = 0;
    virtual tresult setState(IBStream* state) = 0;
    virtual tresult getState(IBStream* state) = 0;
    static constexpr Uid iid = MakeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

  protected:
    ~IComponent() = default;
};

// ---- parameter changes and events -------------------------------------------------------------

class IParamValueQueue : public FUnknown
{
  public:
    virtual ParamID getParameterId() = 0;
    virtual int32 getPointCount() = 0;
    virtual tresult getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
    static constexpr Uid iid = MakeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

  protected:
    ~IParamValueQueue() = default;
};

class IParameterChanges : public FUnknown
{
  public:
    virtual int32 getParameterCount() = 0;
    virtual IParamValueQueue* getParameterData(int32 index) = 0;
    virtual IParamValueQueue* addParameterData(const ParamID& id, int32& index) = 0;
    static constexpr Uid iid = MakeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

  protected:
    ~IParameterChanges() = default;
};

// Events are not used by this effect; the structure stays opaque.
struct Event;

class IEventList : public FUnknown
{
  public:
    virtual int32 getEventCount() = 0;
    virtual tresult getEvent(int32 index, Event& e) = 0;
    virtual tresult addEvent(Event& e) = 0;
    static constexpr Uid iid = MakeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);

  protected:
    ~IEventList() = default;
};

// ---- process context --------------------------------------------------------------------------

struct FrameRate
{
    enum FrameRateFlags : uint32
    {
        kPullDownRate = 1 << 0,
        kDropRate = 1 << 1
    };
    uint32 framesPerSecond;
    uint32 flags;
};

struct Chord
{
    uint8 keyNote;
    uint8 rootNote;
    int16 chordMask;
};

struct ProcessContext
{
    enum StatesAndFlags : uint32
    {
        kPlaying = 1 << 1,
        kCycleActive = 1 << 2,
        kRecording = 1 << 3,
        kSystemTimeValid = 1 << 8,
        kContTimeValid = 1 << 17,
        kProjectTimeMusicValid = 1 << 9,
        kBarPositionValid = 1 << 11,
        kCycleValid = 1 << 12,
        kTempoValid = 1 << 10,
        kTimeSigValid = 1 << 13,
        kChordValid = 1 << 18,
        kSmpteValid = 1 << 14,
        kClockValid = 1 << 15
    };
    uint32 state;
    double sampleRate;
    TSamples projectTimeSamples;
    int64 systemTime;
    TSamples continousTimeSamples;
    TQuarterNotes projectTimeMusic;
    TQuarterNotes barPositionMusic;
    TQuarterNotes cycleStartMusic;
    TQuarterNotes cycleEndMusic;
    double tempo;
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    Chord chord;
    int32 smpteOffsetSubframes;
    FrameRate frameRate;
    int32 samplesToNextClock;
};

// ---- audio processor --------------------------------------------------------------------------

enum SymbolicSampleSizes : int32
{
    kSample32 = 0,
    kSample64
};

enum ProcessModes : int32
{
    kRealtime = 0,
    kPrefetch,
    kOffline
};

inline constexpr uint32 kNoTail = 0;
inline constexpr uint32 kInfiniteTail = 0xFFFFFFFF;

struct ProcessSetup
{
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};

struct AudioBusBuffers
{
    int32 numChannels;
    uint64 silenceFlags;
    union
    {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};

struct ProcessData
{
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown
{
  public:
    virtual tresult setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                       int32 numOuts) = 0;
    virtual tresult getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
    virtual tresult canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 getLatencySamples() = 0;
    virtual tresult setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult setProcessing(TBool state) = 0;
    virtual tresult process(ProcessData& data) = 0;
    virtual uint32 getTailSamples() = 0;
    static constexpr Uid iid = MakeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

  protected:
    ~IAudioProcessor() = default;
};

class IProcessContextRequirements : public FUnknown
{
  public:
    enum Flags : uint32
    {
        kNeedSystemTime = 1 << 0,
        kNeedContinousTimeSamples = 1 << 1,
        kNeedProjectTimeMusic = 1 << 2,
        kNeedBarPositionMusic = 1 << 3,
        kNeedCycleMusic = 1 << 4,
        kNeedSamplesToNextClock = 1 << 5,
        kNeedTempo = 1 << 6,
        kNeedTimeSignature = 1 << 7,
        kNeedChord = 1 << 8,
        kNeedFrameRate = 1 << 9,
        kNeedTransportState = 1 << 10
    };
    virtual uint32 getProcessContextRequirements() = 0;
    static constexpr Uid iid = MakeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

  protected:
    ~IProcessContextRequirements() = default;
};

// ---- edit controller --------------------------------------------------------------------------

struct ParameterInfo
{
    enum ParameterFlags : int32
    {
        kNoFlags = 0,
        kCanAutomate = 1 << 0,
        kIsReadOnly = 1 << 1,
        kIsWrapAround = 1 << 2,
        kIsList = 1 << 3,
        kIsHidden = 1 << 4,
        kIsProgramChange = 1 << 15,
        kIsBypass = 1 << 16
    };
    ParamID id;
    String128 title;
    String128 shortTitle;
    String128 units;
    int32 stepCount;
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;
};

// IComponentHandler::restartComponent flags.
enum RestartFlags : int32
{
    kReloadComponent = 1 << 0,
    kIoChanged = 1 << 1,
    kParamValuesChanged = 1 << 2,
    kLatencyChanged = 1 << 3,
    kParamTitlesChanged = 1 << 4,
    kMidiCCAssignmentChanged = 1 << 5,
    kNoteExpressionChanged = 1 << 6,
    kIoTitlesChanged = 1 << 7,
    kPrefetchableSupportChanged = 1 << 8,
    kRoutingInfoChanged = 1 << 9,
    kKeyswitchChanged = 1 << 10,
    kParamIDMappingChanged = 1 << 11
};

// The only view type: IEditController::createView("editor").
inline constexpr char kViewTypeEditor[] = "editor";

class IComponentHandler : public FUnknown
{
  public:
    virtual tresult beginEdit(ParamID id) = 0;
    virtual tresult performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult endEdit(ParamID id) = 0;
    virtual tresult restartComponent(int32 flags) = 0;
    static constexpr Uid iid = MakeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

  protected:
    ~IComponentHandler() = default;
};

class IComponentHandler2 : public FUnknown
{
  public:
    virtual tresult setDirty(TBool state) = 0;
    virtual tresult requestOpenEditor(FIDString name) = 0;
    virtual tresult startGroupEdit() = 0;
    virtual tresult finishGroupEdit() = 0;
    static constexpr Uid iid = MakeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);

  protected:
    ~IComponentHandler2() = default;
};

class IPlugView;

class IEditController : public IPluginBase
{
  public:
    virtual tresult setComponentState(IBStream* state) = 0;
    virtual tresult setState(IBStream* state) = 0;
    virtual tresult getState(IBStream* state) = 0;
    virtual int32 getParameterCount() = 0;
    virtual tresult getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
    virtual tresult getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
    virtual ParamValue normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue getParamNormalized(ParamID id) = 0;
    virtual tresult setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* createView(FIDString name) = 0;
    static constexpr Uid iid = MakeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

  protected:
    ~IEditController() = default;
};

// ---- units and program lists ------------------------------------------------------------------

inline constexpr UnitID kRootUnitId = 0;
inline constexpr UnitID kNoParentUnitId = -1;
inline constexpr ProgramListID kNoProgramListId = -1;
inline constexpr int32 kAllProgramInvalid = -1;

struct UnitInfo
{
    UnitID id;
    UnitID parentUnitId;
    String128 name;
    ProgramListID programListId;
};

struct ProgramListInfo
{
    ProgramListID id;
    String128 name;
    int32 programCount;
};

class IUnitHandler : public FUnknown
{
  public:
    virtual tresult notifyUnitSelection(UnitID unitId) = 0;
    virtual tresult notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;
    static constexpr Uid iid = MakeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);

  protected:
    ~IUnitHandler() = default;
};

class IUnitInfo : public FUnknown
{
  public:
    virtual int32 getUnitCount() = 0;
    virtual tresult getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 getProgramListCount() = 0;
    virtual tresult getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
    virtual tresult getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                   String128 attributeValue) = 0;
    virtual tresult hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                        String128 name) = 0;
    virtual UnitID getSelectedUnit() = 0;
    virtual tresult selectUnit(UnitID unitId) = 0;
    virtual tresult getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                 UnitID& unitId) = 0;
    virtual tresult setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
    static constexpr Uid iid = MakeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

  protected:
    ~IUnitInfo() = default;
};

// ---- host application and connection ----------------------------------------------------------

class IHostApplication : public FUnknown
{
  public:
    virtual tresult getName(String128 name) = 0;
    virtual tresult createInstance(TUID cid, TUID iid, void** obj) = 0;
    static constexpr Uid iid = MakeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);

  protected:
    ~IHostApplication() = default;
};

// Messages between a split component and controller; this plug-in is one object and sends none.
class IMessage;

class IConnectionPoint : public FUnknown
{
  public:
    virtual tresult connect(IConnectionPoint* other) = 0;
    virtual tresult disconnect(IConnectionPoint* other) = 0;
    virtual tresult notify(IMessage* message) = 0;
    static constexpr Uid iid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);

  protected:
    ~IConnectionPoint() = default;
};

// ---- editor view ------------------------------------------------------------------------------

struct ViewRect
{
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};

inline constexpr char kPlatformTypeHWND[] = "HWND";
inline constexpr char kPlatformTypeX11EmbedWindowID[] = "X11EmbedWindowID";

class IPlugFrame;

class IPlugView : public FUnknown
{
  public:
    virtual tresult isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult attached(void* parent, FIDString type) = 0;
    virtual tresult removed() = 0;
    virtual tresult onWheel(float distance) = 0;
    virtual tresult onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult getSize(ViewRect* size) = 0;
    virtual tresult onSize(ViewRect* newSize) = 0;
    virtual tresult onFocus(TBool state) = 0;
    virtual tresult setFrame(IPlugFrame* frame) = 0;
    virtual tresult canResize() = 0;
    virtual tresult checkSizeConstraint(ViewRect* rect) = 0;
    static constexpr Uid iid = MakeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

  protected:
    ~IPlugView() = default;
};

class IPlugFrame : public FUnknown
{
  public:
    virtual tresult resizeView(IPlugView* view, ViewRect* newSize) = 0;
    static constexpr Uid iid = MakeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

  protected:
    ~IPlugFrame() = default;
};

// The host tells an open or opening view the scale of the screen it shows on.
class IPlugViewContentScaleSupport : public FUnknown
{
  public:
    using ScaleFactor = float;
    virtual tresult setContentScaleFactor(ScaleFactor factor) = 0;
    static constexpr Uid iid = MakeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

  protected:
    ~IPlugViewContentScaleSupport() = default;
};

// Linux only in practice: the host's run loop, queried from the IPlugFrame, drives the editor's
// timer and its X connection's file descriptor.
using TimerInterval = uint64;
using FileDescriptor = int;

class IEventHandler : public FUnknown
{
  public:
    virtual void onFDIsSet(FileDescriptor fd) = 0;
    static constexpr Uid iid = MakeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

  protected:
    ~IEventHandler() = default;
};

class ITimerHandler : public FUnknown
{
  public:
    virtual void onTimer() = 0;
    static constexpr Uid iid = MakeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

  protected:
    ~ITimerHandler() = default;
};

class IRunLoop : public FUnknown
{
  public:
    virtual tresult registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult unregisterTimer(ITimerHandler* handler) = 0;
    static constexpr Uid iid = MakeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

  protected:
    ~IRunLoop() = default;
};

// ---- module entry points ----------------------------------------------------------------------

// Exported as "GetPluginFactory" (every platform), "ModuleEntry"/"ModuleExit" (Linux) and
// "InitDll"/"ExitDll" (Windows), all extern "C".
using GetFactoryProc = IPluginFactory* (*)();
using LinuxModuleEntryProc = bool (*)(void* sharedLibraryHandle);
using ModuleExitProc = bool (*)();
using InitDllProc = bool (*)();
inline constexpr char kGetFactoryProcName[] = "GetPluginFactory";
inline constexpr char kModuleEntryProcName[] = "ModuleEntry";
inline constexpr char kModuleExitProcName[] = "ModuleExit";
inline constexpr char kInitDllProcName[] = "InitDll";
inline constexpr char kExitDllProcName[] = "ExitDll";

// ---- layout checks ----------------------------------------------------------------------------

static_assert(sizeof(Uid) == 16);
static_assert(sizeof(char16) == 2 && sizeof(TBool) == 1);
static_assert(sizeof(PFactoryInfo) == 452);
static_assert(sizeof(PClassInfo) == 116 && offsetof(PClassInfo, category) == 20 &&
              offsetof(PClassInfo, name) == 52);
static_assert(sizeof(PClassInfo2) == 440 && offsetof(PClassInfo2, classFlags) == 116 &&
              offsetof(PClassInfo2, subCategories) == 120 && offsetof(PClassInfo2, sdkVersion) == 376);
static_assert(sizeof(PClassInfoW) == 696 && offsetof(PClassInfoW, name) == 52 &&
              offsetof(PClassInfoW, classFlags) == 180 && offsetof(PClassInfoW, subCategories) == 184 &&
              offsetof(PClassInfoW, vendor) == 312 && offsetof(PClassInfoW, sdkVersion) == 568);
static_assert(sizeof(BusInfo) == 276 && offsetof(BusInfo, name) == 12 && offsetof(BusInfo, busType) == 268);
static_assert(sizeof(RoutingInfo) == 12);
static_assert(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, title) == 4 &&
              offsetof(ParameterInfo, shortTitle) == 260 && offsetof(ParameterInfo, units) == 516 &&
              offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 &&
              offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788);
static_assert(sizeof(UnitInfo) == 268 && offsetof(UnitInfo, programListId) == 264);
static_assert(sizeof(ProgramListInfo) == 264 && offsetof(ProgramListInfo, programCount) == 260);
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16);
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
              offsetof(AudioBusBuffers, channelBuffers32) == 16);
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24 &&
              offsetof(ProcessData, inputParameterChanges) == 40 &&
              offsetof(ProcessData, processContext) == 72);
static_assert(sizeof(Chord) == 4 && sizeof(FrameRate) == 8);
static_assert(sizeof(ProcessContext) == 112 && offsetof(ProcessContext, sampleRate) == 8 &&
              offsetof(ProcessContext, projectTimeMusic) == 40 &&
              offsetof(ProcessContext, barPositionMusic) == 48 && offsetof(ProcessContext, tempo) == 72 &&
              offsetof(ProcessContext, timeSigNumerator) == 80 && offsetof(ProcessContext, chord) == 88 &&
              offsetof(ProcessContext, frameRate) == 96 &&
              offsetof(ProcessContext, samplesToNextClock) == 104);
static_assert(sizeof(ViewRect) == 16);
static_assert(kComCompatible
                  ? FUnknown::iid.bytes[7] == 0 && static_cast<uint8>(FUnknown::iid.bytes[8]) == 0xC0
                  : static_cast<uint8>(FUnknown::iid.bytes[8]) == 0xC0 && FUnknown::iid.bytes[15] == 0x46);

} // namespace vst3
