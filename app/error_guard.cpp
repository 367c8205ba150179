#include "app/error_guard.h"

#include <QMessageBox>
#include <cstdio>

namespace facetor {

void report_error(QWidget* parent, const std::string& text)
{
    // A user who started the editor from a terminal, or a script, sees it too.
    std::fprintf(stderr, "facetor: %s\n", text.c_str());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Facetor"), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

HandlerGuard handler_guard(QWidget* parent)
{
    return [parent](const HandlerBody& body) { guarded(parent, body); };
}

} // namespace facetor
