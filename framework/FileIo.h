#pragma once
// Whole-file reads and safe writes for the program's data files, and the
// error they report. A write goes to a temporary file beside the target and
// is renamed over it only when every byte is on disk, so an interrupted
// write (a full disk, a file-size limit, a crash) never leaves the old file
// truncated.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace cs6 {

// A file that cannot be opened, read or written; names the file and why.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, const std::string& reason);
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

// The whole file. Throws FileError when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path);

// Replaces the file with bytes (temporary file, flush to disk, rename).
// Throws FileError and leaves the old file as it was when any step fails.
void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace cs6
