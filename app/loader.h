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
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
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
    // The size the window was designed at: where it starts, and what it
    // comes back to from the maximised start.
    static constexpr int k_design_width = 677;
    static constexpr int k_design_height = 502;

    explicit Tloader(QWidget* parent = nullptr);
    ~Tloader() override;

    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }

    // Shell commands and handlers, named after the events they serve. The
    // other menu commands go straight to the parts that own them.
    void Load3DO();
    void New1Click();
    void Exit1Click();
    void FormResize();
    void BMeshClick();
    void BFaceClick();
    void BvertexClick();
    void refresh_panels();

    // The model the start-up load reads instead of "dflt.3do" (`facetor FILE`);
    // set before the window is shown.
    void set_startup_file(std::string path);
    // Shows the window maximised, as it starts.
    void show_maximised();

    // Start-up creates the texture picker, then the chooser, after the
    // main window. The picker reads its archive at once.
    void create_picker();
    void create_options();
    Tmatpicker* picker() const;
    TOptions* options() const;

    QWidget* view_area() const;

    // Whether the window is on screen and nothing waits on the route that
    // runs work and reports errors after the event Qt is delivering.
    bool settled() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Files dropped on the window: FormDragOver takes a drag that holds a
    // model and refuses any other; FormDragDrop opens it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void connect_panes();
    void build_menus();
    void build_mode_menu(QMenu* menu);
    void build_toolbars();
    // Runs `handler` through the error guard on each trigger.
    void bind(QAction* action, const std::function<void()>& handler);
    // Connects a widget's signal to `handler`, run through the error guard.
    template <typename Sender, typename... Args, typename Handler>
    void guarded_connect(Sender* sender, void (Sender::*signal)(Args...), Handler handler);
    void switch_mode(EditMode mode);
    // Applies the text of an open cell editor before a command acts.
    void finish_typing();
    void set_progress(int value);
    void FormDragOver(QDropEvent* event);
    void FormDragDrop(QDropEvent* event);
    // The first restore from the maximised start: the design size, as much
    // of it as the working area holds, centred.
    void restore_design_size();
    // Reports an error after the event Qt is delivering.
    void report_later(ErrorReport report);

    template <typename F> void guard(F&& body) { guarded(this, std::forward<F>(body)); }
    // For show, resize and paint events: an error is reported after the event.
    template <typename F> void guard_later(F&& body)
    {
        if (std::optional<ErrorReport> report = error_of(std::forward<F>(body))) {
            report_later(std::move(*report));
        }
    }

    EditorState state_;

    QProgressBar* PB_ = nullptr;
    QFileDialog* open_dialog_ = nullptr;
    std::array<QAction*, 3> mode_items_{};   // indexed by EditMode
    std::array<QAction*, 3> mode_buttons_{}; // BMesh, BFace, Bvertex by EditMode
    std::vector<QAction*> shortcut_items_;   // menu items with a shortcut
    bool shown_once_ = false;
    // Shown maximised, the window has the whole working area as its normal
    // size too; the first restore gives it its design size instead.
    bool restore_to_design_size_ = false;
    // Set while the window is destroyed: its children then still send
    // signals (a cell editor losing the focus hands in its text) that must
    // not change a model no one will see.
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
