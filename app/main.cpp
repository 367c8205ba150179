// Facetor: reads its command line, then start-up creates the main window,
// then the texture picker and the option chooser, and runs the event loop
// until the main window closes.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "app/loader.h"
#include "app/rules/command_line.h"
#include "app/startup.h"

int main(int argc, char** argv)
{
    using facetor::CommandLine;
    // Before Qt's window system starts: --help and --version need no display.
    const CommandLine line =
        facetor::parse_command_line(std::vector<std::string>(argv, argv + argc));
    switch (line.action) {
    case CommandLine::Action::help:
        std::fputs(facetor::editor_usage().c_str(), stdout);
        return 0;
    case CommandLine::Action::version:
        std::fputs(facetor::editor_version().c_str(), stdout);
        return 0;
    case CommandLine::Action::usage_error:
        std::fprintf(stderr, "facetor: %s\n%s", line.error.c_str(),
                     facetor::editor_usage().c_str());
        return 2;
    case CommandLine::Action::run:
        break;
    }
    // Qt sees its own options only, and keeps them for the whole run.
    std::vector<std::string> qt_words = line.qt_arguments;
    std::vector<char*> qt_argv;
    for (std::string& word : qt_words) {
        qt_argv.push_back(word.data());
    }
    qt_argv.push_back(nullptr);
    int qt_argc = static_cast<int>(qt_words.size());
    QApplication app(qt_argc, qt_argv.data());
    QApplication::setApplicationName(QStringLiteral("Facetor"));
    // The installed desktop entry's name, by which desktops match the window
    // with its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.facetor.Facetor"));
    // Our icon for every window and box, at each size the build drew.
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/window_icon")).entryInfoList()) {
        icon.addFile(size.filePath());
    }
    QApplication::setWindowIcon(icon);
    const std::unique_ptr<facetor::Tloader> loader = facetor::create_windows();
    if (line.file) {
        loader->set_startup_file(*line.file);
    }
    loader->show_maximised();
    return QApplication::exec();
}
