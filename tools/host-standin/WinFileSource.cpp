// The ticker reader's file source for the Win32 stand-in, over the C runtime's descriptors
// (the programs' own source reads through POSIX).
#include "hostdb/ByteSource.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace hostdb {

FileByteSource::FileByteSource(const std::filesystem::path& path) {
    fd_ = ::_open(path.string().c_str(), _O_RDONLY | _O_BINARY);
    struct _stati64 st;
    if (fd_ >= 0 && (::_fstati64(fd_, &st) != 0 || (st.st_mode & _S_IFREG) == 0)) {
        ::_close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0) size_ = static_cast<std::uint64_t>(st.st_size);
}

FileByteSource::~FileByteSource() {
    if (fd_ >= 0) ::_close(fd_);
}

std::size_t FileByteSource::ReadSome(std::uint64_t offset, void* buf, std::size_t n) const {
    if (fd_ < 0 || offset >= size_) return 0;
    if (n > size_ - offset) n = static_cast<std::size_t>(size_ - offset);
    if (::_lseeki64(fd_, static_cast<__int64>(offset), SEEK_SET) < 0) return 0;
    auto* out = static_cast<char*>(buf);
    std::size_t done = 0;
    while (done < n) {
        int r = ::_read(fd_, out + done, static_cast<unsigned>(n - done));
        if (r <= 0) break;
        done += static_cast<std::size_t>(r);
    }
    return done;
}

} // namespace hostdb
