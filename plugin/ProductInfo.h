// Who the product is, for every format's descriptor.
#pragma once

namespace product
{
inline constexpr char kName[] = "twinPulseToneMix";
inline constexpr char kVendor[] = "Qovel";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionPatch = 0;
inline constexpr char kVersion[] = "1.0.0";
inline constexpr char kUrl[] = "https://www.twinpulsetonemix.org/";
inline constexpr char kDescription[] = "Two tones, binaural or monaural, mixed into the passing audio";
// Reverse-domain identifier for formats that name plug-ins by text.
inline constexpr char kId[] = "org.twinpulsetonemix.twinpulsetonemix";
} // namespace product
