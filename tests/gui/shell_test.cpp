// The window shell as users meet it: started maximised under a window
// manager, errors inside handlers, held and repeated keys, shortcuts
// whatever has the focus, and which clicks activate a view.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

#include "app/loader.h"
#include "gui/gui_support.h"

namespace facetor {
namespace {

using test::ModalWatcher;
using test::WindowManager;
using test::WorkFolder;

TEST(ShellStartUp, AFailedStartUpLoadGivesOneBoxThenCtrlOAsksForAFile)
{
    const struct {
        const char* name;
        const char* content; // nullptr: no file, "": our sample
        bool archive;
        const char* box;
        const char* detail;      // how the box's second line begins: the file it names
        QStringList before_open; // a file read part-way is no file's model
    } cases[] = {
        {"missing", nullptr, true, "Facetor|File not found", "dflt.3do: ", {}},
        {"malformed",
         "SECTION: HEADER\n3DO 2.1\n",
         true,
         "Facetor|ERROR",
         "dflt.3do:1:16: ",
         {"Facetor|Save changes to dflt.3do before closing?"}},
        {"no texture archive",
         "",
         false,
         "Facetor|File not found",
         "d/gamedata/resource/res2.gob: ",
         {}},
    };
    WindowManager wm;
    ASSERT_TRUE(WindowManager::present());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WorkFolder folder;
        if (c.content != nullptr) {
            folder.write("dflt.3do", *c.content ? c.content : test::sample_model());
        }
        if (!c.archive) {
            folder.remove(WorkFolder::k_archive);
        }
        ModalWatcher watcher;
        auto w = test::start_maximised();
        // The window manager fits the window to the screen meanwhile: each
        // size change would try a failed load again.
        EXPECT_TRUE(test::wait_for([&] { return !watcher.seen().isEmpty(); }));
        EXPECT_TRUE(test::wait_maximised(*w));
        EXPECT_EQ(watcher.seen(), QStringList{c.box});
        EXPECT_TRUE(watcher.details().constFirst().startsWith(c.detail))
            << watcher.details().constFirst().toStdString();
        EXPECT_TRUE(test::shown_title(*w).startsWith("FACETOR v0.1 Preview - dflt.3do"));

        // Tried once: a restore lays the window out again and reads nothing.
        w->showNormal();
        EXPECT_TRUE(test::wait_for([&] { return !w->isMaximized(); }));
        EXPECT_TRUE(test::wait_idle(*w));
        EXPECT_EQ(watcher.seen(), QStringList{c.box});

        // Ctrl+O asks for a file, as it does after any load.
        watcher.clear();
        folder.write("dflt.3do", test::sample_model());
        bool asked = false;
        watcher.set_answer([&](QDialog* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog);
                box && box->button(QMessageBox::Discard)) {
                box->button(QMessageBox::Discard)->click();
            } else if (auto* files = qobject_cast<QFileDialog*>(dialog); files && !asked) {
                asked = true;
                files->selectFile(folder.path("dflt.3do"));
                QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            }
        });
        ASSERT_TRUE(test::activate(w.get()));
        QTest::keyClick(test::key_target(w.get()), Qt::Key_O, Qt::ControlModifier);
        EXPECT_TRUE(test::wait_for(
            [&] { return asked && w->settled() && w->state().model->geosets[0].mesh_count == 2; }));
        EXPECT_EQ(watcher.seen(), c.before_open);
    }
}

// The sample model, maximised under a window manager, the window active.
class Shell : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_.write("dflt.3do", test::sample_model());
        w_ = test::start_maximised();
        ASSERT_TRUE(test::activate(w_.get()));
    }

    Tloader& w() { return *w_; }
    EditorState& state() { return w_->state(); }
    QTimer* timer(const char* name) { return w_->findChild<QTimer*>(name); }
    QWidget* target() { return test::key_target(w_.get()); }

    // A vertex of mesh 0 that view 2 cannot place at its present zoom: any
    // redraw of that view fails with "Invalid floating point operation".
    void make_view2_unprojectable()
    {
        state().model->mesh(0).vertices[0].x = 2.0;
        state().view.views[2].zoom = 1677721600; // 3200 doubled 19 times
    }

    void send_key(QEvent::Type type, Qt::Key key, bool auto_repeat)
    {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), auto_repeat);
        QApplication::sendEvent(target(), &event);
    }

    WorkFolder folder_;
    WindowManager wm_;
    ModalWatcher watcher_;
    std::unique_ptr<Tloader> w_;
};

TEST_F(Shell, AFailingRedrawAfterAClickIsReportedAndTheWindowGoesOn)
{
    make_view2_unprojectable();
    QTest::mouseClick(w().findChild<QWidget*>("Image2"), Qt::LeftButton, Qt::NoModifier, {5, 5});
    (void)test::wait_idle(w());
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Invalid floating point operation"});

    // Still answering: a mode switch redraws views 1 and 3 and fails at 2
    // again. (The window manager gives the window back its focus first.)
    watcher_.clear();
    ASSERT_TRUE(test::activate(w_.get()));
    QTest::keyClick(target(), Qt::Key_F10);
    (void)test::wait_idle(w());
    EXPECT_EQ(state().edit_mode, face_mode);
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Invalid floating point operation"});
}

TEST_F(Shell, AFailingTickStopsItsMotionOrDragWithOneBox)
{
    make_view2_unprojectable();
    // The motion tick renders view 2; the drag tick redraws all three.
    QTest::keyPress(target(), Qt::Key_Left);
    EXPECT_TRUE(test::wait_for([&] { return !watcher_.seen().isEmpty(); }));
    // Ticks that went on would show more boxes: the timer must be off.
    EXPECT_TRUE(test::wait_for([&] { return !timer("Timer1")->isActive(); }));
    (void)test::wait_idle(w());
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Invalid floating point operation"});
    EXPECT_EQ(state().nav.key_held, 0);
    EXPECT_FALSE(timer("Timer1")->isActive());
    QTest::keyRelease(target(), Qt::Key_Left);

    watcher_.clear();
    QTest::mousePress(w().findChild<QWidget*>("Image3"), Qt::LeftButton, Qt::ControlModifier,
                      {5, 5});
    EXPECT_TRUE(test::wait_for([&] { return watcher_.seen().size() >= 2; }));
    EXPECT_TRUE(test::wait_for([&] { return !timer("mover")->isActive(); }));
    (void)test::wait_idle(w());
    // The press itself redraws and fails once, then the first tick fails.
    EXPECT_EQ(watcher_.seen().size(), 2) << watcher_.seen().join(", ").toStdString();
    EXPECT_EQ(state().pick.dragging, 0);
    EXPECT_FALSE(timer("mover")->isActive());
}

TEST_F(Shell, RepeatedKeyDownsKeepTheTimerTickingAndOnlyARealReleaseStopsIt)
{
    // X repeats a held key as release-press pairs, often faster than the
    // timer's period: neither half may stop it or start its period again.
    QTimer* timer1 = timer("Timer1");
    send_key(QEvent::KeyPress, Qt::Key_Left, false);
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(7);
        const int left = timer1->remainingTime();
        send_key(QEvent::KeyRelease, Qt::Key_Left, true);
        EXPECT_EQ(state().nav.key_held, 1);
        EXPECT_TRUE(timer1->isActive());
        send_key(QEvent::KeyPress, Qt::Key_Left, true);
        EXPECT_LE(timer1->remainingTime(), left) << "restarted";
    }
    send_key(QEvent::KeyRelease, Qt::Key_Left, false);
    EXPECT_EQ(state().nav.key_held, 0);
    EXPECT_FALSE(timer1->isActive());
}

TEST_F(Shell, CtrlXExitsWithFocuserFocusedAndAfterAViewClick)
{
    for (const bool click_first : {false, true}) {
        SCOPED_TRACE(click_first ? "after a view click" : "at start-up");
        if (!w().isVisible()) {
            w_ = test::start_maximised();
            ASSERT_TRUE(test::activate(w_.get()));
        }
        if (click_first) {
            QTest::mouseClick(w().findChild<QWidget*>("Image1"), Qt::LeftButton);
        }
        ASSERT_EQ(QApplication::focusWidget(), w().findChild<QLineEdit*>("Focuser"));
        QTest::keyClick(target(), Qt::Key_X, Qt::ControlModifier);
        (void)test::wait_for([&] { return !w().isVisible(); });
        EXPECT_FALSE(w().isVisible());
    }
}

TEST_F(Shell, ShortcutsOfGreyedItemsDoNothing)
{
    // Shift with an arrow makes the ticks turn; any other key reaching the
    // key handler would set them back to panning.
    QTest::keyClick(target(), Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_EQ(state().nav.motion_kind, 1);
    QTest::keyClick(target(), Qt::Key_Delete);
    EXPECT_EQ(state().nav.motion_kind, 1);
    // Ctrl+N would step the selected mesh.
    QTest::keyClick(target(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(state().model->sel_mesh, 0);
}

TEST_F(Shell, InAFocusedGridTheViewsKeysTypeTheirCharactersAndMoveNothing)
{
    w().BvertexClick();
    auto* grid = w().findChild<QTableWidget*>("v_prop");
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_TRUE(test::wait_for([&] { return QApplication::focusWidget() == grid; }));
    ASSERT_EQ(state().view.active_view, 0);
    const int pan_x = state().view.views[2].pan_x;

    // N and P would step the selected vertex: in a grid N types its
    // character instead, and from then on every key is the cell editor's
    // own, so Left moves its cursor and puts the P before the N.
    QTest::keyClick(target(), Qt::Key_N);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(target(), Qt::Key_Left);
    QTest::keyClick(target(), Qt::Key_P);
    EXPECT_EQ(editor->text(), "pn");
    EXPECT_EQ(state().model->sel_vertex, 0);
    EXPECT_EQ(state().view.views[2].pan_x, pan_x);
    // The window then goes with the editor still open, which hands in its
    // text as it loses the focus.
}

TEST_F(Shell, OnlyALeftClickActivatesAView)
{
    auto* image1 = w().findChild<QWidget*>("Image1");
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(image1, button);
        EXPECT_EQ(state().view.active_view, 2) << button;
    }
    QTest::mouseClick(image1, Qt::LeftButton);
    EXPECT_EQ(state().view.active_view, 1);
    EXPECT_EQ(w().findChild<QFrame*>("Dock1")->palette().color(QPalette::Window),
              QColor(255, 0, 0));
}

TEST_F(Shell, NFromAFaceBeyondTheCountStartsAgainAtZero)
{
    QTest::keyClick(target(), Qt::Key_F10);
    ASSERT_LT(state().model->mesh(0).face_count, 40);
    state().model->sel_face = 40;
    QTest::keyClick(target(), Qt::Key_N);
    EXPECT_EQ(state().model->sel_face, 0);
    EXPECT_TRUE(watcher_.seen().isEmpty());
}

} // namespace
} // namespace facetor
