#include "editing/typed_values.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include "editing/panels.h"

namespace facetor {

namespace {

struct TypedRow {
    Page page;
    int row;
    Field field;
};

constexpr std::array<TypedRow, 15> k_typed_rows{{
    {Page::vertex_page, 0, Field::vertex_x},
    {Page::vertex_page, 1, Field::vertex_y},
    {Page::vertex_page, 2, Field::vertex_z},
    {Page::mesh_page, 0, Field::mesh_name},
    {Page::mesh_page, 4, Field::node_name},
    {Page::mesh_page, 5, Field::node_flags},
    {Page::mesh_page, 11, Field::offset_x},
    {Page::mesh_page, 12, Field::offset_y},
    {Page::mesh_page, 13, Field::offset_z},
    {Page::mesh_page, 14, Field::pitch},
    {Page::mesh_page, 15, Field::yaw},
    {Page::mesh_page, 16, Field::roll},
    {Page::mesh_page, 17, Field::pivot_x},
    {Page::mesh_page, 18, Field::pivot_y},
    {Page::mesh_page, 19, Field::pivot_z},
}};

const TypedRow* typed_row(Page page, int row)
{
    for (const TypedRow& r : k_typed_rows) {
        if (r.page == page && r.row == row) {
            return &r;
        }
    }
    return nullptr;
}

// The row label a field's refusals begin with.
std::string label_of(Field field)
{
    for (const TypedRow& r : k_typed_rows) {
        if (r.field == field) {
            const std::string_view label = r.page == Page::vertex_page
                                               ? v_prop_labels[static_cast<std::size_t>(r.row)]
                                               : m_prop_labels[static_cast<std::size_t>(r.row)];
            return std::string(label);
        }
    }
    return std::string(step_name(field));
}

bool ends_token(char c)
{
    return c == ' ' || c == ',' || c == ':' || c == '\t' || c == '\r' || c == '#';
}

bool is_hex_digit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// UTF-8 as the 8-bit text the model keeps; none for a character beyond
// U+00FF or bytes that are not UTF-8.
std::optional<std::string> eight_bit(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>((c & 0x1F) << 6 |
                                     (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// The tokenizer refuses longer tokens.
constexpr std::size_t k_max_text = std::size_t{16} << 20;

void parse_number(TypedValue& out, const std::string& quoted, std::string_view text, char point)
{
    std::string plain(trimmed(text));
    bool signed_twice = false;
    if (!plain.empty() && plain.front() == '+') {
        plain.erase(0, 1); // from_chars takes a minus only
        signed_twice = !plain.empty() && plain.front() == '-';
    }
    if (point != '.') {
        for (char& c : plain) {
            if (c == point) {
                c = '.';
            }
        }
    }
    const char* end = plain.data() + plain.size();
    const auto [last, error] = std::from_chars(plain.data(), end, out.number);
    if (plain.empty() || signed_twice) {
        out.refusal = quoted + " is not a number";
    } else if (error == std::errc::result_out_of_range && last == end) {
        out.refusal = quoted + " is out of range";
    } else if (error != std::errc() || last != end) {
        out.refusal = quoted + " is not a number";
    } else if (!std::isfinite(out.number)) {
        out.refusal = quoted + " is not a finite number";
    }
}

void parse_text(TypedValue& out, Field field, const std::string& quoted, std::string_view text)
{
    const std::optional<std::string> bytes = eight_bit(text);
    if (!bytes) {
        out.refusal = quoted + " holds a character a 3DO file cannot hold";
        return;
    }
    out.text = *bytes;
    if (field == Field::node_flags) {
        const std::string& t = out.text;
        const bool hex = t.size() >= 3 && t.size() <= 10 && t[0] == '0' && t[1] == 'x' &&
                         std::all_of(t.begin() + 2, t.end(), is_hex_digit);
        if (!hex) {
            out.refusal = quoted + " is not 0x and 1 to 8 hexadecimal digits";
        }
    } else if (out.text.empty()) {
        out.refusal = "a name cannot be empty";
    } else if (out.text.size() > k_max_text) {
        out.refusal = "a name cannot be longer than 16 MiB";
    } else if (std::any_of(out.text.begin(), out.text.end(), ends_token)) {
        out.refusal = quoted + " holds a space, comma, colon, tab, carriage return or '#'";
    }
}

} // namespace

std::optional<FieldRef> grid_field(const type_model& model, Page page, int row)
{
    const auto mesh = static_cast<std::uint8_t>(model.sel_mesh.get());
    const auto node = static_cast<std::uint16_t>(selected_node(model));
    switch (page) {
    case Page::vertex_page:
        if (row >= 0 && row < k_vertex_rows) {
            static constexpr Field axes[] = {Field::vertex_x, Field::vertex_y, Field::vertex_z};
            return FieldRef{axes[row], mesh, model.sel_vertex};
        }
        break;
    case Page::face_page:
        if (row >= 0 && row < k_face_rows) {
            static constexpr Field rows[] = {Field::face_material, Field::face_type,
                                             Field::face_geo, Field::face_light, Field::face_tex};
            return FieldRef{rows[row], mesh, model.sel_face};
        }
        break;
    case Page::mesh_page:
        if (row >= 0 && row <= 3) {
            static constexpr Field rows[] = {Field::mesh_name, Field::geometry_mode,
                                             Field::lighting_mode, Field::texture_mode};
            return FieldRef{rows[row], mesh, 0};
        }
        if (row >= 4 && row <= 6) {
            static constexpr Field rows[] = {Field::node_name, Field::node_flags, Field::node_type};
            return FieldRef{rows[row - 4], 0, node};
        }
        if (const TypedRow* typed = typed_row(page, row)) {
            return FieldRef{typed->field, 0, node}; // offsets, angles, pivot
        }
        break;
    }
    return std::nullopt;
}

bool takes_typing(const type_model& model, Page page, int row)
{
    if (typed_row(page, row) == nullptr) {
        return false;
    }
    const int mesh = model.sel_mesh;
    if (page == Page::vertex_page) {
        return mesh < model.geosets[0].mesh_count &&
               model.sel_vertex < model.mesh(mesh).vertex_count;
    }
    if (row == 0) {
        return mesh < model.geosets[0].mesh_count;
    }
    return selected_node(model) < model.node_count;
}

TypedValue parse_typed(Field field, std::string_view text, char decimal_point)
{
    TypedValue out;
    std::string quoted(1, '\''); // built by appending: GCC 12 sees a false overlap in "'" + s
    quoted.append(text).push_back('\'');
    if (is_text(field)) {
        parse_text(out, field, quoted, text);
    } else {
        parse_number(out, quoted, text, decimal_point);
    }
    if (!out.refusal.empty()) {
        out.refusal = label_of(field).append(": ").append(out.refusal);
    }
    return out;
}

TypedOutcome type_value(type_model& model, Page page, int row, std::string_view text,
                        char decimal_point)
{
    const std::optional<FieldRef> at = grid_field(model, page, row);
    if (!at || !takes_typing(model, page, row)) {
        return {};
    }
    const std::optional<PanelContent> shown =
        panel_content(model, page == Page::vertex_page ? vertex_mode : mesh_mode, decimal_point);
    if (shown && static_cast<std::size_t>(row) < shown->values.size() &&
        eight_bit(text) == shown->values[static_cast<std::size_t>(row)]) {
        return {};
    }
    TypedValue value = parse_typed(at->field, text, decimal_point);
    if (!value.refusal.empty()) {
        return {{}, std::move(value.refusal)};
    }
    if (is_text(at->field)) {
        return {set_field(model, *at, value.text), {}};
    }
    return {set_field(model, *at, value.number), {}};
}

} // namespace facetor
