#include "model/tokenizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace facetor {
namespace {

struct IntCase {
    const char* token;
    bool converts;
    std::int32_t value;
};

TEST(ParseIntToken, ConvertsDecimalAndDollarHexWithinThirtyTwoBits)
{
    const IntCase cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"+7", true, 7},
        {"-1", true, -1},
        {"007", true, 7},
        {"$1F", true, 31},
        {"$1f", true, 31},
        {"$0", true, 0},
        {"$FF", true, 255},
        {"$aB", true, 171},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"$7FFFFFFF", true, 2147483647},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"$80000000", false, 0},
        {"1.0", false, 0},
        {"1.", false, 0},
        {"1e3", false, 0},
        {"$", false, 0},
        {"$-1", false, 0},
        {"-$1", false, 0},
        {"$G", false, 0},
        {"0x1F", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"+-1", false, 0},
        {"--1", false, 0},
        {"1a", false, 0},
        {"1\n", false, 0},
        {"", false, 0},
    };
    for (const IntCase& c : cases) {
        std::int32_t out = 12345;
        EXPECT_EQ(parse_int_token(c.token, out), c.converts) << c.token;
        EXPECT_EQ(out, c.converts ? c.value : 12345) << c.token;
    }
}

struct FloatCase {
    const char* token;
    bool converts;
    double value;
};

TEST(ParseFloatToken, ConvertsDecimalsWithPointAndExponent)
{
    const double min_subnormal = std::numeric_limits<double>::denorm_min();
    const FloatCase cases[] = {
        {"1.5", true, 1.5},
        {"-2", true, -2},
        {"+3.25", true, 3.25},
        {"5.", true, 5},
        {".5", true, 0.5},
        {"1e3", true, 1000},
        {"1E-3", true, 0.001},
        {"2.5e+2", true, 250},
        {"0.031820", true, 0.031820},
        {"123456789012345678901234567890", true, 123456789012345678901234567890.0},
        {"0.1000000000000000055511151231257827", true, 0.1},
        {"1.7976931348623157e308", true, 1.7976931348623157e308},
        {"4.9406564584124654e-324", true, min_subnormal},
        {"1e-400", true, 0},
        {"1000e-330", true, 0},
        {".", true, 0},
        {"1e400", false, 0},
        {"1.7976931348623159e308", false, 0},
        {"0.001e312", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"1.5.2", false, 0},
        {"1,5", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"-", false, 0},
        {"inf", false, 0},
        {"-nan", false, 0},
        {"0x10", false, 0},
        {"1.5\n2", false, 0},
        {"abc", false, 0},
        {"", false, 0},
    };
    for (const FloatCase& c : cases) {
        double out = 12345;
        EXPECT_EQ(parse_float_token(c.token, out), c.converts) << c.token;
        EXPECT_EQ(out, c.converts ? c.value : 12345) << c.token;
    }
}

TEST(ParseFloatToken, KeepsTheSignOfZeroAndOfUnderflow)
{
    for (const char* token : {"-0.000000", "-1e-400", "-.e5"}) {
        double out = 1;
        ASSERT_TRUE(parse_float_token(token, out)) << token;
        EXPECT_EQ(out, 0.0) << token;
        EXPECT_TRUE(std::signbit(out)) << token;
    }
}

// The tokenizer converts short numbers while it scans them; whatever the
// length, sign and block boundaries, it must give what the general
// conversion gives.
TEST(Tokenizer, ReadsNumbersAsTheGeneralConversionDoes)
{
    std::uint64_t seed = 0x2545F4914F6CDD1DULL;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        return seed;
    };
    std::vector<std::string> tokens;
    for (int i = 0; i < 4000; ++i) {
        const int digits = 1 + static_cast<int>(next() % 20);
        std::string token = next() % 3 == 0 ? "-" : "";
        std::string body;
        for (int d = 0; d < digits; ++d) {
            body += static_cast<char>('0' + next() % 10);
        }
        if (i % 2 == 0) {
            body.insert(next() % (body.size() + 1), ".");
        }
        tokens.push_back(token + body);
    }
    std::string text;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        text += tokens[i] + (i % 3 == 0 ? "\r\n" : " ");
    }
    for (const std::size_t chunk : {SIZE_MAX, std::size_t{7}}) {
        ReaderState floats;
        ReaderState ints;
        MemorySource float_source(text, chunk);
        MemorySource int_source(text, chunk);
        Tokenizer float_reader(float_source, floats);
        Tokenizer int_reader(int_source, ints);
        for (const std::string& token : tokens) {
            double expected_float = 0;
            ASSERT_EQ(float_reader.read_float(), parse_float_token(token, expected_float)) << token;
            EXPECT_EQ(floats.tok_float, expected_float) << token;
            std::int32_t expected_int = ints.tok_int;
            ASSERT_EQ(int_reader.read_int(), parse_int_token(token, expected_int)) << token;
            EXPECT_EQ(ints.tok_int, expected_int) << token;
        }
    }
}

// Runs `steps` over `text`, handed out `chunk` bytes per block read, and
// returns what each step saw, one entry per step.
using Step = std::string (*)(Tokenizer&, ReaderState&);

std::string text_step(Tokenizer& t, ReaderState& s)
{
    return t.read_text() ? "text " + s.tok_text : "no text";
}
std::string int_step(Tokenizer& t, ReaderState& s)
{
    return t.read_int() ? "int " + std::to_string(s.tok_int) : "no int";
}
std::string float_step(Tokenizer& t, ReaderState& s)
{
    return t.read_float() ? "float " + std::to_string(s.tok_float) : "no float";
}

std::vector<std::string> run_steps(const std::string& text, std::size_t chunk,
                                   const std::vector<Step>& steps, ReaderState& state)
{
    MemorySource source(text, chunk);
    Tokenizer tokenizer(source, state);
    std::vector<std::string> seen;
    for (const Step step : steps) {
        seen.push_back(step(tokenizer, state));
    }
    return seen;
}

struct StreamCase {
    const char* name;
    std::string text;
    std::vector<Step> steps;
    std::vector<std::string> expected;
};

TEST(Tokenizer, SplitsTokensTheSameWhereverTheBlocksEnd)
{
    const std::vector<StreamCase> cases = {
        {"separators",
         "a,b:c\td  e",
         {text_step, text_step, text_step, text_step, text_step},
         {"text a", "text b", "text c", "text d", "text e"}},
        {"comments and line ends discard the rest of the line",
         "# head\r\n  x # tail y\r\n\r\n\t z\r\n",
         {text_step, text_step, text_step},
         {"text x", "text z", "no text"}},
        {"a line feed is part of a token",
         "ab\ncd\r\nef",
         {text_step, text_step},
         {"text ab\ncd", "text ef"}},
        {"a comment without a line feed ends the data",
         "1 # no line feed",
         {int_step, int_step},
         {"int 1", "no int"}},
        {"numbers",
         " -12:$1f,3.25 -0.5e1\r\n1234567890123456789 7",
         {int_step, int_step, float_step, float_step, float_step, int_step},
         {"int -12", "int 31", "float 3.250000", "float -5.000000",
          "float 1234567890123456768.000000", "int 7"}},
        {"a failed number is still consumed", "1.5 2", {int_step, int_step}, {"no int", "int 2"}},
        {"empty data", "", {text_step, float_step}, {"no text", "no float"}},
    };
    for (const StreamCase& c : cases) {
        for (const std::size_t chunk :
             {SIZE_MAX, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5}}) {
            ReaderState state;
            EXPECT_EQ(run_steps(c.text, chunk, c.steps, state), c.expected)
                << c.name << ", blocks of " << chunk;
        }
    }
}

TEST(Tokenizer, ExpectWordMatchesBytesAsAPrefixAndStopsAtTheMismatch)
{
    for (const std::size_t chunk : {SIZE_MAX, std::size_t{1}, std::size_t{4}}) {
        ReaderState state;
        MemorySource source("  SECTION:HEADER 10 INSERT  OFFSET", chunk);
        Tokenizer t(source, state);
        EXPECT_FALSE(t.expect_word("SECTION: HEADER"));
        EXPECT_EQ(t.cur_char(), 'H') << "the mismatching character stays";
        EXPECT_TRUE(t.expect_word("HEAD"));
        EXPECT_TRUE(t.expect_word("ER"));
        EXPECT_TRUE(t.expect_index(1));
        ASSERT_TRUE(t.read_int());
        EXPECT_EQ(state.tok_int, 0);
        EXPECT_FALSE(t.expect_word("INSERT OFFSET"));
        EXPECT_EQ(t.cur_char(), ' ');
    }
}

// A line number is matched as the word of its digits, whatever its length
// and wherever the blocks end; what follows the match, or the character
// that broke it, comes next.
TEST(Tokenizer, ExpectIndexMatchesTheDigitsOfTheNumberAsAPrefix)
{
    struct Case {
        const char* text;
        int n;
        bool matches;
        unsigned char next;
    };
    const Case cases[] = {
        {"    0:", 0, true, ':'},
        {"  7 ", 7, true, ' '},
        {"   42:", 42, true, ':'},
        {"1999:", 1999, true, ':'},
        {"12345678:", 12345678, true, ':'},
        {"123456789:", 123456789, true, ':'}, // longer than one load
        {"1234", 123, true, '4'},             // a prefix, as for any word
        {"0123", 123, false, '0'},
        {"12 3", 123, false, ' '},
        {"124", 123, false, '4'},
        {"12", 12345678, false, '\0'}, // the data ends inside the number
        {"-1", -1, true, '\0'},
        {"x", 0, false, 'x'},
    };
    for (const Case& c : cases) {
        for (const std::size_t chunk : {SIZE_MAX, std::size_t{1}, std::size_t{3}}) {
            ReaderState state;
            MemorySource source(c.text, chunk);
            Tokenizer t(source, state);
            EXPECT_EQ(t.expect_index(c.n), c.matches) << c.text << " in blocks of " << chunk;
            EXPECT_EQ(t.at_end() ? '\0' : t.cur_char(), c.next)
                << c.text << " in blocks of " << chunk;
        }
    }
}

TEST(Tokenizer, EndOfDataEndsEveryOperation)
{
    ReaderState state;
    MemorySource source("# only a comment");
    Tokenizer t(source, state);
    t.skip_line();
    t.skip_line();
    EXPECT_TRUE(t.at_end());
    EXPECT_FALSE(t.expect_word("X"));
    for (const int kind : {k_token_int, k_token_float, k_token_text}) {
        EXPECT_FALSE(t.read_token(kind)) << kind;
    }
}

TEST(Tokenizer, ReadTokenDispatchesOnKind)
{
    ReaderState state;
    MemorySource source("5 6 seven 8");
    Tokenizer t(source, state);
    ASSERT_TRUE(t.read_token(k_token_int));
    ASSERT_TRUE(t.read_token(k_token_float));
    ASSERT_TRUE(t.read_token(k_token_text));
    EXPECT_EQ(state.tok_int, 5);
    EXPECT_EQ(state.tok_float, 6.0);
    EXPECT_EQ(state.tok_text, "seven");
    EXPECT_FALSE(t.read_token(4));
    EXPECT_TRUE(t.read_token(k_token_int));
}

TEST(Tokenizer, HandsTheLookAheadBackToTheState)
{
    struct Case {
        const char* text;
        std::size_t chunk;
        const char* word; // matched instead of reading a text token
        unsigned char cur_char;
    };
    const Case cases[] = {
        {"name\r\n", SIZE_MAX, nullptr, '\r'},
        {"name\r\n", 4, nullptr, '\r'},
        {"name\r\n", 4, "name", '\r'},    // the block ends right after the word
        {"name", SIZE_MAX, nullptr, 'e'}, // the data ends: the last character read
        {"name", 1, nullptr, 'e'},
        {"", SIZE_MAX, nullptr, '@'}, // nothing read: the previous load's character stays
    };
    for (const Case& c : cases) {
        ReaderState state;
        state.cur_char = '@';
        {
            MemorySource source(c.text, c.chunk);
            Tokenizer t(source, state);
            if (c.word != nullptr) {
                ASSERT_TRUE(t.expect_word(c.word));
            } else {
                t.read_text();
            }
        }
        EXPECT_EQ(state.cur_char, c.cur_char) << c.text << " in blocks of " << c.chunk;
    }
}

} // namespace
} // namespace facetor
