// Facetor: start-up creates the main window, then the texture picker and the
// option chooser, then runs the event loop until the main window closes.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include "app/loader.h"
#include "app/startup.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Facetor"));
    // The installed desktop entry's name, by which desktops match the window
    // with its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.facetor.Facetor"));
    // Our icon for every window and box, at each size the build drew.
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/window_icon")).entryInfoList())
        icon.addFile(size.filePath());
    QApplication::setWindowIcon(icon);
    const std::unique_ptr<facetor::Tloader> loader = facetor::create_windows();
    facetor::show_maximised(*loader);
    return QApplication::exec();
}
