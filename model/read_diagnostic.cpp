#include "model/read_diagnostic.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "model/errors.h"
#include "model/reader.h"

namespace facetor {

std::vector<LineColumn> line_columns_in(std::istream& in, const std::vector<std::uint64_t>& offsets)
{
    std::vector<LineColumn> out;
    out.reserve(offsets.size());
    char block[64 * 1024];
    std::uint64_t position = 0, line_start = 0, line = 1;
    std::streamsize got = 0, used = 0;
    for (const std::uint64_t offset : offsets) {
        while (position < offset) {
            if (used == got) {
                in.read(block, sizeof block);
                got = in.gcount();
                used = 0;
                if (got == 0) {
                    break; // the file shrank since the load
                }
            }
            const auto wanted = static_cast<std::streamsize>(
                std::min<std::uint64_t>(static_cast<std::uint64_t>(got - used), offset - position));
            for (std::streamsize i = used; i < used + wanted; ++i) {
                if (block[i] == '\n') {
                    ++line;
                    line_start = position + static_cast<std::uint64_t>(i - used) + 1;
                }
            }
            used += wanted;
            position += static_cast<std::uint64_t>(wanted);
        }
        out.push_back({line, offset - std::min(offset, line_start) + 1});
    }
    return out;
}

std::string place_text(const std::string& name, const LineColumn& at)
{
    return name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

std::string system_error_text(int code)
{
    return std::strerror(code);
}

ReadDiagnostic diagnose_read_error(const std::exception& e)
{
    if (const auto* format = dynamic_cast<const ReadFormatError*>(&e)) {
        return {format->offset(), "expected " + format->expected()};
    }
    if (const auto* range = dynamic_cast<const ReadRangeError*>(&e)) {
        return {range->offset(),
                std::string(range->field()) + " " + std::to_string(range->value()) + " outside " +
                    std::to_string(range->lo()) + ".." + std::to_string(range->hi())};
    }
    if (const auto* file = dynamic_cast<const FileError*>(&e)) {
        return {std::nullopt, system_error_text(file->code())};
    }
    return {};
}

std::string read_error_line(const std::string& name, const std::exception& e)
{
    const ReadDiagnostic diagnostic = diagnose_read_error(e);
    if (diagnostic.detail.empty()) {
        return {};
    }
    if (!diagnostic.offset) {
        return name + ": " + diagnostic.detail;
    }
    std::ifstream file(name, std::ios::binary);
    return place_text(name, line_columns_in(file, {*diagnostic.offset}).front()) + ": " +
           diagnostic.detail;
}

} // namespace facetor
