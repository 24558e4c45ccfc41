// A new version of a file, written beside it under a temporary name and put in its place only when
// complete, so a failure, a full disk or a signal at any moment leaves the old file as it was.
#pragma once

#include <cstddef>
#include <string>

namespace tpm
{
class ReplacingFile
{
  public:
    ReplacingFile() = default;
    // Anything not committed is removed again.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Checks the target (not a folder, its folder exists and is writable) and creates the temporary
    // file next to it; false with a one-line reason naming the target.
    bool Open(const std::string& target, std::string& error);
    // The temporary file's descriptor, for libraries that write through one.
    int Descriptor() const { return descriptor; }
    bool Write(const void* data, std::size_t size, std::string& error);
    // Flushes the data to the disk and renames the temporary file over the target.
    bool Commit(std::string& error);
    // A failure reason for this file: "cannot write 'target': reason".
    std::string Failure(const std::string& reason) const;

  private:
    void Discard();

    std::string target;      // as the user named it, for messages
    std::string destination; // the file that is replaced (a symbolic link's own target)
    std::string temporary;
    int descriptor = -1;
};
} // namespace tpm
