#include "output_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quorvex::pxwriter {

namespace {

class FileOutput : public OutputSink {
  public:
    explicit FileOutput(const std::string& path) : path_(path) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
        }
    }
    ~FileOutput() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    void write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                       static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(errno));
            }
            done += static_cast<std::size_t>(n);
        }
    }

    void close() override {
        if (fd_ >= 0 && ::close(fd_) != 0) {
            fd_ = -1;
            throw std::runtime_error("cannot close " + path_ + ": " + std::strerror(errno));
        }
        fd_ = -1;
    }

  private:
    std::string path_;
    int fd_ = -1;
};

class MemoryOutput : public OutputSink {
  public:
    explicit MemoryOutput(std::vector<std::uint8_t>& target) : target_(target) { target_.clear(); }

    void write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        const std::size_t end = static_cast<std::size_t>(offset) + bytes.size();
        if (target_.size() < end) {
            target_.resize(end);
        }
        if (!bytes.empty()) {
            std::memcpy(target_.data() + offset, bytes.data(), bytes.size());
        }
    }

    void close() override {}

  private:
    std::vector<std::uint8_t>& target_;
};

}  // namespace

std::unique_ptr<OutputSink> FileSink(const std::string& path) {
    return std::make_unique<FileOutput>(path);
}

std::unique_ptr<OutputSink> MemorySink(std::vector<std::uint8_t>& target) {
    return std::make_unique<MemoryOutput>(target);
}

}  // namespace quorvex::pxwriter
