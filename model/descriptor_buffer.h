#pragma once
// A stream buffer that writes into an open file descriptor and keeps the
// system's error number of the first write that failed, which a standard
// stream loses: the message can then say "No space left on device".
#include <array>
#include <cstdint>
#include <functional>
#include <streambuf>
#include <utility>

namespace facetor {

class DescriptorBuffer final : public std::streambuf {
  public:
    // `fd` stays the caller's to close. A terminal gets each line as it ends.
    explicit DescriptorBuffer(int fd);
    ~DescriptorBuffer() override;
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    // 0 while every write succeeded; once one fails, nothing more is
    // written and the stream using this buffer goes bad.
    int error() const noexcept { return error_; }

    // Told the bytes written so far after each write that succeeded.
    void on_written(std::function<void(std::uint64_t)> told) { told_ = std::move(told); }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    bool write_out(const char* data, std::size_t size);
    bool drain();

    int fd_;
    int error_ = 0;
    bool by_line_;
    std::uint64_t written_ = 0;
    std::function<void(std::uint64_t)> told_;
    std::array<char, 64 * 1024> buffer_;
};

} // namespace facetor
