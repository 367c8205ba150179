#include "app/window_panes.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

#include "editing/qt/side_panel.h"
#include "preview3d/qt/dxdraw.h"
#include "views/pane_layout.h"
#include "views/qt/view_image.h"

namespace facetor {

namespace {

QColor button_face()
{
    return QApplication::palette().color(QPalette::Button);
}

// A length in the window's pixels, in the screen's.
int device_pixels(int length, qreal ratio)
{
    return static_cast<int>(std::lround(length * ratio));
}

void set_background(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

WindowPanes::WindowPanes(QMainWindow* window, QWidget* central, EditorState& state,
                         const HandlerGuard& dx_guard)
    : state_(state)
{
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    side_panel_ = new SidePanel(central);
    side_panel_->setFixedWidth(165);
    row->addWidget(side_panel_);
    build_view_area(central, dx_guard);
    row->addWidget(views_, 1);
    build_status_bar(window);
}

void WindowPanes::build_view_area(QWidget* parent, const HandlerGuard& dx_guard)
{
    views_ = new QWidget(parent);
    views_->setObjectName(QStringLiteral("Views"));
    for (int i = 1; i <= 4; ++i) {
        Pane& pane = panes_[i];
        pane.dock = new QFrame(views_);
        pane.dock->setObjectName(QStringLiteral("Dock%1").arg(i));
        set_background(pane.dock, button_face());
        pane.panel = new QFrame(pane.dock);
        pane.panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        pane.panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane.panel->setLineWidth(1);
        set_background(pane.panel, Qt::black);
        pane.panel->move(3, 3);
        auto* fill = new QHBoxLayout(pane.panel);
        fill->setContentsMargins(0, 0, 0, 0);
        if (i <= 3) {
            auto* image = new ViewImage(state_.images.images[i], pane.panel);
            image->setObjectName(QStringLiteral("Image%1").arg(i));
            images_[i] = image;
            pane.view = image;
        } else {
            dxdraw_ = new DXDraw(dx_guard, pane.panel);
            pane.view = dxdraw_;
        }
        fill->addWidget(pane.view);
    }
}

void WindowPanes::build_status_bar(QMainWindow* window)
{
    auto* bar = new QStatusBar(window);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(18);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(50);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel);
        status_panels_[i] = panel;
    }
    // Beside the panels, the message of the last typed value refused.
    message_ = new QLabel(bar);
    message_->setObjectName(QStringLiteral("StatusMessage"));
    bar->addWidget(message_, 1);
    window->setStatusBar(bar);
}

void WindowPanes::lay_out()
{
    const int w = views_->width();
    const int h = views_->height();
    const qreal ratio = views_->devicePixelRatioF();
    const QSize screen_size = views_->screen()->size();
    state_.images.screen_width = device_pixels(screen_size.width(), ratio);
    state_.images.screen_height = device_pixels(screen_size.height(), ratio);
    const PaneLayout layout = pane_layout(w, h);
    for (int i = 1; i <= 4; ++i) {
        const PaneRect& r = layout.docks[static_cast<std::size_t>(i)];
        panes_[i].dock->setGeometry(r.left, r.top, r.width, r.height);
    }
    // At scale 1 the picture's layout is the panes' own.
    const int picture_w = device_pixels(w, ratio);
    const int picture_h = device_pixels(h, ratio);
    const PaneLayout pictures = pane_layout(picture_w, picture_h);
    state_.images.canvas.resize(pictures.canvas_width, pictures.canvas_height);
    layout_views(state_.view, picture_w, picture_h);
    for (int i = 1; i <= 4; ++i) {
        panes_[i].panel->resize(layout.inner_width, layout.inner_height);
    }
    // Each picture is as large as its view, inside the inner panel's bevel.
    for (int i = 1; i <= 3; ++i) {
        const QSize inside = panes_[i].panel->contentsRect().size();
        state_.images.images[i].resize(device_pixels(inside.width(), ratio),
                                       device_pixels(inside.height(), ratio));
    }
}

void WindowPanes::refresh_panels()
{
    side_panel_->refresh_panels(*state_.model, state_.edit_mode);
}

void WindowPanes::redraw_all_views()
{
    // Views drawn before a failing one keep their new pictures: put them on
    // screen on every way out.
    struct Show {
        const std::array<ViewImage*, 4>& images;
        ~Show()
        {
            for (int i = 1; i <= 3; ++i) {
                images[i]->update();
            }
        }
    } show{images_};
    facetor::redraw_all_views(*state_.model, state_.view, state_.edit_mode, state_.images);
}

void WindowPanes::render_active_view()
{
    Render(*state_.model, state_.view, state_.edit_mode, state_.images);
    images_[state_.view.active_view]->update();
}

QPoint WindowPanes::picture_point(QPoint point) const
{
    const qreal ratio = views_->devicePixelRatioF();
    return {static_cast<int>(std::floor(point.x() * ratio)),
            static_cast<int>(std::floor(point.y() * ratio))};
}

void WindowPanes::activate_view(int view)
{
    for (int i = 1; i <= 4; ++i) {
        set_background(panes_[i].dock, i == view ? QColor(255, 0, 0) : button_face());
    }
    side_panel_->set_geoset_colour(button_face());
    state_.view.active_view = view;
    side_panel_->focuser()->setFocus();
}

void WindowPanes::mark_grid_focus()
{
    for (int i = 1; i <= 4; ++i) {
        set_background(panes_[i].dock, button_face());
    }
    side_panel_->set_geoset_colour(QColor(255, 0, 0));
    state_.view.active_view = 0;
}

void WindowPanes::toggle_image2()
{
    images_[2]->setVisible(!images_[2]->isVisible());
}

void WindowPanes::set_status(int panel, const QString& text)
{
    status_panels_[panel]->setText(text);
}

void WindowPanes::show_message(const QString& text)
{
    message_->setText(text);
}

} // namespace facetor
