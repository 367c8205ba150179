#pragma once
// Why a glTF cannot become a 3DO model: a file that cannot be read, a glTF
// that breaks its own rules, or a model over the format's capacities. The
// text is the whole message; nothing is written when it is raised.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace facetor {

class ImportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One capacity a model needs more of: "36 nodes, 1 over the 35".
inline std::string capacity_over(const char* what, std::uint64_t needed, std::uint64_t capacity)
{
    return std::to_string(needed) + " " + what + ", " + std::to_string(needed - capacity) +
           " over the " + std::to_string(capacity);
}

// The one message for a model that does not fit, naming each capacity it is
// over and by how much.
inline ImportError capacity_error(const std::vector<std::string>& overs)
{
    std::string message = "the model does not fit a 3DO: it needs ";
    for (std::size_t i = 0; i < overs.size(); ++i) {
        message += (i == 0 ? "" : "; ") + overs[i];
    }
    return ImportError(message);
}

} // namespace facetor
