#pragma once
// The texture picker window "Texture Picker": lists the archive's MAT
// entries in `Lista`, previews the chosen one in `material`, and on Ok hands
// the shown name to the selected face. The rules live in MatPicker
// (textures/picker.h); this class holds the widgets and forwards events.
#include <QDialog>
#include <QImage>
#include <QWidget>
#include <optional>
#include <string>

#include "model/model.h"
#include "model/progress.h"
#include "textures/picker.h"
#include "uisupport/fixed_layout.h"
#include "uisupport/handler_guard.h"

class QFileDialog;
class QLabel;
class QListWidget;
class QPushButton;

namespace facetor {

// `material`: shows the picker's 255 x 255 picture, without a copy.
class PreviewImage final : public QWidget {
  public:
    PreviewImage(const MatPicker& picker, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

class Tmatpicker final : public QDialog, private PickerWindow {
    Q_OBJECT
  public:
    static constexpr int k_client_width = 688;
    static constexpr int k_client_height = 374;

    // `cur_material` is the main window's field, read each time the picker
    // is shown; `progress` is its bar. Every event runs through `guard`.
    Tmatpicker(type_model& model, Progress& progress, const std::string& cur_material,
               HandlerGuard guard, QWidget* parent = nullptr);

    // Creation: reads palette and directory from the fixed archive, then
    // fills `Lista`. Throws FileError or RangeError: the list stays empty.
    void Button2Click();

    // The handlers, named after their events.
    void FormShow();     // preselects and previews the face's material
    void Button1Click(); // preview: the list's entry or a loose file
    void ListaEnter();
    void ListaExit();
    void Button3Click(); // Ok: the name shown, if any, to the face
    void BcancelClick(); // Cancel, Escape and the close box

    const MatPicker& picker() const { return picker_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // PickerWindow
    int selected_index() const override;
    std::optional<std::string> choose_file() override;
    void texts_changed() override;
    void preview_changed(int first_row, int row_count) override;

    void build_widgets();
    void connect_handlers();
    void guarded(const HandlerBody& body) { guard_(body); }

    type_model& model_;
    Progress& progress_;
    const std::string& cur_material_;
    HandlerGuard guard_;
    MatPicker picker_;
    // The selected row when the mouse went down on the list: a click on the
    // row that was already selected changes no selection but still previews.
    int selected_at_press_ = -1;

    QLabel* Lname_ = nullptr;
    QLabel* Lsizex_ = nullptr;
    QLabel* Lsizey_ = nullptr;
    QPushButton* Button1_ = nullptr;
    PreviewImage* material_ = nullptr;
    QListWidget* Lista_ = nullptr;
    QPushButton* Button3_ = nullptr;
    QPushButton* Bcancel_ = nullptr;
    QFileDialog* opener_ = nullptr;
    FixedLayout layout_;
};

} // namespace facetor
