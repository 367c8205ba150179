#pragma once
// Builds the text of small 3DO models for tests, every line ended by CR LF.
// A ModelLayout describes the model; every value a test may want to push out of
// range is a plain field, written as given.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace facetor::test {

// Joins lines, each ended by CR LF.
inline std::string crlf(std::initializer_list<std::string_view> lines)
{
    std::string out;
    for (const std::string_view line : lines) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

// Every occurrence of `from` in `text` replaced by `to`.
inline std::string replace_all(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

struct FaceLayout {
    int material = 1;
    std::string type = "0x0001";
    int geo = 4, light = 3, tex = 2;
    std::string extra_light = "0.5";
    std::vector<std::pair<int, int>> corners = {{0, 0}, {1, 1}, {2, 2}};
};

// Vertex v of a mesh is written as (v, v + 0.5, -v, 0.25), texture vertex t
// as (t / 8, 1 - t / 8), vertex normal v as (0, 0, 1), face normal f as
// (0, 1, 0): values a test can predict from the index.
struct MeshLayout {
    std::string name = "tri";
    std::string radius = "0.75";
    int geometry = 4, lighting = 3, texture = 2;
    int vertices = 3;
    int tvertices = 3;
    std::vector<FaceLayout> faces = {FaceLayout{}};
};

struct NodeLayout {
    std::string flags = "0x0000";
    std::string type = "0x00001";
    int mesh = 0, parent = -1, child = -1, sibling = -1, children = 0;
    std::string offset = "1 2 3";
    std::string angles = "10 20 30";
    std::string pivot = "0.5 0.5 0.5";
    std::string name = "root";
};

struct ModelLayout {
    std::vector<std::string> materials = {"red.mat", "blue.mat"};
    std::string radius = "1.5";
    std::string insert_offset = "0.25 -0.5 0.75";
    std::vector<std::vector<MeshLayout>> geosets = {{MeshLayout{}}};
    std::vector<NodeLayout> nodes = {NodeLayout{},
                                     NodeLayout{.mesh = -1, .parent = 0, .name = "child"}};
};

inline std::string index_line(int i, std::string_view rest)
{
    return std::to_string(i) + ": " + std::string(rest);
}

inline std::string face_line(int f, const FaceLayout& face)
{
    std::string line = std::to_string(f) + ": " + std::to_string(face.material) + " " + face.type +
                       " " + std::to_string(face.geo) + " " + std::to_string(face.light) + " " +
                       std::to_string(face.tex) + " " + face.extra_light + " " +
                       std::to_string(face.corners.size());
    for (const auto& [vertex, tvertex] : face.corners) {
        line += " " + std::to_string(vertex) + ", " + std::to_string(tvertex);
    }
    return line;
}

inline std::string node_line(int n, const NodeLayout& node)
{
    return std::to_string(n) + ": " + node.flags + " " + node.type + " " +
           std::to_string(node.mesh) + " " + std::to_string(node.parent) + " " +
           std::to_string(node.child) + " " + std::to_string(node.sibling) + " " +
           std::to_string(node.children) + " " + node.offset + " " + node.angles + " " +
           node.pivot + " " + node.name;
}

inline std::string mesh_text(int m, const MeshLayout& mesh)
{
    std::string out =
        crlf({"MESH " + std::to_string(m), "NAME " + mesh.name, "RADIUS " + mesh.radius,
              "GEOMETRYMODE " + std::to_string(mesh.geometry),
              "LIGHTINGMODE " + std::to_string(mesh.lighting),
              "TEXTUREMODE " + std::to_string(mesh.texture), "",
              "VERTICES " + std::to_string(mesh.vertices)});
    for (int v = 0; v < mesh.vertices; ++v) {
        out += crlf({index_line(v, std::to_string(v) + " " + std::to_string(v + 0.5) + " " +
                                       std::to_string(-v) + " 0.25")});
    }
    out += crlf({"", "TEXTURE VERTICES " + std::to_string(mesh.tvertices)});
    for (int t = 0; t < mesh.tvertices; ++t) {
        out += crlf({index_line(t, std::to_string(t / 8.0) + " " + std::to_string(1 - t / 8.0))});
    }
    out += crlf({"", "VERTEX NORMALS"});
    for (int v = 0; v < mesh.vertices; ++v) {
        out += crlf({index_line(v, "0 0 1")});
    }
    out += crlf({"", "FACES " + std::to_string(mesh.faces.size())});
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        out += crlf({face_line(static_cast<int>(f), mesh.faces[f])});
    }
    out += crlf({"", "FACE NORMALS"});
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        out += crlf({index_line(static_cast<int>(f), "0 1 0")});
    }
    return out;
}

inline std::string model_text(const ModelLayout& layout = {})
{
    std::string out =
        crlf({"# made by the tests", "SECTION: HEADER", "", "3DO 2.1", "", "SECTION: MODELRESOURCE",
              "", "MATERIALS " + std::to_string(layout.materials.size())});
    for (std::size_t i = 0; i < layout.materials.size(); ++i) {
        out += crlf({index_line(static_cast<int>(i), layout.materials[i])});
    }
    out += crlf({"", "SECTION: GEOMETRYDEF", "", "RADIUS " + layout.radius,
                 "INSERT OFFSET " + layout.insert_offset,
                 "GEOSETS " + std::to_string(layout.geosets.size())});
    for (std::size_t g = 0; g < layout.geosets.size(); ++g) {
        out += crlf({"", "GEOSET " + std::to_string(g),
                     "MESHES " + std::to_string(layout.geosets[g].size()), ""});
        for (std::size_t m = 0; m < layout.geosets[g].size(); ++m) {
            out += mesh_text(static_cast<int>(m), layout.geosets[g][m]);
        }
    }
    out += crlf({"", "SECTION: HIERARCHYDEF", "",
                 "HIERARCHY NODES " + std::to_string(layout.nodes.size())});
    for (std::size_t n = 0; n < layout.nodes.size(); ++n) {
        out += crlf({node_line(static_cast<int>(n), layout.nodes[n])});
    }
    return out;
}

// The smallest file that loads: no materials, no geosets, no nodes.
inline std::string minimal_model_text()
{
    return crlf({"SECTION: HEADER", "3DO 2.1", "SECTION: MODELRESOURCE", "MATERIALS 0",
                 "SECTION: GEOMETRYDEF", "RADIUS 0", "INSERT OFFSET 0 0 0", "GEOSETS 0",
                 "SECTION: HIERARCHYDEF", "HIERARCHY NODES 0"});
}

} // namespace facetor::test
