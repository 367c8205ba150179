// Undo and Redo of every kind of step, values typed into the grids, the
// shortcuts from every focus state, and the 3D scene following the edits.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>

#include <cmath>
#include <vector>

#include "editing/qt/property_grid.h"
#include "gui/edit_window.h"
#include "preview3d/qt/dxdraw.h"
#include "preview3d/qt/dxdraw_renderer.h"

namespace facetor {
namespace {

class Undoing : public test::EditWindow {
  protected:
    QString undo_text() { return w().findChild<QAction*>("Undo1")->text(); }
    QString redo_text() { return w().findChild<QAction*>("Redo1")->text(); }

    // A press on a "+" label; `answer` handles the dialog it opens.
    void press_label(const char* grid, int row, test::ModalWatcher::Answer answer)
    {
        watcher_.set_answer(std::move(answer));
        auto* table = child<QTableWidget>(grid);
        const QPoint at = table->visualRect(table->model()->index(row, 0)).center();
        QTest::mousePress(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        (void)test::wait_idle(w());
    }

    static void click_in(QDialog* dialog, const char* name, QPoint at = {})
    {
        QWidget* widget = dialog->findChild<QWidget*>(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
};

TEST_F(Undoing, EachKindOfStepUndoesAndRedoesExactly)
{
    std::vector<std::string> states{test::dump_text(model())};
    QStringList names;
    const auto stepped = [&] {
        states.push_back(test::dump_text(model()));
        names << undo_text();
    };
    EXPECT_EQ(undo_text(), "&Undo");
    EXPECT_FALSE(w().findChild<QAction*>("Undo1")->isEnabled());

    key(Qt::Key_F9);
    drag_in_view2(32);
    stepped();

    key(Qt::Key_F11);
    press_label("m_prop", 2, [](QDialog* d) { // "+LightingMode": "Fully lit"
        click_in(d, "b1", {8, 8});
        click_in(d, "Button1");
    });
    stepped();

    key(Qt::Key_F10);
    // Nothing shown yet (the face's gem.mat is not in the archive): Ok
    // keeps the material, and makes no step.
    press_label("f_prop", 0, [](QDialog* d) { click_in(d, "Button3"); });
    EXPECT_EQ(test::dump_text(model()), states.back());
    EXPECT_EQ(undo_text(), names.back());
    int polls = 0;
    press_label("f_prop", 0, [&](QDialog* d) {
        if (!d->isActiveWindow() && ++polls < 200) {
            return; // a click on the list previews its entry once the picker has the focus
        }
        auto* list = d->findChild<QListWidget*>("Lista");
        list->setFocus();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center()); // wall01
        click_in(d, "Button3");
    });
    EXPECT_EQ(value("f_prop", 0), "wall01.mat");
    stepped();

    key(Qt::Key_F9);
    QLineEdit* editor = type_into("v_prop", 1, "0.5");
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    (void)test::wait_idle(w());
    stepped();

    EXPECT_EQ(names, (QStringList{"&Undo Move Vertex", "&Undo Set Lighting Mode",
                                  "&Undo Set Material", "&Undo Set Vertex Y"}));
    for (std::size_t back = states.size() - 1; back > 0; --back) {
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(test::dump_text(model()), states[back - 1]) << "undone to " << back - 1;
    }
    EXPECT_EQ(redo_text(), "&Redo Move Vertex");
    EXPECT_EQ(test::shown_title(w()), "FACETOR v0.1 Preview - dflt.3do") << "back at the file";
    for (std::size_t forward = 1; forward < states.size(); ++forward) {
        // Both shortcuts of Redo.
        key(forward % 2 != 0 ? Qt::Key_Y : Qt::Key_Z,
            forward % 2 != 0 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(test::dump_text(model()), states[forward]) << "redone to " << forward;
    }
    EXPECT_FALSE(w().findChild<QAction*>("Redo1")->isEnabled());
    EXPECT_EQ(value("v_prop", 1), "0.5");
}

TEST_F(Undoing, TypedValuesApplyOnEnterAndAreRefusedOrDroppedOtherwise)
{
    key(Qt::Key_F9);
    const type_vertex before = vertex(0, 0);
    auto* grid = child<PropertyGrid>("v_prop");

    QTest::keyClick(type_into("v_prop", 0, "0.5"), Qt::Key_Return);
    (void)test::wait_idle(w());
    EXPECT_EQ(vertex(0, 0).x, 0.5);
    EXPECT_EQ(value("v_prop", 0), "0.5");
    EXPECT_EQ(test::shown_title(w()), "FACETOR v0.1 Preview - dflt.3do*");

    QTest::keyClick(type_into("v_prop", 0, "abc"), Qt::Key_Return);
    (void)test::wait_idle(w());
    EXPECT_EQ(child<QLabel>("StatusMessage")->text(), "X: 'abc' is not a number");
    EXPECT_EQ(value("v_prop", 0), "0.5");
    EXPECT_EQ(vertex(0, 0).x, 0.5);

    QTest::keyClick(type_into("v_prop", 1, "9"), Qt::Key_Escape);
    (void)test::wait_idle(w());
    EXPECT_FALSE(grid->editing());
    EXPECT_EQ(vertex(0, 0).y, before.y);
    EXPECT_EQ(value("v_prop", 1), QString::number(before.y, 'g', 15));

    // The editor's own shortcuts act on its text, not on the model.
    QLineEdit* editor = type_into("v_prop", 2, "12");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(editor->text(), "12");
    EXPECT_EQ(vertex(0, 0).x, 0.5) << "the model's Undo did not run";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "7");
    EXPECT_EQ(editor->text(), "7");
    // Another shortcut applies the text first, then acts.
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    (void)test::wait_idle(w());
    EXPECT_EQ(vertex(0, 0).z, 7.0);
    EXPECT_EQ(test::shown_title(w()), "FACETOR v0.1 Preview - dflt.3do");
    EXPECT_EQ(test::dump_file(folder_.path("dflt.3do")), test::dump_text(model()));

    // Leaving the cell for a view applies the text as well.
    type_into("v_prop", 2, "0.25");
    QTest::mouseClick(child("Image1"), Qt::LeftButton, {}, {2, 2});
    (void)test::wait_idle(w());
    EXPECT_EQ(vertex(0, 0).z, 0.25);

    // A name, in m_prop.
    key(Qt::Key_F11);
    QTest::keyClick(type_into("m_prop", 0, "ring"), Qt::Key_Enter);
    (void)test::wait_idle(w());
    EXPECT_EQ(model().mesh(0).name, "ring");
    EXPECT_EQ(undo_text(), "&Undo Rename Mesh");
}

TEST_F(Undoing, EveryShortcutWorksFromEveryFocusState)
{
    key(Qt::Key_F9);
    drag_in_view2(32);
    // Undo waits for the end of a drag, whose step the release makes.
    QWidget* image = child("Image2");
    be_active();
    QTest::mousePress(image, Qt::LeftButton, Qt::ControlModifier, {100, 100});
    QTest::mouseMove(image, {132, 100});
    ASSERT_TRUE(QTest::qWaitFor([&] { return vertex(0, 0).x < -0.015; }, 10000));
    key(Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseRelease(image, Qt::LeftButton, Qt::ControlModifier, {132, 100});
    (void)test::wait_idle(w());
    const double dropped = vertex(0, 0).x;
    EXPECT_EQ(dropped, -32.0 / 3200 - 32.0 / 3200);
    key(Qt::Key_Z, Qt::ControlModifier); // the first drag stays, for what follows
    EXPECT_EQ(vertex(0, 0).x, -32.0 / 3200);
    key(Qt::Key_Y, Qt::ControlModifier);
    const auto focus_label = [&] { // the grid, with no cell editor open
        auto* table = child<QTableWidget>("v_prop");
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(0, 0)).center());
    };
    const std::pair<const char*, std::function<void()>> states[] = {
        {"a view",
         [&] {
             QTest::mouseClick(child("Image1"), Qt::LeftButton, {}, {2, 2});
         }},
        {"a grid", focus_label},
        {"the 3D view", [&] { QTest::mouseClick(child("DXDraw"), Qt::LeftButton); }},
    };
    for (const auto& [name, focus] : states) {
        SCOPED_TRACE(name);
        focus();
        (void)test::wait_idle(w());
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(vertex(0, 0).x, -32.0 / 3200);
        key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(vertex(0, 0).x, dropped);
        key(Qt::Key_Z, Qt::ControlModifier);
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(vertex(0, 0).x, dropped);
    }
    focus_label();
    watcher_.set_answer([](QDialog* d) { test::answer_box(d, QMessageBox::Discard); });
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Save changes to dflt.3do before closing?"});
    EXPECT_FALSE(w().isVisible());
}

bool axes_near(const Vector3& a, const Vector3& b)
{
    return std::abs(a.x - b.x) < 1e-5f && std::abs(a.y - b.y) < 1e-5f &&
           std::abs(a.z - b.z) < 1e-5f;
}

TEST_F(Undoing, The3DSceneFollowsEveryStepAndKeepsItsTurningUntilALoad)
{
    auto* dxdraw = child<DXDraw>("DXDraw");
    if (!dxdraw->has_opengl()) {
        GTEST_SKIP() << "the display offers no OpenGL";
    }
    const auto frame = [&] { return dxdraw->renderer().frames().model_frame; };
    const Placement loaded = frame()->placement();
    const QPoint centre = dxdraw->rect().center();
    QTest::mousePress(dxdraw, Qt::LeftButton, {}, centre);
    QTest::mouseMove(dxdraw, centre + QPoint(30, 20));
    QTest::mouseRelease(dxdraw, Qt::LeftButton, {}, centre + QPoint(30, 20));
    const Placement turned = frame()->placement();
    ASSERT_FALSE(axes_near(turned.axis_z, loaded.axis_z)) << "the mouse did not turn the model";

    // Vertex 0 of mesh 0 is corner 1 of face 0 (the sample's gem).
    const auto corner_x = [&] { return model().mesh(0).face3d[0]->corners().at(0).x; };
    ASSERT_EQ(model().mesh(0).faces[0].corner_vertex[1], 0);
    const float world_x = static_cast<float>(model().nodes[0].world_x);
    key(Qt::Key_F9);
    QTest::keyClick(type_into("v_prop", 0, "0.5"), Qt::Key_Return);
    (void)test::wait_idle(w());
    EXPECT_FLOAT_EQ(corner_x(), 0.5f + world_x);
    EXPECT_TRUE(axes_near(frame()->placement().axis_z, turned.axis_z));
    EXPECT_TRUE(axes_near(frame()->placement().axis_y, turned.axis_y));

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(corner_x(), world_x);
    EXPECT_TRUE(axes_near(frame()->placement().axis_z, turned.axis_z));

    watcher_.set_answer([&](QDialog* d) {
        test::choose_in(qobject_cast<QFileDialog*>(d), folder_.path("dflt.3do"));
    });
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(axes_near(frame()->placement().axis_z, loaded.axis_z)) << "a load starts unturned";
}

} // namespace
} // namespace facetor
