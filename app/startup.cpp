#include "app/startup.h"

#include "app/loader.h"

namespace facetor {

std::unique_ptr<Tloader> create_windows()
{
    auto loader = std::make_unique<Tloader>();
    loader->create_picker();
    loader->create_options();
    return loader;
}

} // namespace facetor
