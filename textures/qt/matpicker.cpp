#include "textures/qt/matpicker.h"

#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>

#include "model/read_diagnostic.h"
#include "uisupport/error_box.h"
#include "uisupport/open_dialog.h"
#include "uisupport/tool_window.h"
#include "uisupport/ui_font.h"

namespace facetor {

namespace {

// The picker's texts are 8-bit names, as in the model.
QString text_of(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QLabel* make_label(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A panel used as a text field.
QLabel* make_field(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* field = new QLabel(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignCenter);
    field->setGeometry(geometry);
    return field;
}

QPushButton* make_button(QWidget* parent, const char* name, const QString& text,
                         const QRect& geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

// `Lista`: a single-selection list box, whose one selected item the user
// can move but not take away (Ctrl+click or Ctrl+Space on it would in a
// plain Qt list).
class SingleChoiceList final : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        const QItemSelectionModel::SelectionFlags command =
            QListWidget::selectionCommand(index, event);
        if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
            return QItemSelectionModel::NoUpdate;
        }
        return command;
    }
};

// Runs a step of the picker that reads a file: an error of that file
// names it below the error's text, as a failed model load does.
template <typename F> void naming_the_file(const MatPicker& picker, F&& step)
{
    try {
        step();
    } catch (const ExplainedError&) {
        throw;
    } catch (const std::exception& e) {
        std::string line = read_error_line(picker.file_read(), e);
        if (line.empty()) {
            throw;
        }
        throw ExplainedError(e.what(), std::move(line));
    }
}

} // namespace

PreviewImage::PreviewImage(const MatPicker& picker, QWidget* parent)
    : QWidget(parent), image_(reinterpret_cast<const uchar*>(picker.pixels()), MatPicker::k_side,
                              MatPicker::k_side, MatPicker::k_side * 4, QImage::Format_RGB32)
{
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is ours
}

void PreviewImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, image_, dirty);
}

Tmatpicker::Tmatpicker(type_model& model, Progress& progress, const std::string& cur_material,
                       HandlerGuard guard, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      model_(model), progress_(progress), cur_material_(cur_material), guard_(std::move(guard)),
      layout_(*this, {k_client_width, k_client_height})
{
    setObjectName(QStringLiteral("matpicker"));
    setWindowTitle(QStringLiteral("Texture Picker"));
    build_widgets();
    connect_handlers();
}

void Tmatpicker::build_widgets()
{
    use_ui_font(this); // the layout's 17-pixel fields and 13-pixel items
    QWidget* page = layout_.page();

    make_label(page, "Label2", QStringLiteral("NAME:"), 7, 7);
    Lname_ = make_field(page, "Lname", {8, 24, 73, 17});
    make_label(page, "Label4", QStringLiteral("SIZE:"), 8, 48);
    Lsizex_ = make_field(page, "Lsizex", {8, 64, 41, 17});
    Lsizey_ = make_field(page, "Lsizey", {56, 64, 41, 17});
    Button1_ = make_button(page, "Button1", QStringLiteral("Load From File"), {183, 63, 81, 17});
    tip_if_cut(*Button1_);

    auto* panel = new QFrame(page);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(6, 88, 257, 257);
    material_ = new PreviewImage(picker_, panel);
    material_->setObjectName(QStringLiteral("material"));
    material_->setGeometry(1, 1, MatPicker::k_side, MatPicker::k_side);

    // Seven columns of items 13 high, filled top to bottom.
    constexpr int k_columns = 7;
    Lista_ = new SingleChoiceList(page);
    Lista_->setObjectName(QStringLiteral("Lista"));
    Lista_->setGeometry(270, 8, 413, 337);
    Lista_->setFlow(QListView::TopToBottom);
    Lista_->setWrapping(true);
    Lista_->setUniformItemSizes(true);
    Lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    Lista_->setGridSize({(Lista_->width() - 2 * Lista_->frameWidth()) / k_columns, 13});
    Lista_->setItemDelegate(new FittingItemDelegate(Lista_)); // long names show as tooltips

    Button3_ = make_button(page, "Button3", QStringLiteral("Ok"), {544, 352, 65, 17});
    Button3_->setDefault(true);
    Bcancel_ = make_button(page, "Bcancel", QStringLiteral("Cancel"), {616, 352, 65, 17});

    layout_.keep_in_view({Button3_, Bcancel_});
    opener_ =
        make_open_dialog(this, "opener", QStringLiteral("Open Texture"),
                         QStringLiteral("MAT files (*.mat)"), QStringLiteral("mat"), false, guard_);

    Button1_->setFocus(); // first in the tab order
}

void Tmatpicker::connect_handlers()
{
    connect(Button1_, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(Button3_, &QPushButton::clicked, this, [this] { guarded([this] { Button3Click(); }); });
    connect(Bcancel_, &QPushButton::clicked, this, [this] { guarded([this] { BcancelClick(); }); });
    // A selection made with the mouse or the keys previews at once, like a
    // click; a click on the row that stays selected previews it again.
    connect(Lista_, &QListWidget::itemSelectionChanged, this, [this] {
        guarded([this] {
            if (selected_index() >= 0) {
                Button1Click();
            }
        });
    });
    connect(Lista_, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        guarded([this, index] {
            if (index.row() == selected_at_press_ && index.row() == selected_index()) {
                Button1Click();
            }
        });
    });
    Lista_->installEventFilter(this);
    Lista_->viewport()->installEventFilter(this);
}

bool Tmatpicker::eventFilter(QObject* watched, QEvent* event)
{
    guarded([&] {
        if (watched == Lista_ && event->type() == QEvent::FocusIn) {
            ListaEnter();
        } else if (watched == Lista_ && event->type() == QEvent::FocusOut) {
            ListaExit();
        } else if (watched == Lista_->viewport() && event->type() == QEvent::MouseButtonPress) {
            selected_at_press_ = selected_index();
        }
    });
    return QDialog::eventFilter(watched, event);
}

void Tmatpicker::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    guarded([this] {
        offer_no_minimise(*this);
        layout_.fit(); // a screen too small for it gets it whole, scrolling
        centre_on_screen(*this);
    });
    // No message box may open inside a show event: the preview that may
    // fail runs right after it.
    QMetaObject::invokeMethod(
        this, [this] { guarded([this] { FormShow(); }); }, Qt::QueuedConnection);
}

void Tmatpicker::Button2Click()
{
    naming_the_file(picker_, [this] { picker_.load_archive(); });
    Lista_->clear();
    const MatDirectory& directory = picker_.directory();
    for (int i = 0; i < directory.mat_count; ++i) {
        Lista_->addItem(text_of(directory.mats[static_cast<std::size_t>(i)].name));
    }
}

void Tmatpicker::FormShow()
{
    const int found = picker_.preselect(cur_material_);
    if (found < 0) {
        return;
    }
    {
        const QSignalBlocker quiet(Lista_); // the preview below is the only one
        Lista_->setCurrentRow(found);
    }
    Button1Click();
}

void Tmatpicker::Button1Click()
{
    material_->update(); // whatever the preview got to, it shows
    naming_the_file(picker_, [this] { picker_.preview(*this, progress_); });
}

void Tmatpicker::ListaEnter()
{
    picker_.set_from_list(1);
}

void Tmatpicker::ListaExit()
{
    picker_.set_from_list(0);
}

void Tmatpicker::Button3Click()
{
    // With no texture shown yet (no archive, nothing previewed) there is
    // no name to give: the face keeps its material.
    if (!picker_.name_text().empty()) {
        store_face_material(model_, picker_.name_text());
    }
    accept();
}

void Tmatpicker::BcancelClick()
{
    reject();
}

int Tmatpicker::selected_index() const
{
    const QList<QListWidgetItem*> selected = Lista_->selectedItems();
    return selected.isEmpty() ? -1 : Lista_->row(selected.first());
}

std::optional<std::string> Tmatpicker::choose_file()
{
    if (opener_->exec() != QDialog::Accepted || opener_->selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(opener_->selectedFiles().first()).toStdString();
}

void Tmatpicker::texts_changed()
{
    for (const auto& [field, text] :
         {std::pair{Lname_, &picker_.name_text()}, std::pair{Lsizex_, &picker_.width_text()},
          std::pair{Lsizey_, &picker_.height_text()}}) {
        field->setText(text_of(*text));
        tip_if_cut(*field);
    }
}

void Tmatpicker::preview_changed(int first_row, int row_count)
{
    material_->repaint(0, first_row, MatPicker::k_side, row_count);
}

} // namespace facetor
