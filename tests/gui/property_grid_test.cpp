// The "+" rows of the mesh and face grids through the real option chooser,
// driven with mouse and key events under a window manager.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/loader.h"
#include "editing/qt/toptions.h"
#include "gui/gui_support.h"
#include "textures/archive_builder.h"

namespace facetor {
namespace {

// What the chooser showed when it opened: "caption" of each visible
// option, with "*" after a checked one.
QStringList shown_options(QDialog* dialog)
{
    QStringList shown;
    for (const char* prefix : {"b", "c"}) {
        for (int k = 1; k <= 7; ++k) {
            auto* button =
                dialog->findChild<QAbstractButton*>(QStringLiteral("%1%2").arg(prefix).arg(k));
            if (button != nullptr && button->isVisible()) {
                shown << button->text() + (button->isChecked() ? "*" : "");
            }
        }
    }
    return shown;
}

class PropertyGrids : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_.write("dflt.3do", test::sample_model());
        test::Archive({{"mat\\stone.mat", test::pattern_mat(8, 8)},
                       {"mat\\wall01.mat", test::pattern_mat(16, 16)}})
            .write(test::WorkFolder::k_archive);
        w_ = test::start_maximised();
        ASSERT_TRUE(test::activate(w_.get()));
    }

    type_model& model() { return *w_->state().model; }
    QTableWidget* grid(const char* name) { return w_->findChild<QTableWidget*>(name); }
    QString value(const char* name, int row) { return grid(name)->item(row, 1)->text(); }

    // Presses `button` on a cell of a grid; `answer` handles the chooser if
    // it opens. Returns what the chooser showed, empty if it never opened.
    QStringList press(const char* name, int row, int col, Qt::MouseButton button,
                      std::function<void(QDialog*)> answer)
    {
        QStringList shown;
        watcher_.set_answer([&](QDialog* dialog) {
            shown = shown_options(dialog);
            geometry_ = dialog->geometry();
            title_ = dialog->windowTitle();
            answer(dialog);
        });
        QTableWidget* table = grid(name);
        const QRect cell = table->visualRect(table->model()->index(row, col));
        QTest::mousePress(table->viewport(), button, Qt::NoModifier, cell.center());
        QTest::mouseRelease(table->viewport(), button, Qt::NoModifier, cell.center());
        test::settle();
        return shown;
    }

    static std::function<void(QDialog*)> click(std::initializer_list<const char*> names)
    {
        return [names](QDialog* dialog) {
            for (const char* n : names) {
                // On the indicator, as the captions are narrower than the controls.
                QTest::mouseClick(dialog->findChild<QWidget*>(n), Qt::LeftButton, {}, {8, 8});
            }
            QTest::mouseClick(dialog->findChild<QWidget*>("Button1"), Qt::LeftButton);
        };
    }

    test::WorkFolder folder_;
    test::WindowManager wm_;
    test::ModalWatcher watcher_;
    std::unique_ptr<Tloader> w_;
    QRect geometry_;
    QString title_;
};

TEST_F(PropertyGrids, LightingModeThroughTheChooserWithMouseAndWithEnter)
{
    model().mesh(0).lighting_mode = 1;
    w_->refresh_panels();
    const QStringList shown = press("m_prop", 2, 0, Qt::RightButton, click({"b4"})); // "Better"
    EXPECT_EQ(shown, (QStringList{"Fully lit", "Not lit*", "Good", "Better"}));
    EXPECT_EQ(title_, "Options");
    EXPECT_EQ(value("m_prop", 2), "3");

    press("m_prop", 2, 0, Qt::LeftButton, [](QDialog* dialog) {
        auto* good = dialog->findChild<QRadioButton*>("b3");
        QTest::mouseClick(good, Qt::LeftButton, {}, {8, 8}); // checks it, gives it the focus
        QTest::keyClick(good, Qt::Key_Return);
    });
    EXPECT_EQ(value("m_prop", 2), "2");
    EXPECT_EQ(model().mesh(0).lighting_mode, 2);

    // The chooser: client 150 x 222, centred on the screen.
    EXPECT_EQ(geometry_.size(), QSize(150, 222));
    const QPoint centre = QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((geometry_.center() - centre).manhattanLength(), 2)
        << geometry_.x() << "," << geometry_.y();
}

TEST_F(PropertyGrids, ValueCellsAndPlainLabelsOpenNothing)
{
    int opened = 0;
    const auto count = [&](QDialog* dialog) {
        ++opened;
        click({})(dialog);
    };
    press("m_prop", 2, 1, Qt::LeftButton, count);  // the value of "+LightingMode"
    press("m_prop", 0, 0, Qt::LeftButton, count);  // "Name"
    press("m_prop", 5, 0, Qt::RightButton, count); // "Node Flags"
    EXPECT_EQ(opened, 0);
}

TEST_F(PropertyGrids, FaceTypeFlagsPreselectAndStoreTheShortForm)
{
    QTest::keyClick(test::key_target(w_.get()), Qt::Key_F10);
    model().mesh(0).faces[0].face_type = "0x0005";
    w_->refresh_panels();

    const QStringList shown = press("f_prop", 1, 0, Qt::LeftButton, click({}));
    EXPECT_EQ(shown, (QStringList{"Two-sided*", "Translucent", "Collides with other objects*"}));
    EXPECT_EQ(value("f_prop", 1), "0x5");

    press("f_prop", 1, 0, Qt::MiddleButton, click({"c1", "c3"})); // unchecks both
    EXPECT_EQ(value("f_prop", 1), "0x0");
    EXPECT_EQ(model().mesh(0).faces[0].face_type, "0x0");
}

TEST_F(PropertyGrids, MaterialThroughThePickerOkStoresCancelKeeps)
{
    QTest::keyClick(test::key_target(w_.get()), Qt::Key_F10);
    model().mesh(0).faces[0].face_material = "WALL01.MAT";
    w_->refresh_panels();
    QString name;
    int row = -1;
    const auto answer = [&](const char* button) {
        return [&, button](QDialog* picker) {
            name = picker->findChild<QLabel*>("Lname")->text();
            row = picker->findChild<QListWidget*>("Lista")->currentRow();
            QTest::mouseClick(picker->findChild<QWidget*>(button), Qt::LeftButton);
        };
    };

    press("f_prop", 0, 0, Qt::LeftButton, answer("Button3"));
    EXPECT_EQ(title_, "Texture Picker");
    EXPECT_EQ(row, 1);
    EXPECT_EQ(name, "wall01.mat");
    EXPECT_EQ(value("f_prop", 0), "wall01.mat");
    EXPECT_EQ(w_->findChild<QProgressBar*>("PB")->value(), 96); // 16 rows of 6

    model().mesh(0).faces[0].face_material = "stone.mat";
    w_->refresh_panels();
    press("f_prop", 0, 0, Qt::LeftButton, answer("Bcancel"));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(value("f_prop", 0), "stone.mat");
}

} // namespace
} // namespace facetor
