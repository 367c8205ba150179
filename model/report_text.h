#pragma once
// What the tools' reports share: a count with its noun, and warnings of one
// cause gathered into one line, since a model can hold thousands of values
// or faces with the same problem.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace facetor {

// "1 mesh", "2 meshes".
std::string count_of(std::size_t n, std::string_view one, std::string_view many);

// Each cause once, with how often it came and its first example, in the
// order the causes first came; how a line reads is the caller's.
class WarningTally {
  public:
    struct Entry {
        std::string cause;
        std::string first;
        std::size_t count = 0;
    };

    void add(const std::string& cause, const std::string& example);
    const std::vector<Entry>& entries() const { return entries_; }
    // Null when the cause never came.
    const Entry* find(const std::string& cause) const;

  private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_of_;
};

} // namespace facetor
