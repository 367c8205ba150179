#pragma once
// The model's records filled from a plan, with the import's defaults for
// what glTF does not say.
#include <memory>
#include <string>
#include <vector>

#include "gltf/import_model_plan.h"
#include "gltf/import_scene.h"
#include "model/model.h"

namespace facetor::gltf_import {

// A placed model; a warning for each link or count a record cannot store
// is added to `warnings`.
std::unique_ptr<type_model> fill_model(const ImportScene& scene, const ModelPlan& plan,
                                       std::vector<std::string>& warnings);

} // namespace facetor::gltf_import
