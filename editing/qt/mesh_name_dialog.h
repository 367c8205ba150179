#pragma once
// The name dialog of Create Mesh...: a small modal tool window with the
// name field, Ok and Cancel. Ok takes a name only when it follows the
// typed-name rules of the grids, and says why it does not in the window.
#include <QDialog>
#include <optional>
#include <string>

#include "uisupport/handler_guard.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace facetor {

class MeshNameDialog : public QDialog {
    Q_OBJECT
  public:
    // Ok runs through `guard`, the main window's error guard.
    explicit MeshNameDialog(HandlerGuard guard, QWidget* parent = nullptr);

    // Asks for a name, starting from `suggested` (selected, so that typing
    // replaces it). The name as typed (UTF-8) after Ok; none after Cancel,
    // Escape or the close box.
    std::optional<std::string> ask(const std::string& suggested);

    QLineEdit* name_field() const { return name_; }
    QLabel* reason() const { return reason_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Button1Click();

    HandlerGuard guard_;
    QLineEdit* name_ = nullptr;
    QLabel* reason_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace facetor
