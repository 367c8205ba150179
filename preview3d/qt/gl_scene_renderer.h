#pragma once
// Draws the scene with OpenGL into an off-screen surface of its own (colour
// plus depth), which is then copied to the screen: the surface keeps the
// last finished image, whatever the window does in between.
#include <QOpenGLFunctions>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "preview3d/scene.h"

class QOpenGLBuffer;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QOpenGLShaderProgram;

namespace facetor {

class GlSceneRenderer final : public RenderBackend, protected QOpenGLFunctions {
  public:
    GlSceneRenderer(int width, int height);
    ~GlSceneRenderer() override;
    GlSceneRenderer(const GlSceneRenderer&) = delete;
    GlSceneRenderer& operator=(const GlSceneRenderer&) = delete;

    // With a context current: makes the shader program and the surface.
    // False when this context cannot give them.
    bool create_gl();
    // With the same context current: releases every OpenGL object. Without
    // it they are left to the context, which frees them when it goes.
    void release_gl();
    bool ready() const { return surface_ != nullptr; }

    int width() const { return width_; }
    int height() const { return height_; }

    // Copies the surface, top-left corner first, into the default
    // framebuffer of the current context, which is target_height pixels high.
    void present(int target_height);
    // How often mesh data went to the graphics memory (it should only after
    // the scene changed, never for a turn).
    int geometry_uploads() const { return uploads_; }

    void clear() override;
    void draw(const SceneSnapshot& scene) override;
    void update() override;

  private:
    struct MeshBuffers;

    bool bind_surface();
    MeshBuffers* buffers_for(const MeshBuilder& mesh);

    int width_;
    int height_;
    QOpenGLContext* context_ = nullptr;
    std::unique_ptr<QOpenGLFramebufferObject> surface_;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    std::unordered_map<std::uint64_t, std::unique_ptr<MeshBuffers>> meshes_;
    int uploads_ = 0;
};

} // namespace facetor
