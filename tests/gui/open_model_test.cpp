// Opening models as a desktop application does: a file named at start-up,
// a file dropped on the window, the open dialog answered with real keys,
// and the error boxes of a load that fails.
#include <QAction>
#include <QFileDialog>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "gui/gui_support.h"

namespace facetor {
namespace {

using test::ModalWatcher;
using test::WindowManager;
using test::WorkFolder;

// What the X server sends, as a user's keyboard would: the key goes where
// the window manager and any grab put it.
bool type_for_real(const QStringList& args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// The window the window manager has made active.
QString active_window_id()
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {"getactivewindow"});
    xdotool.waitForFinished(5000);
    return QString::fromLatin1(xdotool.readAllStandardOutput()).trimmed();
}

TEST(OpenModel, KeysWorkAtOnceAfterAFileIsTypedIntoTheOpenDialog)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    folder.write("other.3do", test::sample_model());
    WindowManager wm;
    ASSERT_TRUE(WindowManager::present());
    bool typed = false;
    ModalWatcher watcher([&](QDialog* dialog) {
        if (qobject_cast<QFileDialog*>(dialog) == nullptr || std::exchange(typed, true)) {
            return;
        }
        // The name typed and Enter pressed at once, as a quick user does:
        // the dialog's completion list may come only after it closed.
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog, test::k_wait_limit_ms));
        EXPECT_TRUE(type_for_real({"type", "--delay", "30", "other.3do"}));
        EXPECT_TRUE(type_for_real({"key", "Return"}));
    });
    auto w = test::start_maximised();
    ASSERT_TRUE(test::activate(w.get()));
    w->findChild<QAction*>("Open1")->trigger();
    ASSERT_TRUE(test::wait_for([&] { return test::shown_title(*w).endsWith("other.3do"); }));
    ASSERT_TRUE(test::wait_idle(*w));

    // The window manager gives the main window its focus back; a key then
    // works with no click.
    const QString id = QString::number(w->winId());
    ASSERT_TRUE(test::wait_for([&] { return active_window_id() == id; }));
    EXPECT_TRUE(type_for_real({"key", "F10"}));
    EXPECT_TRUE(test::wait_for([&] { return w->state().edit_mode == face_mode; }, 5000));
    EXPECT_TRUE(watcher.seen().isEmpty()) << watcher.seen().join(", ").toStdString();
}

} // namespace
} // namespace facetor
