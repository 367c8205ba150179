#pragma once
// The file dialogs of the editor: the open dialogs (the main window's and
// the picker's) and the main window's save dialog.
#include <QString>

#include "uisupport/handler_guard.h"

class QFileDialog;
class QWidget;

namespace facetor {

// An open dialog for one file titled `title` ("Open Model"), `filter` as
// "Name (*.ext)", our own (not the desktop's), the same on every desktop
// and reachable from tests. With `must_exist` false a typed name that
// names no file is handed back, for the reader to report. It keeps no
// history on disk: the editor writes no file but the models it saves.
// Shown, it is large enough to show each file's size, type and date whole
// (and no larger than the screen), and offers no minimise or maximise, like
// the editor's other dialogs. Its own event handling runs through `guard`.
QFileDialog* make_open_dialog(QWidget* parent, const char* name, const QString& title,
                              const QString& filter, const QString& default_suffix, bool must_exist,
                              HandlerGuard guard);

// A save dialog set up like them: a name typed without an extension gets
// `default_suffix`, and replacing a file that exists is asked first.
QFileDialog* make_save_dialog(QWidget* parent, const char* name, const QString& title,
                              const QString& filter, const QString& default_suffix,
                              HandlerGuard guard);

} // namespace facetor
