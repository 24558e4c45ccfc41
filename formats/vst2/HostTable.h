// Recognises a host application by its product name, for the few hosts that need accommodations.
#pragma once

#include <cstdint>

namespace tpm
{
// Host codes: 0 for a host the table does not know, -1 (kNotAsked) before the host was asked.
enum class HostId : int32_t
{
    kNotAsked = -1,
    kUnknown = 0,
    kReaper = 1,
    kCubase = 3,
    kNuendo = 4,
    kCakewalk = 5,
    kFruity = 7,
    kSamplitude = 8,
    kLive = 9,
    kMelodyne = 12,
    kVstManLib = 13,
    kAulab = 14,
    kForte = 15,
    kChainer = 16,
    kAudition = 17,
    kOrion = 18,
    kSawStudio = 20,
    kLogic = 21,
    kDigitalPerformer = 22,
    kAudioMulch = 23,
    kPresonus = 24,
    kAcoustica = 25,
    kGarageBand = 26,
    kArdour = 27,
};

HostId LookUpHost(const char* productName);
// Hosts that wire only the first two inputs and every output beyond the stereo pair.
bool HostNeedsStereoInputsOnly(HostId host);
// Packs a decimal version major*10000 + minor*100 + patch as major << 16 | minor << 8 | patch.
int32_t PackDecimalVersion(int32_t decimal);
} // namespace tpm
