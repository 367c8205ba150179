#pragma once
// Small glTF files made in the tests: a TinyGLTF model filled through a few
// calls, written to bytes the way any tool would write them.
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <tiny_gltf.h>

namespace facetor::test {

// One triangle in glTF's xy plane, counter-clockwise seen from +z.
inline const std::vector<float> k_triangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};

class GltfBuilder {
  public:
    GltfBuilder()
    {
        gltf.asset.version = "2.0";
        gltf.buffers.emplace_back();
    }

    int floats(const std::vector<float>& values, int type)
    {
        tinygltf::Accessor& a = add_accessor(values.data(), values.size() * sizeof(float));
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.type = type;
        a.count = values.size() / (type == TINYGLTF_TYPE_VEC2 ? 2 : 3);
        return last(gltf.accessors);
    }

    int indices(const std::vector<std::uint32_t>& values)
    {
        tinygltf::Accessor& a = add_accessor(values.data(), values.size() * sizeof(std::uint32_t));
        a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        a.type = TINYGLTF_TYPE_SCALAR;
        a.count = values.size();
        return last(gltf.accessors);
    }

    // A primitive of `mode` over xyz `positions`; `index_list` empty for
    // none, `uvs` empty for no texture coordinates.
    tinygltf::Primitive primitive(const std::vector<float>& positions,
                                  const std::vector<std::uint32_t>& index_list = {},
                                  int material = -1, const std::vector<float>& uvs = {},
                                  int mode = TINYGLTF_MODE_TRIANGLES)
    {
        tinygltf::Primitive p;
        p.mode = mode;
        p.material = material;
        p.attributes["POSITION"] = floats(positions, TINYGLTF_TYPE_VEC3);
        if (!uvs.empty()) {
            p.attributes["TEXCOORD_0"] = floats(uvs, TINYGLTF_TYPE_VEC2);
        }
        if (!index_list.empty()) {
            p.indices = indices(index_list);
        }
        return p;
    }

    int mesh(std::vector<tinygltf::Primitive> primitives, const std::string& name = "")
    {
        tinygltf::Mesh& m = gltf.meshes.emplace_back();
        m.name = name;
        m.primitives = std::move(primitives);
        return last(gltf.meshes);
    }

    // A node; `parent` -1 makes it a root of scene 0.
    int node(const std::string& name, int mesh = -1, int parent = -1,
             std::vector<double> translation = {}, std::vector<double> rotation = {},
             std::vector<double> scale = {})
    {
        tinygltf::Node& n = gltf.nodes.emplace_back();
        n.name = name;
        n.mesh = mesh;
        n.translation = std::move(translation);
        n.rotation = std::move(rotation);
        n.scale = std::move(scale);
        const int index = last(gltf.nodes);
        if (parent >= 0) {
            gltf.nodes[static_cast<std::size_t>(parent)].children.push_back(index);
        } else {
            if (gltf.scenes.empty()) {
                gltf.scenes.emplace_back();
                gltf.defaultScene = 0;
            }
            gltf.scenes[0].nodes.push_back(index);
        }
        return index;
    }

    std::string bytes(bool binary = true) const
    {
        std::ostringstream out;
        tinygltf::TinyGLTF writer;
        tinygltf::Model written = gltf;
        if (written.buffers[0].data.empty()) {
            written.buffers.clear(); // an empty binary chunk is not read back
        }
        writer.WriteGltfSceneToStream(&written, out, !binary, binary);
        return std::move(out).str();
    }

    // A buffer view of `size` bytes from `data`, added to the buffer.
    int view(const void* data, std::size_t size)
    {
        std::vector<unsigned char>& buffer = gltf.buffers[0].data;
        tinygltf::BufferView& v = gltf.bufferViews.emplace_back();
        v.buffer = 0;
        v.byteOffset = buffer.size();
        v.byteLength = size;
        buffer.resize(buffer.size() + size);
        std::memcpy(buffer.data() + v.byteOffset, data, size);
        return last(gltf.bufferViews);
    }

    tinygltf::Model gltf;

  private:
    template <typename T> static int last(const std::vector<T>& v)
    {
        return static_cast<int>(v.size()) - 1;
    }

    tinygltf::Accessor& add_accessor(const void* data, std::size_t size)
    {
        tinygltf::Accessor& a = gltf.accessors.emplace_back();
        a.bufferView = view(data, size);
        return a;
    }
};

} // namespace facetor::test
