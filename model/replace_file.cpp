#include "model/replace_file.h"

#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/descriptor_buffer.h"
#include "model/errors.h"

namespace facetor {

namespace {

// The kernel's own limit on links followed in one path.
constexpr int k_max_links = 40;

// From this size on, the disk's work on a file is worth a thread.
constexpr std::uint64_t k_large_file = std::uint64_t{4} << 20;

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

// The fsync before the rename waits for the disk to take the whole file,
// which for a large file is most of a save. While the rest of the file is
// still being made, this hands the disk what is written so far, every few
// MiB, so that the fsync waits for the tail only. The fsync stays the proof
// that the file is on the disk: this only starts the disk's work early.
class BackgroundSync {
  public:
    explicit BackgroundSync(int fd) : fd_(fd) {}
    ~BackgroundSync() { stop(); }
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;

    void written(std::uint64_t bytes)
    {
        {
            const std::lock_guard lock(mutex_);
            written_ = bytes;
            if (written_ - synced_ < k_large_file) {
                return;
            }
        }
        if (!thread_.joinable() && !failed_to_start_) {
            start(); // only a file that grows large needs one
        }
        wake_.notify_one();
    }

    // Waits for a sync under way; returns the system's error number of the
    // first sync that failed, or 0. A sync reports an error once: it must
    // not be lost here.
    int stop()
    {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable()) {
            thread_.join();
        }
        return error_;
    }

  private:
    void start()
    {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            failed_to_start_ = true; // the fsync alone does it, only later
        }
    }

    void run()
    {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return done_ || written_ - synced_ >= k_large_file; });
            if (done_) {
                return;
            }
            const std::uint64_t upto = written_;
            lock.unlock();
            const int result = ::fdatasync(fd_);
            const int error = errno;
            lock.lock();
            synced_ = upto; // an interrupted one is left to the fsync
            if (result != 0 && error != EINTR) {
                error_ = error;
                return;
            }
        }
    }

    int fd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t written_ = 0;
    std::uint64_t synced_ = 0;
    bool done_ = false;
    bool failed_to_start_ = false;
    int error_ = 0;
    std::thread thread_;
};

// Runs `write` into `fd`; throws the first write error. `sync`, if given,
// is told how far the writes have come.
void write_through(int fd, const std::function<void(std::ostream&)>& write,
                   BackgroundSync* sync = nullptr)
{
    DescriptorBuffer buffer(fd);
    if (sync != nullptr) {
        buffer.on_written([sync](std::uint64_t written) { sync->written(written); });
    }
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

// Dropping the last name of a large file frees its blocks, which takes
// milliseconds, and far more where the disk is told at once of every block
// freed. Held open across the rename, the replaced file is freed at its last
// close instead, which a short-lived thread does: the save is done once the
// new file is in place.
class OldFile {
  public:
    // An empty path holds nothing.
    explicit OldFile(const std::string& path)
        : fd_(path.empty() ? -1 : ::open(path.c_str(), O_PATH | O_CLOEXEC))
    {
    }
    ~OldFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OldFile(const OldFile&) = delete;
    OldFile& operator=(const OldFile&) = delete;

    void release_in_background()
    {
        if (fd_ < 0) {
            return;
        }
        try {
            std::thread([fd = fd_] { ::close(fd); }).detach();
            fd_ = -1;
        } catch (const std::system_error&) {
            // Closed here, then.
        }
    }

  private:
    int fd_;
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
    BackgroundSync sync(file.fd());
    write_through(file.fd(), write, &sync);
    if (const int error = sync.stop(); error != 0) {
        throw FileError(error);
    }
    file.take_attributes_of(exists ? &old : nullptr);
    OldFile replaced(
        exists && static_cast<std::uint64_t>(old.st_size) >= k_large_file ? target : std::string());
    file.rename_to(target);
    replaced.release_in_background();
}

} // namespace facetor
