#include "uisupport/open_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
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

// The name field's completion list is a popup window of its own, which
// takes every key and click while it shows. A name typed and accepted
// quickly closes the dialog before the list of the folder has been read;
// the list then opened over the main window after the dialog had gone and
// held the keys until a click. It goes with its dialog, and one that comes
// later is closed.
class CompletionListCloser final : public QObject {
  public:
    explicit CompletionListCloser(QFileDialog* dialog) : QObject(dialog), dialog_(dialog)
    {
        dialog->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == dialog_ && event->type() == QEvent::Show) {
            for (QCompleter* completer : dialog_->findChildren<QCompleter*>()) {
                completer->popup()->installEventFilter(this);
            }
        } else if (watched == dialog_ && event->type() == QEvent::Hide) {
            for (QCompleter* completer : dialog_->findChildren<QCompleter*>()) {
                completer->popup()->hide();
            }
        } else if (watched != dialog_ && event->type() == QEvent::Show && !dialog_->isVisible()) {
            // Not inside its own show event: right after it.
            QMetaObject::invokeMethod(static_cast<QWidget*>(watched), &QWidget::hide,
                                      Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QFileDialog* dialog_;
};

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
    new CompletionListCloser(dialog);
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
