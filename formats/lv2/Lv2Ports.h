// The LV2 plug-in's ports and URIs, shared by the plug-in, its editor and the generator of its TTL: the
// parameters first (port index = parameter index), then audio, the event input and the outputs that
// carry what the editor shows besides the parameters.
#pragma once

#include "plugin/ProductRules.h"

#include <cstdint>

namespace tpm
{
namespace lv2port
{
inline constexpr char kPluginUri[] = "https://www.twinpulsetonemix.org/plugins/twinPulseToneMix";
inline constexpr char kUiUri[] = "https://www.twinpulsetonemix.org/plugins/twinPulseToneMix#ui";
// The state property that holds the whole bank.
inline constexpr char kBankUri[] = "https://www.twinpulsetonemix.org/plugins/twinPulseToneMix#bank";
// The editor tells the plug-in a scale the user chose as an object of this type on the event port,
// its one property (this key again) an atom:Float; the plug-in keeps it in its state.
inline constexpr char kEditorScaleUri[] =
    "https://www.twinpulsetonemix.org/plugins/twinPulseToneMix#editorScale";

inline constexpr uint32_t kParams = kParamCount;
inline constexpr uint32_t kAudioInL = kParams;
inline constexpr uint32_t kAudioInR = kParams + 1;
inline constexpr uint32_t kAudioOutL = kParams + 2;
inline constexpr uint32_t kAudioOutR = kParams + 3;
inline constexpr uint32_t kEvents = kParams + 4;
// The band the engine shows: its place in the product's kBandNames.
inline constexpr uint32_t kBand = kParams + 5;
// For each LFO: where its marker stands in its range (0..1) and its state (LfoState).
inline constexpr uint32_t kLfoMarker[2] = {kParams + 6, kParams + 8};
inline constexpr uint32_t kLfoState[2] = {kParams + 7, kParams + 9};
// The editor's scale the state keeps (0: none), for the editor to take when it opens.
inline constexpr uint32_t kEditorScale = kParams + 10;
inline constexpr uint32_t kPortCount = kParams + 11;

enum LfoState : int
{
    kLfoStill = 0,
    kLfoRunning = 1,
    kLfoBlocked = 2,
};
} // namespace lv2port
} // namespace tpm
