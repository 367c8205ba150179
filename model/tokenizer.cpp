#include "model/tokenizer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "model/errors.h"
#include "model/plain_file.h"

namespace facetor {

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_hex_digit(char c)
{
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Skips a run of decimal digits; returns how many there were.
std::size_t skip_digits(const char*& p, const char* end)
{
    const char* start = p;
    while (p != end && is_digit(*p)) {
        ++p;
    }
    return static_cast<std::size_t>(p - start);
}

// The optional exponent of a float token, "e" or "E", a sign, digits. Huge
// exponents saturate: only the sign of the magnitude matters to the caller.
bool parse_exponent(const char*& p, const char* end, long long& exponent)
{
    exponent = 0;
    if (p == end) {
        return true;
    }
    if (*p != 'e' && *p != 'E') {
        return false;
    }
    ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end || !is_digit(*p)) {
        return false;
    }
    for (; p != end && is_digit(*p); ++p) {
        exponent = std::min(exponent * 10 + (*p - '0'), 1'000'000'000LL);
    }
    if (negative) {
        exponent = -exponent;
    }
    return p == end;
}

// The slow path of a float token that the library would not take whole:
// a mantissa without digits ("." or nothing before the exponent) is zero,
// a value beyond the double range is refused, one below it is zero.
bool parse_float_fallback(std::string_view body, bool negative, double& out)
{
    const char* p = body.data();
    const char* end = p + body.size();
    const char* int_start = p;
    const std::size_t int_digits = skip_digits(p, end);
    const char* frac_start = p;
    std::size_t frac_digits = 0;
    if (p != end && *p == '.') {
        frac_start = ++p;
        frac_digits = skip_digits(p, end);
    }
    long long exponent = 0;
    if (body.empty() || !parse_exponent(p, end, exponent)) {
        return false;
    }
    // Decimal position of the first significant digit.
    long long magnitude = 0;
    bool significant = false;
    for (std::size_t i = 0; i < int_digits && !significant; ++i) {
        if (int_start[i] != '0') {
            magnitude = static_cast<long long>(int_digits - i) - 1;
            significant = true;
        }
    }
    for (std::size_t i = 0; i < frac_digits && !significant; ++i) {
        if (frac_start[i] != '0') {
            magnitude = -static_cast<long long>(i) - 1;
            significant = true;
        }
    }
    if (significant && magnitude + exponent >= 0) {
        return false; // overflow: no double holds it
    }
    out = negative ? -0.0 : 0.0;
    return true;
}

} // namespace

bool parse_int_token(std::string_view token, std::int32_t& out)
{
    const char* p = token.data();
    const char* end = p + token.size();
    if (p == end) {
        return false;
    }
    int base = 10;
    bool negative = false;
    if (*p == '$') {
        base = 16;
        ++p;
        if (p == end || !is_hex_digit(*p)) {
            return false;
        }
    } else {
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        if (p == end || !is_digit(*p)) {
            return false;
        }
    }
    std::uint64_t magnitude = 0;
    const auto r = std::from_chars(p, end, magnitude, base);
    if (r.ec != std::errc() || r.ptr != end) {
        return false;
    }
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    if (magnitude > limit) {
        return false;
    }
    out = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
    return true;
}

bool parse_float_token(std::string_view token, double& out)
{
    std::string_view body = token;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.empty()) {
        return false;
    }
    // The library also takes "inf" and "nan", which no model file may hold;
    // anything that starts with a digit or "." is a plain decimal to it.
    if (is_digit(body.front()) || body.front() == '.') {
        double value = 0;
        const char* end = body.data() + body.size();
        const auto r = std::from_chars(body.data(), end, value);
        if (r.ptr == end && r.ec == std::errc()) {
            out = negative ? -value : value;
            return true;
        }
        if (r.ptr != end && r.ec == std::errc()) {
            return false; // trailing characters, e.g. "1e" or "1.5.2"
        }
    }
    return parse_float_fallback(body, negative, out);
}

std::size_t MemorySource::read_block(unsigned char* buffer, std::size_t capacity)
{
    const std::size_t n = std::min({rest_.size(), capacity, chunk_});
    if (n != 0) {
        std::memcpy(buffer, rest_.data(), n);
    }
    rest_.remove_prefix(n);
    return n;
}

FileSource::FileSource(const std::string& path) : fd_(open_plain_file(path).fd) {}

FileSource::~FileSource()
{
    close();
}

void FileSource::close() noexcept
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::size_t FileSource::read_block(unsigned char* buffer, std::size_t capacity)
{
    if (fd_ < 0) {
        return 0;
    }
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, capacity);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            throw FileError(errno); // e.g. EISDIR: a folder opens but does not read
        }
    }
}

Tokenizer::Tokenizer(ByteSource& source, ReaderState& state)
    : source_(source), state_(state), buffer_(new unsigned char[k_block_size + 1 + k_load_slack]()),
      p_(buffer_.get()), end_(buffer_.get()), held_(state.cur_char)
{
    buffer_[0] = k_sentinel;
}

Tokenizer::~Tokenizer()
{
    // The step-by-step reader has always read one character past the last
    // thing it consumed; fetch it if the block ran out just there.
    try {
        at_end();
    } catch (const RuntimeError&) {
        // The load already ended; a read error here changes nothing.
    }
    state_.cur_char = p_ != end_ ? *p_ : held_;
}

bool Tokenizer::refill()
{
    if (eof_) {
        return false;
    }
    if (end_ != buffer_.get()) {
        held_ = end_[-1];
    }
    const std::ptrdiff_t previous = end_ - buffer_.get();
    block_offset_ += static_cast<std::uint64_t>(previous);
    token_at_ -= previous;
    const std::size_t n = source_.read_block(buffer_.get(), k_block_size);
    p_ = buffer_.get();
    end_ = p_ + n;
    buffer_[n] = k_sentinel;
    eof_ = n == 0;
    return !eof_;
}

void Tokenizer::skip_to_line_feed()
{
    if (at_end()) {
        return;
    }
    ++p_; // the character that called for the discard
    for (;;) {
        const void* lf = std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_));
        if (lf != nullptr) {
            p_ = static_cast<const unsigned char*>(lf) + 1;
            return;
        }
        p_ = end_;
        if (!refill()) {
            return;
        }
    }
}

bool Tokenizer::expect_word_across(std::string_view word)
{
    mark_token(); // every word that fails comes this way
    for (const char wc : word) {
        const auto c = static_cast<unsigned char>(wc);
        while (*p_ != c || p_ == end_) {
            if (p_ != end_ || !refill()) {
                return false;
            }
        }
        ++p_;
    }
    return true;
}

bool Tokenizer::read_text()
{
    const std::string_view token = next_token();
    if (token.empty()) {
        return false; // the data ended before a token started
    }
    state_.tok_text.assign(token);
    return true;
}

bool Tokenizer::read_token(int kind)
{
    switch (kind) {
    case k_token_int:
        return read_int();
    case k_token_float:
        return read_float();
    case k_token_text:
        return read_text();
    default:
        return false;
    }
}

} // namespace facetor
