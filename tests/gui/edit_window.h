#pragma once
// The window the saving and undo tests drive: our sample model and a small
// texture archive in a work folder, maximised under a window manager, and
// helpers that edit the model with real mouse and key events.
#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app/loader.h"
#include "gui/gui_support.h"
#include "model/dump.h"
#include "model/reader.h"
#include "textures/archive_builder.h"

namespace facetor::test {

// Every field of a model, as text.
inline std::string dump_text(const type_model& model)
{
    std::ostringstream out;
    dump_model(model, out);
    return out.str();
}

// The model a file holds, read as Open reads it.
inline std::string dump_file(const QString& path)
{
    auto model = make_model();
    ReaderState reader;
    Progress progress;
    read_3do_file(path.toStdString(), *model, reader, progress);
    return dump_text(*model);
}

// Types `path` into a file dialog's name field and accepts it, as a user would.
inline void choose_in(QFileDialog* files, const QString& path)
{
    if (auto* list = files->findChild<QAbstractItemView*>("listView")) {
        list->clearSelection();
    }
    files->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(files, "accept");
}

// Answers a message box with one of its buttons (at once: a mouse click
// may land before the box has placed its buttons, and the next poll would
// count the box twice).
inline void answer_box(QDialog* dialog, QMessageBox::StandardButton button)
{
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box && box->button(button)) {
        box->button(button)->click();
    }
}

class EditWindow : public ::testing::Test {
  protected:
    void SetUp() override
    {
        folder_.write("dflt.3do", sample_model());
        Archive({{"mat\\stone.mat", pattern_mat(8, 8)}, {"mat\\wall01.mat", pattern_mat(16, 16)}})
            .write(WorkFolder::k_archive);
        start();
    }

    void start()
    {
        w_ = start_maximised();
        ASSERT_TRUE(activate(w_.get())) << "the window never became active";
    }

    Tloader& w() { return *w_; }
    type_model& model() { return *w_->state().model; }
    type_vertex& vertex(int m, int v) { return model().mesh(m).vertices[v]; }
    template <typename T = QWidget> T* child(const char* name)
    {
        return w_->findChild<T*>(QString::fromLatin1(name));
    }
    QString value(const char* grid, int row)
    {
        return child<QTableWidget>(grid)->item(row, 1)->text();
    }
    // A key typed where keys go. Shortcuts act only in the active window,
    // which the window manager gives back a while after a dialog closed.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        be_active();
        QTest::keyClick(key_target(w_.get()), k, m);
        (void)wait_idle(*w_);
    }
    void be_active()
    {
        if (!w_->isActiveWindow()) {
            EXPECT_TRUE(activate(w_.get())) << "the window did not become active again";
        }
    }

    // Ctrl-drags the selection in view 2 by `dx` pixels, from press to
    // release, once the mover has moved vertex `v` of mesh 0.
    void drag_in_view2(int dx, int v = 0)
    {
        be_active(); // the mover ticks only in the active application
        QWidget* image = child("Image2");
        const double x = vertex(0, v).x;
        const QPoint from(100, 100), to(100 + dx, 100);
        QTest::mousePress(image, Qt::LeftButton, Qt::ControlModifier, from);
        QTest::mouseMove(image, to);
        EXPECT_TRUE(QTest::qWaitFor([&] { return vertex(0, v).x != x; }, 10000));
        QTest::mouseRelease(image, Qt::LeftButton, Qt::ControlModifier, to);
        (void)wait_idle(*w_);
    }

    // Opens the cell editor of a value cell by a double click and types `text`.
    QLineEdit* type_into(const char* grid, int row, const QString& text)
    {
        be_active(); // for the shortcuts typed into the editor
        auto* table = child<QTableWidget>(grid);
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        EXPECT_NE(editor, nullptr) << "no cell editor opened";
        if (editor != nullptr) {
            editor->selectAll();
            QTest::keyClicks(editor, text);
        }
        return editor;
    }

    WorkFolder folder_;
    WindowManager wm_;
    ModalWatcher watcher_;
    std::unique_ptr<Tloader> w_;
};

} // namespace facetor::test
