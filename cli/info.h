#pragma once
// The summary `facetor-cli info` prints: stable plain text, meant for diffing
// two models, so it holds no path, no date and numbers in their shortest
// exact form.
#include <ostream>
#include <string>

#include "model/model.h"

namespace facetor {

// Version, materials, geosets with their meshes, and the node tree with
// world positions, of a model as a successful load leaves it.
void print_info(const type_model& model, std::ostream& out);

} // namespace facetor
