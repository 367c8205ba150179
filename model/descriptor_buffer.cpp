#include "model/descriptor_buffer.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace facetor {

DescriptorBuffer::DescriptorBuffer(int fd) : fd_(fd), by_line_(::isatty(fd) == 1)
{
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorBuffer::~DescriptorBuffer()
{
    drain();
}

bool DescriptorBuffer::write_out(const char* data, std::size_t size)
{
    while (size > 0 && error_ == 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO; // a write of nothing would repeat forever
            break;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        written_ += static_cast<std::uint64_t>(n);
    }
    if (error_ == 0 && told_) {
        told_(written_);
    }
    return error_ == 0;
}

bool DescriptorBuffer::drain()
{
    const bool ok = write_out(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return ok;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c)
{
    if (!drain()) {
        return traits_type::eof();
    }
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    if (by_line_ && traits_type::to_char_type(c) == '\n' && !drain()) {
        return traits_type::eof();
    }
    return c;
}

std::streamsize DescriptorBuffer::xsputn(const char* s, std::streamsize n)
{
    const auto size = static_cast<std::size_t>(n);
    if (error_ != 0) {
        return 0;
    }
    if (size > static_cast<std::size_t>(epptr() - pptr())) {
        if (!drain()) {
            return 0;
        }
        if (size >= buffer_.size()) {
            return write_out(s, size) ? n : 0;
        }
    }
    std::memcpy(pptr(), s, size);
    pbump(static_cast<int>(n));
    if (by_line_ && std::memchr(s, '\n', size) != nullptr && !drain()) {
        return 0;
    }
    return n;
}

int DescriptorBuffer::sync()
{
    return drain() ? 0 : -1;
}

} // namespace facetor
