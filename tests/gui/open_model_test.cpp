// Opening models as a desktop application does: a file named at start-up,
// a file dropped on the window, the open dialog answered with real keys,
// and the error boxes of a load that fails.
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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

QString xdotool_output(const QStringList& args)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    xdotool.waitForFinished(5000);
    return QString::fromLatin1(xdotool.readAllStandardOutput()).trimmed();
}

// The question before a model is closed answered Discard; any other box Ok.
void discard_or_accept(QDialog* dialog)
{
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box && box->button(QMessageBox::Discard)) {
        box->button(QMessageBox::Discard)->click();
    } else {
        dialog->accept();
    }
}

// Drops `files` on the window through its own handler, as a file manager's
// drop arrives; returns whether the window took it.
bool drop_on(Tloader& w, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) {
        urls << QUrl::fromLocalFile(file);
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    (void)test::wait_idle(w);
    return drop.isAccepted();
}

TEST(OpenModel, HelpAndVersionNeedNoDisplayAndAFaultyLineGivesTheUsage)
{
    const struct {
        QStringList args;
        int code;
        const char* out; // what standard output begins with
        const char* err; // what standard error begins with
    } cases[] = {
        {{"--help"}, 0, "Usage: facetor [OPTION]... [FILE]\n", ""},
        {{"-platform", "xcb", "--version"}, 0, "facetor " FACETOR_VERSION "\n", ""},
        {{"--bogus"}, 2, "", "facetor: unknown option '--bogus'\nUsage: facetor [OPTION]..."},
        {{"a.3do", "b.3do"}, 2, "", "facetor: only one FILE may be given: 'a.3do' and 'b.3do'\n"},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.insert("QT_QPA_PLATFORM", "no-such-platform");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.start(QStringLiteral(FACETOR_EDITOR), c.args);
        ASSERT_TRUE(editor.waitForFinished(60000));
        EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(editor.exitCode(), c.code);
        EXPECT_TRUE(editor.readAllStandardOutput().startsWith(c.out));
        const QByteArray err = editor.readAllStandardError();
        EXPECT_TRUE(err.startsWith(c.err)) << err.toStdString();
    }
}

TEST(OpenModel, TheFileNamedOnTheCommandLineLoadsAtStartUp)
{
    WorkFolder folder; // no dflt.3do: reading it would show a box
    folder.write("models/ship.3do", test::sample_model());
    WindowManager wm;
    QProcess editor;
    editor.setProcessChannelMode(QProcess::ForwardedChannels);
    editor.start(QStringLiteral(FACETOR_EDITOR), {"-platform", "xcb", "models/ship.3do"});
    ASSERT_TRUE(editor.waitForStarted());
    const QString pid = QString::number(editor.processId());
    const auto windows = [&pid](const char* name) {
        return xdotool_output({"search", "--all", "--onlyvisible", "--pid", pid, "--name", name});
    };
    EXPECT_TRUE(test::wait_for(
        [&] { return !windows("^FACETOR v0\\.1 Preview - models/ship\\.3do$").isEmpty(); }));
    EXPECT_EQ(windows("^Facetor$"), "") << "an error box opened";
    editor.kill();
    editor.waitForFinished();
}

TEST(OpenModel, AModelDroppedOnTheWindowOpensAfterTheQuestion)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    folder.write("OTHER.3DO", test::sample_model());
    folder.write("notes.txt", "not a model");
    ModalWatcher watcher([](QDialog* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            box->button(QMessageBox::Cancel)->click();
        }
    });
    auto w = test::start_editor();
    const QStringList files{folder.path("notes.txt"), folder.path("OTHER.3DO"),
                            folder.path("dflt.3do")};
    // A drag with no model in it is refused: the pointer shows no drop.
    EXPECT_FALSE(drop_on(*w, {folder.path("notes.txt")}));

    // A model with changes asks first; Cancel keeps it.
    w->state().document.load_failed();
    EXPECT_TRUE(drop_on(*w, files));
    EXPECT_EQ(watcher.seen(), QStringList{"Facetor|Save changes to dflt.3do before closing?"});
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - dflt.3do");

    // Discard: the first model opens, and the status bar says the rest went.
    watcher.clear();
    watcher.set_answer(discard_or_accept);
    EXPECT_TRUE(drop_on(*w, files));
    EXPECT_EQ(watcher.seen().size(), 1);
    EXPECT_EQ(test::shown_title(*w), "FACETOR v0.1 Preview - " + folder.path("OTHER.3DO"));
    EXPECT_EQ(w->findChild<QLabel*>("StatusMessage")->text(),
              "2 other dropped files were ignored: one model opens at a time");
}

TEST(OpenModel, AFailedLoadSaysWhereAndWhyBelowTheErrorsText)
{
    WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    const std::string head = "SECTION: HEADER\r\n3DO 2.1\r\nSECTION: MODELRESOURCE\r\n";
    folder.write("format.3do", head + "MATERIALS x\r\n");
    folder.write("range.3do", head + "MATERIALS 65\r\n");
    ASSERT_TRUE(QDir().mkdir(folder.path("folder.3do")));
    const QString partly = "; the model now holds what was read before the error";
    const auto system = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
    // The words of `facetor-cli check`, without its repeat of the first line.
    const struct {
        const char* file;
        QString text;
        QString detail;
    } cases[] = {
        {"gone.3do", "File not found", ": " + system(ENOENT)},
        {"format.3do", "ERROR", ":4:11: expected an integer" + partly},
        {"range.3do", "Range check error", ":4:11: material_count 65 outside 0..64" + partly},
        {"folder.3do", "I/O error " + QString::number(EISDIR), ": " + system(EISDIR)},
    };
    ModalWatcher watcher(discard_or_accept);
    auto w = test::start_editor();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        watcher.clear();
        const QString path = folder.path(c.file);
        EXPECT_TRUE(drop_on(*w, {path}));
        // After a question, if the last load left changes.
        ASSERT_FALSE(watcher.seen().isEmpty());
        EXPECT_EQ(watcher.seen().constLast(), "Facetor|" + c.text);
        EXPECT_EQ(watcher.details().constLast(), path + c.detail);
        // The caption keeps its earlier text.
        EXPECT_TRUE(test::shown_title(*w).startsWith("FACETOR v0.1 Preview - dflt.3do"));
    }
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
        if (qobject_cast<QFileDialog*>(dialog) == nullptr) {
            dialog->reject(); // seen, and so failing the test below
            return;
        }
        if (std::exchange(typed, true)) {
            return;
        }
        // The name typed and Enter pressed at once, as a quick user does:
        // the dialog's completion list may come only after it closed.
        // Typed once the name field has the focus: on a busy machine the
        // dialog is active before that, and a first key would go elsewhere.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog, test::k_wait_limit_ms));
        EXPECT_TRUE(test::wait_for([&] { return name->hasFocus(); }));
        EXPECT_TRUE(type_for_real({"type", "--delay", "30", "other.3do"}));
        EXPECT_TRUE(type_for_real({"key", "Return"}));
        // A key lost on the way fails the test instead of leaving the dialog
        // open for ever.
        if (!test::wait_for([&] { return !dialog->isVisible(); })) {
            ADD_FAILURE() << "the dialog stayed open with " << name->text().toStdString();
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* open = qobject_cast<QDialog*>(window); open && open->isVisible()) {
                    QMetaObject::invokeMethod(open, &QDialog::reject, Qt::QueuedConnection);
                }
            }
        }
    });
    auto w = test::start_maximised();
    ASSERT_TRUE(test::activate(w.get()));
    w->findChild<QAction*>("Open1")->trigger();
    ASSERT_TRUE(test::wait_for([&] { return test::shown_title(*w).endsWith("other.3do"); }));
    ASSERT_TRUE(test::wait_idle(*w));

    // The window manager gives the main window its focus back; a key then
    // works with no click.
    const QString id = QString::number(w->winId());
    ASSERT_TRUE(test::wait_for([&] { return xdotool_output({"getactivewindow"}) == id; }));
    EXPECT_TRUE(type_for_real({"key", "F10"}));
    EXPECT_TRUE(test::wait_for([&] { return w->state().edit_mode == face_mode; }, 5000));
    EXPECT_TRUE(watcher.seen().isEmpty()) << watcher.seen().join(", ").toStdString();
}

} // namespace
} // namespace facetor
