#include "hostdb/ByteSource.h"

#include "platform/Profile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hostdb {

FileByteSource::FileByteSource(const std::filesystem::path& path) {
    std::string reason;
    fd_ = platform::OpenRegularFile(path, reason);
    if (fd_ < 0) return;
    struct stat st;
    if (::fstat(fd_, &st) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
}

FileByteSource::~FileByteSource() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t FileByteSource::ReadSome(std::uint64_t offset, void* buf, std::size_t n) const {
    if (fd_ < 0 || offset >= size_) return 0;
    if (n > size_ - offset) n = static_cast<std::size_t>(size_ - offset);
    auto* out = static_cast<char*>(buf);
    std::size_t done = 0;
    while (done < n) {
        ssize_t r = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break; // the file shrank or failed under us
        done += static_cast<std::size_t>(r);
    }
    return done;
}

std::size_t MemoryByteSource::ReadSome(std::uint64_t offset, void* buf, std::size_t n) const {
    if (offset >= bytes_.size()) return 0;
    if (n > bytes_.size() - offset) n = static_cast<std::size_t>(bytes_.size() - offset);
    if (n > 0) std::memcpy(buf, bytes_.data() + offset, n);
    return n;
}

} // namespace hostdb
