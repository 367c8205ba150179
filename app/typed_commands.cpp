#include "app/typed_commands.h"

#include "app/edit_commands.h"
#include "app/window_panes.h"
#include "editing/qt/side_panel.h"
#include "editing/typed_values.h"

namespace facetor {

TypedValueCommands::TypedValueCommands(EditorState& state, WindowPanes& panes, EditCommands& edits)
    : state_(state), panes_(panes), edits_(edits)
{
}

void TypedValueCommands::cell_edited(Page page, int row, const QString& text)
{
    TypedOutcome outcome =
        type_value(*state_.model, page, row, text.toStdString(), SidePanel::decimal_point());
    panes_.show_message(QString::fromStdString(outcome.refusal));
    if (outcome.step.empty()) {
        // Refused or unchanged: the cell shows the stored value again.
        panes_.refresh_panels();
        return;
    }
    edits_.record(std::move(outcome.step));
}

} // namespace facetor
