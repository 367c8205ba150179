// One motion tick in the real main window, with the 3D pane shown and our
// sample model loaded: the pan step, the redraw of the active view, and the
// paint and flush Qt does to put it on screen, done at once rather than at
// the next turn of the event loop. Needs a display (make bench gives one).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "app/loader.h"
#include "app/startup.h"

namespace facetor {
namespace {

// A working folder holding the sample model and an empty texture archive.
void prepare_folder(const QTemporaryDir& folder)
{
    QDir::setCurrent(folder.path());
    QFile::copy(QStringLiteral(FACETOR_SOURCE_DIR "/data/dflt.3do"), QStringLiteral("dflt.3do"));
    QDir().mkpath(QStringLiteral("d/gamedata/resource"));
    QFile archive(QStringLiteral("d/gamedata/resource/res2.gob"));
    if (archive.open(QIODevice::WriteOnly)) {
        archive.write(QByteArray(16, '\0'));
    }
}

// Runs the event loop until `done`, for at most `ms`; it sleeps between
// events rather than spin, so that the measured process gets the machine.
template <typename Done> void wait_for(Done done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.start(5);
    while (!done() && clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// The application object lives in main() and the editor is closed before it
// goes: Qt's windows and OpenGL contexts must not outlive it into the
// destruction of statics at exit, where they crashed the program.
QApplication* g_app = nullptr;

QApplication& application()
{
    return *g_app;
}

// The editor started as users start it, in a working folder of its own
// holding the sample model and an empty texture archive.
struct Editor {
    QApplication& app = application();
    QTemporaryDir folder;
    std::unique_ptr<Tloader> window;

    Editor()
    {
        prepare_folder(folder);
        window = create_windows();
        window->show_maximised();
        wait_for([this] { return window->settled() && window->isVisible(); });
        // The motion timer acts only while the application is active.
        window->activateWindow();
        wait_for([] { return QGuiApplication::applicationState() == Qt::ApplicationActive; });
        wait_for([] { return false; }, 300); // the first paints of every pane
    }
};

// From creating the windows to the model drawn in every pane and on screen
// (the start-up load runs once the window has been painted). The process's
// own start and the application object are not in it. It runs first, so that
// its first repetition is a cold start: the first OpenGL context of the
// process and the first shader.
void BM_StartToFirstModel(benchmark::State& state)
{
    application();
    QTemporaryDir folder;
    prepare_folder(folder);
    for (auto _ : state) {
        auto window = create_windows();
        window->show_maximised();
        // The start-up load's one try is over: the flag is clear and nothing waits.
        wait_for([&] { return window->settled() && window->state().first_load == 0; });
        window->repaint();
        state.PauseTiming();
        if (window->state().model->geosets[0].mesh_count == 0) {
            state.SkipWithError("the model did not load");
        }
        window->close();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstModel)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->MeasureProcessCPUTime();

std::unique_ptr<Editor> g_editor;

Editor& editor()
{
    if (!g_editor) {
        g_editor = std::make_unique<Editor>();
    }
    return *g_editor;
}

void BM_MotionTick_WithPreview(benchmark::State& state)
{
    Tloader& w = *editor().window;
    auto* timer1 = w.findChild<QTimer*>(QStringLiteral("Timer1"));
    auto* dxdraw = w.findChild<QWidget*>(QStringLiteral("DXDraw"));
    const int active = w.state().view.active_view;
    auto* view = w.findChild<QWidget*>(QStringLiteral("Image%1").arg(active));
    if (!timer1 || !dxdraw || !dxdraw->isVisible() || !view || w.state().first_load != 0) {
        state.SkipWithError("the editor did not start with its 3D pane and model");
        return;
    }
    // An arrow held in the active view; the ticks come from here, not from
    // the timer, so that each is measured alone. Left and Right take turns
    // every 40 ticks, so that the model stays in the picture.
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && focus->window() == &w ? focus : &w;
    auto hold = [target](Qt::Key key) {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    };
    const type_view& moving = w.state().view.views[active];
    int expected = moving.pan_x;
    int step = 8;
    int ticks = 0;
    hold(Qt::Key_Left);
    timer1->stop();
    for (auto _ : state) {
        if (++ticks % 40 == 0) {
            state.PauseTiming();
            step = -step;
            hold(step > 0 ? Qt::Key_Left : Qt::Key_Right);
            timer1->stop();
            state.ResumeTiming();
        }
        QMetaObject::invokeMethod(timer1, "timeout", Qt::DirectConnection);
        view->repaint();
        expected += step;
    }
    if (moving.pan_x != expected) {
        state.SkipWithError("the ticks did not pan the view");
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}
// Process CPU time: a software OpenGL driver works in threads of its own.
BENCHMARK(BM_MotionTick_WithPreview)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
} // namespace facetor

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    facetor::g_app = &app;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    facetor::g_editor.reset();
    return 0;
}
