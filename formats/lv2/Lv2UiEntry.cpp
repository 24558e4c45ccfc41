// The LV2 editor module's one export: the host asks for its UIs by index.
#include "formats/lv2/Lv2Ui.h"

using namespace tpm;

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &Lv2Ui::kDescriptor : nullptr;
}
