#include "app/loader.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>

#include "app/deferred_work.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/geometry_commands.h"
#include "app/key_router.h"
#include "app/load_sequence.h"
#include "app/property_commands.h"
#include "app/typed_commands.h"
#include "app/view_input.h"
#include "app/window_panes.h"
#include "editing/qt/side_panel.h"
#include "preview3d/qt/dxdraw.h"
#include "uisupport/open_dialog.h"
#include "views/qt/view_image.h"

namespace facetor {

template <typename Sender, typename... Args, typename Handler>
void Tloader::guarded_connect(Sender* sender, void (Sender::*signal)(Args...), Handler handler)
{
    connect(sender, signal, this, [this, handler](Args... args) {
        if (!destroying_) {
            guard([&] { handler(args...); });
        }
    });
}

Tloader::Tloader(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("loader"));
    setWindowTitle(k_caption + QStringLiteral("[*]"));
    resize(k_design_width, k_design_height); // the window opens maximised

    state_.progress = Progress([this](int v) { set_progress(v); });

    deferred_ = std::make_unique<DeferredWork>(this);
    auto* central = new QWidget(this);
    panes_ = std::make_unique<WindowPanes>(this, central, state_,
                                           [this](const HandlerBody& body) { guard_later(body); });
    setCentralWidget(central);

    build_menus();
    build_toolbars();

    open_dialog_ = make_open_dialog(this, "OpenDialog1", QStringLiteral("Open Model"),
                                    QStringLiteral("3DO Model (*.3do)"), QStringLiteral("3do"),
                                    true, handler_guard([this] { return this; }));

    document_ = std::make_unique<DocumentCommands>(this, state_);
    edits_ = std::make_unique<EditCommands>(state_, *panes_,
                                            menuBar()->findChild<QAction*>(QStringLiteral("Undo1")),
                                            menuBar()->findChild<QAction*>(QStringLiteral("Redo1")),
                                            [this] { document_->show_caption(); });
    typed_ = std::make_unique<TypedValueCommands>(state_, *panes_, *edits_);
    keys_ = std::make_unique<KeyRouter>(this, state_, *panes_, shortcut_items_);
    view_input_ = std::make_unique<ViewInput>(this, state_, *panes_, *edits_);
    load_ = std::make_unique<LoadSequence>(this, state_, *panes_, open_dialog_, *deferred_,
                                           *document_, *edits_);
    properties_ = std::make_unique<PropertyCommands>(this, state_, *panes_, *edits_);
    geometry_ = std::make_unique<GeometryCommands>(this, state_, *panes_, *edits_, menuBar());
    connect_panes();

    // Key preview: the window sees key presses and releases before the focused control.
    qApp->installEventFilter(this);

    FormCreate();
}

Tloader::~Tloader()
{
    destroying_ = true;
    qApp->removeEventFilter(this);
    // The widgets go now, while this window and its parts are still whole:
    // a cell editor hands in its text as it dies, and a slot reached from
    // QWidget's own destructor would run on a half-destroyed Tloader.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

void Tloader::FormCreate()
{
    panes_->side_panel()->write_row_labels();
    state_.view.active_view = 2;
    state_.edit_mode = mesh_mode;
    state_.first_load = 1;
    // The window's first focus goes to Focuser, not to the first grid in the
    // tab order: a grid taking the focus would mark the side panel and leave
    // no view active before the user has touched anything.
    panes_->side_panel()->focuser()->setFocus();
    // A drop on the window opens a model; the field that only takes the
    // focus must not take a dropped file's name as text instead.
    setAcceptDrops(true);
    panes_->side_panel()->focuser()->setAcceptDrops(false);
}

// The widgets' signals, each to the part that owns the job.
void Tloader::connect_panes()
{
    SidePanel* side_panel = panes_->side_panel();
    guarded_connect(side_panel, &SidePanel::grid_focused, [this] { panes_->mark_grid_focus(); });
    guarded_connect(
        side_panel, &SidePanel::grid_pressed,
        [this](Page page, int col, int cell_row, QPoint, Qt::MouseButton, Qt::KeyboardModifiers) {
            // Any button, any modifier: only the cell counts.
            finish_typing();
            if (page == Page::mesh_page) {
                properties_->m_propMouseDown(col, cell_row);
            } else if (page == Page::face_page) {
                properties_->f_propMouseDown(col, cell_row);
            }
        });
    guarded_connect(
        side_panel, &SidePanel::cell_edited,
        [this](Page page, int row, const QString& text) { typed_->cell_edited(page, row, text); });
    guarded_connect(side_panel, &SidePanel::base_pressed,
                    [side_panel] { side_panel->set_geoset_colour(QColor(255, 0, 0)); });
    for (int i = 1; i <= 3; ++i) {
        ViewImage* image = panes_->image(i);
        guarded_connect(image, &ViewImage::pressed, [this](int x, int y, Qt::KeyboardModifiers m) {
            finish_typing(); // before the press picks another element
            view_input_->Image2MouseDown(x, y, m);
        });
        guarded_connect(image, &ViewImage::moved,
                        [this](int x, int y) { view_input_->Image2MouseMove(x, y); });
        guarded_connect(image, &ViewImage::released, [this] { view_input_->Image2MouseUp(); });
        guarded_connect(image, &ViewImage::clicked, [this, i] { panes_->activate_view(i); });
    }
    DXDraw* dxdraw = panes_->dxdraw();
    guarded_connect(dxdraw, &DXDraw::clicked, [this] { panes_->activate_view(4); });
    guarded_connect(dxdraw, &DXDraw::depth_changed, [side_panel](int depth) {
        side_panel->caption(Page::mesh_page)->setText(QString::number(depth));
    });
    // Every size change of the view area after the first show runs the layout.
    panes_->view_area()->installEventFilter(this);
}

void Tloader::set_progress(int value)
{
    if (PB_ != nullptr) {
        PB_->setValue(value);
        PB_->repaint(); // the load blocks the event loop; show each step at once
    }
}

void Tloader::FormResize()
{
    panes_->lay_out();
    if (state_.first_load == 1) {
        load_->request_default_load();
    }
    // The views show the new size at once, each picture whole: drawn
    // again, not left as it was cut at the old size.
    panes_->redraw_all_views();
}

void Tloader::Load3DO()
{
    load_->Load3DO();
}

void Tloader::New1Click()
{
    load_->New1Click();
}

void Tloader::set_startup_file(std::string path)
{
    load_->set_startup_file(std::move(path));
}

void Tloader::refresh_panels()
{
    panes_->refresh_panels();
}

void Tloader::create_picker()
{
    properties_->create_picker([this](const HandlerBody& body) { guard_later(body); });
}

void Tloader::create_options()
{
    properties_->create_options();
}

Tmatpicker* Tloader::picker() const
{
    return properties_->picker();
}

TOptions* Tloader::options() const
{
    return properties_->options();
}

QWidget* Tloader::view_area() const
{
    return panes_->view_area();
}

void Tloader::report_later(ErrorReport report)
{
    // The parts go before the widgets do: a widget failing as it is
    // destroyed has no window left to report in.
    if (deferred_) {
        deferred_->report_later(std::move(report));
    }
}

bool Tloader::settled() const
{
    return deferred_->settled();
}

void Tloader::Exit1Click()
{
    close();
}

void Tloader::finish_typing()
{
    panes_->side_panel()->commit_edit();
}

void Tloader::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        // Let the layout give the view area its size before the first layout
        // step; from now on every size change of the view area runs it again.
        centralWidget()->layout()->activate();
        shown_once_ = true;
        guard_later([this] { FormResize(); });
    }
}

void Tloader::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    deferred_->window_painted();
    guard_later([this] { panes_->dxdraw()->repaint_scene(); });
}

void Tloader::closeEvent(QCloseEvent* event)
{
    // Exit, the close box and the window manager's close alike: a typed
    // value first, then the question; Cancel, or a save that fails, keeps
    // the window.
    guard([this] { finish_typing(); });
    bool may_close = false;
    guard([&] { may_close = document_->may_close_model(); });
    if (!may_close) {
        event->ignore();
        return;
    }
    guard([this] { panes_->dxdraw()->finalize(); });
    QMainWindow::closeEvent(event);
}

bool Tloader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panes_->view_area() && event->type() == QEvent::Resize && shown_once_) {
        guard_later([this] { FormResize(); });
        return false;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
        event->type() == QEvent::ShortcutOverride) {
        return keys_->key_event(watched, event);
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tloader::switch_mode(EditMode mode)
{
    state_.edit_mode = mode;
    clear_selection(*state_.model); // a selection of several belongs to its mode
    panes_->redraw_all_views();
    panes_->side_panel()->show_page(mode);
    mode_items_[mode]->setChecked(true);
    mode_buttons_[mode]->setChecked(true);
    refresh_panels();
}

void Tloader::BMeshClick()
{
    switch_mode(mesh_mode);
}

void Tloader::BFaceClick()
{
    switch_mode(face_mode);
}

void Tloader::BvertexClick()
{
    switch_mode(vertex_mode);
}

} // namespace facetor
