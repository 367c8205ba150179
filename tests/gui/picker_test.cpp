// The texture picker window on its own, over a model, a progress bar and a
// guard that records errors, with a small archive at the mapped fixed path.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "textures/archive_builder.h"
#include "textures/qt/matpicker.h"

namespace facetor {
namespace {

using test::ArchiveEntry;

// Entry rows of the test archive.
constexpr int k_t64 = 0, k_wall01 = 1, k_t32 = 2, k_t128 = 3, k_t16 = 4;

std::vector<ArchiveEntry> test_entries()
{
    return {{"mat\\t64.mat", test::pattern_mat(64, 64)},
            {"mat\\wall01.mat", test::pattern_mat(8, 8)},
            {"3do\\crate.3do", "not a texture"},
            {"mat\\t32.mat", test::pattern_mat(32, 32)},
            {"mat\\t128.mat", test::pattern_mat(128, 128)},
            {"mat\\t16.mat", test::pattern_mat(16, 16)}};
}

class Picker : public ::testing::Test {
  protected:
    void SetUp() override { model_->mesh(0).faces[0].face_material = "old.mat"; }

    void write_archive()
    {
        QDir().mkpath(QStringLiteral("d/gamedata/resource"));
        test::Archive(test_entries()).write("d/gamedata/resource/res2.gob");
    }

    // Creates the picker as start-up does, then shows it as "+Material" does
    // (not modally, so that the test goes on) and lets its show handler run.
    void open(const std::string& material)
    {
        cur_material_ = material;
        picker_ = std::make_unique<Tmatpicker>(*model_, progress_, cur_material_, guard());
        try {
            picker_->Button2Click();
        } catch (const std::exception& e) {
            errors_.push_back(e.what());
        }
        show();
    }

    void show()
    {
        picker_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker_.get()));
        ASSERT_TRUE(test::activate(picker_.get())); // focus events need an active window
        ASSERT_TRUE(test::wait_for([this] {
            return QApplication::focusWidget() != nullptr &&
                   QApplication::focusWidget()->window() == picker_.get();
        }));
    }

    HandlerGuard guard()
    {
        return [this](const HandlerBody& body) {
            try {
                body();
            } catch (const std::exception& e) {
                errors_.push_back(e.what());
            }
        };
    }

    template <typename T> T* child(const char* name)
    {
        T* found = picker_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QListWidget* list() { return child<QListWidget>("Lista"); }
    QString text(const char* label) { return child<QLabel>(label)->text(); }

    void click_row(int row)
    {
        QListWidget* l = list();
        const QRect r = l->visualItemRect(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_TRUE(test::wait_for([&] { return l->currentRow() == row; }));
    }

    test::WorkFolder folder_;
    // A file dialog nobody expected is cancelled rather than left waiting.
    test::ModalWatcher watcher_{[](QDialog* d) { d->reject(); }};
    std::unique_ptr<type_model> model_ = make_model();
    std::vector<int> bar_;
    Progress progress_{[this](int v) { bar_.push_back(v); }};
    std::string cur_material_;
    std::vector<std::string> errors_;
    std::unique_ptr<Tmatpicker> picker_;
};

TEST_F(Picker, WindowListsTheArchiveEntries)
{
    write_archive();
    open("");
    EXPECT_EQ(picker_->windowTitle(), "Texture Picker");
    EXPECT_EQ(picker_->size(), QSize(688, 374));
    EXPECT_TRUE(picker_->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
             {"Label2", "NAME:"}, {"Label4", "SIZE:"}, {"Lname", ""}, {"Lsizex", ""}}) {
        EXPECT_EQ(text(name), caption) << name;
    }
    list()->setFocus(); // a focused button is the default while it has the focus
    ASSERT_TRUE(test::wait_for([this] { return list()->hasFocus(); }));
    EXPECT_TRUE(child<QPushButton>("Button3")->isDefault());
    EXPECT_EQ(child<QFileDialog>("opener")->nameFilters(), QStringList{"MAT files (*.mat)"});
    ASSERT_EQ(list()->count(), 5);
    EXPECT_EQ(list()->item(k_wall01)->text(), "wall01");
    EXPECT_EQ(list()->item(k_t16)->text(), "t16");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(Picker, ShowPreselectsTheFaceMaterialInEitherForm)
{
    write_archive();
    for (const char* material : {"wall01.mat", "WALL01.MAT"}) {
        open(material);
        EXPECT_EQ(list()->currentRow(), k_wall01) << material;
        EXPECT_EQ(text("Lname"), "wall01.mat") << material;
        EXPECT_EQ(text("Lsizex"), "8");
        EXPECT_EQ(picker_->picker().pixel(7, 7), test::test_argb(7 + 16 * 7));
    }
    EXPECT_TRUE(errors_.empty());
}

TEST_F(Picker, ClickedTextureAdvancesTheBarByHundredDivHeightPerRow)
{
    write_archive();
    open("");
    struct Case {
        int row;
        int bar;
    };
    for (const Case c : {Case{k_t64, 64}, Case{k_t32, 96}, Case{k_t128, 0}}) {
        bar_.clear();
        click_row(c.row);
        ASSERT_FALSE(bar_.empty());
        EXPECT_EQ(bar_.front(), 0) << c.row;
        EXPECT_EQ(progress_.value(), c.bar) << c.row;
    }
    EXPECT_TRUE(errors_.empty());
}

TEST_F(Picker, SmallTextureFillsTheTopLeftAndLeavesWhite)
{
    write_archive();
    open("");
    click_row(k_t16);
    const QImage shown = child<QWidget>("material")->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), test::test_argb(0));
    EXPECT_EQ(shown.pixel(15, 15), test::test_argb(15 + 16 * 15));
    for (const QPoint white : {QPoint(16, 0), QPoint(0, 16), QPoint(254, 254)}) {
        EXPECT_EQ(shown.pixel(white), 0xFFFFFFFFu) << white.x() << "," << white.y();
    }
    EXPECT_EQ(text("Lsizex"), "16");
    EXPECT_EQ(text("Lname"), "t16.mat");
}

TEST_F(Picker, CtrlClickOnTheSelectedItemKeepsItSelected)
{
    write_archive();
    open("wall01.mat");
    QListWidget* l = list();
    const QRect r = l->visualItemRect(l->item(k_wall01));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::ControlModifier, r.center());
    EXPECT_EQ(l->selectedItems(), QList<QListWidgetItem*>{l->item(k_wall01)});
    QTest::keyClick(l, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(l->selectedItems(), QList<QListWidgetItem*>{l->item(k_wall01)});
    EXPECT_EQ(text("Lname"), "wall01.mat");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(Picker, OkStoresTheShownNameAndCancelChangesNothing)
{
    write_archive();
    open("wall01.mat");
    list()->setFocus();
    ASSERT_TRUE(test::wait_for([this] { return list()->hasFocus(); }));
    QTest::keyClick(list(), Qt::Key_Down); // the key moves the selection and previews it
    EXPECT_EQ(text("Lname"), "t32.mat");
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_FALSE(picker_->isVisible());
    EXPECT_EQ(model_->mesh(0).faces[0].face_material, "old.mat");

    model_->sel_face = 1;
    show(); // preselects wall01 again
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return); // Enter presses the default button, Ok
    EXPECT_FALSE(picker_->isVisible());
    EXPECT_EQ(picker_->result(), QDialog::Accepted);
    EXPECT_EQ(model_->mesh(0).faces[1].face_material, "t32.mat");
    EXPECT_EQ(model_->mesh(0).faces[0].face_material, "old.mat");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(Picker, LoadFromFileFallsBackWhenTheDialogIsCancelled)
{
    write_archive();
    open("wall01.mat");
    list()->setFocus();
    ASSERT_TRUE(test::wait_for([this] { return list()->hasFocus(); }));
    // The press moves the focus off the list: the preview asks for a file.
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(test::wait_for([this] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<std::string>{"File not found"});
    EXPECT_EQ(progress_.value(), 0);

    QDir().mkpath(QStringLiteral("c"));
    folder_.write("c/bottle1.mat", test::pattern_mat(4, 4));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(test::wait_for([this] { return text("Lsizex") == "4"; }));
    EXPECT_EQ(errors_.size(), 1u);
    EXPECT_EQ(text("Lsizex"), "4");
    EXPECT_EQ(text("Lname"), "wall01.mat"); // named after the list's entry
}

TEST_F(Picker, MissingArchiveLeavesAnEmptyList)
{
    folder_.remove(test::WorkFolder::k_archive);
    open("wall01.mat");
    EXPECT_EQ(errors_, std::vector<std::string>{"File not found"});
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(text("Lname"), "");
}

} // namespace
} // namespace facetor
