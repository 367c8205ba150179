// The commands that add to the model and take from it, through the real
// menus and keys: what Save writes after each, Undo giving back the file,
// the selection of several in the views, and the keys a cell editor keeps.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "editing/qt/mesh_name_dialog.h"
#include "gui/edit_window.h"
#include "model/selection_set.h"
#include "views/render.h"

namespace facetor {
namespace {

using test::dump_file;

class Geometry : public test::EditWindow {
  protected:
    // Opens a menu of the menu bar with the mouse and clicks one of its items.
    void choose(const char* menu_name, const char* item)
    {
        be_active();
        QMenuBar* bar = w().menuBar();
        auto* menu = child<QMenu>(menu_name);
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(test::wait_for([&] { return menu->isVisible(); })) << menu_name;
        QAction* action = child<QAction>(item);
        ASSERT_TRUE(action->isEnabled()) << item;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        (void)test::wait_idle(w());
    }

    // Saves, and returns the model the file holds.
    std::unique_ptr<type_model> saved()
    {
        key(Qt::Key_S, Qt::ControlModifier);
        auto file = make_model();
        ReaderState reader;
        Progress progress;
        read_3do_file(folder_.path("dflt.3do").toStdString(), *file, reader, progress);
        return file;
    }

    // Undo, then Save: the file is the one the test started from.
    void expect_undone_to(const std::string& original)
    {
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(dump_file(folder_.path("dflt.3do")), original);
    }

    // The colour view 2 shows at a vertex of mesh 0.
    QRgb shown_at(int v)
    {
        const QImage picture = child("Image2")->grab().toImage();
        return picture.pixel(vertex(0, v).screen_x[2], vertex(0, v).screen_y[2]);
    }
};

TEST_F(Geometry, CreateVertexSavesACopyOfTheActiveOne)
{
    const std::string original = dump_file(folder_.path("dflt.3do"));
    key(Qt::Key_F9);
    key(Qt::Key_N);
    key(Qt::Key_N);
    choose("Options1", "CreateVertex1");
    EXPECT_EQ(model().sel_vertex, 17) << "the copy is the active vertex";

    const auto file = saved();
    const type_mesh& gem = file->mesh(0);
    ASSERT_EQ(gem.vertex_count, 18);
    const type_vertex &copy = gem.vertices[17], &active = gem.vertices[2];
    EXPECT_EQ(std::tuple(copy.x, copy.y, copy.z, copy.intensity),
              std::tuple(active.x, active.y, active.z, active.intensity));
    const type_normal &copied = gem.vertex_normals[17], &normal = gem.vertex_normals[2];
    EXPECT_EQ(std::tuple(copied.x, copied.y, copied.z), std::tuple(normal.x, normal.y, normal.z));
    expect_undone_to(original);
}

TEST_F(Geometry, DeleteInFaceModeRemovesTheFace)
{
    const std::string original = dump_file(folder_.path("dflt.3do"));
    key(Qt::Key_F10);
    const std::vector<int> second(model().mesh(0).faces[1].corner_vertex.begin() + 1,
                                  model().mesh(0).faces[1].corner_vertex.begin() + 4);
    key(Qt::Key_Delete);
    const auto file = saved();
    ASSERT_EQ(file->mesh(0).face_count, 24);
    const type_faces& first = file->mesh(0).faces[0];
    EXPECT_EQ(std::vector<int>(first.corner_vertex.begin() + 1, first.corner_vertex.begin() + 4),
              second);
    EXPECT_FALSE(child("ToolButton5")->isEnabled()) << "Ctrl+X stays Exit: no Cut";
    expect_undone_to(original);
}

TEST_F(Geometry, CreateMeshTakesATypedNameAndARootNodeCarriesIt)
{
    const std::string original = dump_file(folder_.path("dflt.3do"));
    QString refused;
    int answers = 0;
    watcher_.set_answer([&](QDialog* d) {
        auto* dialog = qobject_cast<MeshNameDialog*>(d);
        if (dialog == nullptr) {
            return;
        }
        // A name the grids refuse first: the dialog says why and stays.
        QTest::keyClicks(dialog->name_field(), answers++ == 0 ? "a b" : "lid");
        refused = dialog->reason()->text();
        QTest::mouseClick(dialog->findChild<QWidget*>("Button1"), Qt::LeftButton);
        dialog->name_field()->selectAll();
    });
    choose("Options1", "CreateMesh1");
    EXPECT_EQ(answers, 2);
    EXPECT_EQ(refused, "Name: 'a b' holds a space, comma, colon, tab, carriage return or '#'");
    EXPECT_EQ(model().sel_mesh, 2);

    const auto file = saved();
    ASSERT_EQ(file->geosets[0].mesh_count, 3);
    EXPECT_EQ(file->mesh(2).name, "lid");
    EXPECT_EQ(file->mesh(2).face_count, 1);
    ASSERT_EQ(file->node_count, 3);
    EXPECT_EQ(file->nodes[2].node_name, "lid");
    EXPECT_EQ(std::tuple(int{file->nodes[2].mesh}, int{file->nodes[2].parent}), std::tuple(2, -1));
    EXPECT_EQ(file->nodes[0].sibling, 2) << "the last of the roots";
    expect_undone_to(original);
}

TEST_F(Geometry, ShiftPressAddsToTheSelectionTheViewsShowItAndADragMovesIt)
{
    key(Qt::Key_F9);
    QWidget* image = child("Image2");
    const QPoint at(vertex(0, 1).screen_x[2], vertex(0, 1).screen_y[2]);
    QTest::mouseClick(image, Qt::LeftButton, Qt::ShiftModifier, at);
    (void)test::wait_idle(w());
    EXPECT_EQ(selected_indices(model(), vertex_mode), (std::vector<int>{0, 1}));
    EXPECT_EQ(shown_at(1), k_red) << "the active vertex";
    EXPECT_EQ(shown_at(0), k_dim_red) << "the rest of the selection";

    const double x0 = vertex(0, 0).x, x1 = vertex(0, 1).x;
    drag_in_view2(32, 1);
    EXPECT_EQ(vertex(0, 1).x, x1 - 32.0 / 3200);
    EXPECT_EQ(vertex(0, 0).x, x0 - 32.0 / 3200) << "moved with it";
    key(Qt::Key_N);
    EXPECT_EQ(selected_indices(model(), vertex_mode), (std::vector<int>{2}));
}

TEST_F(Geometry, SelectAllCopyAndPasteByTheirKeysWhichACellEditorKeeps)
{
    key(Qt::Key_F10);
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected_indices(model(), face_mode).size(), 25u);
    key(Qt::Key_C, Qt::ControlModifier);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(model().mesh(0).face_count, 50);
    EXPECT_EQ(model().mesh(0).vertex_count, 34);
    EXPECT_EQ(selected_indices(model(), face_mode).front(), 25) << "the pasted faces";
    key(Qt::Key_F9);
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(selected_indices(model(), vertex_mode).size(), 34u);

    // In an open cell editor the keys edit its text.
    const std::string before = test::dump_text(model());
    QLineEdit* editor = type_into("v_prop", 0, "12");
    ASSERT_NE(editor, nullptr);
    for (const auto& [k, m] : {std::pair{Qt::Key_A, Qt::ControlModifier},
                               {Qt::Key_C, Qt::ControlModifier},
                               {Qt::Key_Delete, Qt::NoModifier},
                               {Qt::Key_V, Qt::ControlModifier}}) {
        QTest::keyClick(editor, k, m);
    }
    EXPECT_EQ(editor->text(), "12");
    EXPECT_EQ(test::dump_text(model()), before);
    QTest::keyClick(editor, Qt::Key_Escape);
}

} // namespace
} // namespace facetor
