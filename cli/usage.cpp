#include "cli/usage.h"

#include <array>

namespace facetor {

namespace {

struct CommandText {
    std::string_view name;
    std::string_view synopsis; // one "usage:" line, without its line end
    std::string_view details;  // what it does, its options and where "-" works
};

constexpr std::array<CommandText, 6> k_commands{{
    {"check", "usage: facetor-cli check [--strict] FILE...",
     "Loads each FILE as the editor does and prints \"FILE: ok\" or where and why\n"
     "its load stopped.\n"
     "  --strict  also report what the editor accepts but the rest of the program\n"
     "            assumes: corners and materials past their lists, meshes no node\n"
     "            carries, nodes carrying a missing mesh, parent links that never\n"
     "            reach a root\n"
     "A FILE of \"-\" is standard input.\n"},
    {"info", "usage: facetor-cli info FILE",
     "Prints the model's version, materials, geosets and meshes, and the node tree.\n"
     "A FILE of \"-\" is standard input.\n"},
    {"dump", "usage: facetor-cli dump FILE",
     "Prints every field of the loaded model that differs from a fresh model's,\n"
     "one PATH=VALUE line each; after a failed load what the load stored, and the\n"
     "diagnostic on standard error.\n"
     "A FILE of \"-\" is standard input.\n"},
    {"format", "usage: facetor-cli format IN.3do OUT.3do",
     "Writes the model of IN as canonical 3DO 2.1 text: CR LF lines, the sections in\n"
     "the reader's order, each double in its shortest exact form. Only the model is\n"
     "kept: IN's comments and layout are not. OUT may be IN. A file is replaced\n"
     "whole or not at all (a link is followed); a device or pipe is written into.\n"
     "An IN of \"-\" is standard input, an OUT of \"-\" standard output.\n"},
    {"export", "usage: facetor-cli export FILE.3do OUT.glb|OUT.gltf [--archive GOB] [--geoset N]",
     "Writes the model as glTF 2.0: binary for .glb, JSON with embedded data for\n"
     ".gltf, with the textures found in the archive.\n"
     "  --archive GOB  the texture archive (default: d/gamedata/resource/res2.gob\n"
     "                 under the current folder, when it exists)\n"
     "  --geoset N     export geoset N (0 to 3) instead of geoset 0\n"
     "A FILE of \"-\" is standard input; OUT is a file.\n"},
    {"import", "usage: facetor-cli import IN.gltf|IN.glb OUT.3do [--scene N] [--name NAME]",
     "Reads a glTF 2.0 model and writes it as a 3DO 2.1 model through the writer of\n"
     "format; nothing is written when it does not fit. OUT may not be IN.\n"
     "  --scene N    import scene N instead of the file's default scene\n"
     "  --name NAME  the name of what the glTF leaves unnamed (default: OUT's file\n"
     "               name without its extension)\n"
     "An IN of \"-\" is standard input, an OUT of \"-\" standard output.\n"},
}};

constexpr std::string_view k_options_end =
    "\"--\" ends the options; -h or --help shows this text.\n";

const CommandText* find(std::string_view command)
{
    for (const CommandText& c : k_commands) {
        if (c.name == command) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace

std::string_view general_usage()
{
    return "usage: facetor-cli check [--strict] FILE...\n"
           "       facetor-cli info FILE\n"
           "       facetor-cli dump FILE\n"
           "       facetor-cli format IN.3do OUT.3do\n"
           "       facetor-cli export FILE.3do OUT.glb|OUT.gltf [--archive GOB] [--geoset N]\n"
           "       facetor-cli import IN.gltf|IN.glb OUT.3do [--scene N] [--name NAME]\n"
           "       facetor-cli --version\n"
           "A FILE or IN of \"-\" is standard input, for every command; an OUT of \"-\" is\n"
           "standard output, for format and import. format keeps no comments or layout.\n"
           "\"--\" ends the options. \"facetor-cli COMMAND --help\" describes one command.\n";
}

std::string_view command_synopsis(std::string_view command)
{
    const CommandText* c = find(command);
    return c != nullptr ? c->synopsis : std::string_view{};
}

std::string command_help(std::string_view command)
{
    const CommandText* c = find(command);
    if (c == nullptr) {
        return {};
    }
    std::string text(c->synopsis);
    text += '\n';
    text += c->details;
    text += k_options_end;
    return text;
}

std::string version_text()
{
    return "facetor-cli " FACETOR_VERSION "\n";
}

} // namespace facetor
