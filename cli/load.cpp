#include "cli/load.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "model/errors.h"

namespace facetor {

namespace {

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

} // namespace

LineColumn line_column_at(const std::string& path, std::uint64_t offset)
{
    std::ifstream file(path, std::ios::binary);
    return line_columns_in(file, {offset}).front();
}

ModelInput::ModelInput(std::string name, std::istream& standard_input) : name_(std::move(name))
{
    if (name_ == "-") {
        bytes_.emplace(std::istreambuf_iterator<char>(standard_input),
                       std::istreambuf_iterator<char>());
    }
}

void ModelInput::read(type_model& model, ReadObserver* observer) const
{
    ReaderState state;
    Progress progress;
    if (bytes_) {
        read_3do_bytes(*bytes_, model, state, progress, observer);
    } else {
        read_3do_file(name_, model, state, progress, observer);
    }
}

std::vector<LineColumn> ModelInput::line_columns(const std::vector<std::uint64_t>& offsets) const
{
    if (bytes_) {
        std::istringstream in(*bytes_);
        return line_columns_in(in, offsets);
    }
    std::ifstream file(name_, std::ios::binary);
    return line_columns_in(file, offsets);
}

std::string ModelInput::place(std::uint64_t offset) const
{
    const LineColumn at = line_columns({offset}).front();
    return name_ + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

std::string error_text(const std::exception& e)
{
    if (const auto* file = dynamic_cast<const FileError*>(&e)) {
        const std::string text = file->what();
        if (text.rfind("I/O error", 0) == 0) {
            return text + " (" + std::strerror(file->code()) + ")";
        }
        return text;
    }
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
        return "out of memory";
    }
    return e.what();
}

bool load_model(const ModelInput& input, type_model& model, std::ostream& diagnostics,
                ReadObserver* observer)
{
    try {
        input.read(model, observer);
        return true;
    } catch (const ReadFormatError& e) {
        diagnostics << input.place(e.offset()) << ": " << e.what() << ": expected " << e.expected()
                    << '\n';
    } catch (const ReadRangeError& e) {
        diagnostics << input.place(e.offset()) << ": " << e.what() << ": " << e.field() << ' '
                    << e.value() << " outside " << e.lo() << ".." << e.hi() << '\n';
    } catch (const std::exception& e) {
        diagnostics << input.name() << ": " << error_text(e) << '\n';
    }
    return false;
}

} // namespace facetor
