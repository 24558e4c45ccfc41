#include "support/TestModule.h"

#include <cstring>
#include <string>

namespace tpm
{
namespace
{
std::string VendorDisplay(Vst2HostedPlugin& plugin, intptr_t param, float normalized,
                          intptr_t* answer = nullptr)
{
    char text[64] = "untouched";
    const intptr_t a =
        plugin.Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, param, text, normalized);
    if (answer)
        *answer = a;
    return text;
}
} // namespace

TEST(Dispatcher, FixedAnswers)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->Dispatch(vst::effIdentify), 0x4E764566);
    EXPECT_EQ(plugin->Dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(plugin->Dispatch(vst::effGetPlugCategory), 1);
    EXPECT_EQ(plugin->Dispatch(vst::effGetVendorVersion), 10000);
    EXPECT_EQ(plugin->Dispatch(vst::effCanBeAutomated, 5), 1);
    EXPECT_EQ(plugin->Dispatch(vst::effProcessVarIo), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effEditIdle), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effIdle), 0);
    EXPECT_EQ(plugin->Dispatch(1000), 0);

    char text[128] = {};
    EXPECT_EQ(plugin->Dispatch(vst::effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "twinPulseToneMix");
    EXPECT_EQ(plugin->Dispatch(vst::effGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Qovel");
    EXPECT_EQ(plugin->Dispatch(vst::effGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "");
    for (int op : {vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString})
        EXPECT_EQ(plugin->Dispatch(op, 0, 0, nullptr), 0);
}

TEST(Dispatcher, CanDoAnswersTimeInfoOnly)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    auto canDo = [&](const char* text) {
        return plugin->Dispatch(vst::effCanDo, 0, 0, const_cast<char*>(text));
    };
    EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 0);
    EXPECT_EQ(canDo("sendVstEvents"), 0);
    EXPECT_EQ(canDo("receiveVstTimeInfo "), 0);
    EXPECT_EQ(canDo("bypass"), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effCanDo, 0, 0, nullptr), 0);
}

TEST(Dispatcher, EditorAnswersItsSizeAndNeedsAParentWindow)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    EXPECT_TRUE(plugin->Effect()->flags & vst::effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->Dispatch(vst::effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->right, 550);
    EXPECT_EQ(rect->bottom, 363);
    EXPECT_EQ(plugin->Dispatch(vst::effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effEditOpen), 0) << "no parent window, no editor window";
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 0x73744341, 0x57686565, nullptr, 1.0f), 0)
        << "a wheel step with the editor closed";
}

// How texts read is the product's (tests/product); here what the opcode adds around it.
TEST(Dispatcher, StringToParameterAppliesATextThatNamesAValueAndRefusesOthers)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    EXPECT_TRUE(plugin->SetParamText(0, "136,1"));
    EXPECT_EQ(plugin->ParamDisplay(0), "136.1");
    EXPECT_FALSE(plugin->SetParamText(0, "garbage")) << "a text that names no value is refused";
    EXPECT_EQ(plugin->ParamDisplay(0), "136.1");
    EXPECT_EQ(plugin->Dispatch(vst::effString2Parameter, 7, 0, nullptr), 1); // no text: value kept
    EXPECT_EQ(plugin->ParamDisplay(7), "50");
    EXPECT_FALSE(plugin->SetParamText(23, "1"));

    // A host text without a terminator within any sane length is read no further than that.
    std::string longText(100000, '7');
    EXPECT_TRUE(plugin->SetParamText(6, longText));
    EXPECT_EQ(plugin->ParamDisplay(6), "90000");
}

TEST(Dispatcher, VendorSpecificRequests)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    intptr_t answer = 0;
    EXPECT_EQ(VendorDisplay(*plugin, 7, 0.25f, &answer), "25");
    EXPECT_EQ(answer, 0xBEEF);
    EXPECT_EQ(VendorDisplay(*plugin, 2, 1.0f), "Gold. Square");
    EXPECT_EQ(VendorDisplay(*plugin, 99, 0.5f, &answer), "untouched");
    EXPECT_EQ(answer, 0xBEEF);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, vst::effGetParamDisplay, 7, nullptr, 0.5f), 0);

    // Two-valued parameters: "Beats" and the sync switches; "Wave" has eight values.
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 4), 0xBEEF);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 10), 0xBEEF);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 2), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 0), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 22), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 8, 40), 0);

    char text[64] = "75";
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, vst::effString2Parameter, 7, text), 0xBEEF);
    EXPECT_STREQ(text, "0.75000000000000000");
    std::strcpy(text, "500");
    plugin->Dispatch(vst::effVendorSpecific, vst::effString2Parameter, 7, text);
    EXPECT_STREQ(text, "1.00000000000000000");
    std::strcpy(text, "");
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, vst::effString2Parameter, 7, text), 0xBEEF);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, vst::effString2Parameter, 77, text), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effVendorSpecific, 12345, 0, text), 0);
}

TEST(Dispatcher, PinPropertiesAndSpeakerArrangements)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    VstPinProperties pin{};
    EXPECT_EQ(plugin->Dispatch(vst::effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 3);
    EXPECT_STREQ(pin.label, "Input 1");
    EXPECT_EQ(plugin->Dispatch(vst::effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_EQ(pin.flags, 1);
    EXPECT_STREQ(pin.label, "Output 2");
    EXPECT_EQ(plugin->Dispatch(vst::effGetInputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effGetInputProperties, -1, 0, &pin), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effGetInputProperties, 0, 0, nullptr), 0);

    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(plugin->Dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 1);
    ASSERT_TRUE(in && out);
    EXPECT_EQ(in->type, vst::kSpeakerArrStereo);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->numChannels, 2);
    EXPECT_EQ(plugin->Dispatch(vst::effGetSpeakerArrangement), 1);

    // Counts outside the channel list touch nothing outside it.
    VstSpeakerArrangement odd{};
    odd.numChannels = -1;
    EXPECT_EQ(plugin->Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&odd), &odd), 1);
    odd.numChannels = 64;
    EXPECT_EQ(plugin->Dispatch(vst::effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&odd), &odd), 1);
    EXPECT_EQ(plugin->Dispatch(vst::effSetSpeakerArrangement), 1);
}

TEST(Dispatcher, EventsAndKeyNames)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    VstMidiEvent midi{};
    midi.type = vst::kVstMidiType;
    midi.byteSize = sizeof midi;
    VstMidiSysexEvent sysex{};
    sysex.type = vst::kVstSysExType;
    VstEvent other{};
    other.type = 99;
    struct
    {
        VstInt32 numEvents;
        VstIntPtr reserved;
        VstEvent* events[4];
    } list{4, 0, {reinterpret_cast<VstEvent*>(&midi), nullptr, reinterpret_cast<VstEvent*>(&sysex), &other}};
    EXPECT_EQ(plugin->Dispatch(vst::effProcessEvents, 0, 0, &list), 1);
    EXPECT_EQ(plugin->Dispatch(vst::effProcessEvents, 0, 0, nullptr), 0);

    MidiKeyName key{};
    std::strcpy(key.keyName, "C4");
    EXPECT_EQ(plugin->Dispatch(vst::effGetMidiKeyName, 0, 0, &key), 0);
    EXPECT_STREQ(key.keyName, "");
    EXPECT_EQ(plugin->Dispatch(vst::effGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST(Dispatcher, NullObjectAndNullPointersNeverCrash)
{
    auto plugin = LoadTestModule();
    ASSERT_TRUE(plugin);
    for (int op = 0; op < 80; ++op)
    {
        if (op == vst::effClose || op == vst::effGetChunk || op == vst::effSetChunk)
            continue;
        plugin->Dispatch(op, 0, 0, nullptr, 0.0f);
        // These two take a host pointer in `value`.
        if (op == vst::effSetSpeakerArrangement || op == vst::effGetSpeakerArrangement)
            continue;
        plugin->Dispatch(op, -1, -1, nullptr, -1.0f);
        plugin->Dispatch(op, 1000, 1000, nullptr, 1e30f);
    }
    EXPECT_EQ(plugin->Dispatch(vst::effGetChunk, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->Dispatch(vst::effSetChunk, 0, 0, nullptr), 0);

    AEffect copy = *plugin->Effect();
    copy.object = nullptr;
    EXPECT_EQ(copy.dispatcher(&copy, vst::effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
    copy.setParameter(&copy, 0, 0.5f);
    copy.processReplacing(&copy, nullptr, nullptr, 16);
}
} // namespace tpm
