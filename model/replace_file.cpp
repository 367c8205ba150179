#include "model/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <streambuf>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/errors.h"

namespace facetor {

namespace {

// The temporary file beside `path`, removed unless it was renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& path) : name_(path + ".XXXXXX")
    {
        fd_ = ::mkstemp(name_.data());
        if (fd_ < 0) {
            throw FileError(errno);
        }
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!renamed_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write_all(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                throw FileError(n < 0 ? errno : EIO);
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // The mode an ordinary new file gets, or the one of the file replaced.
    void take_mode_of(const std::string& path)
    {
        struct stat info {};
        mode_t mode = 0;
        if (::stat(path.c_str(), &info) == 0) {
            mode = info.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd_, mode) != 0) {
            throw FileError(errno);
        }
    }

    void rename_to(const std::string& path)
    {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            throw FileError(errno);
        }
        if (::rename(name_.c_str(), path.c_str()) != 0) {
            throw FileError(errno);
        }
        renamed_ = true;
    }

  private:
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

// A stream buffer that writes straight into the temporary file.
class FileStreamBuffer final : public std::streambuf {
  public:
    explicit FileStreamBuffer(TemporaryFile& file) : file_(file) {}

  protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        file_.write_all({s, static_cast<std::size_t>(n)});
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char ch = traits_type::to_char_type(c);
            file_.write_all({&ch, 1});
        }
        return traits_type::not_eof(c);
    }

  private:
    TemporaryFile& file_;
};

} // namespace

void replace_file(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    TemporaryFile file(path);
    FileStreamBuffer buffer(file);
    std::ostream out(&buffer);
    out.exceptions(std::ios::badbit); // a write error reaches us as the FileError it is
    try {
        write(out);
    } catch (const std::ios_base::failure&) {
        throw FileError(EIO);
    }
    file.take_mode_of(path);
    file.rename_to(path);
}

} // namespace facetor
