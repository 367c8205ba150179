// Formats every input that loads and checks the round trip: the written text
// loads into a fresh model with the same dump, and writing that model again
// gives the same text.
//
// A fresh model is megabytes, which a run used to make twice, fill with
// zeros and free again: nearly all of its time. Here two models live for the
// whole run, and after each input go back to fresh by clearing what a load
// stores, the counts and the slots within them; the dumps look at those slots
// only. That a load stores nothing past its counts is the reader's own
// promise, which the model tests check over every sample with full dumps.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "model/dump.h"
#include "model/errors.h"
#include "model/reader.h"
#include "model/writer.h"

namespace {

using facetor::type_model;

std::string dump_of(const type_model& model)
{
    std::ostringstream out;
    facetor::dump_model(model, out, facetor::DumpSlots::counted);
    return out.str();
}

std::string written(const type_model& model)
{
    std::ostringstream out;
    facetor::write_3do(model, out);
    return out.str();
}

// Loads into a fresh model, as the editor's first load does.
bool load(std::string_view bytes, type_model& model)
{
    facetor::ReaderState state;
    facetor::Progress progress;
    try {
        facetor::read_3do_bytes(bytes, model, state, progress);
        return true;
    } catch (const facetor::RuntimeError&) {
        return false;
    }
}

template <class Slot, std::size_t N> void clear(std::array<Slot, N>& slots, int count)
{
    std::fill_n(slots.begin(), count, Slot{});
}

void clear_mesh(facetor::type_mesh& mesh)
{
    clear(mesh.vertices, mesh.vertex_count);
    clear(mesh.vertex_normals, mesh.vertex_count);
    clear(mesh.tvertices, mesh.tvertex_count);
    clear(mesh.faces, mesh.face_count);
    clear(mesh.face_normals, mesh.face_count);
    mesh.name.clear();
    mesh.radius = 0;
    mesh.geometry_mode = 0;
    mesh.lighting_mode = 0;
    mesh.texture_mode = 0;
    mesh.vertex_count = 0;
    mesh.tvertex_count = 0;
    mesh.face_count = 0;
}

// Puts a model that was fresh before its last load, whether the load ended
// well or not, back to fresh: a load stores every value within the counts it
// has stored so far.
void clear_load(type_model& model)
{
    for (int g = 0; g < model.geoset_count; ++g) {
        facetor::type_geosets& geoset = model.geosets[g];
        for (int m = 0; m < geoset.mesh_count; ++m) {
            clear_mesh(geoset.meshes[m]);
        }
        geoset.mesh_count = 0;
    }
    // Faces take their names from slots past the count as well: every slot
    // must be as empty as a fresh model's.
    clear(model.materials, model.material_count);
    clear(model.nodes, model.node_count);
    model.geoset_count = 0;
    model.material_count = 0;
    model.node_count = 0;
    model.radius = 0;
    model.insert_offset_x = 0;
    model.insert_offset_y = 0;
    model.insert_offset_z = 0;
    model.sel_mesh = 0;
    model.sel_face = 0;
    model.sel_vertex = 0;
}

// Both models fresh again on every way out of a run.
struct Models {
    std::unique_ptr<type_model> original = facetor::make_model();
    std::unique_ptr<type_model> again = facetor::make_model();
};

struct ClearAfterRun {
    Models& models;
    ~ClearAfterRun()
    {
        clear_load(*models.original);
        clear_load(*models.again);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Models models;
    const ClearAfterRun clear_after{models};
    type_model& original = *models.original;
    type_model& again = *models.again;
    if (!load({reinterpret_cast<const char*>(data), size}, original)) {
        return 0;
    }
    const std::string text = written(original);
    if (!load(text, again) || dump_of(again) != dump_of(original) || written(again) != text) {
        std::abort();
    }
    return 0;
}
