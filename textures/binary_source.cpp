#include "textures/binary_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "model/errors.h"
#include "model/plain_file.h"

namespace facetor {

std::size_t MemoryBinary::read_at(std::int64_t pos, unsigned char* out, std::size_t count) const
{
    if (pos < 0 || pos >= size()) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(pos);
    const std::size_t n = std::min(count, bytes_.size() - start);
    std::memcpy(out, bytes_.data() + start, n);
    return n;
}

FileBinary::FileBinary(const std::string& path)
{
    const PlainFile file = open_plain_file(path);
    fd_ = file.fd;
    size_ = file.size;
}

FileBinary::~FileBinary()
{
    ::close(fd_);
}

std::size_t FileBinary::read_at(std::int64_t pos, unsigned char* out, std::size_t count) const
{
    std::size_t done = 0;
    while (done < count && pos < size_) {
        const ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(pos));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(errno);
        }
        if (n == 0) {
            break; // the file shrank since it was opened
        }
        done += static_cast<std::size_t>(n);
        pos += n;
    }
    return done;
}

void take_le32(const unsigned char* bytes, std::size_t valid, std::size_t offset,
               std::int32_t& value)
{
    if (offset > valid || valid - offset < 4) {
        return;
    }
    const unsigned char* p = bytes + offset;
    const std::uint32_t u = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                            std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    value = static_cast<std::int32_t>(u);
}

} // namespace facetor
