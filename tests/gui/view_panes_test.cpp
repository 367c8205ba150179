// The four view panes as the window shows them after a resize: each view in
// its quarter of the view area, the active one framed in red, its picture
// drawn where its pane now is.
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "app/loader.h"
#include "gui/gui_support.h"
#include "views/canvas.h"

namespace facetor {
namespace {

std::uint32_t rgb(std::uint32_t argb)
{
    return argb & 0xFFFFFFu;
}

TEST(ViewPanes, AfterAResizeEachViewDrawsInItsQuarter)
{
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    test::ModalWatcher watcher;
    auto w = test::start_editor();
    QWidget* area = w->view_area();
    const std::uint32_t face = rgb(QApplication::palette().color(QPalette::Button).rgb());
    // A click makes the 3D view the active one, framed in red.
    auto* dxdraw = w->findChild<QWidget*>("DXDraw");
    QTest::mouseClick(dxdraw, Qt::LeftButton, Qt::NoModifier, dxdraw->rect().center());
    ASSERT_TRUE(test::wait_idle(*w));

    const QSize sizes[] = {{640, 480}, {505, 401}, {901, 611}};
    for (const QSize size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        ASSERT_TRUE(test::resize_and_wait(*w, w->size() + size - area->size()));
        ASSERT_EQ(area->size(), size);
        w->BMeshClick(); // a resize does not redraw; a mode switch does
        ASSERT_TRUE(test::wait_idle(*w));
        const QImage shown = area->grab().toImage();

        // View 2 top left, 3 top right, 1 bottom left, the 3D view bottom
        // right: each quarter's frame shows along its top and left.
        const int half_w = size.width() / 2;
        const int half_h = size.height() / 2;
        const struct {
            const char* image;
            int view;
            QRect quarter;
            std::uint32_t frame;
        } quarters[] = {
            {"Image2", 2, {0, 0, half_w, half_h}, face},
            {"Image3", 3, {half_w, 0, half_w, half_h}, face},
            {"Image1", 1, {0, half_h, half_w, half_h}, face},
            {"DXDraw", 4, {half_w, half_h, half_w, half_h}, rgb(k_red)},
        };
        for (const auto& q : quarters) {
            SCOPED_TRACE(q.image);
            EXPECT_EQ(rgb(shown.pixel(q.quarter.topLeft() + QPoint(1, 1))), q.frame);
            const auto* view = w->findChild<QWidget*>(q.image);
            EXPECT_TRUE(q.quarter.contains(QRect(view->mapTo(area, QPoint()), view->size())));
            if (q.view == 4) {
                continue;
            }
            // The selected mesh's vertices are red, drawn about the new
            // offsets: the gem's fifth shows in its view's quarter.
            const type_vertex& v = w->state().model->mesh(0).vertices[5];
            const QPoint at = view->mapTo(area, QPoint(v.screen_x[q.view], v.screen_y[q.view]));
            ASSERT_TRUE(q.quarter.contains(at)) << at.x() << "," << at.y();
            EXPECT_EQ(rgb(shown.pixel(at)), rgb(k_red));
        }
    }
    EXPECT_TRUE(watcher.seen().isEmpty());
}

} // namespace
} // namespace facetor
