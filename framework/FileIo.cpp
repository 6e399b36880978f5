#include "framework/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace cs6 {
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

} // namespace

FileError::FileError(std::filesystem::path path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(std::move(path)), reason_(reason)
{
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path)
{
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        throw FileError(path, ErrnoText(errno));
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), chunk, sizeof chunk);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(path, ErrnoText(errno));
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.Get() < 0)
        throw FileError(path, "cannot create " + temporary.filename().string() + ": " + ErrnoText(errno));

    auto fail = [&](const std::string& reason) {
        ::close(file.Release());
        ::unlink(temporary.c_str());
        throw FileError(path, reason);
    };

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(file.Get(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(ErrnoText(errno));
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(file.Get()) != 0)
        fail(ErrnoText(errno));
    if (::close(file.Release()) != 0) {
        ::unlink(temporary.c_str());
        throw FileError(path, ErrnoText(errno));
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw FileError(path, ErrnoText(error));
    }
}

} // namespace cs6
