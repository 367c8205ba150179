// Formats every input that loads and checks the round trip: the written text
// loads into a fresh model with the same dump, and writing that model again
// gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "model/dump.h"
#include "model/errors.h"
#include "model/reader.h"
#include "model/writer.h"

namespace {

std::string dump_of(const facetor::type_model& model)
{
    std::ostringstream out;
    facetor::dump_model(model, out);
    return out.str();
}

std::string written(const facetor::type_model& model)
{
    std::ostringstream out;
    facetor::write_3do(model, out);
    return out.str();
}

// A fresh model per load: the round trip is about what one file says.
std::unique_ptr<facetor::type_model> load(std::string_view bytes)
{
    auto model = facetor::make_model();
    facetor::ReaderState state;
    facetor::Progress progress;
    try {
        facetor::read_3do_bytes(bytes, *model, state, progress);
        return model;
    } catch (const facetor::RuntimeError&) {
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto original = load({reinterpret_cast<const char*>(data), size});
    if (!original) {
        return 0;
    }
    const std::string text = written(*original);
    const auto again = load(text);
    if (!again || dump_of(*again) != dump_of(*original) || written(*again) != text) {
        std::abort();
    }
    return 0;
}
