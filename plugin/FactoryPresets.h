// The factory bank: a slot with the parameter defaults and the 140 named factory settings.
#pragma once

namespace tpm
{
class ProgramBank;

// Fills the first free slots, in slot order. Called once by the constructor, after the
// parameters are defined, so the first slot captures the defaults.
void AddFactoryPresets(ProgramBank& bank);
} // namespace tpm
