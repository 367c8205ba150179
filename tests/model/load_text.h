#pragma once
// A fresh model loaded from 3DO text, as the editor loads a file.
#include <memory>
#include <string>

#include "model/model.h"
#include "model/progress.h"
#include "model/reader.h"

namespace facetor::test {

inline std::unique_ptr<type_model> load_text(const std::string& text)
{
    auto model = make_model();
    ReaderState state;
    Progress progress;
    read_3do_bytes(text, *model, state, progress);
    return model;
}

} // namespace facetor::test
