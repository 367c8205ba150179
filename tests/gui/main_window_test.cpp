// The main window: start-up, the default model, Open and layout.
#include <QAbstractItemView>
#include <QAction>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "gui/gui_support.h"

namespace facetor {
namespace {

using test::ModalWatcher;
using test::WorkFolder;

int progress(const Tloader& w)
{
    return w.findChild<QProgressBar*>("PB")->value();
}

// True when the view's picture holds anything but black.
bool drawn(const Tloader& w, int view)
{
    const PixelImage& image = w.state().images.images[view];
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != k_black) {
                return true;
            }
        }
    }
    return false;
}

// Picks `path` in the open dialog, or cancels it when `path` is empty.
ModalWatcher::Answer choose_file(const QString& path)
{
    return [path](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (auto* box = qobject_cast<QMessageBox*>(dialog);
            box && box->button(QMessageBox::Discard)) {
            box->button(QMessageBox::Discard)->click(); // the unsaved-changes question
            return;
        }
        if (files == nullptr) {
            dialog->accept();
            return;
        }
        if (path.isEmpty()) {
            files->reject();
        } else {
            // Typed into the name field, as a user would (selectFile leaves
            // a focused name field alone).
            if (auto* list = files->findChild<QAbstractItemView*>("listView")) {
                list->clearSelection();
            }
            files->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            QMetaObject::invokeMethod(files, "accept");
        }
    };
}

TEST(MainWindow, StartUpLoadsTheDefaultModelWithoutADialog)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    ModalWatcher watcher;
    auto w = test::start_editor();

    EXPECT_TRUE(watcher.seen().isEmpty());
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - dflt.3do");
    EXPECT_EQ(w->state().first_load, 0);
    EXPECT_EQ(w->state().model->geosets[0].mesh_count, 2);
    EXPECT_EQ(progress(*w), 100);
    for (int view = 1; view <= 3; ++view) {
        EXPECT_TRUE(drawn(*w, view)) << "view " << view;
    }
    EXPECT_EQ(w->state().view.active_view, 2);
}

TEST(MainWindow, CancellingTheOpenDialogChangesNothing)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    ModalWatcher watcher(choose_file(QString()));
    auto w = test::start_editor();
    const QString caption = test::shown_title(*w);
    const auto before = w->state().images.images[2].pixel(10, 10);
    w->state().progress.set(42);

    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);

    EXPECT_EQ(test::shown_title(*w), caption);
    EXPECT_EQ(progress(*w), 42);
    EXPECT_EQ(w->state().model->geosets[0].mesh_count, 2);
    EXPECT_EQ(w->state().images.images[2].pixel(10, 10), before);
}

TEST(MainWindow, OpenShowsTheFullPathAndDrawsAllViewsAfresh)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    // The same model with a narrower gem: every view looks different.
    std::string other_model = test::sample_model();
    for (std::size_t at = other_model.find("0.040000"); at != std::string::npos;
         at = other_model.find("0.040000", at)) {
        other_model.replace(at, 8, "0.020000");
    }
    folder.write("other.3do", other_model);
    ModalWatcher watcher;
    auto w = test::start_editor();
    const QString other = folder.path("other.3do");
    watcher.set_answer(choose_file(other));
    w->state().progress.set(5);
    w->state().view.views[1].angle_y = 30;
    std::array<PixelImage, 4> before = w->state().images.images;

    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);

    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - " + other);
    EXPECT_EQ(progress(*w), 100);
    EXPECT_EQ(w->state().view.views[1].angle_y, 0);
    for (int view = 1; view <= 3; ++view) {
        const PixelImage& after = w->state().images.images[view];
        EXPECT_TRUE(drawn(*w, view)) << "view " << view;
        EXPECT_FALSE(std::equal(after.data(), after.data() + after.width() * after.height(),
                                before[view].data()))
            << "view " << view;
    }
}

TEST(MainWindow, LayoutSplitsTheViewAreaWithIntegerDivision)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    ModalWatcher watcher;
    auto w = test::start_editor();
    QWidget* area = w->view_area();
    ASSERT_TRUE(test::resize_and_wait(
        *w, {w->width() + (505 - area->width()), w->height() + (401 - area->height())}));
    ASSERT_EQ(area->width(), 505);
    ASSERT_EQ(area->height(), 401);

    const struct {
        const char* name;
        QRect geometry;
    } panes[] = {
        {"Dock2", QRect(0, 0, 252, 200)},
        {"Dock3", QRect(252, 0, 252, 200)},
        {"Dock1", QRect(0, 200, 252, 200)},
        {"Dock4", QRect(252, 200, 252, 200)},
    };
    for (const auto& pane : panes) {
        EXPECT_EQ(w->findChild<QFrame*>(pane.name)->geometry(), pane.geometry) << pane.name;
    }
    for (int i = 1; i <= 4; ++i) {
        auto* inner = w->findChild<QFrame*>(QStringLiteral("Panel%1").arg(i));
        EXPECT_EQ(inner->geometry(), QRect(3, 3, 249, 197)) << i;
    }
    EXPECT_EQ(w->state().images.canvas.image().width(), 252);
    // Each view's picture matches the view inside its panel's bevel.
    for (int i = 1; i <= 3; ++i) {
        const auto* image = w->findChild<QWidget*>(QStringLiteral("Image%1").arg(i));
        EXPECT_EQ(w->state().images.images[i].width(), image->width()) << i;
        EXPECT_EQ(w->state().images.images[i].height(), image->height()) << i;
    }
    for (int v = 1; v <= 3; ++v) {
        EXPECT_EQ(w->state().view.views[v].pan_x, 100);
        EXPECT_EQ(w->state().view.views[v].pan_y, 126);
        EXPECT_EQ(w->state().view.views[v].pan_z, 126);
    }
}

TEST(MainWindow, ResizeRestoresZoomAndPanButKeepsAngles)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    ModalWatcher watcher;
    auto w = test::start_editor();
    type_view& view = w->state().view.views[3];
    view.zoom = 25600;
    view.pan_x = -7;
    view.angle_x = 45;
    view.pan_step_x = 8;

    ASSERT_TRUE(test::resize_and_wait(*w, {w->width() - 10, w->height()}));

    const QWidget* area = w->view_area();
    EXPECT_EQ(view.zoom, 3200);
    EXPECT_EQ(view.pan_x, area->height() / 4);
    EXPECT_EQ(view.pan_z, area->width() / 4);
    EXPECT_EQ(view.angle_x, 45);
    EXPECT_EQ(view.pan_step_x, 8);
}

TEST(MainWindow, AnErrorInAHandlerIsShownAndTheWindowGoesOn)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    std::string bad = test::sample_model();
    bad.replace(bad.find("MATERIALS 2"), 11, "MATERIALS 65");
    folder.write("bad.3do", bad);
    ModalWatcher watcher;
    auto w = test::start_editor();
    watcher.set_answer(choose_file(folder.path("bad.3do")));

    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);
    EXPECT_TRUE(watcher.seen().contains("Facetor|Range check error"))
        << watcher.seen().join(", ").toStdString();
    // What a failed load leaves is no file's model: marked modified.
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - dflt.3do*");

    // The window still answers: a good file opens, once the changes are
    // let go.
    watcher.clear();
    watcher.set_answer(choose_file(folder.path("dflt.3do")));
    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);
    EXPECT_EQ(watcher.seen(), QStringList{"Facetor|Save changes to dflt.3do before closing?"});
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - " + folder.path("dflt.3do"));
}

constexpr const char* k_no_gl_child = "FACETOR_MAIN_WINDOW_NO_GL_CHILD";

// Runs in a second copy of this program whose X display offers no OpenGL.
TEST(MainWindowWithoutOpenGL, EachBuildReportsNoDeviceOnceAndTheViewsWork)
{
    if (qEnvironmentVariableIsEmpty(k_no_gl_child)) {
        GTEST_SKIP() << "runs inside OtherViewsGoOnWithoutOpenGL";
    }
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    ModalWatcher watcher;
    auto w = test::start_editor();
    EXPECT_EQ(watcher.seen(), QStringList{"Facetor|3D device not found"});
    for (int view = 1; view <= 3; ++view) {
        EXPECT_TRUE(drawn(*w, view)) << "view " << view;
    }
    EXPECT_EQ(progress(*w), 100);
    EXPECT_EQ(w->state().view.active_view, 2);

    watcher.clear();
    watcher.set_answer(choose_file(folder.path("dflt.3do")));
    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);
    EXPECT_EQ(watcher.seen(), QStringList{"Facetor|3D device not found"});
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - " + folder.path("dflt.3do"));
}

TEST(MainWindowWithoutOpenGL, OtherViewsGoOnWithoutOpenGL)
{
    if (!qEnvironmentVariableIsEmpty(k_no_gl_child)) {
        GTEST_SKIP();
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(k_no_gl_child, "1");
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QT_XCB_GL_INTEGRATION", "none");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=MainWindowWithoutOpenGL.EachBuild*"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    // What the boxes said also reached standard error, once per build.
    int lines = 0;
    for (std::size_t at = output.find("facetor: 3D device not found"); at != std::string::npos;
         at = output.find("facetor: 3D device not found", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 2) << output;
}

} // namespace
} // namespace facetor
