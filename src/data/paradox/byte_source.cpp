#include "data/paradox/byte_source.h"

#include "data/paradox/error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvex::paradox {

namespace {

std::string RangeFault(std::uint64_t offset, std::size_t count, std::uint64_t size) {
    return "a read of " + std::to_string(count) + " bytes at offset " + std::to_string(offset) +
           " goes past the end of the file (" + std::to_string(size) + " bytes)";
}

class FileSource : public ByteSource {
  public:
    FileSource(std::string path, int fd, std::uint64_t size)
        : path_(std::move(path)), fd_(fd), size_(size) {}
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    const std::string& name() const override { return path_; }
    std::uint64_t size() const override { return size_; }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (!contains(offset, out.size())) {
            throw Error(path_, RangeFault(offset, out.size(), size_));
        }
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw Error(path_, std::string("reading failed: ") + std::strerror(errno));
            }
            if (got == 0) {
                // The file shrank after it was opened.
                throw Error(path_, "the file ended early while it was being read");
            }
            done += static_cast<std::size_t>(got);
        }
    }

  private:
    std::string path_;
    int fd_;
    std::uint64_t size_;
};

class BufferSource : public ByteSource {
  public:
    BufferSource(std::string name, std::vector<std::uint8_t> bytes)
        : name_(std::move(name)), bytes_(std::move(bytes)) {}

    const std::string& name() const override { return name_; }
    std::uint64_t size() const override { return bytes_.size(); }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (!contains(offset, out.size())) {
            throw Error(name_, RangeFault(offset, out.size(), bytes_.size()));
        }
        if (!out.empty()) {
            std::memcpy(out.data(), bytes_.data() + offset, out.size());
        }
    }

  private:
    std::string name_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(path, std::string("the file cannot be opened: ") + std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        throw Error(path, std::string("the file cannot be examined: ") + std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw Error(path, S_ISDIR(info.st_mode) ? "it is a folder, not a file"
                                                : "it is not a regular file");
    }
    return std::make_unique<FileSource>(path, fd, static_cast<std::uint64_t>(info.st_size));
}

std::unique_ptr<ByteSource> MemorySource(std::string name, std::vector<std::uint8_t> bytes) {
    return std::make_unique<BufferSource>(std::move(name), std::move(bytes));
}

}  // namespace quorvex::paradox
