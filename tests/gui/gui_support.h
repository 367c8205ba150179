#pragma once
// What every GUI test needs: a private working folder, the real main window,
// and a watcher that answers modal dialogs and remembers what they said.
#include <QDialog>
#include <QObject>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace facetor {
class Tloader;
}

namespace facetor::test {

// The bytes of our sample model data/dflt.3do.
std::string sample_model();

// Makes a fresh temporary folder the current directory for the test's life.
// Like the folder `make run` prepares, it holds a texture archive at the
// picker's fixed path (an empty one: no entries, no palette), so that the
// editor starts without an error box; a test may replace or remove it.
class WorkFolder {
  public:
    WorkFolder();
    ~WorkFolder();
    QString path(const QString& name) const;
    // Writes `bytes` to `name`, making its folders.
    void write(const QString& name, const std::string& bytes) const;
    void remove(const QString& name) const;

    static constexpr const char* k_archive = "d/gamedata/resource/res2.gob";

  private:
    QTemporaryDir dir_;
    QString previous_;
};

// Polls for modal dialogs; each one found is handed to `answer` (default:
// accept it). Message boxes are recorded as "title|text".
class ModalWatcher : public QObject {
  public:
    using Answer = std::function<void(QDialog*)>;
    explicit ModalWatcher(Answer answer = {});
    void set_answer(Answer answer) { answer_ = std::move(answer); }
    const QStringList& seen() const { return seen_; }
    // What each box said below its text, in the same order.
    const QStringList& details() const { return details_; }
    void clear()
    {
        seen_.clear();
        details_.clear();
    }

  private:
    void poll();
    Answer answer_;
    QStringList seen_;
    QStringList details_;
    QTimer timer_;
};

// Runs a window manager (openbox) on the display for its life, as users
// have, unless one runs there already (a developer's own desktop).
class WindowManager {
  public:
    WindowManager();
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;
    // Whether a window manager looks after the display.
    static bool present();

  private:
    QProcess process_;
};

// Starts the editor the way main() does: the start-up sequence, then the
// window shown maximised; waits until it is on screen and the start-up load
// (and any box it showed) is over.
std::unique_ptr<Tloader> start_maximised();

// Starts the main window at a fixed size (not maximised, so that tests can
// resize it) and waits as start_maximised does.
std::unique_ptr<Tloader> start_editor(int width = 1000, int height = 700);

// How long a wait for a condition may take before the test gives up: long
// enough for a machine that builds and tests several branches at once.
inline constexpr int k_wait_limit_ms = 20000;

// Lets events through until `done` holds, or the limit passes; returns
// whether it came to hold.
bool wait_for(const std::function<bool()>& done, int limit_ms = k_wait_limit_ms);

// Waits until the editor has nothing left to do for what came before: the
// events posted so far are delivered and its deferred work (with any box
// that showed) is over.
bool wait_idle(Tloader& w);

// Resizes the window and waits until its panes took the new size and the
// editor is idle again; false if they never changed.
bool resize_and_wait(Tloader& w, QSize size);

// Waits until a window shown maximised has its final size: the window
// manager (if one runs) has fitted its frame to the screen's working area,
// and the editor is idle again after the size changes that took.
bool wait_maximised(Tloader& w);

// The caption as the window shows it: the modified mark as Qt puts it.
QString shown_title(const QWidget& window);

// Processes events for a fixed time. Only for what has no condition to wait
// for: that something does not happen.
void settle(int ms = 50);

// Makes `window` the active window, and so the application active, which the
// view timers need before they tick. It works with or without a window
// manager (WindowManager) on the display. Returns false if it never became
// active.
bool activate(QWidget* window);

// Where the platform delivers a key typed now: the focused control, or the
// window itself while nothing in it has the focus.
QWidget* key_target(QWidget* window);

} // namespace facetor::test

// Readable failure messages for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}
QT_END_NAMESPACE
