#include "editing/edit_modes.h"

#include "model/errors.h"

namespace facetor {

namespace {

constexpr std::array<ModeSwitch, 3> k_switches{{
    {mesh_mode,
     {Page::vertex_page, Page::face_page},
     Page::mesh_page,
     "Mes&h Mode",
     "MeshMode1",
     "F11",
     "BMesh"},
    {face_mode,
     {Page::vertex_page, Page::mesh_page},
     Page::face_page,
     "&Face Mode",
     "FaceMode1",
     "F10",
     "BFace"},
    {vertex_mode,
     {Page::face_page, Page::mesh_page},
     Page::vertex_page,
     "&Vertex Mode",
     "VertexMode1",
     "F9",
     "Bvertex"},
}};

} // namespace

std::string_view page_name(Page page)
{
    switch (page) {
    case Page::mesh_page:
        return "Mesh_panel";
    case Page::face_page:
        return "face_panel";
    case Page::vertex_page:
        return "vertex_panel";
    }
    throw RangeError();
}

Page page_of(EditMode mode)
{
    return mode_switch(mode).brought_front;
}

const ModeSwitch& mode_switch(EditMode mode)
{
    if (mode > vertex_mode) {
        throw RangeError();
    }
    return k_switches[mode];
}

const std::array<ModeSwitch, 3>& mode_switches()
{
    return k_switches;
}

} // namespace facetor
