#pragma once
// The writer's output: CR LF lines gathered into large writes, numbers and
// texts in the forms the reader takes back, and a warning for each value
// that cannot be. Only the writer uses it.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/number_text.h"
#include "model/report_text.h"
#include "model/text_escape.h"
#include "model/token_bytes.h"

namespace facetor::detail {

// For the section writer to derive from: it builds each line in `buffer_`
// in place, between these calls, with no copy.
class LineOut {
  protected:
    explicit LineOut(std::ostream& out);

    void flush();
    // One line per cause: "PATH and N more: CAUSE".
    std::vector<std::string> warning_lines() const;

    void end_line()
    {
        buffer_ += "\r\n";
        if (buffer_.size() >= k_flush_at) {
            flush();
        }
    }
    void line(std::string_view text)
    {
        buffer_ += text;
        end_line();
    }

    void integer(long long v)
    {
        char digits[24];
        append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
    }
    // From `first` to `last`: the pointer-pair append of std::string takes
    // a slow general path.
    void append(const char* first, const char* last)
    {
        buffer_.append(first, static_cast<std::size_t>(last - first));
    }
    void space() { buffer_ += ' '; }
    void index_prefix(int i)
    {
        integer(i);
        buffer_ += ": ";
    }

    // The reader takes decimal and exponent forms only: infinities become
    // the largest double of their sign and NaN becomes 0.
    // `path` builds the field's path, only when a warning needs it.
    template <class Path> void real(double v, Path path)
    {
        if (std::isnan(v)) {
            warnings_.add("nan cannot be written; written as 0", path());
            v = 0;
        } else if (std::isinf(v)) {
            warnings_.add(std::string(v < 0 ? "-inf" : "inf") +
                              " cannot be written; written as the largest double",
                          path());
            v = std::copysign(std::numeric_limits<double>::max(), v);
        }
        char digits[32];
        append(digits, shortest_double(digits, v));
    }
    template <class Prefix>
    void reals(std::initializer_list<std::pair<double, const char*>> values, Prefix prefix)
    {
        bool first = true;
        for (const auto& value : values) {
            if (!first) {
                space();
            }
            first = false;
            real(value.first, [&] { return prefix() + value.second; });
        }
    }

    // A text is one token: not empty, none of the bytes that end a token,
    // at most the tokenizer's length. Anything else is written in the
    // nearest form the reader takes, with a warning.
    template <class Path>
    void text(const std::string& value, Path path, std::string_view placeholder)
    {
        if (value.empty()) {
            warnings_.add("an empty text cannot be written; written as " + quoted_text(placeholder),
                          path());
            buffer_ += placeholder;
            return;
        }
        const std::string_view kept(value.data(), std::min(value.size(), k_max_token));
        const std::size_t start = buffer_.size();
        buffer_ += kept;
        bool replaced = false;
        for (std::size_t i = start; i < buffer_.size(); ++i) {
            if (ends_token(static_cast<unsigned char>(buffer_[i]))) {
                buffer_[i] = '_';
                replaced = true;
            }
        }
        if (replaced) {
            warnings_.add("spaces, commas, colons, tabs, carriage returns and \"#\" end a "
                          "text; written as \"_\"",
                          path());
        }
        if (kept.size() != value.size()) {
            warnings_.add("a text longer than 16 MiB cannot be read; cut to 16 MiB", path());
        }
    }

    std::ostream& out_;
    WarningTally warnings_;
    std::string buffer_;

  private:
    static constexpr std::size_t k_flush_at = 256 * 1024;
};

} // namespace facetor::detail
