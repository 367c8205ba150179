// Facetor: start-up creates the main window, then the texture picker and the
// option chooser, then runs the event loop until the main window closes.
#include <QApplication>

#include "app/loader.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Facetor"));

    facetor::Tloader loader;
    // The texture picker and the option chooser are created here, in this order.
    loader.showMaximized();
    return QApplication::exec();
}
