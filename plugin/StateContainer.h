// The state every new format saves: a small versioned header (magic, version, parameter count and,
// from version 2, the current program; from version 3, the editor's scale) in front of the bank chunk
// the VST2 build saves, so that one state moves between formats. The bank holds every slot's values,
// the live ones in the current slot; the current program says which slot that is (VST2 hosts keep it
// apart from the chunk). Version 3 is written only for an editor whose size was changed, so that
// every other state keeps the bytes earlier builds read.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tpm
{
class StateContainer
{
  public:
    static constexpr uint8_t kMagic[4] = {'t', 'P', 'T', 'M'};
    static constexpr uint32_t kVersion = 3;
    static constexpr std::size_t kHeaderBytes = 16; // version 2
    static constexpr std::size_t kHeaderBytesV1 = 12;
    static constexpr std::size_t kHeaderBytesWithScale = 24; // version 3: the scale as a double

    // editorScale 0: none remembered (version 2). False, out untouched, when memory runs out.
    static bool Wrap(std::span<const uint8_t> bank, int paramCount, int currentProgram, double editorScale,
                     std::vector<uint8_t>& out);
    // The bank inside a container, or the whole block when it carries no container header (a
    // bare VST2 bank chunk), and the current program (-1 where the block names none: version 1, or
    // a bare bank). False for a container of a later version or another parameter count, and for a
    // bank without the bank chunk's own header: the VST2 build reads headerless data as bare values
    // for old projects' sake, which a new format has no reason to do. editorScale: 0 where the block
    // names none.
    static bool Unwrap(std::span<const uint8_t> data, int paramCount, std::span<const uint8_t>& bank,
                       int& currentProgram, double& editorScale);
};
} // namespace tpm
