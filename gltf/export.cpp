#include "gltf/export.h"

#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

#include <stb_image_write.h>
#include <tiny_gltf.h>

#include "gltf/export_scene.h"
#include "model/text_escape.h"

namespace facetor {

namespace {

constexpr int k_array_buffer = 34962;
constexpr int k_element_array_buffer = 34963;
constexpr int k_nearest = 9728;
// A .glb states its length in 32 bits; JSON numbers and readers are safer
// well below that. Only archives of many huge textures come near.
constexpr std::size_t k_max_buffer = std::size_t{1} << 31;

// Model texts are 8-bit; JSON wants UTF-8. Each byte from 0x80 is taken as
// the character of the same number, so every name survives and stays
// readable; control bytes are escaped as the tool's messages escape them,
// since readers cut names at a zero.
std::string to_utf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += printable(std::string_view(&ch, 1));
        } else if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Texture texels are sRGB; a base colour factor is linear.
double srgb_to_linear(std::uint8_t c)
{
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

std::vector<unsigned char> encode_png(const MaterialLook& look)
{
    std::vector<unsigned char> png;
    const auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::vector<unsigned char>*>(context);
        const auto* first = static_cast<const unsigned char*>(data);
        bytes->insert(bytes->end(), first, first + size);
    };
    if (stbi_write_png_to_func(append, &png, look.width, look.height, 3, look.rgb.data(),
                               look.width * 3) == 0) {
        throw std::runtime_error("PNG encoding failed");
    }
    return png;
}

class GltfWriter {
  public:
    GltfWriter(const ExportScene& scene, const std::vector<MaterialLook>& looks)
        : scene_(scene), looks_(looks)
    {
        gltf_.asset.version = "2.0";
        gltf_.asset.generator = "facetor-cli";
    }

    const tinygltf::Model& build()
    {
        geometry();
        materials();
        nodes();
        if (!data_.empty()) {
            tinygltf::Buffer& buffer = gltf_.buffers.emplace_back();
            buffer.data = std::move(data_);
        }
        return gltf_;
    }

  private:
    // The buffer holds every position, then every normal, every UV pair and
    // every index, one buffer view each, then the images.
    void geometry()
    {
        std::size_t vertices = 0, indices = 0;
        for (const ExportMesh& mesh : scene_.meshes) {
            for (const ExportPrimitive& p : mesh.primitives) {
                vertices += p.positions.size() / 3;
                indices += p.indices.size();
            }
        }
        if (vertices == 0) {
            return;
        }
        const int positions = add_view(0, vertices * 12, 12, k_array_buffer);
        const int normals = add_view(vertices * 12, vertices * 12, 12, k_array_buffer);
        const int uvs = add_view(vertices * 24, vertices * 8, 8, k_array_buffer);
        const int index_view = add_view(vertices * 32, indices * 4, 0, k_element_array_buffer);
        data_.resize(vertices * 32 + indices * 4);

        std::size_t vertex = 0, index = 0;
        for (const ExportMesh& mesh : scene_.meshes) {
            tinygltf::Mesh& out = gltf_.meshes.emplace_back();
            out.name = to_utf8(mesh.name);
            for (const ExportPrimitive& p : mesh.primitives) {
                const std::size_t count = p.positions.size() / 3;
                tinygltf::Primitive& primitive = out.primitives.emplace_back();
                primitive.mode = TINYGLTF_MODE_TRIANGLES;
                primitive.material = p.material;
                primitive.attributes["POSITION"] =
                    add_accessor(positions, vertex * 12, count, TINYGLTF_TYPE_VEC3, p.positions);
                tinygltf::Accessor& bounds = gltf_.accessors.back();
                bounds.minValues.assign(p.min.begin(), p.min.end());
                bounds.maxValues.assign(p.max.begin(), p.max.end());
                primitive.attributes["NORMAL"] =
                    add_accessor(normals, vertex * 12, count, TINYGLTF_TYPE_VEC3, p.normals);
                primitive.attributes["TEXCOORD_0"] =
                    add_accessor(uvs, vertex * 8, count, TINYGLTF_TYPE_VEC2, p.uvs);
                primitive.indices = add_indices(index_view, index * 4, p.indices);
                vertex += count;
                index += p.indices.size();
            }
        }
    }

    int add_view(std::size_t offset, std::size_t length, std::size_t stride, int target)
    {
        tinygltf::BufferView& view = gltf_.bufferViews.emplace_back();
        view.buffer = 0;
        view.byteOffset = offset;
        view.byteLength = length;
        view.byteStride = stride;
        view.target = target;
        return static_cast<int>(gltf_.bufferViews.size() - 1);
    }

    unsigned char* at(int view, std::size_t offset)
    {
        return data_.data() + gltf_.bufferViews[static_cast<std::size_t>(view)].byteOffset + offset;
    }

    int add_accessor(int view, std::size_t offset, std::size_t count, int type,
                     const std::vector<float>& values)
    {
        std::memcpy(at(view, offset), values.data(), values.size() * sizeof(float));
        tinygltf::Accessor& a = gltf_.accessors.emplace_back();
        a.bufferView = view;
        a.byteOffset = offset;
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.count = count;
        a.type = type;
        return static_cast<int>(gltf_.accessors.size() - 1);
    }

    int add_indices(int view, std::size_t offset, const std::vector<std::uint32_t>& values)
    {
        std::memcpy(at(view, offset), values.data(), values.size() * sizeof(std::uint32_t));
        tinygltf::Accessor& a = gltf_.accessors.emplace_back();
        a.bufferView = view;
        a.byteOffset = offset;
        a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        a.count = values.size();
        a.type = TINYGLTF_TYPE_SCALAR;
        return static_cast<int>(gltf_.accessors.size() - 1);
    }

    void materials()
    {
        for (std::size_t i = 0; i < scene_.materials.size(); ++i) {
            tinygltf::Material& m = gltf_.materials.emplace_back();
            m.name = to_utf8(scene_.materials[i]);
            // Faces of hand-made models wind either way; show both sides.
            m.doubleSided = true;
            m.pbrMetallicRoughness.metallicFactor = 0;
            m.pbrMetallicRoughness.roughnessFactor = 1;
            const MaterialLook& look = looks_[i];
            if (look.kind == MaterialLook::Kind::solid) {
                m.pbrMetallicRoughness.baseColorFactor = {srgb_to_linear(look.colour.red),
                                                          srgb_to_linear(look.colour.green),
                                                          srgb_to_linear(look.colour.blue), 1.0};
            } else if (look.kind == MaterialLook::Kind::texture) {
                auto [it, inserted] = texture_of_entry_.try_emplace(look.entry, 0);
                if (inserted) {
                    it->second = add_texture(look, m.name);
                }
                m.pbrMetallicRoughness.baseColorTexture.index = it->second;
            }
        }
    }

    int add_texture(const MaterialLook& look, const std::string& name)
    {
        if (gltf_.samplers.empty()) {
            // Texels stay sharp, as the editor's preview shows them.
            tinygltf::Sampler& s = gltf_.samplers.emplace_back();
            s.magFilter = k_nearest;
            s.minFilter = k_nearest;
        }
        const std::vector<unsigned char> png = encode_png(look);
        if (data_.size() + png.size() > k_max_buffer) {
            throw std::runtime_error("the textures make the asset larger than 2 GB");
        }
        const int view = add_view(data_.size(), png.size(), 0, 0);
        data_.insert(data_.end(), png.begin(), png.end());
        data_.resize((data_.size() + 3) / 4 * 4); // the next view starts aligned
        tinygltf::Image& image = gltf_.images.emplace_back();
        image.name = name;
        image.mimeType = "image/png";
        image.bufferView = view;
        tinygltf::Texture& texture = gltf_.textures.emplace_back();
        texture.sampler = 0;
        texture.source = static_cast<int>(gltf_.images.size() - 1);
        return static_cast<int>(gltf_.textures.size() - 1);
    }

    void nodes()
    {
        // Every file has a scene, an empty one for an empty model; it has a
        // name, since TinyGLTF writes a scene with no property as null.
        tinygltf::Scene& root = gltf_.scenes.emplace_back();
        root.name = "Scene";
        gltf_.defaultScene = 0;
        for (const ExportNode& node : scene_.nodes) {
            tinygltf::Node& out = gltf_.nodes.emplace_back();
            out.name = to_utf8(node.name);
            out.mesh = node.mesh;
            if (node.translation != std::array<double, 3>{}) {
                out.translation.assign(node.translation.begin(), node.translation.end());
            }
        }
        for (std::size_t n = 0; n < scene_.nodes.size(); ++n) {
            const int parent = scene_.nodes[n].parent;
            if (parent == -1) {
                root.nodes.push_back(static_cast<int>(n));
            } else {
                gltf_.nodes[static_cast<std::size_t>(parent)].children.push_back(
                    static_cast<int>(n));
            }
        }
    }

    const ExportScene& scene_;
    const std::vector<MaterialLook>& looks_;
    tinygltf::Model gltf_;
    std::vector<unsigned char> data_;
    std::map<int, int> texture_of_entry_; // one image per archive entry
};

} // namespace

std::vector<std::string> export_gltf(const type_model& model, const ExportOptions& options,
                                     std::ostream& out)
{
    ExportScene scene = build_export_scene(model, options.geoset);
    const std::vector<MaterialLook> looks =
        look_up_materials(scene.materials, options.archive, scene.warnings);
    GltfWriter writer(scene, looks);
    const tinygltf::Model& gltf = writer.build();
    tinygltf::TinyGLTF tiny;
    if (!tiny.WriteGltfSceneToStream(&gltf, out, !options.binary, options.binary) || !out) {
        throw std::runtime_error("the glTF could not be written");
    }
    return std::move(scene.warnings);
}

} // namespace facetor
