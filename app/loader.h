#pragma once
// The main window: composes the side panel, the four view panes, the menus,
// toolbars and status bar, and routes their events into the cores.
#include <QMainWindow>
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/editor_state.h"
#include "app/error_guard.h"
#include "editing/property_edit.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;

namespace facetor {

class DXDraw;
class SidePanel;
class TOptions;
class Tmatpicker;
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

    // Start-up creates the texture picker, then the chooser, after the
    // main window. The picker reads its archive at once.
    void create_picker();
    void create_options();
    Tmatpicker* picker() const { return picker_; }
    TOptions* options() const { return options_; }

    QWidget* view_area() const { return views_; }
    QFileDialog* open_dialog() const { return open_dialog_; }

    // The safe route for work that may open a modal box but is asked for
    // while Qt delivers an event (a show, a resize, start-up before the event
    // loop runs): it runs after that event, through the error guard, one
    // piece at a time in the order asked.
    void after_current_event(std::function<void()> work);
    // Reports `text` by that route.
    void report_later(std::string text);
    // Whether the window is on screen and nothing waits on that route.
    bool settled() const { return painted_once_ && deferred_.empty() && !running_deferred_; }

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
    void build_mode_menu(QMenu* menu);
    // Whether a key press is the shortcut of a menu item, and its state.
    enum class MenuShortcut { none, enabled, disabled };
    MenuShortcut menu_shortcut(const QKeyEvent& key) const;
    void build_toolbars();
    void build_status_bar();
    void build_view_area();
    void build_timers();
    // Runs `handler` through the error guard on each trigger or timer tick.
    // A failing tick first runs `stop`, so that one error gives one box.
    void bind(QObject* sender, void (Tloader::*handler)(), void (Tloader::*stop)() = nullptr);
    // Connects a widget's signal to `handler`, run through the error guard.
    template <typename Sender, typename... Args, typename Handler>
    void guarded_connect(Sender* sender, void (Sender::*signal)(Args...), Handler handler);
    void schedule_deferred();
    void run_deferred();
    // FormResize's load while the first-load flag is 1: one queued try,
    // however many size changes ask for it before it runs.
    void request_default_load();
    void switch_mode(EditMode mode);
    void complete_load(const std::string& path);
    void set_progress(int value);
    void toggle_image2();
    void activate_view(int view);
    void mark_grid_focus();
    bool key_event(QObject* watched, QEvent* event);
    bool FormKeyDown(QKeyEvent* event);
    void Edit1KeyUp();
    void DXTimer1Timer();
    void stop_motion();
    void moverTimer();
    void stop_drag();
    void Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers);
    void Image2MouseMove(int x, int y);
    void Image2MouseUp();
    void m_propMouseDown(int col, int row);
    void f_propMouseDown(int col, int row);
    PropertyDialogs property_dialogs();

    template <typename F> void guard(F&& body) { guarded(this, std::forward<F>(body)); }
    // For show, resize and paint events: an error is reported after the event.
    template <typename F> void guard_later(F&& body);

    EditorState state_;

    SidePanel* side_panel_ = nullptr;
    QWidget* views_ = nullptr;
    std::array<Pane, 5> panes_{};        // Dock1..Dock4 at [1]..[4]
    std::array<ViewImage*, 4> images_{}; // Image1..Image3 at [1]..[3]
    DXDraw* dxdraw_ = nullptr;
    Tmatpicker* picker_ = nullptr;
    TOptions* options_ = nullptr;
    QProgressBar* PB_ = nullptr;
    std::array<QLabel*, 4> status_panels_{};
    QFileDialog* open_dialog_ = nullptr;
    QTimer* Timer1_ = nullptr;
    QTimer* mover_ = nullptr;
    std::array<QAction*, 3> mode_items_{};   // indexed by EditMode
    std::array<QAction*, 3> mode_buttons_{}; // BMesh, BFace, Bvertex by EditMode
    std::vector<QAction*> shortcut_items_;   // menu items with a shortcut
    bool shown_once_ = false;
    std::deque<std::function<void()>> deferred_;
    std::vector<std::string> reports_waiting_;
    bool deferred_scheduled_ = false;
    bool running_deferred_ = false;
    bool default_load_queued_ = false;
    bool painted_once_ = false; // deferred work waits for it
};

} // namespace facetor
