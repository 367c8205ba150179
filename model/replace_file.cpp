#include "model/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/descriptor_buffer.h"
#include "model/errors.h"

namespace facetor {

namespace {

// The kernel's own limit on links followed in one path.
constexpr int k_max_links = 40;

// The file a chain of symbolic links at `path` ends in, which need not exist
// yet: writing through a dangling link makes its target, as the shell does.
std::string final_target(const std::string& path)
{
    std::filesystem::path target = path;
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target.string(); // a stat error shows when the target is opened
        }
        if (hops == k_max_links) {
            throw FileError(ELOOP);
        }
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(target, error);
        if (error) {
            throw FileError(error.value());
        }
        target = target.parent_path() / link; // an absolute link replaces the folder
    }
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd)
    {
        if (fd_ < 0) {
            throw FileError(errno);
        }
    }
    ~Descriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    void close()
    {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            throw FileError(errno);
        }
    }

  private:
    int fd_;
};

// Runs `write` into `fd`; throws the first write error.
void write_through(int fd, const std::function<void(std::ostream&)>& write)
{
    DescriptorBuffer buffer(fd);
    std::ostream out(&buffer);
    write(out);
    out.flush();
    if (buffer.error() != 0) {
        throw FileError(buffer.error());
    }
    if (!out) {
        throw FileError(EIO);
    }
}

// The temporary file beside `target`, removed unless it was renamed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target)
        : name_(temporary_name(target)), fd_(::mkstemp(name_.data()))
    {
    }
    ~TemporaryFile()
    {
        if (!renamed_) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }

    // The owner (where we may set it) and mode of the file replaced, or
    // the mode an ordinary new file gets.
    void take_attributes_of(const struct stat* old)
    {
        mode_t mode = 0;
        if (old != nullptr) {
            if ((old->st_uid != ::geteuid() || old->st_gid != ::getegid()) &&
                ::fchown(fd(), old->st_uid, old->st_gid) != 0) {
                // Only root may give a file away: the file is then ours.
            }
            mode = old->st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(fd(), mode) != 0) {
            throw FileError(errno);
        }
    }

    // On the disk before the rename: a crash leaves the old file or the
    // new one, never an empty one.
    void rename_to(const std::string& target)
    {
        if (::fsync(fd()) != 0) {
            throw FileError(errno);
        }
        fd_.close();
        if (::rename(name_.c_str(), target.c_str()) != 0) {
            throw FileError(errno);
        }
        renamed_ = true;
    }

  private:
    // The target's name with a random end, shortened so that it stays
    // within the longest name a folder takes.
    static std::string temporary_name(const std::string& target)
    {
        constexpr std::size_t k_longest_kept = 200;
        const std::size_t base = target.rfind('/') + 1; // 0 without a folder
        return target.substr(0, base + k_longest_kept) + ".XXXXXX";
    }

    std::string name_;
    Descriptor fd_;
    bool renamed_ = false;
};

} // namespace

void replace_file(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    const std::string target = final_target(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        throw FileError(errno);
    }
    if (exists && S_ISDIR(old.st_mode)) {
        throw FileError(EISDIR);
    }
    if (exists && !S_ISREG(old.st_mode)) {
        // A device or pipe takes the text as it comes; there is nothing to
        // rename, and replacing it would break what it is for.
        Descriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        write_through(fd.get(), write);
        fd.close();
        return;
    }
    TemporaryFile file(target);
    write_through(file.fd(), write);
    file.take_attributes_of(exists ? &old : nullptr);
    file.rename_to(target);
}

} // namespace facetor
