#include "cli/load.h"

#include <algorithm>
#include <fstream>

#include "model/errors.h"
#include "model/reader.h"

namespace facetor {

LineColumn line_column_at(const std::string& path, std::uint64_t offset)
{
    LineColumn at;
    std::ifstream file(path, std::ios::binary);
    char block[64 * 1024];
    std::uint64_t position = 0, line_start = 0;
    while (position < offset && file) {
        const auto wanted =
            static_cast<std::streamsize>(std::min<std::uint64_t>(sizeof block, offset - position));
        file.read(block, wanted);
        const std::streamsize got = file.gcount();
        for (std::streamsize i = 0; i < got; ++i) {
            if (block[i] == '\n') {
                ++at.line;
                line_start = position + static_cast<std::uint64_t>(i) + 1;
            }
        }
        position += static_cast<std::uint64_t>(got);
        if (got == 0) {
            break; // the file shrank since the load
        }
    }
    at.column = offset - line_start + 1;
    return at;
}

namespace {

std::string place(const std::string& path, std::uint64_t offset)
{
    const LineColumn at = line_column_at(path, offset);
    return path + ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
}

} // namespace

bool load_model(const std::string& path, type_model& model, std::ostream& diagnostics)
{
    ReaderState state;
    Progress progress;
    try {
        read_3do_file(path, model, state, progress);
        return true;
    } catch (const ReadFormatError& e) {
        diagnostics << place(path, e.offset()) << ": " << e.what() << ": expected " << e.expected()
                    << '\n';
    } catch (const ReadRangeError& e) {
        diagnostics << place(path, e.offset()) << ": " << e.what() << ": " << e.field() << ' '
                    << e.value() << " outside " << e.lo() << ".." << e.hi() << '\n';
    } catch (const RuntimeError& e) {
        diagnostics << path << ": " << e.what() << '\n';
    }
    return false;
}

} // namespace facetor
