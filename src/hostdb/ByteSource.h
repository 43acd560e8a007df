// The seam through which host files are read: a file on disk or bytes in memory, so tests and
// fuzz targets can hand the readers truncated or hostile content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace hostdb {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool IsOpen() const = 0;
    virtual std::uint64_t Size() const = 0;
    // Reads up to n bytes at offset, fewer at the end of the source; the count read.
    virtual std::size_t ReadSome(std::uint64_t offset, void* buf, std::size_t n) const = 0;
    // Reads exactly n bytes at offset; false (and nothing promised in buf) when the range does
    // not lie wholly within the source.
    bool ReadAt(std::uint64_t offset, void* buf, std::size_t n) const {
        return ReadSome(offset, buf, n) == n;
    }
};

class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const std::filesystem::path& path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    bool IsOpen() const override { return fd_ >= 0; }
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadSome(std::uint64_t offset, void* buf, std::size_t n) const override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool IsOpen() const override { return true; }
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadSome(std::uint64_t offset, void* buf, std::size_t n) const override;

private:
    std::span<const std::uint8_t> bytes_;
};

inline std::uint16_t ReadUInt16LE(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::int32_t ReadInt32LE(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

inline std::int16_t ReadInt16LE(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace hostdb
