#include "gltf/import_library.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string_view>

#include "gltf/import_container.h"
#include "gltf/import_error.h"

namespace facetor {

namespace {

namespace fs = std::filesystem;

// Images are named, never decoded: a 3DO names its textures.
bool skip_image(tinygltf::Image*, const int, std::string*, std::string*, int, int,
                const unsigned char*, int, void*)
{
    return true;
}

bool file_exists(const std::string& path, void*)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string same_path(const std::string& path, void*)
{
    return path;
}

// Only plain files: a pipe or a device named as a buffer would never end.
bool read_plain_file(std::vector<unsigned char>* out, std::string* err, const std::string& path,
                     void*)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        *err = "not a plain file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *err = std::strerror(errno);
        return false;
    }
    out->assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        *err = std::strerror(errno);
        return false;
    }
    return true;
}

bool write_nothing(std::string* err, const std::string&, const std::vector<unsigned char>&, void*)
{
    *err = "the import writes no file";
    return false;
}

// A name from the file, as a message can show it: one line, not too long.
std::string shown(std::string_view name)
{
    std::string out;
    for (const char c : name.substr(0, 80)) {
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
    return name.size() > 80 ? out + "..." : out;
}

std::string_view between(std::string_view line, std::string_view open, std::string_view close)
{
    const std::size_t start = line.find(open);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t from = start + open.size();
    const std::size_t end = line.find(close, from);
    return line.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

std::string after(std::string_view line, std::string_view open)
{
    const std::size_t start = line.find(open);
    return start == std::string_view::npos ? std::string()
                                           : shown(line.substr(start + open.size()));
}

// The library's names for the objects it reads, as ours.
std::string place(std::string_view library_name)
{
    struct Name {
        std::string_view library, ours;
    };
    static constexpr Name k_names[] = {
        {"Asset", "the asset"},
        {"Buffer", "a buffer"},
        {"BufferView", "a buffer view"},
        {"SparseAccessor", "a sparse accessor"},
        {"Accessor", "an accessor"},
        {"Skin", "a skin"},
        {"OrthographicCamera", "a camera"},
        {"Camera", "a camera"},
    };
    for (const Name& n : k_names) {
        if (library_name == n.library) {
            return " from " + std::string(n.ours);
        }
    }
    return {};
}

// "'count' property is missing in Accessor." and its kin.
std::string property_fault(std::string_view line)
{
    const std::string property = shown(between(line, "'", "'"));
    if (line.find("' property is missing") != std::string_view::npos) {
        std::string_view where = between(line, " in ", ".");
        if (where.starts_with("`")) {
            where = between(where, "`", "'");
        }
        return "the required property \"" + property + "\" is missing" + place(where);
    }
    struct Kind {
        std::string_view library, ours;
    };
    static constexpr Kind k_kinds[] = {
        {"not a bool", "true or false"},
        {"not a positive integer", "a whole number of 0 or more"},
        {"not an integer", "a whole number"},
        {"not a number", "a number"},
        {"not an array", "an array"},
        {"not a string", "a string"},
        {"not an object", "an object"},
        {"not a JSON object", "an object"},
    };
    for (const Kind& k : k_kinds) {
        if (line.find(k.library) != std::string_view::npos) {
            return "the property \"" + property + "\" is not " + std::string(k.ours);
        }
    }
    return "the property \"" + property + "\" has a value of the wrong kind";
}

struct Translation {
    std::string_view starts; // the library's line begins so
    std::string (*say)(std::string_view line);
};

// Each failure the library can still meet once the container and the JSON
// are checked, with what the user is told instead.
const Translation k_translations[] = {
    {"'uri' is missing",
     [](std::string_view) -> std::string {
         return "a buffer has no uri, which only a .glb's may lack";
     }},
    {"'", property_fault},
    {"Failed to decode 'uri' for image",
     [](std::string_view l) {
         return "image " + shown(between(l, "[", "]")) + ": its data URI does not decode";
     }},
    {"Failed to decode 'uri'",
     [](std::string_view) -> std::string {
         return "a buffer's data URI does not decode to its byteLength";
     }},
    {"Failed to parse `",
     [](std::string_view l) {
         return "image " + shown(between(l, "[", "]")) + ": its " + shown(between(l, "`", "'")) +
                " is not valid";
     }},
    {"Neither required",
     [](std::string_view l) {
         return "image " + shown(between(l, "[", "]")) + " has neither a buffer view nor a uri";
     }},
    {"image[",
     [](std::string_view l) {
         return "image " + shown(between(l, "[", "]")) + " names data the file does not have";
     }},
    {"Invalid binary data in `Buffer'",
     [](std::string_view) -> std::string {
         return "a buffer without a uri, and no binary chunk to hold it";
     }},
    {"Invalid `byteLength'",
     [](std::string_view l) {
         return "the first buffer's byteLength (" + shown(between(l, "`byteLength' = ", ",")) +
                " bytes) is more than the binary chunk holds (" +
                shown(between(l, "binary size = ", "\n")) + " bytes)";
     }},
    {"File not found : ",
     [](std::string_view l) {
         return "the buffer file " + after(l, "File not found : ") + " is not there";
     }},
    {"File read error : ",
     [](std::string_view l) {
         const std::string_view rest = l.substr(l.find(" : ") + 3);
         const std::size_t split = rest.rfind(" : ");
         return "the buffer file " + shown(rest.substr(0, split)) +
                " cannot be read: " + after(rest, " : ");
     }},
    {"File is empty : ",
     [](std::string_view l) {
         return "the buffer file " + after(l, "File is empty : ") + " is empty";
     }},
    {"File size mismatch : ",
     [](std::string_view l) {
         return "the buffer file " +
                shown(between(l, "File size mismatch : ", ", requestedBytes")) + " holds " +
                shown(between(l, "but got ", "\n")) + " bytes where its buffer gives " +
                shown(between(l, "requestedBytes ", ",")) + " bytes";
     }},
    {"Invalid `byteStride'",
     [](std::string_view) -> std::string {
         return "a buffer view's byteStride is not a multiple of 4 from 4 to 252";
     }},
    {"the sparse object of this accessor doesn't have ",
     [](std::string_view l) { return "a sparse accessor has no " + after(l, "doesn't have "); }},
    {"Unsupported `type`",
     [](std::string_view l) {
         return "an accessor of the unknown type \"" + shown(between(l, "Got \"", "\"")) + "\"";
     }},
    {"Invalid `componentType`",
     [](std::string_view l) {
         return "an accessor of the unknown component type " + after(l, "Got ");
     }},
    {"primitive indices accessor out of bounds",
     [](std::string_view) -> std::string {
         return "a primitive names indices the file does not have";
     }},
    {"accessor[",
     [](std::string_view l) {
         return "accessor " + shown(between(l, "[", "]")) + ": indices without a buffer view";
     }},
    {"`",
     [](std::string_view l) {
         const std::string what = shown(between(l, "`", "'"));
         return l.find("field is missing") != std::string_view::npos
                    ? "an animation lacks its \"" + shown(between(l, "`", "`")) + "\""
                    : "an entry of \"" + what + "\" is not an object";
     }},
    {"Orthographic camera",
     [](std::string_view) -> std::string {
         return "an orthographic camera has no \"orthographic\" object";
     }},
    {"Perspective camera",
     [](std::string_view) -> std::string {
         return "a perspective camera has no \"perspective\" object";
     }},
    {"Invalid camera type",
     [](std::string_view l) {
         return "a camera of the unknown type \"" + shown(between(l, "\"", "\"")) + "\"";
     }},
    {"Spot light",
     [](std::string_view) -> std::string { return "a spot light has no \"spot\" object"; }},
    {"\"",
     [](std::string_view l) {
         return "\"" + shown(between(l, "\"", "\"")) + "\" is not an object";
     }},
    // Only "{}" and "{ }" are valid JSON objects this short.
    {"JSON string too short",
     [](std::string_view) -> std::string {
         return "the file does not give its glTF version (asset.version)";
     }},
};

} // namespace

std::string library_failure_in_our_words(const std::string& library_text)
{
    const std::string_view line = std::string_view(library_text).substr(0, library_text.find('\n'));
    for (const Translation& t : k_translations) {
        if (line.starts_with(t.starts)) {
            return t.say(line);
        }
    }
    return "the file breaks a rule of glTF 2.0";
}

tinygltf::Model load_gltf(std::string_view bytes, const std::string& base_dir)
{
    if (bytes.empty()) {
        throw ImportError("the file is empty");
    }
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        throw ImportError("the file is larger than 4 GB");
    }
    const bool binary = bytes.starts_with("glTF");
    std::string_view container = bytes;
    if (binary) {
        const GlbLayout glb = check_glb(bytes);
        check_json(glb.json, true);
        container = bytes.substr(0, glb.length);
    } else {
        check_json(bytes, false);
    }
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(&skip_image, nullptr);
    loader.SetFsCallbacks({&file_exists, &same_path, &read_plain_file, &write_nothing, nullptr});
    tinygltf::Model gltf;
    std::string err, warn;
    const auto length = static_cast<unsigned int>(container.size());
    // The version is checked here, in our words, not by the library.
    const unsigned int sections = tinygltf::NO_REQUIRE;
    const bool ok =
        binary
            ? loader.LoadBinaryFromMemory(&gltf, &err, &warn,
                                          reinterpret_cast<const unsigned char*>(container.data()),
                                          length, base_dir, sections)
            : loader.LoadASCIIFromString(&gltf, &err, &warn, container.data(), length, base_dir,
                                         sections);
    if (!ok) {
        throw ImportError(library_failure_in_our_words(err));
    }
    check_gltf_version(gltf.asset.version);
    return gltf;
}

} // namespace facetor
