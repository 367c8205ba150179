// The editor at a large scale factor, as on a high-density screen: each
// test runs again in a child whose Qt scales everything by QT_SCALE_FACTOR.
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "gui/gui_support.h"
#include "textures/qt/matpicker.h"

namespace facetor {
namespace {

constexpr const char* k_scaled_child = "FACETOR_TEST_SCALED_CHILD";

// In the test process: runs test `name` again in a child at `factor` and
// checks that it passed; returns false. In the child: returns true.
bool scaled(const char* name, const char* factor)
{
    if (!qEnvironmentVariableIsEmpty(k_scaled_child)) {
        return true;
    }
    test::WindowManager wm; // one for the child too
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(k_scaled_child, "1");
    env.insert("QT_SCALE_FACTOR", factor);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=HiDpi.") + QString::fromLatin1(name)});
    EXPECT_TRUE(child.waitForFinished(110000));
    const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    return false;
}

TEST(HiDpi, AtScaleTwoTheViewsShowWhatTheyShowAtScaleOneAndPickWhereTheyDraw)
{
    if (!scaled("AtScaleTwo*", "2")) {
        return;
    }
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    test::ModalWatcher watcher;
    auto w = test::start_maximised();
    ASSERT_EQ(w->devicePixelRatio(), 2);
    const type_model& model = *w->state().model;
    for (int v = 1; v <= 3; ++v) {
        SCOPED_TRACE(v);
        // A picture of the screen's pixels, laid out from their count.
        QWidget* image = w->findChild<QWidget*>(QStringLiteral("Image%1").arg(v));
        const PixelImage& picture = w->state().images.images[v];
        EXPECT_EQ(QSize(picture.width(), picture.height()), image->size() * 2);
        EXPECT_EQ(w->state().view.views[v].pan_y, w->view_area()->width() * 2 / 4);
        // Shown one to one.
        const QImage shown = image->grab().toImage();
        const type_vertex& v5 = model.mesh(0).vertices[5];
        EXPECT_EQ(shown.pixel(v5.screen_x[v], v5.screen_y[v]) & 0xFFFFFFu, k_red & 0xFFFFFFu);
    }
    // View 3 shows the whole model there, as at scale 1.
    for (int m = 0; m < model.geosets[0].mesh_count; ++m) {
        for (int i = 0; i < model.mesh(m).vertex_count; ++i) {
            const type_vertex& vertex = model.mesh(m).vertices[i];
            EXPECT_TRUE(QRect(0, 0, w->state().images.images[3].width(),
                              w->state().images.images[3].height())
                            .contains(vertex.screen_x[3], vertex.screen_y[3]));
        }
    }

    // A click picks what is drawn under the pointer; the status bar counts
    // the window's pixels.
    QWidget* image3 = w->findChild<QWidget*>("Image3");
    QTest::mouseClick(image3, Qt::LeftButton, Qt::NoModifier, {1, 1});
    w->BvertexClick();
    const type_vertex& v5 = model.mesh(0).vertices[5];
    const QPoint at(v5.screen_x[3] / 2, v5.screen_y[3] / 2);
    QTest::mouseMove(image3, at);
    QTest::mouseClick(image3, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(w->state().model->sel_vertex, 5);
    EXPECT_EQ(w->findChild<QLabel*>("StatusPanel0")->text(), QString::number(at.x()));
    EXPECT_TRUE(watcher.seen().isEmpty());
}

TEST(HiDpi, AtScaleThreeThePickerFitsTheScreenAndKeepsOkAndCancelInView)
{
    if (!scaled("AtScaleThree*", "3")) {
        return;
    }
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    test::ModalWatcher watcher;
    auto w = test::start_maximised();
    Tmatpicker* picker = w->picker();
    const QRect area = picker->screen()->availableGeometry();
    ASSERT_GT(Tmatpicker::k_client_width, area.width()) << "the picker would fit anyway";
    picker->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picker));
    EXPECT_TRUE(test::wait_for([&] {
        return picker->frameGeometry() != picker->geometry() &&
               area.contains(picker->frameGeometry());
    }));
    for (const char* name : {"Button3", "Bcancel"}) {
        auto* button = picker->findChild<QPushButton*>(name);
        const QRect on_screen(button->mapToGlobal(QPoint()), button->size());
        EXPECT_TRUE(area.contains(on_screen)) << name;
        EXPECT_EQ(button->visibleRegion(), QRegion(button->rect())) << name;
    }
    QTest::mouseClick(picker->findChild<QPushButton*>("Bcancel"), Qt::LeftButton);
    EXPECT_FALSE(picker->isVisible());
}

} // namespace
} // namespace facetor
