#pragma once
// The writer's output: CR LF lines gathered into large writes, numbers and
// texts in the forms the reader takes back, and a warning for each value
// that cannot be. Only the writer uses it.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
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

// For the section writer to derive from: it writes each line in place into
// one buffer, between these calls, which go out to the stream in large
// writes.
class LineOut {
  protected:
    explicit LineOut(std::ostream& out);

    void flush();
    // One line per cause: "PATH and N more: CAUSE".
    std::vector<std::string> warning_lines() const;

    void end_line()
    {
        put_unchecked('\r');
        put_unchecked('\n');
        make_room();
    }
    void line(std::string_view text)
    {
        put(text);
        end_line();
    }
    // A text from the writer's own code, not from the model.
    void put(std::string_view text)
    {
        if (text.size() <= k_slack / 2) {
            std::memcpy(next_, text.data(), text.size());
            next_ += text.size();
            make_room();
        } else {
            put_long(text, false);
        }
    }

    void integer(long long v)
    {
        next_ = write_integer(next_, v);
        make_room();
    }
    void space() { put_unchecked(' '); }
    void comma() { put_unchecked(','); }
    void index_prefix(int i)
    {
        integer(i);
        put_unchecked(':');
        put_unchecked(' ');
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
        next_ = shortest_double(next_, v);
        make_room();
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
            put(placeholder);
            return;
        }
        const std::string_view kept(value.data(), std::min(value.size(), k_max_token));
        if (put_long(kept, true)) {
            warnings_.add("spaces, commas, colons, tabs, carriage returns and \"#\" end a "
                          "text; written as \"_\"",
                          path());
        }
        if (kept.size() != value.size()) {
            warnings_.add("a text longer than 16 MiB cannot be read; cut to 16 MiB", path());
        }
    }

    WarningTally warnings_;

  private:
    // Past the flush mark the buffer still holds any number, literal or few
    // separators written before the next check.
    static constexpr std::size_t k_flush_at = 256 * 1024;
    static constexpr std::size_t k_slack = 1024;

    void put_unchecked(char c) { *next_++ = c; }
    void make_room()
    {
        if (next_ >= flush_mark_) {
            flush();
        }
    }
    // In pieces, for a text of up to 16 MiB; with `replace`, the bytes that
    // would end a token become "_". Returns whether any did.
    bool put_long(std::string_view text, bool replace);

    std::ostream& out_;
    std::unique_ptr<char[]> buffer_;
    char* next_;
    char* flush_mark_;
};

} // namespace facetor::detail
