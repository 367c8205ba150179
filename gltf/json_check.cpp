#include "gltf/json_check.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace facetor {

namespace {

using Kind = JsonFault::Kind;

// Thrown inside the scanner only: the first fault ends the scan.
struct Stop {
    JsonFault fault;
};

class Scanner {
  public:
    Scanner(std::string_view text, std::size_t max_depth) : t_(text), max_depth_(max_depth) {}

    JsonScan run();

  private:
    enum class Want { value, value_or_close, key_or_close, key, colon, comma_or_close, end };

    [[noreturn]] void fail(std::size_t at, const char* what) const
    {
        throw Stop{{Kind::invalid, at, what}};
    }
    [[noreturn]] void ends_early() const { throw Stop{{Kind::ends_early, t_.size(), {}}}; }
    unsigned char at(std::size_t i) const
    {
        if (i >= t_.size()) {
            ends_early();
        }
        return static_cast<unsigned char>(t_[i]);
    }

    std::string_view string();
    void escape();
    void utf8();
    void number();
    void literal();
    void value_done() { want_ = depth_.empty() ? Want::end : Want::comma_or_close; }

    std::string_view t_;
    std::size_t max_depth_;
    std::size_t i_ = 0;
    Want want_ = Want::value;
    std::vector<char> depth_;           // the open containers, '{' or '['
    std::vector<std::string_view> key_; // the last name at each depth
    JsonScan out_;
};

bool is_hex(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool is_digit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// The characters of a string, its quotes excluded; the scan ends past the
// closing quote.
std::string_view Scanner::string()
{
    const std::size_t first = ++i_;
    for (;;) {
        const unsigned char c = at(i_);
        if (c == '"') {
            return t_.substr(first, i_++ - first);
        }
        if (c < 0x20) {
            fail(i_, "a control character inside a string");
        }
        if (c == '\\') {
            escape();
        } else if (c >= 0x80) {
            utf8();
        } else {
            ++i_;
        }
    }
}

void Scanner::escape()
{
    const std::size_t start = i_;
    const unsigned char e = at(++i_);
    if (e != 'u') {
        if (e != '"' && e != '\\' && e != '/' && e != 'b' && e != 'f' && e != 'n' && e != 'r' &&
            e != 't') {
            fail(start, "an unknown escape inside a string");
        }
        ++i_;
        return;
    }
    const auto code = [&] {
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            const unsigned char h = at(++i_);
            if (!is_hex(h)) {
                fail(start, "a \\u escape without four hexadecimal digits");
            }
            value = value * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        ++i_;
        return value;
    };
    const unsigned first = code();
    if (first >= 0xDC00 && first <= 0xDFFF) {
        fail(start, "half of a surrogate pair inside a string");
    }
    if (first >= 0xD800 && first <= 0xDBFF) {
        if (at(i_) != '\\' || at(i_ + 1) != 'u') {
            fail(start, "half of a surrogate pair inside a string");
        }
        ++i_;
        const unsigned second = code();
        if (second < 0xDC00 || second > 0xDFFF) {
            fail(start, "half of a surrogate pair inside a string");
        }
    }
}

// One well-formed UTF-8 sequence (RFC 3629): no overlong forms, no
// surrogates, nothing past U+10FFFF.
void Scanner::utf8()
{
    const std::size_t start = i_;
    const unsigned char c = at(i_);
    int more = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        more = 2;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        more = 3;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        fail(start, "text that is not UTF-8 inside a string");
    }
    for (int k = 1; k <= more; ++k) {
        const unsigned char b = at(i_ + static_cast<std::size_t>(k));
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            fail(start, "text that is not UTF-8 inside a string");
        }
    }
    i_ += static_cast<std::size_t>(more) + 1;
}

void Scanner::number()
{
    const std::size_t start = i_;
    if (t_[i_] == '-') {
        ++i_;
    }
    if (!is_digit(at(i_))) {
        fail(start, "a malformed number");
    }
    // The power of ten of the first significant digit, to tell a number
    // too large for a double from one too small (which becomes 0).
    long long lead = 0;
    bool significant = false;
    if (t_[i_] == '0') {
        ++i_;
    } else {
        while (i_ < t_.size() && is_digit(at(i_))) {
            lead += significant ? 1 : 0;
            significant = true;
            ++i_;
        }
    }
    if (i_ < t_.size() && t_[i_] == '.') {
        if (!is_digit(at(++i_))) {
            fail(start, "a malformed number");
        }
        while (i_ < t_.size() && is_digit(at(i_))) {
            if (!significant) {
                --lead;
                significant = t_[i_] != '0';
            }
            ++i_;
        }
    }
    long long exponent = 0;
    if (i_ < t_.size() && (t_[i_] == 'e' || t_[i_] == 'E')) {
        ++i_;
        const bool negative = at(i_) == '-';
        if (t_[i_] == '+' || t_[i_] == '-') {
            ++i_;
        }
        if (!is_digit(at(i_))) {
            fail(start, "a malformed number");
        }
        while (i_ < t_.size() && is_digit(at(i_))) {
            exponent = std::min(exponent * 10 + (t_[i_] - '0'), 1LL << 40);
            ++i_;
        }
        exponent = negative ? -exponent : exponent;
    }
    double value = 0;
    const auto r = std::from_chars(t_.data() + start, t_.data() + i_, value);
    if (r.ec == std::errc::result_out_of_range && significant && lead + exponent > 0) {
        fail(start, "a number too large for a double");
    }
}

void Scanner::literal()
{
    for (const std::string_view word : {"true", "false", "null"}) {
        if (word[0] != t_[i_]) {
            continue;
        }
        for (std::size_t k = 0; k < word.size(); ++k) {
            if (at(i_ + k) != static_cast<unsigned char>(word[k])) {
                fail(i_, "a word other than true, false and null");
            }
        }
        i_ += word.size();
        return;
    }
    fail(i_, "something other than a value");
}

JsonScan Scanner::run()
{
    if (t_.starts_with("\xEF\xBB\xBF")) {
        i_ = 3; // a byte order mark, which JSON readers skip
    }
    for (;;) {
        while (i_ < t_.size() &&
               (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r')) {
            ++i_;
        }
        if (i_ == t_.size()) {
            if (want_ != Want::end) {
                ends_early();
            }
            return out_;
        }
        const char c = t_[i_];
        switch (want_) {
        case Want::end:
            fail(i_, "more text after the end of the JSON");
        case Want::colon:
            if (c != ':') {
                fail(i_, "something other than ':' after a name");
            }
            ++i_;
            want_ = Want::value;
            continue;
        case Want::comma_or_close:
            if (c == ',') {
                ++i_;
                want_ = depth_.back() == '{' ? Want::key : Want::value;
                continue;
            }
            if (c != (depth_.back() == '{' ? '}' : ']')) {
                fail(i_, depth_.back() == '{' ? "something other than ',' or '}' after a value"
                                              : "something other than ',' or ']' after a value");
            }
            ++i_;
            depth_.pop_back();
            value_done();
            continue;
        case Want::key_or_close:
        case Want::key:
            if (c == '}' && want_ == Want::key_or_close) {
                ++i_;
                depth_.pop_back();
                value_done();
                continue;
            }
            if (c != '"') {
                fail(i_, "something other than a quoted name in an object");
            }
            key_[depth_.size()] = string();
            want_ = Want::colon;
            continue;
        case Want::value_or_close:
            if (c == ']') {
                ++i_;
                depth_.pop_back();
                value_done();
                continue;
            }
            break;
        case Want::value:
            break;
        }
        if (c == '{' || c == '[') {
            if (depth_.size() == max_depth_) {
                throw Stop{{Kind::too_deep, i_, {}}};
            }
            depth_.push_back(c);
            if (key_.size() <= depth_.size()) {
                key_.resize(depth_.size() + 1);
            }
            key_[depth_.size()] = {};
            ++i_;
            want_ = c == '{' ? Want::key_or_close : Want::value_or_close;
            continue;
        }
        if (c == '"') {
            const std::string_view s = string();
            if (depth_.size() == 2 && depth_[0] == '{' && depth_[1] == '{' && key_[1] == "asset" &&
                key_[2] == "version" && s.find('\\') == std::string_view::npos) {
                out_.asset_version = s;
            }
        } else if (c == '-' || is_digit(static_cast<unsigned char>(c))) {
            number();
        } else {
            literal();
        }
        value_done();
    }
}

} // namespace

JsonScan scan_json(std::string_view text, std::size_t max_depth)
{
    try {
        return Scanner(text, max_depth).run();
    } catch (const Stop& stop) {
        return {stop.fault, std::nullopt};
    }
}

std::string line_and_column(std::string_view text, std::size_t offset)
{
    std::size_t line = 1, line_start = 0;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            line_start = i + 1;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(offset - line_start + 1);
}

} // namespace facetor
