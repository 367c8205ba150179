#pragma once
// Values typed into the property grids: which cells take typing, how a
// typed text becomes a field's value, and why a text is refused.
//
// Typed: v_prop's X, Y, Z; m_prop's Name, Node Name, Node Flags, Offset
// X/Y/Z, Pitch, Yaw, Roll, PivotX/Y/Z. The "+" rows change through their
// dialogs, and the node links and child count stay as the file has them.
#include <optional>
#include <string>
#include <string_view>

#include "editing/edit_modes.h"
#include "editing/edit_step.h"
#include "model/model.h"

namespace facetor {

// The field a grid row shows for the present selection ("+" rows too),
// none for the node links and child count. A node row names the selected
// node (editing/panels.h), which may be the spare slot.
std::optional<FieldRef> grid_field(const type_model& model, Page page, int row);

// Whether the value cell of the row takes typing now: a typed row of an
// element the file holds. The spare node slot, a vertex or mesh past its
// count, are not saved, so they take none.
bool takes_typing(const type_model& model, Page page, int row);

// A typed text for a field, checked. `text` is UTF-8, as the cell holds it.
struct TypedValue {
    double number = 0;   // a number field's value
    std::string text;    // a text field's value, 8-bit as the model keeps it
    std::string refusal; // why the text does not fit; empty when it does
};

// Numbers take "." or `decimal_point` as their decimal mark, an exponent,
// a sign, spaces around; they must be finite. Names must be non-empty,
// hold no byte that ends a 3DO token (space, comma, colon, tab, CR, "#")
// and no character beyond 8 bits. Node flags are "0x" and 1 to 8
// hexadecimal digits. A refusal reads "Offset X: 'abc' is not a number",
// the row's label first.
TypedValue parse_typed(Field field, std::string_view text, char decimal_point);

// What typing `text` into a row's value cell does.
struct TypedOutcome {
    EditStep step;       // applied to the model; empty when nothing changed
    std::string refusal; // the status bar's text when the text was refused
};

// Applies the text to the row's field, as one step. The text the cell
// shows for the stored value changes nothing (a real shown to 15 digits
// keeps all its bits), nor does a row that takes no typing.
TypedOutcome type_value(type_model& model, Page page, int row, std::string_view text,
                        char decimal_point);

} // namespace facetor
