// Moving presets between PresetFile and a plug-in of any format. A VST2 module is driven through its
// own entry points; the other formats through the product's bank their state carries, so a file
// moves between the VST2 build and every other build unchanged. Parameter-value files hold VST2
// normalised values, which only the VST2 build maps onto its parameters.
#pragma once

#include "tools/hostkit/HostedInstance.h"
#include "tools/hostkit/PresetFile.h"

#include <string>

namespace tpm
{
// Reads a program (-1: the current one) or the whole bank from the plug-in. The parameter form of
// a bank selects every program in turn, as hosts do, and then the current one again.
bool CapturePreset(HostedInstance& plugin, PresetFile::Kind kind, int program, PresetFile& out,
                   std::string& error);
// Applies the file to the plug-in: a program goes into the current program, a bank replaces the
// programs it lists.
bool ApplyPreset(HostedInstance& plugin, const PresetFile& file, std::string& error);
} // namespace tpm
