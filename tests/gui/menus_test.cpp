// The menus and toolbar as the window builds them from their tables, and
// their shortcuts pressed where keys go.
#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "gui/gui_support.h"

namespace facetor {
namespace {

using test::ModalWatcher;
using test::WorkFolder;

TEST(MainWindow, MenusHaveTheirCaptionsShortcutsAndStates)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    test::WindowManager wm;
    int dialogs = 0;
    ModalWatcher watcher([&](QDialog* dialog) {
        dialogs += qobject_cast<QFileDialog*>(dialog) != nullptr;
        dialog->reject();
    });
    auto w = test::start_maximised();
    ASSERT_TRUE(test::activate(w.get()));

    const struct {
        const char* menu;
        QStringList items; // caption|shortcut|enabled, "-" for a separator
    } menus[] = {
        {"&File",
         {"&New|Ctrl+N|0", "&Open|Ctrl+O|1", "Save &As...|Ctrl+Shift+S|1", "&Save|Ctrl+S|1", "-",
          "E&xit|Ctrl+X; Ctrl+Q|1"}},
        {"&Edit",
         {"&Undo|Ctrl+Z|0", "&Redo|Ctrl+Shift+Z; Ctrl+Y|0", "-", "&Copy|Ctrl+C|0",
          "&Paste|Ctrl+V|0", "&Delete|Del|1", "Se&lect All|Ctrl+Ins; Ctrl+A|0"}},
        {"&Mode", {"&Vertex Mode|F9|1", "&Face Mode|F10|1", "Mes&h Mode|F11|1"}},
        {"&Options",
         {"Create Vertex||0", "Delete Vertex||0", "Create Face||0", "Delete Face||0",
          "Carve Face||0", "Create Mesh...||1"}},
        {"&Help", {"Facetor Help||0", "Facetor Tutorial||0", "About...||0"}},
    };
    const QList<QAction*> top = w->menuBar()->actions();
    ASSERT_EQ(top.size(), 5);
    for (int m = 0; m < 5; ++m) {
        EXPECT_EQ(top[m]->text(), menus[m].menu);
        QStringList items;
        for (QAction* a : top[m]->menu()->actions()) {
            items << (a->isSeparator()
                          ? QStringLiteral("-")
                          : a->text() + "|" + QKeySequence::listToString(a->shortcuts()) + "|" +
                                QString::number(a->isEnabled()));
        }
        EXPECT_EQ(items, menus[m].items) << menus[m].menu;
    }
    for (const auto& [button, tip] : {std::pair{"ToolButton1", "Open (Ctrl+O)"},
                                      {"ToolButton3", "New (Ctrl+N)"},
                                      {"ToolButton4", "Save (Ctrl+S)"},
                                      {"BMesh", "Mesh Mode (F11)"},
                                      {"Bvertex", "Vertex Mode (F9)"},
                                      {"BFace", "Face Mode (F10)"}}) {
        EXPECT_EQ(w->findChild<QToolButton*>(button)->toolTip(), tip) << button;
    }
    // The mode items are one radio group with Mesh mode checked.
    EXPECT_TRUE(w->findChild<QAction*>("MeshMode1")->isChecked());
    EXPECT_FALSE(w->findChild<QAction*>("FaceMode1")->isChecked());
    EXPECT_TRUE(w->findChild<QAction*>("VertexMode1")->actionGroup()->isExclusive());

    // Every enabled shortcut does its item's work, pressed where keys go.
    const struct {
        Qt::Key key;
        EditMode mode;
        const char* checked;
    } modes[] = {{Qt::Key_F9, vertex_mode, "VertexMode1"},
                 {Qt::Key_F10, face_mode, "FaceMode1"},
                 {Qt::Key_F11, mesh_mode, "MeshMode1"}};
    for (const auto& m : modes) {
        QTest::keyClick(test::key_target(w.get()), m.key);
        EXPECT_EQ(w->state().edit_mode, m.mode) << m.checked;
        EXPECT_TRUE(w->findChild<QAction*>(m.checked)->isChecked()) << m.checked;
    }
    QTest::keyClick(test::key_target(w.get()), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(test::wait_for([&] { return dialogs == 1; }));
    // Shortcuts act in the active window, which the manager gives back a
    // while after the dialog closed.
    ASSERT_TRUE(test::activate(w.get()));
    QTest::keyClick(test::key_target(w.get()), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(test::wait_for([&] { return !w->isVisible(); }));
}

} // namespace
} // namespace facetor
