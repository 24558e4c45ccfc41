// The host's transport as LV2 hosts tell it: time:Position objects on the event input, read into the
// product's transport snapshot, which then runs on by itself between the host's messages (hosts send
// a position only when something changed).
#pragma once

#include "plugin/PluginInstance.h"

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

namespace tpm
{
class Lv2Transport
{
  public:
    // Without a map (a host that offers none can send no atoms), nothing is ever read.
    explicit Lv2Transport(const LV2_URID_Map* map);

    // True when the atom was a time:Position (then taken over); anything else is left alone.
    bool Read(const LV2_Atom& atom);
    // The transport at the current frame.
    const TransportSnapshot& Now() const { return now; }
    // Moves the position on by frames at the given sample rate, at the speed the host last gave.
    void Advance(int frames, double sampleRate);

  private:
    // A number of any of the atom number types; false for anything else or a non-finite value.
    bool Number(const LV2_Atom* atom, double& out) const;

    LV2_URID atomBlank;
    LV2_URID atomObject;
    LV2_URID timePosition;
    LV2_URID timeSpeed;
    LV2_URID timeBpm;
    LV2_URID timeBeatsPerBar;
    LV2_URID timeBeatUnit;
    LV2_URID timeBar;
    LV2_URID timeBarBeat;
    LV2_URID timeBeat;
    LV2_URID atomFloat;
    LV2_URID atomDouble;
    LV2_URID atomInt;
    LV2_URID atomLong;

    double speed = 0.0;
    TransportSnapshot now;
};
} // namespace tpm
