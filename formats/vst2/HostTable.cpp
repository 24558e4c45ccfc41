#include "formats/vst2/HostTable.h"

#include <cstring>
#include <string>

namespace tpm
{
namespace
{
struct HostEntry
{
    const char* text;
    HostId code;
};

// Searched in order: the first text found anywhere in the lower-cased name decides.
constexpr HostEntry kHosts[] = {
    {"cubase", HostId::kCubase},
    {"reaper", HostId::kReaper},
    {"nuendo", HostId::kNuendo},
    {"cakewalk", HostId::kCakewalk},
    {"samplitude", HostId::kSamplitude},
    {"fruity", HostId::kFruity},
    {"live", HostId::kLive},
    {"melodyne", HostId::kMelodyne},
    {"vstmanlib", HostId::kVstManLib},
    {"aulab", HostId::kAulab},
    {"forte", HostId::kForte},
    {"chainer", HostId::kChainer},
    {"audition", HostId::kAudition},
    {"orion", HostId::kOrion},
    {"sawstudio", HostId::kSawStudio},
    {"logic", HostId::kLogic},
    {"digital", HostId::kDigitalPerformer},
    {"audiomulch", HostId::kAudioMulch},
    {"presonus", HostId::kPresonus},
    {"acoustica", HostId::kAcoustica},
    {"garageband", HostId::kGarageBand},
    {"ardour", HostId::kArdour},
};
} // namespace

HostId LookUpHost(const char* productName)
{
    std::string lower = productName ? productName : "";
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const HostEntry& entry : kHosts)
        if (lower.find(entry.text) != std::string::npos)
            return entry.code;
    return HostId::kUnknown;
}

bool HostNeedsStereoInputsOnly(HostId host)
{
    return host == HostId::kForte || host == HostId::kAudition || host == HostId::kOrion ||
           host == HostId::kSawStudio;
}

int32_t PackDecimalVersion(int32_t decimal)
{
    return ((decimal / 10000) << 16) + (((decimal % 10000) / 100) << 8) + (decimal % 100);
}
} // namespace tpm
