#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quorvex::paradox {

// Random access to the bytes of one file, from disk or from memory. Every read is checked
// against the real size, so a damaged offset can never reach outside the data.
class ByteSource {
  public:
    virtual ~ByteSource() = default;

    // The name used in error messages (the path, or the name given to a buffer).
    virtual const std::string& name() const = 0;
    virtual std::uint64_t size() const = 0;

    // Fills `out` with the bytes at `offset`; throws Error when the range is not wholly inside
    // the data or the file cannot be read.
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;

    bool contains(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size() && count <= size() - offset;
    }
};

// Opens a regular file for reading; throws Error when it cannot be opened or is not a file.
// The file stays open as long as the source lives.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path);

// Serves bytes held in memory under the given name.
std::unique_ptr<ByteSource> MemorySource(std::string name, std::vector<std::uint8_t> bytes);

}  // namespace quorvex::paradox
