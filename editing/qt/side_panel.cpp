#include "editing/qt/side_panel.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>

#include "editing/typed_values.h"
#include "uisupport/ui_font.h"

namespace facetor {

namespace {

QLabel* make_strip(QWidget* parent, const char* name, const char* text)
{
    auto* strip = new QLabel(QString::fromLatin1(text), parent);
    strip->setObjectName(QString::fromLatin1(name));
    strip->setAlignment(Qt::AlignCenter);
    strip->setAutoFillBackground(true);
    // Presses on a strip belong to the strip, not to the panel underneath.
    strip->setAttribute(Qt::WA_NoMousePropagation);
    return strip;
}

template <std::size_t N>
void write_labels(QTableWidget* grid, const std::array<std::string_view, N>& labels)
{
    for (std::size_t row = 0; row < N; ++row) {
        grid->item(static_cast<int>(row), 0)
            ->setText(QString::fromLatin1(labels[row].data(),
                                          static_cast<qsizetype>(labels[row].size())));
    }
}

} // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Base"));
    setFixedWidth(k_width);
    use_ui_font(this); // the grids and the caption strips

    geoset_num_ = make_strip(this, "geoset_num", "GEOSET: 0");
    geoset_num_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    set_geoset_colour(QApplication::palette().color(QPalette::Button));

    // Created in the order that leaves Mesh_panel in front at start.
    vertex_ = make_page(Page::vertex_page, "vertex_panel", "vertex_num", "VERTEX: 0", "v_prop",
                        k_vertex_rows, true);
    face_ = make_page(Page::face_page, "face_panel", "face_num", "FACE: 0", "f_prop", k_face_rows,
                      false);
    mesh_ = make_page(Page::mesh_page, "Mesh_panel", "mesh_num", "MESH: 0", "m_prop", k_mesh_rows,
                      true);

    // Focuser only takes the focus away from the grids; it sits under the
    // mesh caption strip, out of sight, and stays focusable whichever page
    // is in front.
    focuser_ = new QLineEdit(mesh_.page);
    focuser_->setObjectName(QStringLiteral("Focuser"));
    focuser_->setGeometry(0, 0, 16, k_strip_height);
    focuser_->lower();

    show_page(mesh_mode);
    resize(k_width, 400);
    lay_out_pages();
}

SidePanel::PageWidgets SidePanel::make_page(Page page, const char* page_name,
                                            const char* caption_name, const char* caption_text,
                                            const char* grid_name, int rows, bool typing)
{
    PageWidgets w;
    w.page = new QWidget(this);
    w.page->setObjectName(QString::fromLatin1(page_name));
    w.page->setAutoFillBackground(true);
    // A page covers the panel: presses on it are not presses on Base.
    w.page->setAttribute(Qt::WA_NoMousePropagation);
    w.caption = make_strip(w.page, caption_name, caption_text);
    w.grid = new PropertyGrid(rows, typing, w.page);
    w.grid->setObjectName(QString::fromLatin1(grid_name));
    QPalette palette = w.grid->palette();
    palette.setColor(QPalette::Base, w.page->palette().color(QPalette::Window));
    w.grid->setPalette(palette);
    w.grid->installEventFilter(this);
    w.grid->viewport()->installEventFilter(this);
    connect(w.grid, &PropertyGrid::cell_edited, this,
            [this, page](int row, const QString& text) { emit cell_edited(page, row, text); });
    return w;
}

void SidePanel::write_row_labels()
{
    write_labels(mesh_.grid, m_prop_labels);
    write_labels(face_.grid, f_prop_labels);
    write_labels(vertex_.grid, v_prop_labels);
}

void SidePanel::show_page(EditMode mode)
{
    const ModeSwitch& row = mode_switch(mode);
    for (Page back : row.sent_back) {
        widgets(back).page->lower();
    }
    widgets(row.brought_front).page->raise();
}

void SidePanel::show_panel_content(const PanelContent& content)
{
    const PageWidgets& w = widgets(content.page);
    w.caption->setText(QString::fromLatin1(content.caption.data(),
                                           static_cast<qsizetype>(content.caption.size())));
    w.grid->discard_edit();
    const int rows = std::min(static_cast<int>(content.values.size()), w.grid->rowCount());
    for (int row = 0; row < rows; ++row) {
        const std::string& text = content.values[static_cast<std::size_t>(row)];
        w.grid->item(row, 1)->setText(
            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void SidePanel::refresh_panels(const type_model& model, EditMode mode)
{
    if (auto content = panel_content(model, mode, decimal_point())) {
        show_panel_content(*content);
        PropertyGrid* g = grid(content->page);
        for (int row = 0; row < g->rowCount(); ++row) {
            g->set_row_typing(row, takes_typing(model, content->page, row));
        }
    }
    emit refreshed();
}

void SidePanel::commit_edit()
{
    for (const PageWidgets* w : {&mesh_, &face_, &vertex_}) {
        w->grid->commit_edit();
    }
}

bool SidePanel::is_cell_editor(const QWidget* widget) const
{
    return mesh_.grid->is_editor(widget) || face_.grid->is_editor(widget) ||
           vertex_.grid->is_editor(widget);
}

void SidePanel::set_geoset_colour(const QColor& colour)
{
    QPalette palette = geoset_num_->palette();
    palette.setColor(QPalette::Window, colour);
    geoset_num_->setPalette(palette);
}

QColor SidePanel::geoset_colour() const
{
    return geoset_num_->palette().color(QPalette::Window);
}

char SidePanel::decimal_point()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 256) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

QWidget* SidePanel::page(Page page) const
{
    return widgets(page).page;
}

QLabel* SidePanel::caption(Page page) const
{
    return widgets(page).caption;
}

PropertyGrid* SidePanel::grid(Page page) const
{
    return widgets(page).grid;
}

QWidget* SidePanel::front_page() const
{
    // raise() moves a widget to the end of its parent's child list.
    const QObjectList& kids = children();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        if (*it == mesh_.page || *it == face_.page || *it == vertex_.page) {
            return static_cast<QWidget*>(*it);
        }
    }
    return nullptr;
}

const SidePanel::PageWidgets& SidePanel::widgets(Page page) const
{
    switch (page) {
    case Page::mesh_page:
        return mesh_;
    case Page::face_page:
        return face_;
    case Page::vertex_page:
        break;
    }
    return vertex_;
}

void SidePanel::lay_out_pages()
{
    geoset_num_->setGeometry(0, 0, width(), k_strip_height);
    const int page_height = std::max(0, height() - k_strip_height);
    for (const PageWidgets* w : {&mesh_, &face_, &vertex_}) {
        w->page->setGeometry(0, k_strip_height, width(), page_height);
        w->caption->setGeometry(0, 0, width(), k_strip_height);
        w->grid->setGeometry(0, k_strip_height, width(), std::max(0, page_height - k_strip_height));
    }
}

void SidePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    lay_out_pages();
}

void SidePanel::mousePressEvent(QMouseEvent* event)
{
    emit base_pressed();
    event->accept();
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event)
{
    for (const auto& [page, w] :
         {std::pair{Page::mesh_page, &mesh_}, std::pair{Page::face_page, &face_},
          std::pair{Page::vertex_page, &vertex_}}) {
        if (watched == w->grid && event->type() == QEvent::FocusIn) {
            emit grid_focused();
        } else if (watched == w->grid->viewport() && event->type() == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            const QPoint pos = press->position().toPoint();
            emit grid_pressed(page, w->grid->columnAt(pos.x()), w->grid->rowAt(pos.y()), pos,
                              press->button(), press->modifiers());
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace facetor
