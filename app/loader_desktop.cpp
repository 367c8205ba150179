// What the desktop hands the main window: files dropped on it, and the
// window manager's restore from maximised.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <QWindowStateChangeEvent>

#include "app/deferred_work.h"
#include "app/load_sequence.h"
#include "app/loader.h"
#include "app/rules/dropped_files.h"
#include "app/rules/window_geometry.h"

namespace facetor {

namespace {

// The dropped items as paths; an item that is no local file (a web
// address) as an empty one, which names no model.
std::vector<std::string> dropped_paths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        paths.push_back(url.isLocalFile() ? QFile::encodeName(url.toLocalFile()).toStdString()
                                          : std::string());
    }
    return paths;
}

} // namespace

void Tloader::show_maximised()
{
    // Without a window manager nothing maximises the window, so it is given
    // the working area first. That is then its normal size too, which no
    // restore should put back.
    setGeometry(screen()->availableGeometry());
    restore_to_design_size_ = true;
    showMaximized();
}

void Tloader::dragEnterEvent(QDragEnterEvent* event)
{
    guard_later([&] { FormDragOver(event); });
}

void Tloader::dragMoveEvent(QDragMoveEvent* event)
{
    guard_later([&] { FormDragOver(event); });
}

void Tloader::dropEvent(QDropEvent* event)
{
    guard_later([&] { FormDragDrop(event); });
}

void Tloader::FormDragOver(QDropEvent* event)
{
    // Refused, the pointer shows that nothing can be dropped.
    if (choose_dropped_model(dropped_paths(event->mimeData())).model) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void Tloader::FormDragDrop(QDropEvent* event)
{
    const std::vector<std::string> paths = dropped_paths(event->mimeData());
    const DropChoice choice = choose_dropped_model(paths);
    if (!choice.model) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The question and the load may open boxes: not while the program the
    // files came from waits to hear that the drop was taken.
    deferred_->after_current_event([this, path = paths[*choice.model], ignored = choice.ignored] {
        load_->open_file(path, ignored_files_message(ignored));
    });
}

void Tloader::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !restore_to_design_size_) {
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const Qt::WindowStates sized = Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;
    if (!change->oldState().testFlag(Qt::WindowMaximized) || (windowState() & sized) != 0) {
        return;
    }
    restore_to_design_size_ = false;
    // After the window manager's own restore, which puts back the whole
    // working area the window was shown at.
    QMetaObject::invokeMethod(
        this, [this] { guard([this] { restore_design_size(); }); }, Qt::QueuedConnection);
}

void Tloader::restore_design_size()
{
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect inside = geometry();
    const WindowRect r = restored_window(
        {area.x(), area.y(), area.width(), area.height()}, k_design_width, k_design_height,
        {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
         frame.bottom() - inside.bottom()});
    setGeometry(r.x, r.y, r.width, r.height);
}

} // namespace facetor
