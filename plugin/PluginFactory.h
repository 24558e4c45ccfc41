// How a format binding makes the plug-in: the one thing the plug-in folder exports to it.
#pragma once

#include <memory>

namespace tpm
{
class TwinPulseToneMix;

// A new, fully constructed instance; null when it cannot be made.
std::unique_ptr<TwinPulseToneMix> CreatePlugin();
} // namespace tpm
