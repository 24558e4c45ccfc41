// The LV2 module's one export: the host asks for its plug-ins by index.
#include "formats/lv2/Lv2Plugin.h"

using namespace tpm;

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index == 0 ? &Lv2Plugin::kDescriptor : nullptr;
}
