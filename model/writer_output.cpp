#include "model/writer_output.h"

namespace facetor::detail {

LineOut::LineOut(std::ostream& out)
    : out_(out), buffer_(std::make_unique_for_overwrite<char[]>(k_flush_at + k_slack)),
      next_(buffer_.get()), flush_mark_(buffer_.get() + k_flush_at)
{
}

void LineOut::flush()
{
    out_.write(buffer_.get(), next_ - buffer_.get());
    next_ = buffer_.get();
}

bool LineOut::put_long(std::string_view text, bool replace)
{
    bool replaced = false;
    while (!text.empty()) {
        make_room();
        // Up to the mark, so that what follows the text has its slack.
        const auto size = std::min(text.size(), static_cast<std::size_t>(flush_mark_ - next_));
        std::memcpy(next_, text.data(), size);
        for (char* c = next_; replace && c != next_ + size; ++c) {
            if (ends_token(static_cast<unsigned char>(*c))) {
                *c = '_';
                replaced = true;
            }
        }
        next_ += size;
        text.remove_prefix(size);
    }
    make_room();
    return replaced;
}

std::vector<std::string> LineOut::warning_lines() const
{
    std::vector<std::string> out;
    for (const WarningTally::Entry& e : warnings_.entries()) {
        std::string line = e.first;
        if (e.count > 1) {
            line += " and " + std::to_string(e.count - 1) + " more";
        }
        out.push_back(line + ": " + e.cause);
    }
    return out;
}

} // namespace facetor::detail
