#pragma once
// The 3D scene built from the model after every successful load: camera,
// lights, the model frame and one white face per shown model face.
#include <memory>

#include "model/model.h"
#include "preview3d/view3d.h"

namespace facetor {

inline constexpr float k_model_field = 0.01f;

// The two frames kept from one build to the next (the main window's
// `light_frame` and `model_frame`); null until the first build.
struct SceneFrames {
    std::shared_ptr<Frame> light_frame;
    std::shared_ptr<Frame> model_frame;
};

// The surface-initialisation event: records linear texture filtering when the
// device runs on hardware, then blended and sorted transparency. Only
// recorded: the renderer draws opaque untextured faces.
void initialize_surface(Device3D& device);

// Rebuilds the view and its scene from geoset 0 of the model, reached through
// the hierarchy nodes. Throws RuntimeError("3D device not found") from the
// re-initialisation, before anything else is touched.
void build_scene(View3D& view, SceneFrames& frames, type_model& model);

// The build after an edit: the same scene from the model as it is now, with
// the model frame kept where the mouse turned and moved it (a load's build
// puts it back).
void rebuild_scene(View3D& view, SceneFrames& frames, type_model& model);

} // namespace facetor
