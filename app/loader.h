#pragma once
// The main window: composes the side panel, the four view panes, the menus,
// toolbars and status bar, and routes their events into the cores.
#include <QMainWindow>
#include <array>
#include <string>

#include "app/editor_state.h"
#include "app/error_guard.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QLabel;
class QProgressBar;
class QTimer;
class QToolBar;

namespace facetor {

class DXDraw;
class SidePanel;
class ViewImage;

class Tloader : public QMainWindow {
    Q_OBJECT
  public:
    explicit Tloader(QWidget* parent = nullptr);
    ~Tloader() override;

    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }

    // Shell commands and handlers, named after the events they serve.
    void Load3DO();
    void New1Click();
    void Exit1Click();
    void FormResize();
    void BMeshClick();
    void BFaceClick();
    void BvertexClick();
    void refresh_panels();
    void redraw_all_views();

    QWidget* view_area() const { return views_; }
    QFileDialog* open_dialog() const { return open_dialog_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Pane {
        QFrame* dock = nullptr;
        QFrame* panel = nullptr;
        QWidget* view = nullptr;
    };

    void FormCreate();
    void build_menus();
    void build_toolbars();
    void build_status_bar();
    void build_view_area();
    void build_timers();
    // Runs `handler` through the error guard on each trigger or timer tick.
    void bind(QObject* sender, void (Tloader::*handler)());
    void switch_mode(EditMode mode);
    void complete_load(const std::string& path);
    void set_progress(int value);
    void toggle_image2();
    void activate_view(int view);
    void mark_grid_focus();
    bool FormKeyDown(QKeyEvent* event);
    void Edit1KeyUp();
    void DXTimer1Timer();
    void moverTimer();
    void Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers);
    void Image2MouseMove(int x, int y);
    void Image2MouseUp();

    template <typename F> void guard(F&& body) { guarded(this, std::forward<F>(body)); }

    EditorState state_;

    SidePanel* side_panel_ = nullptr;
    QWidget* views_ = nullptr;
    std::array<Pane, 5> panes_{};        // Dock1..Dock4 at [1]..[4]
    std::array<ViewImage*, 4> images_{}; // Image1..Image3 at [1]..[3]
    DXDraw* dxdraw_ = nullptr;
    QProgressBar* PB_ = nullptr;
    std::array<QLabel*, 4> status_panels_{};
    QFileDialog* open_dialog_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QTimer* mover_ = nullptr;
    std::array<QAction*, 3> mode_items_{};   // indexed by EditMode
    std::array<QAction*, 3> mode_buttons_{}; // BMesh, BFace, Bvertex by EditMode
    QAction* open_item_ = nullptr;
    bool shown_once_ = false;
};

} // namespace facetor
