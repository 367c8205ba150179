// Facetor: start-up creates the main window, then the texture picker and the
// option chooser, then runs the event loop until the main window closes.
#include <QApplication>
#include <QScreen>

#include "app/loader.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Facetor"));

    facetor::Tloader loader;
    // The texture picker and the option chooser are created here, in this order.
    // Without a window manager nothing maximises the window: give it the
    // screen's working area first, which a window manager then maximises.
    loader.setGeometry(loader.screen()->availableGeometry());
    loader.showMaximized();
    return QApplication::exec();
}
