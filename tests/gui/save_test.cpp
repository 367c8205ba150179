// Saving: Save and Save As through the writer, the caption's modified mark,
// a failed write, and the unsaved-changes question before Open and closing.
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QWindow>

#include "gui/edit_window.h"

namespace facetor {
namespace {

using test::answer_box;
using test::dump_file;

constexpr double k_dropped_x = -32.0 / 3200; // 32 pixels right in view 2 at zoom 3200

class Saving : public test::EditWindow {
  protected:
    QString caption() { return test::shown_title(w()); }
};

TEST_F(Saving, ADraggedVertexIsWhereItWasDroppedAfterSaveAndReload)
{
    key(Qt::Key_F9);
    drag_in_view2(32);
    EXPECT_EQ(vertex(0, 0).x, k_dropped_x);
    EXPECT_EQ(caption(), "FACETOR v0.1 Preview - dflt.3do*");

    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(caption(), "FACETOR v0.1 Preview - dflt.3do");
    EXPECT_TRUE(watcher_.seen().isEmpty()) << watcher_.seen().join(", ").toStdString();

    // Open, unasked since nothing is unsaved, reads the file back.
    watcher_.set_answer([&](QDialog* d) {
        test::choose_in(qobject_cast<QFileDialog*>(d), folder_.path("dflt.3do"));
    });
    key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(test::shown_title(w()), "FACETOR v0.1 Preview - " + folder_.path("dflt.3do"));
    EXPECT_EQ(vertex(0, 0).x, k_dropped_x);
    EXPECT_EQ(dump_file(folder_.path("dflt.3do")), test::dump_text(model()));
}

TEST_F(Saving, SaveAsWritesTheNewFileWithTheDefaultSuffixAndNamesItInTheCaption)
{
    key(Qt::Key_F9);
    drag_in_view2(32);
    const std::string before = test::sample_model();
    watcher_.set_answer([&](QDialog* d) {
        if (auto* files = qobject_cast<QFileDialog*>(d)) {
            test::choose_in(files, folder_.path("copy")); // no extension typed
        }
    });
    key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    const QString copy = folder_.path("copy.3do");
    ASSERT_TRUE(QFile::exists(copy));
    EXPECT_EQ(caption(), "FACETOR v0.1 Preview - " + copy);
    EXPECT_EQ(dump_file(copy), test::dump_text(model()));
    QFile original(folder_.path("dflt.3do"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll().toStdString(), before) << "Save As leaves the old file";

    // Save goes on writing the new file.
    key(Qt::Key_F9);
    drag_in_view2(32);
    w().findChild<QAction*>("Save1")->trigger();
    EXPECT_EQ(dump_file(copy), test::dump_text(model()));
}

TEST_F(Saving, AWriteIntoAFileAsFolderShowsOneBoxAndKeepsTheModifiedMark)
{
    folder_.write("plain", "a file, not a folder");
    key(Qt::Key_F9);
    drag_in_view2(32);
    const QString target = folder_.path("plain/a.3do");
    watcher_.set_answer([&](QDialog* d) {
        if (auto* files = qobject_cast<QFileDialog*>(d)) {
            test::choose_in(files, target);
        } else {
            d->accept();
        }
    });
    key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Cannot save " + target + ": Not a directory"});
    EXPECT_EQ(caption(), "FACETOR v0.1 Preview - dflt.3do*");
    EXPECT_EQ(vertex(0, 0).x, k_dropped_x);
    EXPECT_TRUE(w().findChild<QAction*>("Undo1")->isEnabled());

    // A write that works lists what the writer had to change in one box: a
    // face's material the list lacks is added to it.
    watcher_.clear();
    model().mesh(0).faces[0].face_material = "new.mat";
    w().findChild<QAction*>("Save1")->trigger();
    (void)test::wait_idle(w());
    EXPECT_EQ(watcher_.seen(),
              QStringList{"Facetor|dflt.3do was saved, with these changes the 3DO format needed:\n"
                          "- geosets[0].meshes[0].faces[0].face_material: material \"new.mat\" is "
                          "not in the material list; added to it as material 2"});
    EXPECT_EQ(caption(), "FACETOR v0.1 Preview - dflt.3do");
}

// How each command reaches the window.
enum class Closing { open, ctrl_x, ctrl_q, close_box };

struct QuestionCase {
    const char* name;
    Closing how;
    QMessageBox::StandardButton answer;
    bool window_stays;
    bool saved; // the file holds the drag afterwards
};

TEST_F(Saving, TheUnsavedChangesQuestionWithEachAnswer)
{
    const QuestionCase cases[] = {
        {"Open, Cancel", Closing::open, QMessageBox::Cancel, true, false},
        {"Open, Discard", Closing::open, QMessageBox::Discard, true, false},
        {"Open, Save", Closing::open, QMessageBox::Save, true, true},
        {"Ctrl+X, Cancel", Closing::ctrl_x, QMessageBox::Cancel, true, false},
        {"Ctrl+X, Save", Closing::ctrl_x, QMessageBox::Save, false, true},
        {"Ctrl+Q, Discard", Closing::ctrl_q, QMessageBox::Discard, false, false},
        {"Ctrl+Q, Cancel", Closing::ctrl_q, QMessageBox::Cancel, true, false},
        {"close box, Discard", Closing::close_box, QMessageBox::Discard, false, false},
        {"close box, Save", Closing::close_box, QMessageBox::Save, false, true},
        {"close box, Cancel", Closing::close_box, QMessageBox::Cancel, true, false},
    };
    const std::string original = dump_file(folder_.path("dflt.3do"));
    for (const QuestionCase& c : cases) {
        SCOPED_TRACE(c.name);
        folder_.write("dflt.3do", test::sample_model());
        if (!w().isVisible()) {
            start();
        }
        key(Qt::Key_F9);
        drag_in_view2(32);
        watcher_.clear();
        int file_dialogs = 0;
        watcher_.set_answer([&](QDialog* d) {
            if (auto* files = qobject_cast<QFileDialog*>(d)) {
                ++file_dialogs; // Open's, after the answer let it go on
                files->reject();
            } else {
                answer_box(d, c.answer);
            }
        });
        switch (c.how) {
        case Closing::open:
            key(Qt::Key_O, Qt::ControlModifier);
            break;
        case Closing::ctrl_x:
            key(Qt::Key_X, Qt::ControlModifier);
            break;
        case Closing::ctrl_q:
            key(Qt::Key_Q, Qt::ControlModifier);
            break;
        case Closing::close_box:
            w().windowHandle()->close(); // as the window manager asks
            (void)test::wait_idle(w());
            break;
        }
        EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Save changes to dflt.3do before closing?"});
        EXPECT_EQ(w().isVisible(), c.window_stays);
        EXPECT_EQ(file_dialogs, c.how == Closing::open && c.answer != QMessageBox::Cancel ? 1 : 0);
        const std::string file = dump_file(folder_.path("dflt.3do"));
        EXPECT_EQ(file != original, c.saved);
        if (c.window_stays) {
            // Only Save clears the mark; Cancel and a cancelled Open keep the drag.
            EXPECT_EQ(caption().endsWith('*'), !c.saved);
            EXPECT_EQ(vertex(0, 0).x, k_dropped_x);
            w().findChild<QAction*>("Undo1")->trigger();
        }
    }
}

TEST_F(Saving, AnUnmodifiedModelClosesAtOnceAndAltF4AsksLikeTheCloseBox)
{
    if (!test::WindowManager::present()) {
        GTEST_SKIP() << "Alt+F4 needs a window manager";
    }
    key(Qt::Key_F9);
    drag_in_view2(32);
    watcher_.set_answer([](QDialog* d) { answer_box(d, QMessageBox::Cancel); });
    // Typed for the window manager, once the window has its focus back.
    ASSERT_TRUE(test::activate(&w()));
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {"key", "alt+F4"}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher_.seen().isEmpty(); }, 10000));
    test::settle(200);
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Save changes to dflt.3do before closing?"});
    EXPECT_TRUE(w().isVisible());

    watcher_.clear();
    w().findChild<QAction*>("Undo1")->trigger(); // back to the file: nothing to ask
    ASSERT_TRUE(test::activate(&w()));
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {"key", "alt+F4"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w().isVisible(); }, 10000));
    EXPECT_TRUE(watcher_.seen().isEmpty());
}

} // namespace
} // namespace facetor
