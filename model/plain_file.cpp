#include "model/plain_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/errors.h"

namespace facetor {

PlainFile open_plain_file(const std::string& path)
{
    // Non-blocking while it opens, so that a pipe with no writer returns.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        throw FileError(errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        throw FileError(code);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {fd, static_cast<std::int64_t>(info.st_size)};
}

} // namespace facetor
