#include "editing/qt/toptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "uisupport/tool_window.h"
#include "uisupport/ui_font.h"

namespace facetor {

namespace {

constexpr int k_client_width = 150;
constexpr int k_client_height = 222;

QString text(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

TOptions::TOptions(HandlerGuard guard, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      guard_(std::move(guard)), layout_(*this, {k_client_width, k_client_height})
{
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    use_ui_font(this);
    QWidget* page = layout_.page();

    radio_group_ = new QButtonGroup(this);
    for (int k = 0; k < k_radio_options; ++k) {
        auto* option = new QRadioButton(page);
        option->setObjectName(QStringLiteral("b%1").arg(k + 1));
        option->setGeometry(8, 8 + 24 * k, 137, 17);
        radio_group_->addButton(option, k);
        b_[static_cast<std::size_t>(k)] = option;
    }
    for (int k = 0; k < k_flag_options; ++k) {
        auto* box = new QCheckBox(page);
        box->setObjectName(QStringLiteral("c%1").arg(k + 1));
        box->setGeometry(8, 8 + 24 * k, 137, 17);
        c_[static_cast<std::size_t>(k)] = box;
    }
    Button1_ = new QPushButton(QStringLiteral("Ok"), page);
    Button1_->setObjectName(QStringLiteral("Button1"));
    Button1_->setGeometry(80, 200, 65, 17);
    Button1_->setDefault(true);
    layout_.keep_in_view({Button1_});
    connect(Button1_, &QPushButton::clicked, this, [this] { guard_([this] { Button1Click(); }); });
    show_state();
}

void TOptions::show_modal()
{
    exec();
}

void TOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    guard_([this] {
        show_state();
        offer_no_minimise(*this);
        layout_.fit();           // a screen too small for it gets it whole, scrolling
        centre_on_screen(*this); // whatever the main window's place
    });
}

void TOptions::Button1Click()
{
    take_checks();
    options_ok(options_);
    show_state();
    closing_by_ok_ = true;
    accept();
    closing_by_ok_ = false;
}

// Ok is the only way out: Escape and the window manager's close would leave
// the options showing and checked for the next caller.
void TOptions::reject() {}

void TOptions::closeEvent(QCloseEvent* event)
{
    if (!closing_by_ok_) {
        event->ignore();
    }
}

void TOptions::show_state()
{
    // An exclusive group never lets its checked option go.
    radio_group_->setExclusive(false);
    for (std::size_t k = 0; k < b_.size(); ++k) {
        b_[k]->setText(text(options_.b[k].caption));
        tip_if_cut(*b_[k]);
        b_[k]->setChecked(options_.b[k].checked);
        b_[k]->setVisible(options_.b[k].visible);
    }
    radio_group_->setExclusive(true);
    for (std::size_t k = 0; k < c_.size(); ++k) {
        c_[k]->setText(text(options_.c[k].caption));
        tip_if_cut(*c_[k]);
        c_[k]->setChecked(options_.c[k].checked);
        c_[k]->setVisible(options_.c[k].visible);
    }
}

void TOptions::take_checks()
{
    for (std::size_t k = 0; k < b_.size(); ++k) {
        options_.b[k].checked = b_[k]->isChecked();
    }
    for (std::size_t k = 0; k < c_.size(); ++k) {
        options_.c[k].checked = c_[k]->isChecked();
    }
}

} // namespace facetor
