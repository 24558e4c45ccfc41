#include "core/ParameterSet.h"

namespace tpm
{
ParameterSet::ParameterSet(int count, IChangeHandler& handler) : changes(handler)
{
    for (int i = 0; i < count; ++i)
        parameters.push_back(std::make_unique<Parameter>());
}

ParameterSet::~ParameterSet()
{
    // Last to first, the reverse of their making.
    while (!parameters.empty())
        parameters.pop_back();
}

Parameter* ParameterSet::Get(int paramIdx)
{
    return paramIdx >= 0 && paramIdx < Count() ? parameters[static_cast<std::size_t>(paramIdx)].get()
                                               : nullptr;
}

const Parameter* ParameterSet::Get(int paramIdx) const
{
    return const_cast<ParameterSet*>(this)->Get(paramIdx);
}

void ParameterSet::SetNormalized(int paramIdx, double normalized)
{
    Parameter* param = Get(paramIdx);
    if (!param)
        return;
    param->SetNormalized(normalized);
    changes.ParameterChanged(paramIdx);
}

void ParameterSet::SetValue(int paramIdx, double value)
{
    Parameter* param = Get(paramIdx);
    if (!param)
        return;
    param->SetValue(param->Limit(value));
    changes.ParameterChanged(paramIdx);
}

void ParameterSet::AnnounceAll()
{
    for (int i = 0; i < Count(); ++i)
        changes.ParameterChanged(i);
}

void ParameterSet::CopyValues(std::vector<double>& out) const
{
    for (std::size_t i = 0; i < parameters.size() && i < out.size(); ++i)
        out[i] = parameters[i]->Value();
}

void ParameterSet::ApplyValues(const std::vector<double>& values)
{
    for (std::size_t i = 0; i < parameters.size() && i < values.size(); ++i)
        parameters[i]->SetValue(parameters[i]->Limit(values[i]));
    AnnounceAll();
}

double ParameterSet::Limit(int paramIdx, double value) const
{
    const Parameter* param = Get(paramIdx);
    return param ? param->Limit(value) : value;
}

bool ParameterSet::AppendValues(ByteBuffer& buffer) const
{
    for (const auto& param : parameters)
        if (!buffer.AppendDouble(param->Value()) || buffer.Size() == 0)
            return false;
    return true;
}

int ParameterSet::ReadValues(const ByteBuffer& buffer, int pos)
{
    for (auto& param : parameters)
    {
        if (pos < 0)
            break;
        double v = 0.0;
        pos = buffer.ReadDouble(pos, v);
        param->SetValue(param->Limit(pos < 0 ? 0.0 : v));
    }
    AnnounceAll();
    return pos;
}
} // namespace tpm
