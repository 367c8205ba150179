// The main window and the dialogs on the screen they are given: restored
// from maximised, laid out again, at a large scale factor, and the file
// dialogs' titles, columns and title-bar buttons.
#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "gui/gui_support.h"
#include "textures/qt/matpicker.h"
#include "views/render.h"

namespace facetor {
namespace {

using test::ModalWatcher;
using test::WindowManager;
using test::WorkFolder;

QString window_property(const QWidget* window, const char* name)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-id", QString::number(window->winId()), name});
    xprop.waitForFinished(5000);
    return QString::fromLatin1(xprop.readAllStandardOutput());
}

// Whether the window manager's frame of `window` lies on its screen whole.
bool frame_on_screen(const QWidget& window)
{
    return window.screen()->availableGeometry().contains(window.frameGeometry());
}

// How many pixels of view `view` differ from what a fresh Render of the
// model, at the size the view has now, draws.
int differences_from_fresh_render(Tloader& w, int view)
{
    const EditorState& state = w.state();
    auto model = make_model();
    *model = *state.model;
    ViewState views = state.view;
    ViewImages fresh;
    fresh.screen_width = state.images.screen_width;
    fresh.screen_height = state.images.screen_height;
    const PixelImage& canvas = state.images.canvas.image();
    fresh.canvas.resize(canvas.width(), canvas.height());
    for (int v = 1; v <= 3; ++v) {
        fresh.images[v].resize(state.images.images[v].width(), state.images.images[v].height());
    }
    redraw_all_views(*model, views, state.edit_mode, fresh);
    const QImage shown =
        w.findChild<QWidget*>(QStringLiteral("Image%1").arg(view))->grab().toImage();
    const PixelImage& expected = fresh.images[view];
    int differences =
        std::abs(shown.width() - expected.width()) + std::abs(shown.height() - expected.height());
    for (int y = 0; y < std::min(shown.height(), expected.height()); ++y) {
        for (int x = 0; x < std::min(shown.width(), expected.width()); ++x) {
            differences += (shown.pixel(x, y) & 0xFFFFFFu) != (expected.pixel(x, y) & 0xFFFFFFu);
        }
    }
    return differences;
}

TEST(WindowFit, RestoredToItsDesignSizeThenShrunkAndMaximisedTheViewsAreDrawnAfresh)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    WindowManager wm;
    ASSERT_TRUE(WindowManager::present());
    ModalWatcher watcher;
    auto w = test::start_maximised();

    // Restored, the window has its design size, centred, its frame on screen.
    w->showNormal();
    const QRect area = w->screen()->availableGeometry();
    EXPECT_TRUE(test::wait_for([&] {
        return !w->isMaximized() && w->size() == QSize(677, 502) && frame_on_screen(*w) &&
               (w->frameGeometry().center() - area.center()).manhattanLength() <= 12;
    })) << w->frameGeometry().x()
        << "," << w->frameGeometry().y() << " " << w->frameGeometry().width() << "x"
        << w->frameGeometry().height();

    ASSERT_TRUE(test::resize_and_wait(*w, {560, 420}));
    w->showMaximized();
    ASSERT_TRUE(test::wait_maximised(*w));
    for (int view = 1; view <= 3; ++view) {
        EXPECT_EQ(differences_from_fresh_render(*w, view), 0) << "view " << view;
    }
    EXPECT_TRUE(watcher.seen().isEmpty());
}

TEST(WindowFit, FileDialogsAreNamedForWhatTheyOpenShowTheirColumnsWholeAndCannotBeMinimised)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    folder.write("c/a_texture_with_a_long_name.mat", "not read");
    WindowManager wm;
    ASSERT_TRUE(WindowManager::present());
    QStringList seen;
    ModalWatcher watcher([&](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (files == nullptr) {
            dialog->accept();
            return;
        }
        // Once the window manager has framed it and the folder is listed.
        auto* tree = files->findChild<QTreeView*>(QStringLiteral("treeView"));
        const auto listed = [&] {
            return !window_property(files, "_NET_WM_ALLOWED_ACTIONS").isEmpty() &&
                   tree->model()->rowCount(tree->rootIndex()) > 0;
        };
        EXPECT_TRUE(test::wait_for(listed));
        const QString actions = window_property(files, "_NET_WM_ALLOWED_ACTIONS");
        EXPECT_FALSE(actions.contains("MINIMIZE")) << actions.toStdString();
        EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
        EXPECT_TRUE(frame_on_screen(*files));
        for (int row = 0; row < tree->model()->rowCount(tree->rootIndex()); ++row) {
            for (int column = 0; column < 4; ++column) {
                const QModelIndex cell = tree->model()->index(row, column, tree->rootIndex());
                const QString text = cell.data().toString();
                // The text and the margins a view draws around it.
                const int needed = tree->fontMetrics().horizontalAdvance(text) +
                                   (column == 0 ? tree->iconSize().width() + 12 : 8);
                EXPECT_LE(needed, tree->header()->sectionSize(column)) << text.toStdString();
            }
        }
        seen << files->windowTitle();
        files->reject();
    });
    auto w = test::start_maximised();
    w->findChild<QAction*>("Open1")->trigger();
    w->findChild<QAction*>("SaveAs1")->trigger();
    w->picker()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->picker()));
    // Nothing selected in its list: "Load From File" asks for a file.
    QTest::mouseClick(w->picker()->findChild<QWidget*>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(test::wait_for([&] { return seen.size() == 3; }));
    w->picker()->hide();
    EXPECT_EQ(seen, (QStringList{"Open Model", "Save Model As", "Open Texture"}));
}

} // namespace
} // namespace facetor
