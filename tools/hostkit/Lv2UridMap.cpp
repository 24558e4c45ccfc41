#include "tools/hostkit/Lv2UridMap.h"

namespace tpm
{
LV2_URID Lv2UridMap::Map(const char* uri)
{
    const auto [at, added] = uris.emplace(uri ? uri : "", static_cast<LV2_URID>(uris.size() + 1));
    return at->second;
}

LV2_URID Lv2UridMap::MapThunk(LV2_URID_Map_Handle self, const char* uri)
{
    return static_cast<Lv2UridMap*>(self)->Map(uri);
}
} // namespace tpm
