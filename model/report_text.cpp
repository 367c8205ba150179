#include "model/report_text.h"

namespace facetor {

std::string count_of(std::size_t n, std::string_view one, std::string_view many)
{
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

void WarningTally::add(const std::string& cause, const std::string& example)
{
    const auto [it, fresh] = index_of_.try_emplace(cause, entries_.size());
    if (fresh) {
        entries_.push_back({cause, example, 0});
    }
    ++entries_[it->second].count;
}

const WarningTally::Entry* WarningTally::find(const std::string& cause) const
{
    const auto it = index_of_.find(cause);
    return it == index_of_.end() ? nullptr : &entries_[it->second];
}

} // namespace facetor
