#include "cli/load.h"

#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

#include "model/errors.h"

namespace facetor {

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
    return place_text(name_, line_columns({offset}).front());
}

std::string error_text(const std::exception& e)
{
    if (const auto* file = dynamic_cast<const FileError*>(&e)) {
        const std::string text = file->what();
        if (text.rfind("I/O error", 0) == 0) {
            return text + " (" + system_error_text(file->code()) + ")";
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
    } catch (const std::exception& e) {
        // Where the load stopped and why, in the words the editor's box uses.
        const ReadDiagnostic diagnostic = diagnose_read_error(e);
        if (diagnostic.offset) {
            diagnostics << input.place(*diagnostic.offset) << ": " << e.what() << ": "
                        << diagnostic.detail << '\n';
        } else {
            diagnostics << input.name() << ": " << error_text(e) << '\n';
        }
    }
    return false;
}

} // namespace facetor
