#include "model/writer_output.h"

namespace facetor::detail {

void Warnings::add(const std::string& cause, const std::string& path)
{
    auto [it, inserted] = by_cause_.try_emplace(cause, Entry{path, 0});
    if (inserted) {
        order_.push_back(cause);
    }
    ++it->second.count;
}

std::vector<std::string> Warnings::lines() const
{
    std::vector<std::string> out;
    for (const std::string& cause : order_) {
        const Entry& e = by_cause_.at(cause);
        std::string line = e.first_path;
        if (e.count > 1) {
            line += " and " + std::to_string(e.count - 1) + " more";
        }
        out.push_back(line + ": " + cause);
    }
    return out;
}

LineOut::LineOut(std::ostream& out) : out_(out)
{
    buffer_.reserve(k_flush_at + 4096);
}

void LineOut::flush()
{
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

} // namespace facetor::detail
