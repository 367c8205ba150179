#include "preview3d/scene_build.h"

#include "model/geometry.h"

namespace facetor {

void initialize_surface(Device3D& device)
{
    if (device.hardware()) {
        device.SetTextureQuality(TextureQuality::linear);
    }
    device.SetRenderMode(k_render_blended_sorted_transparency);
}

namespace {

// Every face of the node's mesh, each corner moved by the node's placement;
// the sums are formed in double and only then narrowed.
void add_node_faces(Runtime3D& runtime, MeshBuilder& builder, type_mesh& mesh,
                    const type_hierarchy& node)
{
    for (int f = 0; f < mesh.face_count; ++f) {
        const face3d_ref face = runtime.CreateFace();
        mesh.face3d[f] = face;
        const type_faces& model_face = mesh.faces[f];
        for (int k = 1; k <= model_face.corner_count; ++k) {
            const type_vertex& v = mesh.vertices[model_face.corner_vertex[k]];
            face->AddVertex(static_cast<float>(v.x + node.world_x),
                            static_cast<float>(v.y + node.world_y),
                            static_cast<float>(v.z + node.world_z));
        }
        face->SetColorRGB(1, 1, 1);
        builder.AddFace(face);
    }
}

} // namespace

void build_scene(View3D& view, SceneFrames& frames, type_model& model)
{
    view.reinitialize();
    Runtime3D& runtime = view.runtime();
    const std::shared_ptr<Frame>& root = view.root();

    frames.light_frame = runtime.CreateFrame(root);
    frames.model_frame = runtime.CreateFrame(root);
    frames.light_frame->AddLight(runtime.CreateLightRGB(LightType::directional, 0.9f, 0.9f, 0.9f));
    root->AddLight(runtime.CreateLightRGB(LightType::ambient, 0.1f, 0.1f, 0.1f));

    // The light keeps the root's orientation: it shines along +z, into the
    // scene, and stays put while the model turns.
    frames.light_frame->SetPosition(root.get(), 0, 0, 2);
    view.camera()->SetPosition(root.get(), 0, 0, -10);
    view.camera()->SetOrientation(root.get(), 0, 0, 1, 0, 1, 0);
    // The frame's z and y axes are where the model's z and y go
    // (model/geometry.h), so the model frame's orientation is made from them.
    const auto direction = to_view_axes(0, 0, 1);
    const auto up = to_view_axes(0, 1, 0);
    frames.model_frame->SetPosition(root.get(), 0, 0, 0);
    frames.model_frame->SetOrientation(root.get(), static_cast<float>(direction[0]),
                                       static_cast<float>(direction[1]),
                                       static_cast<float>(direction[2]), static_cast<float>(up[0]),
                                       static_cast<float>(up[1]), static_cast<float>(up[2]));

    const auto builder = runtime.CreateMeshBuilder();
    for (int n = 0; n < model.node_count; ++n) {
        const type_hierarchy& node = model.nodes[n];
        if (node.mesh == -1) {
            continue;
        }
        add_node_faces(runtime, *builder, model.mesh(node.mesh), node);
    }

    view.viewport()->SetField(k_model_field);
    frames.model_frame->AddVisual(builder);
}

void rebuild_scene(View3D& view, SceneFrames& frames, type_model& model)
{
    const std::shared_ptr<Frame> old_frame = frames.model_frame;
    const Placement kept = old_frame ? old_frame->placement() : Placement{};
    build_scene(view, frames, model);
    if (!old_frame) {
        return;
    }
    // Both frames hang in the root, so the placement in the parent is the
    // one to give again.
    frames.model_frame->SetPosition(nullptr, kept.origin.x, kept.origin.y, kept.origin.z);
    frames.model_frame->SetOrientation(nullptr, kept.axis_z.x, kept.axis_z.y, kept.axis_z.z,
                                       kept.axis_y.x, kept.axis_y.y, kept.axis_y.z);
}

} // namespace facetor
