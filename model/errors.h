#pragma once
// The runtime errors of the editor. Each carries the exact text the user sees;
// every event handler catches RuntimeError at one guard and shows its text.
#include <stdexcept>
#include <string>

namespace facetor {

class RuntimeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A count, index or enumerated value stored outside its declared range.
class RangeError : public RuntimeError {
  public:
    RangeError() : RuntimeError("Range check error") {}
};

// A 32-bit integer addition or multiplication that does not fit.
class OverflowError : public RuntimeError {
  public:
    OverflowError() : RuntimeError("Integer overflow") {}
};

// A floating-point value that cannot become an integer (NaN, out of range).
class InvalidFloatError : public RuntimeError {
  public:
    InvalidFloatError() : RuntimeError("Invalid floating point operation") {}
};

// A file that cannot be opened or read; `code` is the system's error number.
class FileError : public RuntimeError {
  public:
    explicit FileError(int code);
    int code() const noexcept { return code_; }

  private:
    int code_;
};

// The text a file error shows for a system error number.
std::string file_error_text(int code);

// The reader's format error: a keyword or number that does not fit.
class FormatError : public RuntimeError {
  public:
    FormatError() : RuntimeError("ERROR") {}
};

} // namespace facetor
