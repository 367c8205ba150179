#include "model/writer_output.h"

namespace facetor::detail {

LineOut::LineOut(std::ostream& out) : out_(out)
{
    buffer_.reserve(k_flush_at + 4096);
}

void LineOut::flush()
{
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
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
