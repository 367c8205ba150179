// The glTF import under hostile and broken files: each is refused with one
// message in our words, or imported with one counted warning, and none
// costs more than its contents.
#include "gltf/import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "gltf/gltf_builder.h"
#include "gltf/hostile_gltf.h"

namespace facetor {
namespace {

using test::GltfBuilder;
using test::k_triangle;

// A .glb of `json` and, when given, `bin`, each padded as the format wants.
std::string glb(std::string json, std::string bin = {})
{
    const auto u32 = [](std::size_t v) {
        std::string out(4, '\0');
        for (std::size_t k = 0; k < 4; ++k) {
            out[k] = static_cast<char>((v >> (8 * k)) & 0xFF);
        }
        return out;
    };
    json.resize((json.size() + 3) / 4 * 4, ' ');
    bin.resize((bin.size() + 3) / 4 * 4, '\0');
    std::string chunks = u32(json.size()) + "JSON" + json;
    if (!bin.empty()) {
        chunks += u32(bin.size()) + std::string("BIN\0", 4) + bin;
    }
    return "glTF" + u32(2) + u32(12 + chunks.size()) + chunks;
}

std::string patched(std::string bytes, std::size_t at, std::uint32_t value)
{
    for (std::size_t k = 0; k < 4; ++k) {
        bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
    }
    return bytes;
}

const std::string k_asset = R"({"asset":{"version":"2.0"})";

// A glTF whose extras nest arrays so that the JSON is `depth` levels deep.
std::string nested(int depth)
{
    return k_asset + R"(,"extras":)" + std::string(static_cast<std::size_t>(depth - 1), '[') +
           std::string(static_cast<std::size_t>(depth - 1), ']') + "}";
}

// The column of the first level past 512 in nested(...).
std::string too_deep_at()
{
    const std::size_t column = k_asset.size() + std::string(R"(,"extras":)").size() + 511 + 1;
    return "the JSON nests deeper than 512 levels (line 1, column " + std::to_string(column) + ")";
}

// A file of one triangle on one node, changed by `spoil`.
std::string triangle_file(const std::function<void(GltfBuilder&)>& spoil)
{
    GltfBuilder b;
    b.node("n", b.mesh({b.primitive(k_triangle, {0, 1, 2})}));
    spoil(b);
    return b.bytes();
}

// Gives the triangle's positions as accessor `positions`.
void use_positions(GltfBuilder& b, int positions)
{
    b.gltf.meshes[0].primitives[0].attributes["POSITION"] = positions;
}

// Positions of 2^31 elements without a view, all zero but those `sparse`
// gives as unsigned indices of `index_type`.
int sparse_positions(GltfBuilder& b, const std::vector<std::uint32_t>& sparse, int index_type)
{
    std::vector<unsigned char> indices;
    for (const std::uint32_t i : sparse) {
        const unsigned char bytes[4] = {
            static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8),
            static_cast<unsigned char>(i >> 16), static_cast<unsigned char>(i >> 24)};
        indices.insert(indices.end(), bytes,
                       bytes + (index_type == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT ? 4 : 1));
    }
    std::vector<float> values;
    for (std::size_t k = 0; k < sparse.size(); ++k) {
        values.insert(values.end(), {float(k == 0), float(k == 1), 0});
    }
    tinygltf::Accessor a;
    a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    a.type = TINYGLTF_TYPE_VEC3;
    a.count = std::size_t{1} << 31;
    a.sparse.isSparse = true;
    a.sparse.count = static_cast<int>(sparse.size());
    a.sparse.indices.componentType = index_type;
    a.sparse.indices.byteOffset = a.sparse.values.byteOffset = 0;
    a.sparse.indices.bufferView = b.view(indices.data(), indices.size());
    a.sparse.values.bufferView = b.view(values.data(), values.size() * sizeof(float));
    b.gltf.accessors.push_back(a);
    return static_cast<int>(b.gltf.accessors.size()) - 1;
}

// The triangle textured, its texture moved by `offset` in u.
void texture_transform(GltfBuilder& b, double offset)
{
    tinygltf::Image& image = b.gltf.images.emplace_back();
    image.mimeType = "image/png";
    image.bufferView = b.gltf.accessors[1].bufferView; // any bytes: images are not decoded
    b.gltf.textures.emplace_back().source = 0;
    tinygltf::Material& m = b.gltf.materials.emplace_back();
    m.pbrMetallicRoughness.baseColorTexture.index = 0;
    tinygltf::Value::Object transform;
    transform["offset"] =
        tinygltf::Value(tinygltf::Value::Array{tinygltf::Value(offset), tinygltf::Value(0.0)});
    m.pbrMetallicRoughness.baseColorTexture.extensions["KHR_texture_transform"] =
        tinygltf::Value(transform);
    b.gltf.meshes[0].primitives[0].material = 0;
    b.gltf.extensionsUsed.push_back("KHR_texture_transform");
    b.gltf.extensionsRequired.push_back("KHR_texture_transform");
}

struct Hostile {
    const char* name;
    std::string bytes;
    std::string message; // the refusal, or the one warning of an import ("" for none)
    int status;          // as `facetor-cli import` exits: 1 refused, 0 imported
};

std::vector<Hostile> hostile_files()
{
    const std::string json_1204 = k_asset + std::string(1204 - k_asset.size() - 1, ' ') + "}";
    return {
        // The container and the JSON, before the library sees them
        {"empty", "", "the file is empty", 1},
        {"not glTF", "\x89PNG\r\n\x1a\n",
         "not a glTF file: neither a JSON object nor a GLB container", 1},
        {"GLB header cut", std::string("glTF\x02\0\0\0", 8),
         "the file ends inside its GLB header (needs 12 bytes, 8 left)", 1},
        {"GLB version 1", patched(glb(k_asset + "}"), 4, 1),
         "the GLB container is version 1; the import reads version 2", 1},
        {"GLB cut inside its JSON", glb(json_1204).substr(0, 20 + 812),
         "the file ends inside its JSON chunk (needs 1,204 bytes, 812 left)", 1},
        {"GLB cut inside its binary chunk", glb(k_asset + "}", std::string(16, '\0')).substr(0, 64),
         "the file ends inside its binary chunk (needs 16 bytes, 8 left)", 1},
        {"JSON 512 deep", nested(512), "", 0},
        {"JSON 513 deep", nested(513), too_deep_at(), 1},
        {"JSON 513 deep in a GLB", glb(nested(513)), too_deep_at(), 1},
        {"JSON cut short", R"({"asset": )",
         "the JSON ends before it is complete (line 1, column 11)", 1},
        {"JSON broken on line 3", "{\n  \"asset\": {\"version\": \"2.0\"},\n  \"scene\" 0\n}",
         "the JSON is not valid at line 3, column 11: something other than ':' after a name", 1},
        {"string not UTF-8", k_asset + ",\"extras\":\"\xC0\xAF\"}",
         "the JSON is not valid at line 1, column 38: text that is not UTF-8 inside a string", 1},
        {"glTF 1.0", R"({"asset":{"version":"1.0"}})",
         "the file is glTF 1.0; the import reads glTF 2.x", 1},
        {"no version", "{}", "the file does not give its glTF version (asset.version)", 1},
        // What the library refuses, in our words
        {"data URI too short",
         k_asset +
             R"(,"buffers":[{"byteLength":8,"uri":"data:application/octet-stream;base64,AAAA"}]})",
         "a buffer's data URI does not decode to its byteLength", 1},
        {"accessor without count",
         k_asset + R"(,"accessors":[{"componentType":5126,"type":"VEC3"}]})",
         "the required property \"count\" is missing from an accessor", 1},
        {"buffer file missing", k_asset + R"(,"buffers":[{"byteLength":4,"uri":"missing.bin"}]})",
         "the buffer file missing.bin is not there", 1},
        // Bounded work: refused before an element is read, or reading only what is used
        {"sparse bomb", test::sparse_bomb_gltf(),
         "the model does not fit a 3DO: it needs 27962025 triangles, 27946025 over the 16000", 1},
        {"2^31 sparse positions, three used", triangle_file([](GltfBuilder& b) {
             use_positions(b, sparse_positions(b, {1, 2}, TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT));
         }),
         "", 0},
        {"signed sparse indices", triangle_file([](GltfBuilder& b) {
             use_positions(b, sparse_positions(b, {0xFF}, TINYGLTF_COMPONENT_TYPE_BYTE));
         }),
         "accessor 2: has sparse indices that are not unsigned integers", 1},
        // The file's own rules
        {"default scene out of range",
         triangle_file([](GltfBuilder& b) { b.gltf.defaultScene = 5; }),
         "the file names scene 5 as its default and has 1 scene", 1},
        {"material past the list",
         triangle_file([](GltfBuilder& b) { b.gltf.meshes[0].primitives[0].material = 3; }),
         "mesh 0 names material 3, which the file does not have", 1},
        {"integer positions without quantization", triangle_file([](GltfBuilder& b) {
             b.gltf.accessors[0].componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE;
         }),
         "accessor 0: POSITION in integers needs the extension KHR_mesh_quantization, which the "
         "file does not use",
         1},
        {"integer positions with quantization", triangle_file([](GltfBuilder& b) {
             b.gltf.accessors[0].componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE;
             b.gltf.extensionsUsed = b.gltf.extensionsRequired = {"KHR_mesh_quantization"};
         }),
         "", 0},
        // Extensions
        {"meshopt required", triangle_file([](GltfBuilder& b) {
             b.gltf.extensionsRequired = {"EXT_meshopt_compression"};
         }),
         "the file requires the extension EXT_meshopt_compression, which the import does not read",
         1},
        {"texture transform required, moving",
         triangle_file([](GltfBuilder& b) { texture_transform(b, 0.5); }),
         "the file requires the extension KHR_texture_transform to move its texture coordinates, "
         "which the import does not do",
         1},
        {"texture transform required, identity",
         triangle_file([](GltfBuilder& b) { texture_transform(b, 0); }),
         "extension KHR_texture_transform ignored", 0},
        {"lights required", triangle_file([](GltfBuilder& b) {
             b.gltf.lights.emplace_back().type = "point";
             b.gltf.extensionsUsed = b.gltf.extensionsRequired = {"KHR_lights_punctual"};
         }),
         "1 light ignored (extension KHR_lights_punctual)", 0},
        {"material extension used",
         triangle_file([](GltfBuilder& b) { b.gltf.extensionsUsed = {"KHR_materials_sheen"}; }),
         "extension KHR_materials_sheen ignored", 0},
        // Counted warnings
        {"incomplete triangle", triangle_file([](GltfBuilder& b) {
             b.gltf.meshes[0].primitives[0].indices = b.indices({0, 1, 2, 0});
         }),
         "1 incomplete triangle left out (an index count that is not a multiple of 3)", 0},
        {"texture coordinate not a number", triangle_file([](GltfBuilder& b) {
             b.gltf.meshes[0].primitives[0].attributes["TEXCOORD_0"] = b.floats(
                 {std::numeric_limits<float>::quiet_NaN(), 0, 0, 0, 1, 1}, TINYGLTF_TYPE_VEC2);
         }),
         "1 texture coordinate that is not a finite number written as 0, 0", 0},
        {"zero scale", triangle_file([](GltfBuilder& b) {
             b.gltf.nodes[0].scale = {1, 0, 1};
         }),
         "1 triangle flattened by a zero scale left out", 0},
    };
}

TEST(ImportHostile, EachFileIsRefusedWithOneMessageOrImportedWithOneWarning)
{
    for (const Hostile& h : hostile_files()) {
        SCOPED_TRACE(h.name);
        try {
            const ImportResult r = import_gltf_bytes(h.bytes, "/nonexistent-facetor-test", {});
            EXPECT_EQ(h.status, 0) << "imported";
            EXPECT_EQ(r.warnings, h.message.empty() ? std::vector<std::string>{}
                                                    : std::vector<std::string>{h.message});
        } catch (const ImportError& e) {
            EXPECT_EQ(h.status, 1) << "refused";
            EXPECT_EQ(e.what(), h.message);
        }
    }
}

} // namespace
} // namespace facetor
