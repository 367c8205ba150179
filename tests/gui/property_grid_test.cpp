// The "+" rows of the mesh and face grids through the real option chooser,
// driven with mouse and key events under a window manager.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
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
#include "editing/panels.h"
#include "editing/property_edit.h"
#include "editing/qt/toptions.h"
#include "gui/gui_support.h"
#include "textures/archive_builder.h"
#include "textures/qt/matpicker.h"
#include "uisupport/error_box.h"

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

// The captions of a table with "*" after the one at `checked`.
template <typename Table, typename Caption>
QStringList captions(const Table& table, Caption caption, std::function<bool(std::size_t)> checked)
{
    QStringList list;
    for (std::size_t k = 0; k < table.size(); ++k) {
        list << QString::fromLatin1(caption(table[k])) + (checked(k) ? "*" : "");
    }
    return list;
}

// What the window manager lets the user do with a window (xprop's view).
QString allowed_actions(QWidget* window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {"-id", QString::number(window->winId()), "_NET_WM_ALLOWED_ACTIONS"});
    xprop.waitForFinished(5000);
    const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
    return out.contains(QStringLiteral("_NET_WM_ACTION_")) ? out : QString(); // once managed
}

// Counts the requests to close a window.
struct CloseRequests : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Close;
        return false;
    }
    int count = 0;
};

class PropertyGrids : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_.write("dflt.3do", test::sample_model());
        test::Archive({{"mat\\stone.mat", test::pattern_mat(8, 8)},
                       {"mat\\wall01.mat", test::pattern_mat(16, 16)},
                       {"mat\\bad.mat", test::solid_mat(256)}})
            .write(test::WorkFolder::k_archive);
        w_ = test::start_maximised();
        ASSERT_TRUE(test::activate(w_.get()));
    }

    type_model& model() { return *w_->state().model; }
    type_hierarchy& node()
    {
        return model().nodes[static_cast<std::size_t>(selected_node(model()))];
    }
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
        (void)test::wait_idle(*w_);
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

TEST_F(PropertyGrids, EveryLongFormPreselectsItsOptionAndOkStoresTheShortForm)
{
    for (std::size_t k = 0; k < k_node_types.size(); ++k) {
        node().node_type = k_node_types[k].long_form;
        w_->refresh_panels();
        EXPECT_EQ(press("m_prop", 6, 0, Qt::LeftButton, click({})),
                  captions(
                      k_node_types, [](const NodeTypeOption& o) { return o.caption; },
                      [k](std::size_t j) { return j == k; }));
        EXPECT_EQ(value("m_prop", 6), k_node_types[k].short_form);
    }
    // Table F: "0x000" and the digit of the sum of the flags (1, 2, 4).
    w_->BFaceClick();
    for (int sum = 1; sum <= 7; ++sum) {
        model().mesh(0).faces[0].face_type = "0x000" + std::to_string(sum);
        w_->refresh_panels();
        EXPECT_EQ(press("f_prop", 1, 0, Qt::LeftButton, click({})),
                  captions(
                      k_face_flags, [](const char* c) { return c; },
                      [sum](std::size_t j) { return (sum >> j & 1) != 0; }))
            << sum;
        EXPECT_EQ(value("f_prop", 1), QStringLiteral("0x%1").arg(sum));
    }
}

TEST_F(PropertyGrids, NodeTypeAfterAThreeOptionUseShowsAllSeven)
{
    press("m_prop", 3, 0, Qt::LeftButton, click({"b2"})); // "+TextureMode"
    EXPECT_EQ(value("m_prop", 3), "1");
    const int preselected = node_type_option(node().node_type);
    EXPECT_EQ(press("m_prop", 6, 0, Qt::LeftButton, click({"b7"})),
              captions(
                  k_node_types, [](const NodeTypeOption& o) { return o.caption; },
                  [&](std::size_t j) { return static_cast<int>(j) == preselected; }));
    EXPECT_EQ(value("m_prop", 6), "0x8");
}

TEST_F(PropertyGrids, EscapeAndTheWindowManagersCloseDoNotEndTheChooser)
{
    model().mesh(0).lighting_mode = 1;
    w_->refresh_panels();
    bool still_open = false;
    QStringList after;
    CloseRequests requests;
    press("m_prop", 2, 0, Qt::LeftButton, [&](QDialog* dialog) {
        dialog->installEventFilter(&requests);
        QTest::keyClick(dialog, Qt::Key_Escape);
        // The close box reaches the window as the window manager's request to
        // close it; so does Alt+F4, typed on the display for the manager.
        dialog->windowHandle()->close();
        // Alt+F4 goes to whichever window is active: only typed once the
        // chooser is, which on a loaded machine can take a while, and typed
        // again if the manager missed it (it grabs the key only once it has
        // taken the new window in). Without a manager, or with xdotool
        // failing, the key is not delivered and the test fails.
        EXPECT_TRUE(test::WindowManager::present());
        for (int tries = 0; tries < 3 && requests.count < 2; ++tries) {
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog, test::k_wait_limit_ms));
            EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), {"key", "alt+F4"}), 0);
            // Waited for, so that it cannot reach the next test's window.
            (void)QTest::qWaitFor([&] { return requests.count >= 2; }, 4000);
        }
        EXPECT_GE(requests.count, 2) << "the window manager's Alt+F4 never reached the chooser";
        still_open = dialog->isVisible();
        after = shown_options(dialog);
        click({"b3"})(dialog);
    });
    EXPECT_TRUE(still_open);
    EXPECT_EQ(after, (QStringList{"Fully lit", "Not lit*", "Good", "Better"}));
    EXPECT_EQ(value("m_prop", 2), "2");
}

TEST_F(PropertyGrids, AChoiceOutsideTheFieldsRangeShowsTheBoxAndLeavesThePage)
{
    press("m_prop", 6, 0, Qt::LeftButton, click({"b7"})); // "Head": choice 6
    grid("m_prop")->item(0, 1)->setText("untouched");     // a refresh would write "gem"
    const int mode = model().mesh(0).texture_mode;
    // No loaded file leaves a byte row without a checked option; with none,
    // Ok keeps the previous result, 6, which the texture mode (0..2) refuses.
    press("m_prop", 3, 0, Qt::LeftButton, [](QDialog* dialog) {
        if (qobject_cast<QMessageBox*>(dialog) != nullptr) {
            dialog->accept();
            return;
        }
        auto* group = dialog->findChild<QButtonGroup*>();
        group->setExclusive(false);
        group->checkedButton()->setChecked(false);
        group->setExclusive(true);
        click({})(dialog);
    });
    EXPECT_EQ(watcher_.seen(), QStringList{"Facetor|Range check error"});
    EXPECT_EQ(model().mesh(0).texture_mode, mode);
    EXPECT_EQ(value("m_prop", 0), "untouched");
}

TEST_F(PropertyGrids, APickerErrorShowsItsBoxOverThePickerWithItsTitleWhole)
{
    w_->BFaceClick();
    model().mesh(0).faces[0].face_material = "bad.mat"; // a solid colour index of 256
    w_->refresh_panels();
    QWidget* owner = nullptr;
    bool active = false, on_top = false;
    int width = 0, polls = 0;
    press("f_prop", 0, 0, Qt::LeftButton, [&](QDialog* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            if (!box->isActiveWindow() && ++polls < 100) {
                return; // the window manager is still giving it the focus
            }
            owner = box->parentWidget();
            active = box->isActiveWindow();
            on_top = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            width = box->width();
            box->accept();
        } else if (owner != nullptr) {
            QTest::mouseClick(dialog->findChild<QWidget*>("Bcancel"), Qt::LeftButton);
        } // else the picker, whose preview fails right after it shows
    });
    QStringList seen = watcher_.seen(); // once per poll while it waited
    seen.removeDuplicates();
    EXPECT_EQ(seen, QStringList{"Facetor|Range check error"});
    EXPECT_EQ(owner, static_cast<QWidget*>(w_->picker()));
    EXPECT_TRUE(active);
    EXPECT_TRUE(on_top);
    EXPECT_GE(width, title_bar_width("Facetor"));
}

TEST_F(PropertyGrids, ChooserAndPickerOfferNoMinimiseAndAreCentredAlike)
{
    const QPoint centre = QApplication::primaryScreen()->availableGeometry().center();
    for (const auto& [grid_name, row, mode, way_out] :
         {std::tuple{"m_prop", 2, &Tloader::BMeshClick, "Button1"},
          std::tuple{"f_prop", 0, &Tloader::BFaceClick, "Bcancel"}}) {
        SCOPED_TRACE(grid_name);
        (w_.get()->*mode)();
        QString actions;
        int polls = 0;
        press(grid_name, row, 0, Qt::LeftButton, [&](QDialog* dialog) {
            actions = allowed_actions(dialog);
            if (actions.isEmpty() && ++polls < 100) {
                return; // not yet managed
            }
            QTest::mouseClick(dialog->findChild<QWidget*>(way_out), Qt::LeftButton);
        });
        ASSERT_FALSE(actions.isEmpty());
        EXPECT_FALSE(actions.contains("MINIMIZE")) << actions.toStdString();
        EXPECT_FALSE(actions.contains("MAXIMIZE")) << actions.toStdString();
        EXPECT_LE((geometry_.center() - centre).manhattanLength(), 2)
            << geometry_.x() << "," << geometry_.y();
    }
}

} // namespace
} // namespace facetor
