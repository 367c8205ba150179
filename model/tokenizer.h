#pragma once
// The 3DO tokenizer: consumes a byte source strictly forward through one
// character of look-ahead. Bytes arrive in fixed-size blocks; the hot loops
// below are inline because a maximum-size model is millions of tokens.
#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/reader.h"
#include "model/token_bytes.h"

namespace facetor {

// Where the tokenizer's bytes come from. read_block may deliver fewer bytes
// than asked for; 0 means the end of the data. Errors throw FileError.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::size_t read_block(unsigned char* buffer, std::size_t capacity) = 0;
};

// Bytes already in memory, handed out at most `chunk` at a time (a small
// chunk lets tests put block boundaries inside every token).
class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes, std::size_t chunk = SIZE_MAX)
        : rest_(bytes), chunk_(chunk == 0 ? 1 : chunk)
    {
    }
    std::size_t read_block(unsigned char* buffer, std::size_t capacity) override;

  private:
    std::string_view rest_;
    std::size_t chunk_;
};

// A file opened for reading; released when the source goes away, whatever
// ended the load. Opening raises FileError with the system's error number.
class FileSource final : public ByteSource {
  public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t read_block(unsigned char* buffer, std::size_t capacity) override;
    void close() noexcept;

  private:
    int fd_ = -1;
};

// Token kinds of read_token.
inline constexpr int k_token_int = 1;
inline constexpr int k_token_float = 2;
inline constexpr int k_token_text = 3;

// Integer token: optional sign and decimal digits, or "$" and hex digits;
// the value must fit 32 bits. Leaves `out` alone when it does not convert.
bool parse_int_token(std::string_view token, std::int32_t& out);

// Floating-point token with "." as the decimal mark whatever the locale. A
// value too large for a double does not convert; one too small becomes the
// nearest double (zero or a subnormal). Leaves `out` alone on failure.
bool parse_float_token(std::string_view token, double& out);

namespace detail {
inline constexpr double k_exact_powers_of_ten[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

inline bool is_digit(unsigned char c)
{
    return static_cast<unsigned char>(c - '0') <= 9;
}
} // namespace detail

namespace char_class {
enum : std::uint8_t { other = 0, separator = 1, line_end = 2 };

constexpr std::array<std::uint8_t, 256> make_table()
{
    std::array<std::uint8_t, 256> c{};
    for (std::size_t b = 0; b < c.size(); ++b) {
        const auto byte = static_cast<unsigned char>(b);
        c[b] = ends_line(byte) ? line_end : separates_tokens(byte) ? separator : other;
    }
    return c;
}

inline constexpr std::array<std::uint8_t, 256> table = make_table();
} // namespace char_class

class Tokenizer {
  public:
    static constexpr std::size_t k_block_size = 64 * 1024;

    // Starts reading `source`; `state.cur_char` is kept until a character is
    // actually read, and receives the look-ahead back when the tokenizer ends.
    Tokenizer(ByteSource& source, ReaderState& state);
    ~Tokenizer();
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

    // True once the source has no more characters; the look-ahead then keeps
    // the last character read.
    bool at_end() { return p_ == end_ && !refill(); }
    unsigned char cur_char() { return at_end() ? held_ : *p_; }

    // Discards characters up to and including the next line feed, then reads
    // one more. Ends quietly at the end of the data.
    void skip_line()
    {
        if (end_ - p_ > 1 && p_[1] == '\n') {
            p_ += 2; // the usual CR LF
        } else {
            skip_to_line_feed();
        }
    }

    // The word must come next, byte for byte; it is matched as a prefix.
    bool expect_word(std::string_view word);
    // A line number: the decimal form of `n` as a word.
    bool expect_index(int n)
    {
        // Up to eight digits are matched in one load, which may look past
        // the block's end: the buffer has room for it, and since no digit
        // equals the sentinel a match never runs past the end.
        if (n >= 0 && n < 100'000'000) {
            skip_blanks();
            std::uint64_t expected = 0; // the digits in reading order, first in the lowest byte
            unsigned length = 0;
            for (auto rest = static_cast<unsigned>(n); length == 0 || rest != 0; rest /= 10) {
                expected = expected << 8 | ('0' + rest % 10);
                ++length;
            }
            const std::uint64_t mask =
                length == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * length)) - 1;
            if (((load8(p_) ^ expected) & mask) == 0) {
                p_ += length;
                return true;
            }
        }
        char digits[16];
        const auto r = std::to_chars(digits, digits + sizeof digits, n);
        return expect_word({digits, static_cast<std::size_t>(r.ptr - digits)});
    }

    // kind 1 -> tok_int, 2 -> tok_float, 3 -> tok_text. False when the token
    // does not convert or the data ends before a token starts.
    bool read_token(int kind);
    bool read_int();
    bool read_float();
    bool read_text();

    // Byte offset in the data where the last failed word or token began (or
    // the last integer, failed or not): where a load that stops there stopped.
    // Successful words and floats leave it alone, so the fast paths stay as
    // they are.
    std::uint64_t token_offset() const
    {
        return block_offset_ + static_cast<std::uint64_t>(token_at_);
    }

  private:
    // Written after the last byte of every block so that scanning loops need
    // no bounds test: it ends tokens, and `p_ == end_` tells it apart from a
    // real carriage return.
    static constexpr unsigned char k_sentinel = '\r';
    // Readable bytes after the sentinel, for the eight-byte load of
    // expect_index.
    static constexpr std::size_t k_load_slack = 8;

    // Eight bytes in reading order, the first in the lowest byte.
    static std::uint64_t load8(const unsigned char* p)
    {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        if constexpr (std::endian::native == std::endian::big) {
            v = __builtin_bswap64(v);
        }
        return v;
    }

    bool refill();
    void mark_token() { token_at_ = p_ - buffer_.get(); }
    void skip_blanks();
    bool expect_word_across(std::string_view word);
    void skip_to_line_feed();
    std::string_view next_token();

    ByteSource& source_;
    ReaderState& state_;
    std::unique_ptr<unsigned char[]> buffer_;
    const unsigned char* p_;   // the look-ahead; p_ == end_ means "not read yet"
    const unsigned char* end_; // one past the block's bytes; holds k_sentinel
    bool eof_ = false;
    std::uint64_t block_offset_ = 0; // offset of the block's first byte in the data
    std::ptrdiff_t token_at_ = 0;    // relative to the block; negative once it is refilled
    unsigned char held_;             // the last character read before the current block
    std::string spill_;              // a token that straddles two blocks
};

inline void Tokenizer::skip_blanks()
{
    for (;;) {
        // Columns are padded with runs of spaces: the cheapest test first.
        while (*p_ == ' ') {
            ++p_;
        }
        const std::uint8_t cls = char_class::table[*p_];
        if (cls == char_class::other) {
            return;
        }
        if (cls == char_class::separator) {
            ++p_;
        } else if (p_ == end_) {
            if (!refill()) {
                return;
            }
        } else {
            skip_line();
        }
    }
}

inline bool Tokenizer::expect_word(std::string_view word)
{
    skip_blanks();
    // Within the block no byte needs a refill; the sentinel stops the
    // comparison at the block's end, where the careful loop below takes over.
    const unsigned char* q = p_;
    for (const char wc : word) {
        if (*q != static_cast<unsigned char>(wc) || q == end_) {
            return expect_word_across(word);
        }
        ++q;
    }
    p_ = q;
    return true;
}

inline std::string_view Tokenizer::next_token()
{
    skip_blanks();
    mark_token();
    if (p_ == end_) {
        return {}; // only at the end of the data: skip_blanks refills otherwise
    }
    const unsigned char* start = p_;
    while (char_class::table[*p_] == char_class::other) {
        ++p_;
    }
    if (p_ != end_) {
        return {reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start)};
    }
    spill_.assign(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start));
    while (p_ == end_ && refill()) {
        start = p_;
        while (char_class::table[*p_] == char_class::other) {
            ++p_;
        }
        spill_.append(reinterpret_cast<const char*>(start), static_cast<std::size_t>(p_ - start));
        if (spill_.size() > k_max_token) {
            // No model holds such a token; memory stays bounded.
            throw ReadFormatError("a token shorter than 16 MiB", token_offset());
        }
    }
    return spill_;
}

// The usual number ends inside the block and is short: it is converted
// while it is scanned. Anything else is scanned again as a whole token and
// converted by the general functions, which give the same values.
inline bool Tokenizer::read_int()
{
    skip_blanks();
    mark_token(); // a value out of its field's range is reported here
    const unsigned char* q = p_;
    const bool negative = *q == '-';
    q += negative;
    const unsigned char* start = q;
    std::int32_t value = 0;
    for (; detail::is_digit(*q) && q - start < 9; ++q) {
        value = value * 10 + (*q - '0');
    }
    if (q != start && q != end_ && char_class::table[*q] != char_class::other) {
        p_ = q;
        state_.tok_int = negative ? -value : value;
        return true;
    }
    return parse_int_token(next_token(), state_.tok_int);
}

inline bool Tokenizer::read_float()
{
    // At most 15 digits are held exactly in a double, and so is a power of
    // ten up to 1e15: one correctly rounded division gives the same double
    // as the general conversion.
    skip_blanks();
    const unsigned char* q = p_;
    const bool negative = *q == '-';
    q += negative;
    const unsigned char* start = q;
    std::uint64_t digits = 0;
    for (; detail::is_digit(*q); ++q) {
        digits = digits * 10 + static_cast<unsigned>(*q - '0');
    }
    const std::ptrdiff_t whole = q - start;
    std::ptrdiff_t fraction = 0;
    if (*q == '.') {
        const unsigned char* fraction_start = ++q;
        for (; detail::is_digit(*q); ++q) {
            digits = digits * 10 + static_cast<unsigned>(*q - '0');
        }
        fraction = q - fraction_start;
    }
    const std::ptrdiff_t count = whole + fraction;
    if (count >= 1 && count <= 15 && q != end_ && char_class::table[*q] != char_class::other) {
        p_ = q;
        // Signed: fewer than 16 digits fit, and the signed conversion is cheaper.
        const double value = static_cast<double>(static_cast<std::int64_t>(digits)) /
                             detail::k_exact_powers_of_ten[fraction];
        state_.tok_float = negative ? -value : value;
        return true;
    }
    return parse_float_token(next_token(), state_.tok_float);
}

} // namespace facetor
