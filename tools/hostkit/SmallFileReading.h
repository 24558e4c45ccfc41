// Reading a whole file that is meant to be small (a schedule, a preset), refusing folders, devices that
// never end and files past a size cap before they can fill the memory.
#pragma once

#include <cstddef>
#include <string>

namespace tpm
{
// Reads the file at `path` (UTF-8) into `bytes`. On failure answers false with a one-line reason that
// names the file as "<what> 'path'": it cannot be opened, it is a folder, or it holds more than
// `maxBytes`.
bool ReadSmallFile(const std::string& path, const std::string& what, std::size_t maxBytes, std::string& bytes,
                   std::string& error);
} // namespace tpm
