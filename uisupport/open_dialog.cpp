#include "uisupport/open_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QLocale>
#include <QMimeDatabase>
#include <QScrollBar>
#include <QSettings>
#include <QTreeView>
#include <algorithm>

#include "uisupport/tool_window.h"

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

// The size, type and date columns wide enough for their longest texts:
// Qt sizes them for shorter ones, and cuts a type or date to "...".
void widen_detail_columns(QFileDialog& dialog)
{
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (tree == nullptr) {
        return;
    }
    const QFontMetrics metrics(tree->font());
    const auto widest = [&metrics](const QStringList& texts) {
        int width = 0;
        for (const QString& text : texts) {
            width = std::max(width, metrics.horizontalAdvance(text));
        }
        // The header's margins and sort arrow, and the cells' own margins.
        return width + 4 * metrics.averageCharWidth();
    };
    const QLocale locale = QLocale::system();
    const QMimeDatabase types;
    QStringList type_names{
        types.mimeTypeForName(QStringLiteral("inode/directory")).comment(),
        types.mimeTypeForName(QStringLiteral("text/plain")).comment(),
        types.mimeTypeForName(QStringLiteral("application/octet-stream")).comment()};
    for (const char* file : {"a.3do", "a.mat", "a.gob"}) {
        type_names << types
                          .mimeTypeForFile(QString::fromLatin1(file), QMimeDatabase::MatchExtension)
                          .comment();
    }
    QHeaderView* header = tree->header();
    header->resizeSection(1, widest({locale.formattedDataSize(1023 * 1024 + 1023),
                                     locale.formattedDataSize(qint64(999) * 1024 * 1024 * 1024)}));
    header->resizeSection(2, widest(type_names));
    header->resizeSection(3,
                          widest({locale.toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59)),
                                                  QLocale::ShortFormat)}));
    // The dialog grows by what the columns need beyond the list's room.
    dialog.layout()->activate();
    const int missing = header->length() + tree->verticalScrollBar()->sizeHint().width() -
                        tree->viewport()->width();
    if (missing > 0) {
        dialog.resize(dialog.width() + missing, dialog.height());
    }
}

// Everything a file dialog needs as it shows. The name field's completion
// list is a popup window of its own, which takes every key and click while
// it shows. A name typed and accepted quickly closes the dialog before the
// list of the folder has been read; the list then opened over the main
// window after the dialog had gone and held the keys until a click. It goes
// with its dialog, and one that comes later is closed.
class FileDialogWatch final : public QObject {
  public:
    FileDialogWatch(QFileDialog* dialog, HandlerGuard guard)
        : QObject(dialog), dialog_(dialog), guard_(std::move(guard))
    {
        dialog->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        guard_([&] { watch(watched, event); });
        return false;
    }

  private:
    void watch(QObject* watched, QEvent* event)
    {
        if (watched == dialog_ && event->type() == QEvent::Show) {
            if (!sized_) {
                sized_ = true;
                widen_detail_columns(*dialog_);
            }
            fit_to_screen(*dialog_);
            offer_no_minimise(*dialog_);
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
    }

    QFileDialog* dialog_;
    HandlerGuard guard_;
    bool sized_ = false; // the user's own size is kept from then on
};

} // namespace

QFileDialog* make_open_dialog(QWidget* parent, const char* name, const QString& title,
                              const QString& filter, const QString& default_suffix, bool must_exist,
                              HandlerGuard guard)
{
    keep_dialog_settings_off_disk();
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowTitle(title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(default_suffix);
    new FileDialogWatch(dialog, std::move(guard));
    return dialog;
}

QFileDialog* make_save_dialog(QWidget* parent, const char* name, const QString& title,
                              const QString& filter, const QString& default_suffix,
                              HandlerGuard guard)
{
    QFileDialog* dialog =
        make_open_dialog(parent, name, title, filter, default_suffix, false, std::move(guard));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

} // namespace facetor
