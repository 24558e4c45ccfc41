// The host's URI map for LV2 plug-ins (urid:map): each URI gets a number of its own, for good.
#pragma once

#include <lv2/urid/urid.h>

#include <map>
#include <string>

namespace tpm
{
class Lv2UridMap
{
  public:
    Lv2UridMap() = default;
    Lv2UridMap(const Lv2UridMap&) = delete;
    Lv2UridMap& operator=(const Lv2UridMap&) = delete;

    LV2_URID Map(const char* uri);
    // The feature's data, pointing back here.
    LV2_URID_Map* Feature() { return &feature; }

  private:
    static LV2_URID MapThunk(LV2_URID_Map_Handle self, const char* uri);

    std::map<std::string, LV2_URID> uris;
    LV2_URID_Map feature{this, &MapThunk};
};
} // namespace tpm
