#include "app/document_commands.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/error_guard.h"
#include "app/load_sequence.h"
#include "model/writer.h"
#include "uisupport/error_box.h"
#include "uisupport/open_dialog.h"
#include "uisupport/tool_window.h"

namespace facetor {

namespace {

QString local_text(const std::string& s)
{
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

// The values the writer had to change to write them, in one box.
void show_write_warnings(QWidget* window, const std::string& path,
                         const std::vector<std::string>& warnings)
{
    QString text = local_text(file_name_of(path)) +
                   QStringLiteral(" was saved, with these changes the 3DO format needed:");
    for (const std::string& warning : warnings) {
        text += QStringLiteral("\n- ") + QString::fromStdString(warning);
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Facetor"), text, QMessageBox::Ok,
                    window);
    box.setObjectName(QStringLiteral("SaveWarningsBox"));
    offer_no_minimise(box);
    box.exec();
}

} // namespace

DocumentCommands::DocumentCommands(QWidget* window, EditorState& state)
    : window_(window), state_(state)
{
    save_dialog_ = make_save_dialog(window, "SaveDialog1", QStringLiteral("Save Model As"),
                                    QStringLiteral("3DO Model (*.3do)"), QStringLiteral("3do"),
                                    handler_guard([window] { return window; }));
}

QString DocumentCommands::caption_for(const std::string& path)
{
    return k_caption + QStringLiteral(" - ") + local_text(path) + QStringLiteral("[*]");
}

void DocumentCommands::show_caption()
{
    window_->setWindowTitle(caption_for(state_.document.path()));
    window_->setWindowModified(state_.document.modified());
}

bool DocumentCommands::save()
{
    if (state_.document.save_needs_path()) {
        return save_as();
    }
    return write(state_.document.path());
}

bool DocumentCommands::save_as()
{
    const QFileInfo current(local_text(state_.document.path()));
    save_dialog_->setDirectory(current.absolutePath());
    save_dialog_->selectFile(current.fileName());
    if (save_dialog_->exec() != QDialog::Accepted || save_dialog_->selectedFiles().isEmpty()) {
        return false;
    }
    return write(QFile::encodeName(save_dialog_->selectedFiles().constFirst()).toStdString());
}

bool DocumentCommands::write(const std::string& path)
{
    std::vector<std::string> warnings;
    try {
        warnings = write_3do_file(*state_.model, path);
    } catch (const std::exception& e) {
        // One box naming the file; the model stays as unsaved as it was.
        report_error(window_, save_failure_text(path, e));
        return false;
    }
    state_.document.saved(path);
    show_caption();
    if (!warnings.empty()) {
        show_write_warnings(window_, path, warnings);
    }
    return true;
}

bool DocumentCommands::may_close_model()
{
    if (!state_.document.modified()) {
        return true;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Facetor"),
                    local_text(state_.document.close_question()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    offer_no_minimise(box);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace facetor
