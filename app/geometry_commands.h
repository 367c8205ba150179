#pragma once
// The commands that add to the model and take from it, and the selection of
// several: Create and Delete Vertex, Create and Delete Face, Carve Face and
// Create Mesh... of the Options menu; Copy, Paste, Delete and Select All of
// the Edit menu. It wires their menu items to the editing core, greys
// those with nothing to act on after every change of the selection, the
// mode or the model, keeps the copied faces, and asks Create Mesh's name.
#include <QMetaObject>
#include <vector>

#include "app/editor_state.h"
#include "editing/clipboard.h"
#include "editing/element_rules.h"

class QAction;
class QMenuBar;
class QWidget;

namespace facetor {

class EditCommands;
class MeshNameDialog;
class WindowPanes;

class GeometryCommands {
  public:
    // `menus`: the menu bar that holds the items, by their objectNames.
    GeometryCommands(QWidget* window, EditorState& state, WindowPanes& panes, EditCommands& edits,
                     QMenuBar* menus);
    // Its handlers go with it: the window's widgets outlive it.
    ~GeometryCommands();
    GeometryCommands(const GeometryCommands&) = delete;
    GeometryCommands& operator=(const GeometryCommands&) = delete;

    MeshNameDialog* name_dialog() const { return name_dialog_; }

  private:
    // Runs a menu item's command through the error guard, with an open cell
    // editor's text applied first.
    void bind(const char* item, void (GeometryCommands::*handler)());
    void update_actions();
    // A command that may change the model: not while a drag runs, whose
    // step is made at the release from the indices at the press.
    void change(EditOutcome (*command)(type_model&, EditMode));
    void show(EditOutcome outcome);

    void CreateVertex1Click();
    void DeleteVertex1Click();
    void CreateFace1Click();
    void DeleteFace1Click();
    void CarveFace1Click();
    void Delete1Click();
    void CreateMesh1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();

    QWidget* window_;
    EditorState& state_;
    WindowPanes& panes_;
    EditCommands& edits_;
    QMenuBar* menus_;
    MeshNameDialog* name_dialog_ = nullptr;
    Clipboard clipboard_;
    int last_view_ = 2; // the orthographic view made active last: Create Mesh's plane
    std::vector<QMetaObject::Connection> connections_;
};

} // namespace facetor
