// From a gathered scene to the 3DO model: the plan first, which refuses a
// model that does not fit, then the records.
#include "gltf/import_model.h"

#include "gltf/import_model_fill.h"
#include "gltf/import_model_plan.h"

namespace facetor {

ImportResult build_import_model(const ImportScene& scene, const std::string& name)
{
    ImportResult result;
    result.warnings = scene.warnings;
    const gltf_import::ModelPlan plan = gltf_import::plan_model(scene, name);
    result.model = gltf_import::fill_model(scene, plan, result.warnings);
    return result;
}

} // namespace facetor
