#pragma once
// The option chooser window: a small modal tool window showing the radio
// options b1..b7 or the check boxes c1..c3 of an OptionsState, with "Ok" as
// the only way out. The state belongs to the chooser and lives as long as
// the program; callers fill it in, call show_modal() and read `choice`.
#include <QDialog>
#include <array>

#include "editing/options.h"
#include "uisupport/fixed_layout.h"
#include "uisupport/handler_guard.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace facetor {

class TOptions : public QDialog {
    Q_OBJECT
  public:
    // Ok runs through `guard`, the main window's error guard.
    explicit TOptions(HandlerGuard guard, QWidget* parent = nullptr);

    OptionsState& options() { return options_; }

    // Shows the state and returns when Ok has closed the dialog.
    void show_modal();

    QPushButton* ok_button() const { return Button1_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void Button1Click();
    // The widgets from the state, and the user's checks back into it.
    void show_state();
    void take_checks();

    HandlerGuard guard_;
    OptionsState options_;
    QPushButton* Button1_ = nullptr;
    std::array<QRadioButton*, k_radio_options> b_{};
    std::array<QCheckBox*, k_flag_options> c_{};
    QButtonGroup* radio_group_ = nullptr;
    bool closing_by_ok_ = false;
    FixedLayout layout_;
};

} // namespace facetor
