#pragma once
// Draws the scene with OpenGL into an off-screen surface of its own (colour
// plus depth), which is then read back for the screen: the surface keeps the
// last finished image, whatever the window does in between. A clear followed
// by the very scene the surface already shows is not drawn again: the main
// window asks for that at every repaint, and a large model on a software
// renderer takes a noticeable time to draw.
#include <QImage>
#include <QOpenGLFunctions>
#include <cstdint>
#include <memory>
#include <optional>
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

    // The surface's picture, top row first, read with the same context
    // current; null when there is none.
    QImage read_picture();
    // Changes whenever the surface's pixels may have changed.
    std::uint64_t revision() const { return revision_; }
    // How often mesh data went to the graphics memory (it should only after
    // the scene changed, never for a turn).
    int geometry_uploads() const { return uploads_; }
    // How many pictures were really drawn.
    int pictures_drawn() const { return pictures_; }
    // Forgets what the surface shows, so that the next render draws.
    void invalidate() { shown_.reset(); }

    void clear() override;
    void draw(const SceneSnapshot& scene) override;
    void update() override;

  private:
    struct MeshBuffers;

    bool bind_surface();
    void clear_now();
    void draw_now(const SceneSnapshot& scene);
    void draw_in_batches(int index_count);
    MeshBuffers* buffers_for(const DrawItem& item);

    int width_;
    int height_;
    QOpenGLContext* context_ = nullptr;
    std::unique_ptr<QOpenGLFramebufferObject> surface_;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    std::unordered_map<std::uint64_t, std::unique_ptr<MeshBuffers>> meshes_;
    int uploads_ = 0;
    int pictures_ = 0;
    std::uint64_t revision_ = 0;
    bool clear_pending_ = false;
    // The scene the surface shows alone on a cleared background, if known.
    std::optional<SceneSnapshot> shown_;
};

} // namespace facetor
