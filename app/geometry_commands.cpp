#include "app/geometry_commands.h"

#include <QAction>
#include <QMenuBar>

#include "app/edit_commands.h"
#include "app/error_guard.h"
#include "app/window_panes.h"
#include "editing/command_states.h"
#include "editing/element_edits.h"
#include "editing/mesh_creation.h"
#include "editing/qt/mesh_name_dialog.h"
#include "editing/qt/side_panel.h"
#include "views/qt/view_image.h"

namespace facetor {

GeometryCommands::GeometryCommands(QWidget* window, EditorState& state, WindowPanes& panes,
                                   EditCommands& edits, QMenuBar* menus)
    : window_(window), state_(state), panes_(panes), edits_(edits), menus_(menus)
{
    name_dialog_ = new MeshNameDialog(
        handler_guard([this] { return static_cast<QWidget*>(name_dialog_); }), window);
    bind("CreateVertex1", &GeometryCommands::CreateVertex1Click);
    bind("DeleteVertex1", &GeometryCommands::DeleteVertex1Click);
    bind("CreateFace1", &GeometryCommands::CreateFace1Click);
    bind("DeleteFace1", &GeometryCommands::DeleteFace1Click);
    bind("CarveFace1", &GeometryCommands::CarveFace1Click);
    bind("CreateMesh1", &GeometryCommands::CreateMesh1Click);
    bind("Copy1", &GeometryCommands::Copy1Click);
    bind("Paste1", &GeometryCommands::Paste1Click);
    bind("Delete1", &GeometryCommands::Delete1Click);
    bind("SelectAll1", &GeometryCommands::SelectAll1Click);
    connections_.push_back(
        QObject::connect(panes_.side_panel(), &SidePanel::refreshed, window_,
                         [this] { guarded(window_, [this] { update_actions(); }); }));
    for (int view = 1; view <= 3; ++view) {
        connections_.push_back(
            QObject::connect(panes_.image(view), &ViewImage::clicked, window_,
                             [this, view] { guarded(window_, [&] { last_view_ = view; }); }));
    }
    update_actions();
}

GeometryCommands::~GeometryCommands()
{
    for (const QMetaObject::Connection& c : connections_) {
        QObject::disconnect(c);
    }
}

void GeometryCommands::bind(const char* item, void (GeometryCommands::*handler)())
{
    QAction* action = menus_->findChild<QAction*>(QString::fromLatin1(item));
    connections_.push_back(QObject::connect(action, &QAction::triggered, window_, [this, handler] {
        guarded(window_, [this, handler] {
            panes_.side_panel()->commit_edit();
            (this->*handler)();
        });
    }));
}

void GeometryCommands::update_actions()
{
    const CommandStates s = command_states(*state_.model, state_.edit_mode, !clipboard_.empty());
    const std::pair<const char*, bool> items[] = {
        {"CreateVertex1", s.create_vertex},
        {"DeleteVertex1", s.delete_vertex},
        {"CreateFace1", s.create_face},
        {"DeleteFace1", s.delete_face},
        {"CarveFace1", s.carve_face},
        {"CreateMesh1", s.create_mesh},
        {"Copy1", s.copy},
        {"Paste1", s.paste},
        {"Delete1", s.delete_selection},
        {"SelectAll1", s.select_all},
    };
    for (const auto& [name, enabled] : items) {
        menus_->findChild<QAction*>(QString::fromLatin1(name))->setEnabled(enabled);
    }
}

void GeometryCommands::change(EditOutcome (*command)(type_model&, EditMode))
{
    if (state_.pick.dragging == 1) {
        return;
    }
    show(command(*state_.model, state_.edit_mode));
}

// A step goes into the history, which shows the model; a refusal shows in
// the status bar, and a command that went through clears it.
void GeometryCommands::show(EditOutcome outcome)
{
    panes_.show_message(QString::fromStdString(outcome.refusal));
    if (!outcome.step.empty()) {
        edits_.record(std::move(outcome.step));
    }
}

void GeometryCommands::CreateVertex1Click()
{
    change(create_vertex);
}

void GeometryCommands::DeleteVertex1Click()
{
    change(delete_vertices);
}

void GeometryCommands::CreateFace1Click()
{
    change(create_face);
}

void GeometryCommands::DeleteFace1Click()
{
    change(delete_faces);
}

void GeometryCommands::CarveFace1Click()
{
    change(carve_face);
}

void GeometryCommands::Delete1Click()
{
    change(delete_selection);
}

void GeometryCommands::CreateMesh1Click()
{
    type_model& model = *state_.model;
    if (state_.pick.dragging == 1 || !root_link(model)) {
        return;
    }
    // What no name can mend is said before the name is asked.
    for (const std::string& refusal : {mesh_room(model, 1), node_room(model, 1)}) {
        if (!refusal.empty()) {
            panes_.show_message(QString::fromStdString(refusal));
            return;
        }
    }
    const std::optional<std::string> name = name_dialog_->ask(default_mesh_name(model));
    if (!name) {
        return;
    }
    const int view = last_view_;
    const double size = new_mesh_size(panes_.image(view)->width(), state_.view.views[view].zoom);
    show(create_mesh(model, *name, view, size));
}

void GeometryCommands::Copy1Click()
{
    Clipboard copy = copy_faces(*state_.model, state_.edit_mode);
    if (!copy.empty()) {
        clipboard_ = std::move(copy);
        update_actions();
    }
}

void GeometryCommands::Paste1Click()
{
    if (state_.pick.dragging == 1) {
        return;
    }
    show(paste_faces(*state_.model, state_.edit_mode, clipboard_));
}

void GeometryCommands::SelectAll1Click()
{
    if (select_all(*state_.model, state_.edit_mode)) {
        panes_.refresh_panels();
        panes_.redraw_all_views();
    }
}

} // namespace facetor
