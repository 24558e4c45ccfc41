#include "tools/hostkit/Lv2PositionWriter.h"

#include <lv2/atom/atom.h>
#include <lv2/time/time.h>

#include <cstring>
#include <iterator>

namespace tpm
{
namespace
{
// A property with a 4- or 8-byte value; the atom's size says which.
template <typename Value> struct Property
{
    LV2_Atom_Property_Body head;
    Value value;
};
} // namespace

Lv2PositionWriter::Lv2PositionWriter(Lv2UridMap& map, std::size_t capacity)
    : buffer((capacity + 7) / 8, 0), sequenceType(map.Map(LV2_ATOM__Sequence)),
      objectType(map.Map(LV2_ATOM__Object)), positionType(map.Map(LV2_TIME__Position)),
      floatType(map.Map(LV2_ATOM__Float)), longType(map.Map(LV2_ATOM__Long)),
      speedKey(map.Map(LV2_TIME__speed)), bpmKey(map.Map(LV2_TIME__beatsPerMinute)),
      beatsPerBarKey(map.Map(LV2_TIME__beatsPerBar)), beatUnitKey(map.Map(LV2_TIME__beatUnit)),
      barKey(map.Map(LV2_TIME__bar)), barBeatKey(map.Map(LV2_TIME__barBeat)),
      frameKey(map.Map(LV2_TIME__frame))
{
    Clear();
}

void Lv2PositionWriter::Clear()
{
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.data());
    sequence->atom = {sizeof(LV2_Atom_Sequence_Body), sequenceType};
    sequence->body = {0, 0};
}

bool Lv2PositionWriter::Append(const void* data, std::size_t size)
{
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.data());
    const std::size_t at = sizeof(LV2_Atom) + sequence->atom.size;
    const std::size_t padded = (size + 7) & ~std::size_t{7};
    if (at + padded > buffer.size() * 8)
        return false;
    auto* bytes = reinterpret_cast<uint8_t*>(buffer.data());
    std::memset(bytes + at, 0, padded);
    std::memcpy(bytes + at, data, size);
    sequence->atom.size += static_cast<uint32_t>(padded);
    return true;
}

bool Lv2PositionWriter::Add(int64_t offset, const Lv2Position& position)
{
    const auto floatProperty = [this](uint32_t key, float value) {
        return Property<float>{{key, 0, {sizeof(float), floatType}}, value};
    };
    const auto longProperty = [this](uint32_t key, int64_t value) {
        return Property<int64_t>{{key, 0, {sizeof(int64_t), longType}}, value};
    };
    const Property<float> floats[] = {
        floatProperty(speedKey, position.speed), floatProperty(bpmKey, position.beatsPerMinute),
        floatProperty(beatsPerBarKey, position.beatsPerBar), floatProperty(barBeatKey, position.barBeat)};
    const Property<int64_t> longs[] = {longProperty(frameKey, position.frame),
                                       longProperty(beatUnitKey, position.beatUnit),
                                       longProperty(barKey, position.bar)};
    // Each property padded to 8 bytes: 24 apiece.
    constexpr uint32_t kPropertyBytes = 24;
    const uint32_t bodySize =
        sizeof(LV2_Atom_Object_Body) + kPropertyBytes * (std::size(floats) + std::size(longs));
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.data());
    const uint32_t sizeBefore = sequence->atom.size;
    const LV2_Atom_Event event{{offset}, {bodySize, objectType}};
    const LV2_Atom_Object_Body object{0, positionType};
    bool fits = Append(&event, sizeof event) && Append(&object, sizeof object);
    for (const auto& p : floats)
        fits = fits && Append(&p, sizeof p);
    for (const auto& p : longs)
        fits = fits && Append(&p, sizeof p);
    if (!fits)
        sequence->atom.size = sizeBefore;
    return fits;
}

bool Lv2PositionWriter::AddAtom(int64_t offset, const LV2_Atom& atom)
{
    auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(buffer.data());
    const uint32_t sizeBefore = sequence->atom.size;
    const LV2_Atom_Event event{{offset}, atom};
    // The event's header is 16 bytes, so the body follows it without padding.
    static_assert(sizeof event % 8 == 0);
    const bool fits = Append(&event, sizeof event) && Append(&atom + 1, atom.size);
    if (!fits)
        sequence->atom.size = sizeBefore;
    return fits;
}
} // namespace tpm
