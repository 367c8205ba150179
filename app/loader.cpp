#include "app/loader.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/error_guard.h"
#include "app/glyphs.h"
#include "editing/qt/side_panel.h"
#include "editing/qt/toptions.h"
#include "preview3d/qt/dxdraw.h"
#include "textures/qt/matpicker.h"
#include "uisupport/open_dialog.h"
#include "views/qt/view_image.h"
#include "views/qt/virtual_keys.h"

namespace facetor {

namespace {

const QString k_caption = QStringLiteral("FACETOR v0.1 Preview");

QColor button_face()
{
    return QApplication::palette().color(QPalette::Button);
}

void set_background(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

template <typename Sender, typename... Args, typename Handler>
void Tloader::guarded_connect(Sender* sender, void (Sender::*signal)(Args...), Handler handler)
{
    connect(sender, signal, this,
            [this, handler](Args... args) { guard([&] { handler(args...); }); });
}

template <typename F> void Tloader::guard_later(F&& body)
{
    if (std::optional<std::string> text = error_of(std::forward<F>(body))) {
        report_later(std::move(*text));
    }
}

Tloader::Tloader(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("loader"));
    setWindowTitle(k_caption);
    resize(677, 502); // design size; the window opens maximised

    state_.progress = Progress([this](int v) { set_progress(v); });

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    side_panel_ = new SidePanel(central);
    side_panel_->setFixedWidth(165);
    row->addWidget(side_panel_);
    build_view_area();
    views_->setParent(central);
    row->addWidget(views_, 1);
    setCentralWidget(central);

    build_menus();
    build_toolbars();
    build_status_bar();
    build_timers();

    open_dialog_ = make_open_dialog(this, "OpenDialog1", QStringLiteral("3DO Model (*.3do)"),
                                    QStringLiteral("3do"), true);

    guarded_connect(side_panel_, &SidePanel::grid_focused, [this] { mark_grid_focus(); });
    guarded_connect(
        side_panel_, &SidePanel::grid_pressed,
        [this](Page page, int col, int cell_row, QPoint, Qt::MouseButton, Qt::KeyboardModifiers) {
            // Any button, any modifier: only the cell counts.
            if (page == Page::mesh_page) {
                m_propMouseDown(col, cell_row);
            } else if (page == Page::face_page) {
                f_propMouseDown(col, cell_row);
            }
        });
    guarded_connect(side_panel_, &SidePanel::base_pressed,
                    [this] { side_panel_->set_geoset_colour(QColor(255, 0, 0)); });
    guarded_connect(dxdraw_, &DXDraw::clicked, [this] { activate_view(4); });
    guarded_connect(dxdraw_, &DXDraw::depth_changed, [this](int depth) {
        side_panel_->caption(Page::mesh_page)->setText(QString::number(depth));
    });

    // Key preview: the window sees key presses and releases before the focused control.
    qApp->installEventFilter(this);

    FormCreate();
}

Tloader::~Tloader()
{
    qApp->removeEventFilter(this);
}

void Tloader::FormCreate()
{
    side_panel_->write_row_labels();
    state_.view.active_view = 2;
    state_.edit_mode = mesh_mode;
    state_.first_load = 1;
    // The window's first focus goes to Focuser, not to the first grid in the
    // tab order: a grid taking the focus would mark the side panel and leave
    // no view active before the user has touched anything.
    side_panel_->focuser()->setFocus();
}

void Tloader::build_view_area()
{
    views_ = new QWidget(this);
    views_->setObjectName(QStringLiteral("Views"));
    views_->installEventFilter(this);
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
            guarded_connect(
                image, &ViewImage::pressed,
                [this](int x, int y, Qt::KeyboardModifiers m) { Image2MouseDown(x, y, m); });
            guarded_connect(image, &ViewImage::moved,
                            [this](int x, int y) { Image2MouseMove(x, y); });
            guarded_connect(image, &ViewImage::released, [this] { Image2MouseUp(); });
            guarded_connect(image, &ViewImage::clicked, [this, i] { activate_view(i); });
        } else {
            dxdraw_ =
                new DXDraw([this](const HandlerBody& body) { guard_later(body); }, pane.panel);
            pane.view = dxdraw_;
        }
        fill->addWidget(pane.view);
    }
}

void Tloader::build_status_bar()
{
    auto* bar = new QStatusBar(this);
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
    setStatusBar(bar);
}

void Tloader::build_timers()
{
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setInterval(20);
    bind(Timer1_, &Tloader::DXTimer1Timer, &Tloader::stop_motion);
    mover_ = new QTimer(this);
    mover_->setObjectName(QStringLiteral("mover"));
    mover_->setInterval(100);
    bind(mover_, &Tloader::moverTimer, &Tloader::stop_drag);
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
    const int w = views_->width();
    const int h = views_->height();
    const QSize screen_size = screen()->size();
    state_.images.screen_width = screen_size.width();
    state_.images.screen_height = screen_size.height();
    const int pane_w = w / 2;
    const int pane_h = h / 2;
    for (int i = 1; i <= 4; ++i) {
        panes_[i].dock->resize(pane_w, pane_h);
    }
    state_.images.canvas.resize(pane_w, pane_h);
    panes_[2].dock->move(0, 0);
    panes_[1].dock->move(0, pane_h);
    panes_[3].dock->move(pane_w, 0);
    panes_[4].dock->move(pane_w, pane_h);
    layout_views(state_.view, w, h);
    for (int i = 1; i <= 4; ++i) {
        panes_[i].panel->resize(std::max(0, pane_w - 3), std::max(0, pane_h - 3));
    }
    // Each picture is as large as its view, inside the inner panel's bevel.
    for (int i = 1; i <= 3; ++i) {
        const QSize inside = panes_[i].panel->contentsRect().size();
        state_.images.images[i].resize(inside.width(), inside.height());
    }
    if (state_.first_load == 1) {
        request_default_load();
    }
}

void Tloader::request_default_load()
{
    // Also while a try is running: its error box lets size changes through,
    // and one start-up is to give one box.
    if (default_load_queued_) {
        return;
    }
    default_load_queued_ = true;
    after_current_event([this] {
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{default_load_queued_};
        if (state_.first_load == 1) {
            Load3DO();
        }
    });
}

void Tloader::after_current_event(std::function<void()> work)
{
    deferred_.push_back(std::move(work));
    schedule_deferred();
}

void Tloader::schedule_deferred()
{
    // Nothing runs before the window is on screen: a window manager fits a
    // new window to the screen only once it has mapped it, and a box shown
    // before that stands alone on an empty screen and delays the fitting
    // (and another size change, another try) until after it.
    if (!painted_once_ || deferred_scheduled_ || deferred_.empty()) {
        return;
    }
    deferred_scheduled_ = true;
    QMetaObject::invokeMethod(
        this, [this] { run_deferred(); }, Qt::QueuedConnection);
}

void Tloader::report_later(std::string text)
{
    // Paints that fail alike before the box shows give one box.
    if (std::find(reports_waiting_.begin(), reports_waiting_.end(), text) !=
        reports_waiting_.end()) {
        return;
    }
    reports_waiting_.push_back(text);
    after_current_event([this, text = std::move(text)] {
        reports_waiting_.erase(std::find(reports_waiting_.begin(), reports_waiting_.end(), text));
        throw RuntimeError(text);
    });
}

void Tloader::run_deferred()
{
    deferred_scheduled_ = false;
    // A box opened by one piece runs the event loop; what is asked for
    // meanwhile waits for this loop rather than opening a second box on top.
    if (running_deferred_) {
        return;
    }
    running_deferred_ = true;
    while (!deferred_.empty()) {
        std::function<void()> work = std::move(deferred_.front());
        deferred_.pop_front();
        guard(work);
    }
    running_deferred_ = false;
}

void Tloader::Load3DO()
{
    std::string path;
    if (state_.first_load == 1) {
        path = "dflt.3do";
        setWindowTitle(k_caption + QStringLiteral(" - dflt.3do"));
    } else {
        if (open_dialog_->exec() != QDialog::Accepted || open_dialog_->selectedFiles().isEmpty()) {
            return;
        }
        path = open_dialog_->selectedFiles().constFirst().toStdString();
    }
    read_3do_file(path, *state_.model, state_.reader, state_.progress);
    complete_load(path);
}

// What follows a successful read, in this order: caption, flag, view angles,
// panel, the three views, the bar at 100, the 3D scene and its first render.
void Tloader::complete_load(const std::string& path)
{
    if (state_.first_load == 0) {
        setWindowTitle(k_caption + QStringLiteral(" - ") + QString::fromStdString(path));
    }
    state_.first_load = 0;
    reset_view_angles(state_.view);
    refresh_panels();
    redraw_all_views();
    state_.progress.set(100);
    dxdraw_->DXDrawInitialize(*state_.model);
    dxdraw_->D3DRMRender();
}

void Tloader::redraw_all_views()
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

void Tloader::refresh_panels()
{
    side_panel_->refresh_panels(*state_.model, state_.edit_mode);
}

void Tloader::create_picker()
{
    // The picker's and the chooser's errors open their box over them.
    picker_ =
        new Tmatpicker(*state_.model, state_.progress, state_.cur_material,
                       handler_guard([this] { return static_cast<QWidget*>(picker_); }), this);
    // Start-up goes on with an empty list; the box waits for the window.
    guard_later([this] { picker_->Button2Click(); });
}

void Tloader::create_options()
{
    options_ =
        new TOptions(handler_guard([this] { return static_cast<QWidget*>(options_); }), this);
}

PropertyDialogs Tloader::property_dialogs()
{
    return {options_->options(), [this] { options_->show_modal(); }, [this] { picker_->exec(); }};
}

void Tloader::m_propMouseDown(int col, int row)
{
    PropertyDialogs dialogs = property_dialogs();
    if (mesh_grid_press(*state_.model, dialogs, col, row)) {
        refresh_panels();
    }
}

void Tloader::f_propMouseDown(int col, int row)
{
    PropertyDialogs dialogs = property_dialogs();
    if (face_grid_press(*state_.model, state_.cur_material, dialogs, col, row)) {
        refresh_panels();
    }
}

void Tloader::New1Click()
{
    state_.first_load = 1;
    Load3DO();
}

void Tloader::Exit1Click()
{
    close();
}

void Tloader::toggle_image2()
{
    images_[2]->setVisible(!images_[2]->isVisible());
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
    if (!painted_once_) {
        painted_once_ = true;
        schedule_deferred();
    }
    guard_later([this] { dxdraw_->repaint_scene(); });
}

void Tloader::closeEvent(QCloseEvent* event)
{
    guard([this] { dxdraw_->finalize(); });
    QMainWindow::closeEvent(event);
}

bool Tloader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == views_ && event->type() == QEvent::Resize && shown_once_) {
        guard_later([this] { FormResize(); });
        return false;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
        event->type() == QEvent::ShortcutOverride) {
        return key_event(watched, event);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Tloader::key_event(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : this;
    // Only keys meant for this window, and each key once: the filter sees an
    // unaccepted key again on its way up the parent chain.
    if (widget == nullptr || widget != target || widget->window() != this) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const MenuShortcut shortcut = menu_shortcut(*key);
    if (event->type() == QEvent::ShortcutOverride) {
        // The window's enabled shortcuts win over a focused control's own
        // use of the key (Ctrl+X is Cut to a line edit, Exit here). The
        // override event is dropped unanswered, so the menu gets the key.
        return shortcut == MenuShortcut::enabled;
    }
    if (event->type() == QEvent::KeyPress && shortcut == MenuShortcut::disabled) {
        return true; // taken by its greyed item: it does nothing, not even here
    }
    // X repeats a held key as release-press pairs: the press sets the same
    // steps again, the release is not the key going up.
    if (event->type() == QEvent::KeyRelease && key->isAutoRepeat()) {
        return false;
    }
    bool consumed = false;
    guard([&] {
        if (event->type() == QEvent::KeyPress) {
            consumed = FormKeyDown(key);
        } else {
            Edit1KeyUp();
        }
    });
    // A consumed key still types its character into the focused control,
    // as a key press and the character it makes are two separate things to
    // the control.
    if (consumed && event->type() == QEvent::KeyPress && !key->text().isEmpty() &&
        key->text().at(0).isPrint()) {
        return false;
    }
    return consumed;
}

void Tloader::switch_mode(EditMode mode)
{
    state_.edit_mode = mode;
    redraw_all_views();
    side_panel_->show_page(mode);
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

void Tloader::activate_view(int view)
{
    for (int i = 1; i <= 4; ++i) {
        set_background(panes_[i].dock, i == view ? QColor(255, 0, 0) : button_face());
    }
    side_panel_->set_geoset_colour(button_face());
    state_.view.active_view = view;
    side_panel_->focuser()->setFocus();
}

void Tloader::mark_grid_focus()
{
    for (int i = 1; i <= 4; ++i) {
        set_background(panes_[i].dock, button_face());
    }
    side_panel_->set_geoset_colour(QColor(255, 0, 0));
    state_.view.active_view = 0;
}

bool Tloader::FormKeyDown(QKeyEvent* event)
{
    const KeyDownResult r =
        navigation_key_down(state_.nav, state_.view, *state_.model, state_.edit_mode,
                            virtual_key(*event), (event->modifiers() & Qt::ShiftModifier) != 0);
    // Switching on a running timer leaves its period alone; restarting it
    // at every repeated key-down would starve it.
    if (r.start_timer && !Timer1_->isActive()) {
        Timer1_->start();
    }
    if (r.selection_stepped) {
        refresh_panels();
        redraw_all_views();
    }
    return r.consume;
}

void Tloader::Edit1KeyUp()
{
    stop_motion();
}

void Tloader::stop_motion()
{
    navigation_key_up(state_.nav);
    Timer1_->stop();
}

void Tloader::DXTimer1Timer()
{
    if (motion_tick(state_.nav, state_.view)) {
        Render(*state_.model, state_.view, state_.edit_mode, state_.images);
        images_[state_.view.active_view]->update();
    }
}

void Tloader::Image2MouseDown(int x, int y, Qt::KeyboardModifiers modifiers)
{
    const PressResult r = mouse_press(state_.pick, *state_.model, state_.view, state_.edit_mode, x,
                                      y, (modifiers & Qt::ControlModifier) != 0);
    if (r.start_mover) {
        mover_->start();
    }
    refresh_panels();
    redraw_all_views();
}

void Tloader::Image2MouseMove(int x, int y)
{
    const StatusTexts texts = mouse_move(state_.pick, x, y);
    status_panels_[0]->setText(QString::fromStdString(texts.x));
    status_panels_[1]->setText(QString::fromStdString(texts.y));
}

void Tloader::Image2MouseUp()
{
    stop_drag();
}

void Tloader::stop_drag()
{
    mouse_release(state_.pick);
    mover_->stop();
}

void Tloader::moverTimer()
{
    if (drag_step(state_.pick, *state_.model, state_.view, state_.edit_mode)) {
        redraw_all_views();
    }
}

} // namespace facetor
