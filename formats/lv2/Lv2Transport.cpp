#include "formats/lv2/Lv2Transport.h"

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cmath>

namespace tpm
{
namespace
{
LV2_URID Map(const LV2_URID_Map* map, const char* uri)
{
    return map ? map->map(map->handle, uri) : 0;
}
} // namespace

Lv2Transport::Lv2Transport(const LV2_URID_Map* map)
    : atomBlank(Map(map, LV2_ATOM__Blank)), atomObject(Map(map, LV2_ATOM__Object)),
      timePosition(Map(map, LV2_TIME__Position)), timeSpeed(Map(map, LV2_TIME__speed)),
      timeBpm(Map(map, LV2_TIME__beatsPerMinute)), timeBeatsPerBar(Map(map, LV2_TIME__beatsPerBar)),
      timeBeatUnit(Map(map, LV2_TIME__beatUnit)), timeBar(Map(map, LV2_TIME__bar)),
      timeBarBeat(Map(map, LV2_TIME__barBeat)), timeBeat(Map(map, LV2_TIME__beat)),
      atomFloat(Map(map, LV2_ATOM__Float)), atomDouble(Map(map, LV2_ATOM__Double)),
      atomInt(Map(map, LV2_ATOM__Int)), atomLong(Map(map, LV2_ATOM__Long))
{
}

bool Lv2Transport::Number(const LV2_Atom* atom, double& out) const
{
    if (!atom)
        return false;
    double value = 0.0;
    if (atom->type == atomFloat && atom->size >= sizeof(float))
        value = reinterpret_cast<const LV2_Atom_Float*>(atom)->body;
    else if (atom->type == atomDouble && atom->size >= sizeof(double))
        value = reinterpret_cast<const LV2_Atom_Double*>(atom)->body;
    else if (atom->type == atomInt && atom->size >= sizeof(int32_t))
        value = reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
    else if (atom->type == atomLong && atom->size >= sizeof(int64_t))
        value = static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(atom)->body);
    else
        return false;
    if (!std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool Lv2Transport::Read(const LV2_Atom& atom)
{
    if (atom.type == 0 || (atom.type != atomObject && atom.type != atomBlank) ||
        atom.size < sizeof(LV2_Atom_Object_Body))
        return false;
    const auto& object = reinterpret_cast<const LV2_Atom_Object&>(atom);
    if (object.body.otype != timePosition)
        return false;
    const LV2_Atom* speedAtom = nullptr;
    const LV2_Atom* bpmAtom = nullptr;
    const LV2_Atom* beatsPerBarAtom = nullptr;
    const LV2_Atom* beatUnitAtom = nullptr;
    const LV2_Atom* barAtom = nullptr;
    const LV2_Atom* barBeatAtom = nullptr;
    const LV2_Atom* beatAtom = nullptr;
    lv2_atom_object_get(&object, timeSpeed, &speedAtom, timeBpm, &bpmAtom, timeBeatsPerBar, &beatsPerBarAtom,
                        timeBeatUnit, &beatUnitAtom, timeBar, &barAtom, timeBarBeat, &barBeatAtom, timeBeat,
                        &beatAtom, 0);
    now.available = true;
    double value = 0.0;
    if (Number(speedAtom, value))
        speed = value;
    now.playing = speed != 0.0;
    if (Number(bpmAtom, value) && value > 0.0)
    {
        now.tempo = value;
        now.tempoValid = true;
    }
    double beatsPerBar = now.timeSigNumerator;
    if (Number(beatsPerBarAtom, value) && value >= 1.0)
    {
        beatsPerBar = value;
        now.timeSigNumerator = static_cast<int32_t>(std::lround(std::min(value, 1024.0)));
        now.timeSignatureValid = true;
    }
    if (Number(beatUnitAtom, value) && value >= 1.0)
    {
        now.timeSigDenominator = static_cast<int32_t>(std::lround(std::min(value, 1024.0)));
        now.timeSignatureValid = true;
    }
    // The position in quarter notes: from the bar and the beat in it where the host says so.
    const double quartersPerBeat = 4.0 / now.timeSigDenominator;
    double bar = 0.0;
    double barBeat = 0.0;
    if (Number(barAtom, bar) && Number(barBeatAtom, barBeat))
        now.positionBeats = (bar * beatsPerBar + barBeat) * quartersPerBeat;
    else if (Number(beatAtom, value))
        now.positionBeats = value * quartersPerBeat;
    return true;
}

void Lv2Transport::Advance(int frames, double sampleRate)
{
    if (!now.available || !now.tempoValid || speed == 0.0 || !(sampleRate > 0.0) || frames <= 0)
        return;
    const double beats = frames / sampleRate * now.tempo / 60.0 * speed;
    now.positionBeats += beats * 4.0 / now.timeSigDenominator;
}
} // namespace tpm
