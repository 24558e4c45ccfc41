// Program slots and state data of IEffectBase: filling slots, program change, and the encoding
// of parameter values and of the whole bank.
#include "core/IEffectBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr const char* kUserPresetPhrase = "user preset";
} // namespace

IPresetRecord* IEffectBase::GetPreset(int index)
{
    return index >= 0 && index < PresetCount() ? presets[static_cast<std::size_t>(index)].get() : nullptr;
}

const char* IEffectBase::GetPresetName(int index) const
{
    const IPresetRecord* preset = const_cast<IEffectBase*>(this)->GetPreset(index);
    return preset ? preset->name.Get() : "";
}

IPresetRecord* IEffectBase::FirstFreePreset()
{
    for (auto& preset : presets)
        if (!preset->inUse)
            return preset.get();
    return nullptr;
}

void IEffectBase::AddFactoryPreset(const char* name, const double* values, int count)
{
    ILockGuard guard(lock);
    IPresetRecord* preset = FirstFreePreset();
    if (!preset)
        return;
    preset->inUse = true;
    preset->name.Set(name);
    preset->data.Clear();
    // Whole-number kinds take integers: a fractional table value is cut toward zero as an integer
    // argument would be. A short list leaves the remaining parameters at 0, so the slot always
    // holds one value per parameter.
    for (int i = 0; i < ParamCount(); ++i)
    {
        double v = values && i < count ? values[i] : 0.0;
        switch (parameters[static_cast<std::size_t>(i)]->GetKind())
        {
        case IParameter::kBool:
        case IParameter::kInt:
        case IParameter::kEnum:
            v = std::trunc(v);
            break;
        default:
            break;
        }
        preset->data.AppendDouble(v);
    }
}

void IEffectBase::AddDefaultPresets(const char* name, int count)
{
    ILockGuard guard(lock);
    for (int n = 0; n < count; ++n)
    {
        IPresetRecord* preset = FirstFreePreset();
        if (!preset)
            return;
        preset->inUse = true;
        preset->name.Set(name ? name : "Default");
        preset->data.Clear();
        WriteParamState(preset->data);
    }
}

void IEffectBase::ModifyCurrentPreset(const char* name)
{
    IPresetRecord* preset = GetPreset(currentPreset);
    if (!preset)
        return;
    preset->data.Clear();
    WriteParamState(preset->data);
    if (name && name[0] != '\0')
        preset->name.Set(name);
}

bool IEffectBase::RestorePreset(int index)
{
    IPresetRecord* preset = GetPreset(index);
    if (!preset)
        return false;
    bool ok = false;
    if (preset->inUse)
        ok = ReadParamState(preset->data, 0) > 0;
    else
    {
        char name[IPresetRecord::Name::kCapacity + 1];
        MakeUserPresetName(name, sizeof name);
        preset->inUse = true;
        preset->name.Set(name);
        // Replace, not append: a free slot may still carry values (a bank that freed it, or
        // edits stored while it was current), and a slot in use must hold exactly one set.
        preset->data.Clear();
        ok = WriteParamState(preset->data);
    }
    if (ok)
        currentPreset = index;
    return ok;
}

void IEffectBase::MakeUserPresetName(char* out, std::size_t outSize) const
{
    if (!out || outSize == 0)
        return;
    int count = 0;
    for (const auto& preset : presets)
        if (std::strstr(preset->name.Get(), kUserPresetPhrase))
            ++count;
    std::snprintf(out, outSize, "%s %d", kUserPresetPhrase, count + 1);
}

bool IEffectBase::WriteParamState(IByteBuffer& buffer)
{
    for (const auto& param : parameters)
        if (!buffer.AppendDouble(param->Value()) || buffer.Size() == 0)
            return false;
    return true;
}

int IEffectBase::ReadParamState(const IByteBuffer& buffer, int pos)
{
    for (auto& param : parameters)
    {
        if (pos < 0)
            break;
        // The first value that does not fit reads as 0; the ones after it keep their values.
        double v = 0.0;
        pos = buffer.ReadDouble(pos, v);
        param->SetValue(param->Limit(pos < 0 ? 0.0 : v));
    }
    for (int i = 0; i < ParamCount(); ++i)
        HandleParamChange(i);
    return pos;
}

void IEffectBase::SelectProgram(int index)
{
    ILockGuard guard(lock);
    ModifyCurrentPreset(nullptr);
    RestorePreset(index);
}

void IEffectBase::RenameCurrentProgram(const char* name)
{
    ILockGuard guard(lock);
    ModifyCurrentPreset(name);
}
