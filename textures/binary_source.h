#pragma once
// Random access to the bytes of an archive or a texture: a file on disk, or
// bytes already in memory (tests, fuzzing). A read that reaches past the end
// delivers fewer bytes and no error; the readers build their short-read rule
// on that.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace facetor {

class BinarySource {
  public:
    virtual ~BinarySource() = default;

    // Length of the data in bytes.
    virtual std::int64_t size() const = 0;

    // Copies the bytes of [pos, pos + count) that lie inside the data into
    // `out` and returns how many that were. Precondition: pos >= 0.
    virtual std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const = 0;
};

// Bytes held by the caller, which must outlive the source.
class MemoryBinary final : public BinarySource {
  public:
    explicit MemoryBinary(std::string_view bytes) : bytes_(bytes) {}
    std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override;

  private:
    std::string_view bytes_;
};

// A plain file opened for reading and closed when the source goes away,
// whatever ended the read. Opening raises FileError with the system's error
// number ("File not found" for a missing file); devices and pipes are refused
// like in the model reader, since they have no end and no fixed positions.
class FileBinary final : public BinarySource {
  public:
    explicit FileBinary(const std::string& path);
    ~FileBinary() override;
    FileBinary(const FileBinary&) = delete;
    FileBinary& operator=(const FileBinary&) = delete;

    // The length when the file was opened.
    std::int64_t size() const override { return size_; }
    // A failing read raises FileError; a file that shrank reads short.
    std::size_t read_at(std::int64_t pos, unsigned char* out, std::size_t count) const override;

  private:
    int fd_ = -1;
    std::int64_t size_ = 0;
};

// A little-endian signed 32-bit value at `offset` of `bytes`, whose first
// `valid` bytes were read. A value not wholly among them is not read and
// `value` keeps what it held: that is the readers' short-read rule.
void take_le32(const unsigned char* bytes, std::size_t valid, std::size_t offset,
               std::int32_t& value);

} // namespace facetor
