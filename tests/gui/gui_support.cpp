#include "gui/gui_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <fstream>
#include <sstream>

#include "app/loader.h"
#include "app/startup.h"

namespace facetor::test {

std::string sample_model()
{
    std::ifstream in(FACETOR_SOURCE_DIR "/data/dflt.3do", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

WorkFolder::WorkFolder() : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
    write(k_archive, std::string(16, '\0'));
}

WorkFolder::~WorkFolder()
{
    QDir::setCurrent(previous_);
}

QString WorkFolder::path(const QString& name) const
{
    return dir_.filePath(name);
}

void WorkFolder::remove(const QString& name) const
{
    QFile::remove(path(name));
}

void WorkFolder::write(const QString& name, const std::string& bytes) const
{
    QDir().mkpath(QFileInfo(path(name)).path());
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
}

ModalWatcher::ModalWatcher(Answer answer) : answer_(std::move(answer))
{
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
}

void ModalWatcher::poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        seen_ << box->windowTitle() + QStringLiteral("|") + box->text();
        details_ << box->informativeText();
    }
    if (answer_) {
        answer_(dialog);
    } else {
        dialog->accept();
    }
}

bool WindowManager::present()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
    xprop.waitForFinished(5000);
    const QByteArray root = xprop.readAllStandardOutput();
    const qsizetype at = root.indexOf("window id # ");
    if (at < 0) {
        return false;
    }
    // A manager that has gone leaves the root's property behind: its check
    // window must still be there.
    const QByteArray id = root.mid(at + 12).trimmed();
    xprop.start(QStringLiteral("xprop"), {"-id", QString::fromLatin1(id), "_NET_WM_NAME"});
    xprop.waitForFinished(5000);
    return xprop.exitCode() == 0 && xprop.readAllStandardOutput().contains("_NET_WM_NAME");
}

WindowManager::WindowManager()
{
    if (present()) {
        return;
    }
    process_.start(QStringLiteral("openbox"), {"--sm-disable"});
    // A loaded machine may take seconds to start it.
    for (int tries = 0; tries < 300 && !present(); ++tries) {
        QTest::qWait(50);
    }
}

WindowManager::~WindowManager()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        process_.waitForFinished(5000);
    }
}

std::unique_ptr<Tloader> start_maximised()
{
    auto window = create_windows();
    window->show_maximised();
    (void)QTest::qWaitForWindowExposed(window.get());
    (void)wait_maximised(*window);
    return window;
}

std::unique_ptr<Tloader> start_editor(int width, int height)
{
    auto window = create_windows();
    window->resize(width, height);
    window->show();
    (void)QTest::qWaitForWindowExposed(window.get());
    (void)wait_idle(*window);
    return window;
}

bool wait_for(const std::function<bool()>& done, int limit_ms)
{
    return QTest::qWaitFor(done, limit_ms);
}

bool wait_idle(Tloader& w)
{
    QCoreApplication::processEvents(); // what is already queued, without waiting
    return wait_for([&] { return w.settled(); });
}

bool resize_and_wait(Tloader& w, QSize size)
{
    // A window's new size comes back from the X server: the panes show when
    // the window has heard of it.
    const QSize area = w.view_area()->size();
    w.resize(size);
    return wait_for([&] { return w.view_area()->size() != area; }) && wait_idle(w);
}

bool wait_maximised(Tloader& w)
{
    // Shown, the window already covers the working area, undecorated; the
    // manager then frames it, which shrinks it by its title bar. Only that
    // is final.
    const bool managed = WindowManager::present();
    const QRect working_area = w.screen()->availableGeometry();
    return wait_for([&] {
        const bool fitted =
            !managed || (w.frameGeometry() == working_area && w.frameGeometry() != w.geometry());
        return w.isMaximized() && fitted && w.settled();
    });
}

QString shown_title(const QWidget& window)
{
    return window.windowHandle() != nullptr ? window.windowHandle()->title() : QString();
}

void settle(int ms)
{
    QTest::qWait(ms);
}

bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) &&
           QGuiApplication::applicationState() == Qt::ApplicationActive;
}

QWidget* key_target(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == window ? focus : window;
}

} // namespace facetor::test
