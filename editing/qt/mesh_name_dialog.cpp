#include "editing/qt/mesh_name_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editing/typed_values.h"
#include "uisupport/tool_window.h"
#include "uisupport/ui_font.h"

namespace facetor {

namespace {

constexpr int k_name_dialog_width = 220;
constexpr int k_name_dialog_height = 84;

} // namespace

MeshNameDialog::MeshNameDialog(HandlerGuard guard, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      guard_(std::move(guard))
{
    setObjectName(QStringLiteral("MeshName"));
    setWindowTitle(QStringLiteral("Create Mesh"));
    setFixedSize(k_name_dialog_width, k_name_dialog_height);
    setModal(true);
    use_ui_font(this);

    auto* label = new QLabel(QStringLiteral("Name:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(8, 8, 36, 17);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Edit1"));
    name_->setGeometry(44, 8, 168, 17);
    label->setBuddy(name_);
    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("Reason"));
    reason_->setGeometry(8, 29, 204, 28); // two lines: the longest reason fits
    reason_->setWordWrap(true);
    reason_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ok_ = new QPushButton(QStringLiteral("Ok"), this);
    ok_->setObjectName(QStringLiteral("Button1"));
    ok_->setGeometry(76, 60, 65, 17);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Button2"));
    cancel_->setGeometry(147, 60, 65, 17);
    connect(ok_, &QPushButton::clicked, this, [this] { guard_([this] { Button1Click(); }); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject); // Qt's own slot alone
}

std::optional<std::string> MeshNameDialog::ask(const std::string& suggested)
{
    name_->setText(QString::fromStdString(suggested));
    name_->selectAll();
    name_->setFocus();
    reason_->clear();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return name_->text().toStdString();
}

void MeshNameDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    guard_([this] {
        offer_no_minimise(*this);
        centre_on_screen(*this); // whatever the main window's place
    });
}

void MeshNameDialog::Button1Click()
{
    const TypedValue typed = parse_typed(Field::mesh_name, name_->text().toStdString(), '.');
    if (!typed.refusal.empty()) {
        reason_->setText(QString::fromStdString(typed.refusal));
        tip_if_cut(*reason_);
        name_->setFocus();
        return;
    }
    accept();
}

} // namespace facetor
