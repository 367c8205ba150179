#pragma once
// Runs a piece of a test in a child process whose address space is capped a
// little above what it already uses, so that a test can show a load needs
// memory in proportion to its file. Sanitizer builds reserve terabytes of
// address space and cannot take the cap: there the piece is skipped.
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace facetor::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool k_can_cap_memory = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool k_can_cap_memory = false;
#else
inline constexpr bool k_can_cap_memory = true;
#endif
#else
inline constexpr bool k_can_cap_memory = true;
#endif

// The process's address space now, in bytes.
inline long long address_space_used()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0) {
            return std::stoll(line.substr(7)) * 1024; // given in kB
        }
    }
    return 0;
}

// The exit status of `body` run in a child allowed `extra` bytes more
// address space than the parent uses; -1 if the child died otherwise.
inline int run_with_memory_cap(long long extra, const std::function<int()>& body)
{
    const long long cap = address_space_used() + extra;
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{static_cast<rlim_t>(cap), static_cast<rlim_t>(cap)};
        ::setrlimit(RLIMIT_AS, &limit);
        int status = 99;
        try {
            status = body();
        } catch (...) {
            status = 98;
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace facetor::test
