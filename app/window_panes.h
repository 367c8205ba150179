#pragma once
// What the main window shows of the editor's state: the side panel, the
// view area with its four panes (Dock1..Dock4 holding Panel1..Panel4 and the
// views Image1..Image3 and DXDraw) and the status bar's panels.
#include <QPoint>
#include <QString>
#include <array>

#include "app/editor_state.h"
#include "uisupport/handler_guard.h"

class QFrame;
class QLabel;
class QMainWindow;
class QWidget;

namespace facetor {

class DXDraw;
class SidePanel;
class ViewImage;

class WindowPanes {
  public:
    // Builds the side panel and the view area into `central` and the status
    // bar into `window`; DXDraw runs its handlers through `dx_guard`.
    WindowPanes(QMainWindow* window, QWidget* central, EditorState& state,
                const HandlerGuard& dx_guard);

    SidePanel* side_panel() const { return side_panel_; }
    QWidget* view_area() const { return views_; }
    ViewImage* image(int view) const { return images_[view]; }
    DXDraw* dxdraw() const { return dxdraw_; }

    // FormResize's sizes and places, from the view area's size now. The
    // panes are placed in the window's pixels; the views are drawn in the
    // screen's own, so that at any scale factor a view shows what it shows
    // at scale 1, sharp.
    void lay_out();
    void refresh_panels();
    void redraw_all_views();
    // Draws the active view again and puts its picture on screen.
    void render_active_view();
    // A point of a view in the window's pixels, as events give it, in the
    // pixels of the view's picture, where picking and dragging look.
    QPoint picture_point(QPoint point) const;
    // A left click in view 1..3 or the 3D view (4): its pane framed red,
    // the view active, the focus to Focuser.
    void activate_view(int view);
    // A grid took the focus: the side panel framed red, no view active.
    void mark_grid_focus();
    void toggle_image2();
    void set_status(int panel, const QString& text);
    // The status bar's message beside the panels; empty clears it.
    void show_message(const QString& text);

  private:
    struct Pane {
        QFrame* dock = nullptr;
        QFrame* panel = nullptr;
        QWidget* view = nullptr;
    };

    void build_view_area(QWidget* parent, const HandlerGuard& dx_guard);
    void build_status_bar(QMainWindow* window);

    EditorState& state_;
    SidePanel* side_panel_ = nullptr;
    QWidget* views_ = nullptr;
    std::array<Pane, 5> panes_{};        // Dock1..Dock4 at [1]..[4]
    std::array<ViewImage*, 4> images_{}; // Image1..Image3 at [1]..[3]
    DXDraw* dxdraw_ = nullptr;
    std::array<QLabel*, 4> status_panels_{};
    QLabel* message_ = nullptr;
};

} // namespace facetor
