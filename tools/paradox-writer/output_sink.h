#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quorvex::pxwriter {

// Where a written file goes: bytes are placed at absolute offsets, so the header can be filled
// in last. Failures throw std::runtime_error.
class OutputSink {
  public:
    virtual ~OutputSink() = default;
    virtual void write(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    virtual void close() = 0;
};

// Creates (or empties) the file at `path`.
std::unique_ptr<OutputSink> FileSink(const std::string& path);

// Collects the bytes in `target`, which must outlive the sink.
std::unique_ptr<OutputSink> MemorySink(std::vector<std::uint8_t>& target);

}  // namespace quorvex::pxwriter
