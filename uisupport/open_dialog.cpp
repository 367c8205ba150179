#include "uisupport/open_dialog.h"

#include <QFileDialog>
#include <QSettings>

namespace facetor {

namespace {

// Qt's file dialog reads its history, places and view from the user's
// "QtProject" settings and writes them back when it goes. Pointed at a
// folder that cannot exist (a path under a device file), the settings read
// as empty and every write fails quietly, so nothing lands in the user's
// configuration folder. The editor itself uses no settings.
void keep_dialog_settings_off_disk()
{
    static const bool done = [] {
        const QString nowhere = QStringLiteral("/dev/null/facetor-keeps-no-settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
        return true;
    }();
    (void)done;
}

} // namespace

QFileDialog* make_open_dialog(QWidget* parent, const char* name, const QString& filter,
                              const QString& default_suffix, bool must_exist)
{
    keep_dialog_settings_off_disk();
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(default_suffix);
    return dialog;
}

QFileDialog* make_save_dialog(QWidget* parent, const char* name, const QString& filter,
                              const QString& default_suffix)
{
    QFileDialog* dialog = make_open_dialog(parent, name, filter, default_suffix, false);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

} // namespace facetor
