#pragma once
// The main window: composes the side panel, the four view panes, the menus,
// toolbars and status bar, and routes their events to the parts that own
// each job (deferred work, key routing, view input, the load sequence, the
// property commands, the document, the edit history and typed values).
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/editor_state.h"
#include "app/error_guard.h"

class QAction;
class QFileDialog;
class QMenu;
class QProgressBar;

namespace facetor {

class DeferredWork;
class DocumentCommands;
class EditCommands;
class GeometryCommands;
class KeyRouter;
class LoadSequence;
class PropertyCommands;
class TOptions;
class Tmatpicker;
class TypedValueCommands;
class ViewInput;
class WindowPanes;

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
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void Undo1Click();
    void Redo1Click();
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
    Tmatpicker* picker() const;
    TOptions* options() const;

    QWidget* view_area() const;
    QFileDialog* open_dialog() const { return open_dialog_; }
    QFileDialog* save_dialog() const;

    // The safe route for work that may open a modal box but is asked for
    // while Qt delivers an event (a show, a resize, start-up before the event
    // loop runs): it runs after that event, through the error guard, one
    // piece at a time in the order asked.
    void after_current_event(std::function<void()> work);
    // Reports `text` by that route.
    void report_later(std::string text);
    // Whether the window is on screen and nothing waits on that route.
    bool settled() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void connect_panes();
    void build_menus();
    void build_mode_menu(QMenu* menu);
    void build_toolbars();
    // Runs `handler` through the error guard on each trigger.
    void bind(QAction* action, void (Tloader::*handler)());
    // Connects a widget's signal to `handler`, run through the error guard.
    template <typename Sender, typename... Args, typename Handler>
    void guarded_connect(Sender* sender, void (Sender::*signal)(Args...), Handler handler);
    void switch_mode(EditMode mode);
    // Applies the text of an open cell editor before a command acts.
    void finish_typing();
    void set_progress(int value);
    void toggle_image2();

    template <typename F> void guard(F&& body) { guarded(this, std::forward<F>(body)); }
    // For show, resize and paint events: an error is reported after the event.
    template <typename F> void guard_later(F&& body);

    EditorState state_;

    QProgressBar* PB_ = nullptr;
    QFileDialog* open_dialog_ = nullptr;
    std::array<QAction*, 3> mode_items_{};   // indexed by EditMode
    std::array<QAction*, 3> mode_buttons_{}; // BMesh, BFace, Bvertex by EditMode
    std::vector<QAction*> shortcut_items_;   // menu items with a shortcut
    bool shown_once_ = false;
    // Set while the window is destroyed: its children then still send
    // signals (a cell editor losing the focus hands in its text) after the
    // parts that would handle them are gone.
    bool destroying_ = false;

    std::unique_ptr<DeferredWork> deferred_;
    std::unique_ptr<WindowPanes> panes_;
    std::unique_ptr<KeyRouter> keys_;
    std::unique_ptr<ViewInput> view_input_;
    std::unique_ptr<LoadSequence> load_;
    std::unique_ptr<PropertyCommands> properties_;
    std::unique_ptr<DocumentCommands> document_;
    std::unique_ptr<EditCommands> edits_;
    std::unique_ptr<TypedValueCommands> typed_;
    std::unique_ptr<GeometryCommands> geometry_;
};

} // namespace facetor
