#include "tools/hostkit/Lv2StateCalls.h"

namespace tpm
{
LV2_State_Status Lv2StateCalls::Store(LV2_State_Handle slot, uint32_t key, const void* value, size_t size,
                                      uint32_t type, uint32_t flags)
{
    (void)key;
    (void)flags;
    auto* into = static_cast<Slot*>(slot);
    const auto* bytes = static_cast<const uint8_t*>(value);
    into->value.assign(bytes, bytes + size);
    into->type = type;
    return LV2_STATE_SUCCESS;
}

const void* Lv2StateCalls::Retrieve(LV2_State_Handle slot, uint32_t key, size_t* size, uint32_t* type,
                                    uint32_t* flags)
{
    (void)key;
    const auto* from = static_cast<const Slot*>(slot);
    *size = from->value.size();
    *type = from->type;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return from->value.data();
}

bool Lv2StateCalls::Save(const LV2_State_Interface* state, LV2_Handle plugin, std::vector<uint8_t>& value,
                         uint32_t& type)
{
    Slot slot;
    if (!state || !state->save ||
        state->save(plugin, &Store, &slot, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr) !=
            LV2_STATE_SUCCESS ||
        slot.value.empty())
        return false;
    value = std::move(slot.value);
    type = slot.type;
    return true;
}

LV2_State_Status Lv2StateCalls::Restore(const LV2_State_Interface* state, LV2_Handle plugin,
                                        const std::vector<uint8_t>& value, uint32_t type)
{
    if (!state || !state->restore)
        return LV2_STATE_ERR_UNKNOWN;
    Slot slot{value, type};
    return state->restore(plugin, &Retrieve, &slot, 0, nullptr);
}
} // namespace tpm
