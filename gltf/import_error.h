#pragma once
// Why a glTF cannot become a 3DO model: a file that cannot be read, a glTF
// that breaks its own rules, or a model over the format's capacities. The
// text is the whole message; nothing is written when it is raised.
#include <stdexcept>

namespace facetor {

class ImportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace facetor
