#include "preview3d/qt/gl_scene_renderer.h"

#include <QOpenGLBuffer>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLShaderProgram>
#include <QVector3D>
#include <algorithm>
#include <limits>
#include <vector>

#include "model/vector_math.h"
#include "preview3d/mesh_geometry.h"

namespace facetor {

namespace {

constexpr int k_max_directional_lights = 8;
constexpr int k_position = 0;
constexpr int k_normal = 1;
constexpr int k_color = 2;

// Gouraud shading with one normal per face: every corner of a face gets the
// same light. The normal is turned toward the eye first, so both sides of a
// face are lit as the side we look at. The eye and the lights come in the
// mesh's own coordinates and the three matrices as one: a frame's placement
// is a rotation and a shift, which leave these dot products as they are, and
// a software renderer pays for every operation per corner.
constexpr const char* k_vertex_shader = R"(#version 120
attribute vec3 position;
attribute vec3 normal;
attribute vec3 color;
uniform mat4 clip_from_model;
uniform vec3 eye;
uniform vec3 ambient;
uniform int light_count;
uniform vec3 light_dir[8];
uniform vec3 light_color[8];
varying vec3 shade;
void main()
{
    vec3 n = normal;
    if (dot(n, eye - position) < 0.0)
        n = -n;
    vec3 light = ambient;
    for (int i = 0; i < 8; ++i) {
        if (i >= light_count)
            break;
        light += light_color[i] * max(dot(n, -light_dir[i]), 0.0);
    }
    shade = clamp(color * light, 0.0, 1.0);
    gl_Position = clip_from_model * vec4(position, 1.0);
}
)";

constexpr const char* k_fragment_shader = R"(#version 120
varying vec3 shade;
void main()
{
    gl_FragColor = vec4(shade, 1.0);
}
)";

// Revisions count over every renderer, so that a new surface never passes
// for the one it replaced.
std::uint64_t next_revision()
{
    static std::uint64_t last = 0;
    return ++last;
}

QVector3D qvec(Vector3 v)
{
    return {v.x, v.y, v.z};
}
QVector3D qvec(ColorRGB c)
{
    return {c.red, c.green, c.blue};
}

} // namespace

struct GlSceneRenderer::MeshBuffers {
    std::uint64_t revision = 0;
    QOpenGLBuffer vertices{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer indices{QOpenGLBuffer::IndexBuffer};
    int index_count = 0;
    bool used = false;
};

GlSceneRenderer::GlSceneRenderer(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1))
{
}

GlSceneRenderer::~GlSceneRenderer()
{
    release_gl();
}

bool GlSceneRenderer::create_gl()
{
    release_gl();
    context_ = QOpenGLContext::currentContext();
    if (!context_) {
        return false;
    }
    initializeOpenGLFunctions();
    if (!QOpenGLFramebufferObject::hasOpenGLFramebufferObjects()) {
        return false;
    }
    auto program = std::make_unique<QOpenGLShaderProgram>();
    program->addShaderFromSourceCode(QOpenGLShader::Vertex, k_vertex_shader);
    program->addShaderFromSourceCode(QOpenGLShader::Fragment, k_fragment_shader);
    program->bindAttributeLocation("position", k_position);
    program->bindAttributeLocation("normal", k_normal);
    program->bindAttributeLocation("color", k_color);
    if (!program->link()) {
        return false;
    }
    auto surface = std::make_unique<QOpenGLFramebufferObject>(width_, height_,
                                                              QOpenGLFramebufferObject::Depth);
    if (!surface->isValid()) {
        return false;
    }
    program_ = std::move(program);
    surface_ = std::move(surface);
    shown_.reset();
    clear_now(); // a new surface starts black
    update();
    return true;
}

void GlSceneRenderer::release_gl()
{
    // Qt's OpenGL wrappers defer the release to their context when it is not
    // current, so dropping them here is safe either way.
    meshes_.clear();
    shown_.reset();
    clear_pending_ = false;
    surface_.reset();
    program_.reset();
    context_ = nullptr;
}

bool GlSceneRenderer::bind_surface()
{
    if (!surface_ || QOpenGLContext::currentContext() != context_) {
        return false;
    }
    surface_->bind();
    glViewport(0, 0, width_, height_);
    return true;
}

void GlSceneRenderer::clear()
{
    // Held back until we know what is drawn next: it may be the picture
    // the surface shows already.
    clear_pending_ = true;
}

void GlSceneRenderer::clear_now()
{
    clear_pending_ = false;
    if (!bind_surface()) {
        return;
    }
    revision_ = next_revision();
    glDepthMask(GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClearDepthf(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

GlSceneRenderer::MeshBuffers* GlSceneRenderer::buffers_for(const DrawItem& item)
{
    auto& slot = meshes_[item.mesh_id];
    const std::uint64_t revision = item.mesh_revision;
    if (slot && slot->revision == revision) {
        slot->used = true;
        return slot.get();
    }
    const MeshGeometry geometry = triangulate(*item.mesh);
    constexpr std::size_t most_bytes = std::numeric_limits<int>::max();
    slot = std::make_unique<MeshBuffers>();
    slot->revision = revision;
    slot->used = true;
    // Buffer sizes are ints; a mesh beyond that is not drawn at all.
    if (geometry.indices.empty() || geometry.vertices.size() * sizeof(float) > most_bytes ||
        geometry.indices.size() * sizeof(std::uint32_t) > most_bytes) {
        return slot.get();
    }
    slot->index_count = static_cast<int>(geometry.indices.size());
    if (!slot->vertices.create() || !slot->indices.create()) {
        slot->index_count = 0;
        return slot.get();
    }
    slot->vertices.bind();
    slot->vertices.allocate(geometry.vertices.data(),
                            static_cast<int>(geometry.vertices.size() * sizeof(float)));
    slot->indices.bind();
    slot->indices.allocate(geometry.indices.data(),
                           static_cast<int>(geometry.indices.size() * sizeof(std::uint32_t)));
    slot->vertices.release();
    slot->indices.release();
    ++uploads_;
    return slot.get();
}

void GlSceneRenderer::draw(const SceneSnapshot& scene)
{
    if (!surface_) {
        return;
    }
    if (clear_pending_) {
        if (shown_ && *shown_ == scene) {
            clear_pending_ = false;
            return;
        }
        clear_now();
        shown_ = scene;
    } else {
        shown_.reset(); // drawn over what was there
    }
    draw_now(scene);
}

void GlSceneRenderer::draw_now(const SceneSnapshot& scene)
{
    if (!bind_surface()) {
        shown_.reset();
        return;
    }
    ++pictures_;
    revision_ = next_revision();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DITHER);

    program_->bind();
    const Matrix4 clip_from_root = multiply(scene.projection, scene.camera.inverse().matrix());
    program_->setUniformValue("ambient", qvec(scene.lighting.ambient));
    const auto light_count = static_cast<int>(
        std::min<std::size_t>(scene.lighting.directional.size(), k_max_directional_lights));
    program_->setUniformValue("light_count", static_cast<GLint>(light_count));
    const GLint clip_location = program_->uniformLocation("clip_from_model");
    const GLint eye_location = program_->uniformLocation("eye");
    const GLint direction_location = program_->uniformLocation("light_dir");
    const GLint colour_location = program_->uniformLocation("light_color");
    std::vector<QVector3D> directions(static_cast<std::size_t>(light_count));
    std::vector<QVector3D> colours(directions.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = qvec(scene.lighting.directional[i].color);
    }
    if (light_count > 0) {
        program_->setUniformValueArray(colour_location, colours.data(), light_count);
    }

    for (auto& [id, buffers] : meshes_) {
        buffers->used = false;
    }
    constexpr int stride = k_vertex_floats * sizeof(float);
    program_->enableAttributeArray(k_position);
    program_->enableAttributeArray(k_normal);
    program_->enableAttributeArray(k_color);
    for (const DrawItem& item : scene.items) {
        MeshBuffers* buffers = buffers_for(item);
        if (buffers->index_count == 0) {
            continue;
        }
        const Matrix4 clip_from_model = multiply(clip_from_root, item.world.matrix());
        glUniformMatrix4fv(clip_location, 1, GL_FALSE, clip_from_model.data());
        const Placement model_from_root = item.world.inverse();
        program_->setUniformValue(eye_location, qvec(model_from_root.apply(scene.camera.origin)));
        for (std::size_t i = 0; i < directions.size(); ++i) {
            directions[i] = qvec(model_from_root.rotate(scene.lighting.directional[i].direction));
        }
        if (light_count > 0) {
            program_->setUniformValueArray(direction_location, directions.data(), light_count);
        }
        buffers->vertices.bind();
        buffers->indices.bind();
        program_->setAttributeBuffer(k_position, GL_FLOAT, 0, 3, stride);
        program_->setAttributeBuffer(k_normal, GL_FLOAT, 3 * sizeof(float), 3, stride);
        program_->setAttributeBuffer(k_color, GL_FLOAT, 6 * sizeof(float), 3, stride);
        draw_in_batches(buffers->index_count);
        buffers->vertices.release();
        buffers->indices.release();
    }
    program_->disableAttributeArray(k_position);
    program_->disableAttributeArray(k_normal);
    program_->disableAttributeArray(k_color);
    program_->release();
    // Meshes no longer in the scene give their memory back.
    std::erase_if(meshes_, [](const auto& entry) { return !entry.second->used; });
}

void GlSceneRenderer::draw_in_batches(int index_count)
{
    // A software renderer first sorts a whole batch of triangles into screen
    // tiles on this thread and only then fills the tiles on its own
    // threads; a flush after each batch lets the filling of one batch run
    // while the next one is sorted, instead of all of it afterwards.
    constexpr int batch = 3 * 12288;
    for (int first = 0; first < index_count; first += batch) {
        const int count = std::min(batch, index_count - first);
        const auto offset = static_cast<std::uintptr_t>(first) * sizeof(std::uint32_t);
        glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, reinterpret_cast<const void*>(offset));
        if (first + count < index_count) {
            glFlush();
        }
    }
}

void GlSceneRenderer::update()
{
    if (clear_pending_) {
        clear_now();
        shown_.reset();
    }
    if (!bind_surface()) {
        return;
    }
    glFlush();
    QOpenGLFramebufferObject::bindDefault();
}

QImage GlSceneRenderer::read_picture()
{
    if (!bind_surface()) {
        return {};
    }
    // BGRA bytes are the 32-bit pixels of Format_RGB32 on little-endian
    // machines; GL_RGBA is the order every implementation reads.
    constexpr bool little_endian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    QImage picture(width_, height_, little_endian ? QImage::Format_RGB32 : QImage::Format_RGBX8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, little_endian ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE,
                 picture.bits());
    QOpenGLFramebufferObject::bindDefault();
    // OpenGL counts rows from the bottom.
    picture.mirror(false, true);
    return picture;
}

} // namespace facetor
