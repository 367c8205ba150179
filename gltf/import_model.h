#pragma once
// From a gathered glTF scene to the 3DO model: meshes split into parts that
// fit, nodes numbered so that every link can be stored, capacities checked,
// and the records filled with the import's defaults.
#include <string>

#include "gltf/import.h"
#include "gltf/import_scene.h"

namespace facetor {

// Raises ImportError naming each capacity the model needs more of, and by
// how much; the scene's warnings come first in the result's.
ImportResult build_import_model(const ImportScene& scene, const std::string& name);

} // namespace facetor
