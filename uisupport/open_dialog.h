#pragma once
// The open-file dialogs of the editor (the main window's and the picker's).
#include <QString>

class QFileDialog;
class QWidget;

namespace facetor {

// An open dialog for one file, `filter` as "Name (*.ext)", our own (not
// the desktop's), the same on every desktop and reachable from tests.
// With `must_exist` false a typed name that names no file is handed back,
// for the reader to report. It keeps no history on disk: the editor
// writes no file.
QFileDialog* make_open_dialog(QWidget* parent, const char* name, const QString& filter,
                              const QString& default_suffix, bool must_exist);

} // namespace facetor
