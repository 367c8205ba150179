// Feeds arbitrary bytes to the 3DO reader. Every input must end in a model
// or a runtime error: no crash, no hang, nothing read outside an array.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/errors.h"
#include "model/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One model for the whole run, as in the editor: each load overwrites
    // what the last one left, which is part of what is being tried.
    static const auto model = facetor::make_model();
    static facetor::ReaderState state;
    facetor::Progress progress;
    try {
        facetor::read_3do_bytes({reinterpret_cast<const char*>(data), size}, *model, state,
                                progress);
    } catch (const facetor::RuntimeError&) {
        // Format, range and file errors are the reader's normal answers.
    }
    return 0;
}
