// Moving presets between PresetFile and a plug-in, only through the plug-in's VST entry points.
#pragma once

#include "tools/hostkit/PresetFile.h"
#include "tools/hostkit/Vst2HostedPlugin.h"

#include <string>

// Reads a program (-1: the current one) or the whole bank from the plug-in. The parameter form of
// a bank selects every program in turn, as hosts do, and then the current one again.
bool CapturePreset(Vst2HostedPlugin& plugin, PresetFile::Kind kind, int program, PresetFile& out,
                   std::string& error);
// Applies the file to the plug-in: a program goes into the current program, a bank replaces the
// programs it lists.
bool ApplyPreset(Vst2HostedPlugin& plugin, const PresetFile& file, std::string& error);
