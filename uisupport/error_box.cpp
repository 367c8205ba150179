#include "uisupport/error_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <cstdio>

#include "uisupport/tool_window.h"

namespace facetor {

namespace {

// The owner's window if it is on screen; a hidden picker or chooser gives
// way to the window it was opened from.
QWidget* box_parent(QWidget* owner)
{
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    while (window != nullptr && !window->isVisible() && window->parentWidget() != nullptr) {
        window = window->parentWidget()->window();
    }
    return window != nullptr ? window : QApplication::activeWindow();
}

} // namespace

int title_bar_width(const QString& title)
{
    // Window managers draw titles in a bold face of about the desktop's size,
    // beside an icon and up to three buttons each about a line high.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int button = metrics.height() + 8;
    return metrics.horizontalAdvance(title) + 5 * button;
}

void report_error(QWidget* owner, const std::string& text, const std::string& detail)
{
    // A user who started the editor from a terminal, or a script, sees it too.
    std::fprintf(stderr, "facetor: %s\n", text.c_str());
    std::fflush(stderr);
    QWidget* parent = box_parent(owner);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Facetor"), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    if (!detail.empty()) {
        box.setInformativeText(
            QString::fromLocal8Bit(detail.data(), static_cast<qsizetype>(detail.size())));
    }
    if (parent != nullptr && parent->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        // Under an always-on-top picker a box would leave it looking frozen.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    // The box sizes itself to its contents when shown; a spacer as wide as
    // the title bar needs keeps the title from being cut to "...".
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(title_bar_width(box.windowTitle()), 0), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    // Minimised, a modal box would take its owner with it and leave nothing
    // to answer.
    offer_no_minimise(box);
    box.exec();
}

} // namespace facetor
