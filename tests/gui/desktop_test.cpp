// What a user meets on a real desktop: texts that fit their fixed cells,
// cut texts shown whole as tooltips, and no file written.
#include <QAction>
#include <QCheckBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "app/loader.h"
#include "editing/panels.h"
#include "editing/property_edit.h"
#include "editing/qt/toptions.h"
#include "gui/gui_support.h"
#include "textures/qt/matpicker.h"
#include "uisupport/ui_font.h"

namespace facetor {
namespace {

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The texts that do not fit `room` x `height` pixels in `font`.
class CutTexts {
  public:
    void check(const QFont& font, const QString& text, int room, int height)
    {
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text) > room ||
            metrics.tightBoundingRect(text).height() > height) {
            cut_ << text;
        }
    }
    const QStringList& cut() const { return cut_; }

  private:
    QStringList cut_;
};

TEST(Desktop, EveryTextOfTheTablesFitsItsFixedCell)
{
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    auto w = test::start_editor();
    CutTexts texts;

    const auto labels = [&](const char* name, const auto& table) {
        auto* grid = child<QTableWidget>(w.get(), name);
        for (std::size_t row = 0; row < table.size(); ++row) {
            const QRect cell = grid->visualRect(grid->model()->index(static_cast<int>(row), 0));
            texts.check(grid->font(), QString::fromLatin1(table[row].data(), table[row].size()),
                        FittingItemDelegate::text_room(cell.width()), cell.height());
        }
    };
    labels("m_prop", m_prop_labels);
    labels("f_prop", f_prop_labels);
    labels("v_prop", v_prop_labels);
    for (const auto& [strip, widest] : {std::pair{"geoset_num", "GEOSET: 0"},
                                        {"mesh_num", "MESH: 32"},
                                        {"face_num", "FACE: 500"},
                                        {"vertex_num", "VERTEX: 500"}}) {
        auto* label = child<QLabel>(w.get(), strip);
        texts.check(label->font(), widest, caption_room(*label), label->height());
    }

    // Every option of tables G, L, T and N, and every flag of table F.
    auto* radio = child<QRadioButton>(w->options(), "b1");
    auto* box = child<QCheckBox>(w->options(), "c1");
    QStringList options;
    for (const char* caption : k_geometry_options) {
        options << caption;
    }
    for (const char* caption : k_lighting_options) {
        options << caption;
    }
    for (const char* caption : k_texture_options) {
        options << caption;
    }
    for (const NodeTypeOption& option : k_node_types) {
        options << option.caption;
    }
    for (const QString& caption : options) {
        texts.check(radio->font(), caption, caption_room(*radio), radio->height());
    }
    for (const char* caption : k_face_flags) {
        texts.check(box->font(), caption, caption_room(*box), box->height());
    }
    texts.check(w->options()->ok_button()->font(), "Ok", caption_room(*w->options()->ok_button()),
                17);

    for (const char* name : {"Button1", "Button3", "Bcancel"}) {
        auto* button = child<QPushButton>(w->picker(), name);
        texts.check(button->font(), button->text(), caption_room(*button), button->height());
    }
    EXPECT_EQ(texts.cut(), QStringList{});
}

TEST(Desktop, ACutTextShowsWholeAsATooltip)
{
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    auto w = test::start_editor();
    const std::string name = "a_mesh_name_much_too_long_for_its_cell";
    w->state().model->mesh(0).name = name;
    w->refresh_panels();
    auto* grid = child<QTableWidget>(w.get(), "m_prop");
    const auto tip_at = [&](int row, int col) {
        const QPoint at = grid->visualRect(grid->model()->index(row, col)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tip_at(0, 1), QString::fromStdString(name));
    QToolTip::hideText(); // the tip fades out first
    EXPECT_TRUE(test::wait_for([] { return !QToolTip::isVisible(); }));
    EXPECT_EQ(tip_at(0, 0), QString()); // "Name" fits
}

constexpr const char* k_no_file_child = "FACETOR_NO_FILE_CHILD";

// Runs in a second copy of this program, whose home folder is empty.
TEST(NoFileWritten, BothOpenDialogsOpenedAndCancelled)
{
    if (qEnvironmentVariableIsEmpty(k_no_file_child)) {
        GTEST_SKIP() << "runs inside TheHomeFolderStaysEmpty";
    }
    test::WorkFolder folder;
    folder.write("dflt.3do", test::sample_model());
    int file_dialogs = 0;
    test::ModalWatcher watcher([&](QDialog* dialog) {
        if (qobject_cast<QFileDialog*>(dialog) != nullptr) {
            ++file_dialogs;
            dialog->reject();
        } else {
            dialog->accept();
        }
    });
    auto w = test::start_editor();
    w->findChild<QAction*>("Open1")->trigger();
    (void)test::wait_idle(*w);
    w->findChild<QAction*>("SaveAs1")->trigger(); // the save dialog keeps none either
    (void)test::wait_idle(*w);
    w->picker()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w->picker()));
    // Nothing selected in the list: "Load From File" asks for a file.
    QTest::mouseClick(child(w->picker(), "Button1"), Qt::LeftButton);
    EXPECT_TRUE(test::wait_for([&] { return file_dialogs == 3 && !watcher.seen().isEmpty(); }));
    w->picker()->hide();
    EXPECT_EQ(file_dialogs, 3);
    EXPECT_EQ(watcher.seen(), QStringList{"Facetor|File not found"}); // no c/bottle1.mat here
    w.reset(); // the dialogs go with their windows
}

TEST(NoFileWritten, TheHomeFolderStaysEmpty)
{
    if (!qEnvironmentVariableIsEmpty(k_no_file_child)) {
        GTEST_SKIP();
    }
    QTemporaryDir home;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(k_no_file_child, "1");
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    env.remove("XDG_DATA_HOME");
    env.remove("XDG_CACHE_HOME");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=NoFileWritten.BothOpenDialogs*"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;

    // The graphics driver's shader caches under ~/.cache are not ours.
    QStringList written;
    QDirIterator files(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = QDir(home.path()).relativeFilePath(files.next());
        if (!path.startsWith(QStringLiteral(".cache"))) {
            written << path;
        }
    }
    EXPECT_EQ(written, QStringList{});
}

} // namespace
} // namespace facetor
