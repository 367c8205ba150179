// The menu bar and the two toolbars, built from tables.
#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <vector>

#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/glyphs.h"
#include "app/loader.h"
#include "app/window_panes.h"
#include "editing/edit_modes.h"

namespace facetor {

namespace {

using Handler = std::function<void()>;

struct MenuItem {
    const char* name;    // objectName
    const char* caption; // nullptr: a separator
    QKeyCombination shortcut;
    bool enabled;
    Handler handler;
    QKeyCombination alternate{}; // a second shortcut, if any
};

struct Menu {
    const char* name;
    const char* caption;
    std::vector<MenuItem> items; // the Mode menu's come from the mode table
};

constexpr QKeyCombination k_none{};

struct ToolButton {
    const char* name; // nullptr: a separator
    Glyph glyph;
    bool enabled;
    Handler handler;
    const char* command; // the menu item whose caption and shortcut its tooltip shows...
    const char* caption; // ...or, for a button of no menu command, its own caption
};

// What a toolbar button's tooltip says: its command's caption without the
// access key mark or trailing dots, and its shortcut, if any.
QString command_tip(QString caption, const QKeySequence& shortcut)
{
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.'))) {
        caption.chop(1);
    }
    if (shortcut.isEmpty()) {
        return caption;
    }
    return caption + QStringLiteral(" (") + shortcut.toString(QKeySequence::NativeText) +
           QLatin1Char(')');
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

void Tloader::bind(QAction* action, const std::function<void()>& handler)
{
    if (!handler) {
        return;
    }
    // A command acts on the model with the text of an open cell applied.
    connect(action, &QAction::triggered, this, [this, handler] {
        guard([this, &handler] {
            finish_typing();
            handler();
        });
    });
}

void Tloader::build_menus()
{
    // The shell's own commands keep their handlers here; the others go to
    // the parts that own them, which exist by the time a command comes.
    const auto own = [this](void (Tloader::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    const Menu menus[] = {
        {"File1",
         "&File",
         {
             // New stays greyed: there is nothing to make a model from yet.
             {"New1", "&New", Qt::CTRL | Qt::Key_N, false, own(&Tloader::New1Click)},
             {"Open1", "&Open", Qt::CTRL | Qt::Key_O, true, own(&Tloader::Load3DO)},
             {"SaveAs1", "Save &As...", Qt::CTRL | Qt::SHIFT | Qt::Key_S, true,
              [this] { document_->SaveAs1Click(); }},
             {"Save1", "&Save", Qt::CTRL | Qt::Key_S, true, [this] { document_->Save1Click(); }},
             {"N1", nullptr, k_none, false, nullptr},
             {"Exit1", "E&xit", Qt::CTRL | Qt::Key_X, true, own(&Tloader::Exit1Click),
              Qt::CTRL | Qt::Key_Q},
         }},
        {"EditMenu",
         "&Edit",
         {
             // Copy to Select All, and the Options menu's items, are run and
             // greyed by app/geometry_commands.
             // Enabled, and named after their step, by the history.
             {"Undo1", "&Undo", Qt::CTRL | Qt::Key_Z, false, [this] { edits_->Undo1Click(); }},
             {"Redo1", "&Redo", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, false,
              [this] { edits_->Redo1Click(); }, Qt::CTRL | Qt::Key_Y},
             {"N2", nullptr, k_none, false, nullptr},
             {"Copy1", "&Copy", Qt::CTRL | Qt::Key_C, false, nullptr},
             {"Paste1", "&Paste", Qt::CTRL | Qt::Key_V, false, nullptr},
             {"Delete1", "&Delete", QKeyCombination(Qt::Key_Delete), false, nullptr},
             {"SelectAll1", "Se&lect All", Qt::CTRL | Qt::Key_Insert, false, nullptr,
              Qt::CTRL | Qt::Key_A},
         }},
        {"Mode1", "&Mode", {}},
        {"Options1",
         "&Options",
         {
             {"CreateVertex1", "Create Vertex", k_none, false, nullptr},
             {"DeleteVertex1", "Delete Vertex", k_none, false, nullptr},
             {"CreateFace1", "Create Face", k_none, false, nullptr},
             {"DeleteFace1", "Delete Face", k_none, false, nullptr},
             {"CarveFace1", "Carve Face", k_none, false, nullptr},
             {"CreateMesh1", "Create Mesh...", k_none, false, nullptr},
         }},
        {"Help1",
         "&Help",
         {
             {"FacetorHelp1", "Facetor Help", k_none, false, nullptr},
             {"FacetorTutorial1", "Facetor Tutorial", k_none, false, nullptr},
             {"About1", "About...", k_none, false, nullptr},
         }},
    };
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    for (const Menu& menu : menus) {
        QMenu* m = bar->addMenu(QString::fromLatin1(menu.caption));
        m->setObjectName(QString::fromLatin1(menu.name));
        for (const MenuItem& item : menu.items) {
            QAction* action = item.caption != nullptr
                                  ? m->addAction(QString::fromLatin1(item.caption))
                                  : m->addSeparator();
            action->setObjectName(QString::fromLatin1(item.name));
            if (item.caption == nullptr) {
                continue;
            }
            if (item.shortcut != k_none) {
                QList<QKeySequence> keys{QKeySequence(item.shortcut)};
                if (item.alternate != k_none) {
                    keys << QKeySequence(item.alternate);
                }
                action->setShortcuts(keys);
                shortcut_items_.push_back(action);
            }
            action->setEnabled(item.enabled);
            bind(action, item.handler);
        }
    }
    build_mode_menu(bar->findChild<QMenu*>(QStringLiteral("Mode1")));
    setMenuBar(bar);
}

// The three mode items, one radio group with Mesh mode checked.
void Tloader::build_mode_menu(QMenu* menu)
{
    static constexpr void (Tloader::*handlers[])() = {&Tloader::BMeshClick, &Tloader::BFaceClick,
                                                      &Tloader::BvertexClick};
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const auto& rows = mode_switches();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        QAction* action = menu->addAction(text(row->menu_item));
        action->setObjectName(text(row->menu_name));
        action->setShortcut(QKeySequence(text(row->shortcut)));
        action->setCheckable(true);
        group->addAction(action);
        shortcut_items_.push_back(action);
        mode_items_[row->mode] = action;
        bind(action, [this, handler = handlers[row->mode]] { (this->*handler)(); });
    }
    mode_items_[mesh_mode]->setChecked(true);
}

void Tloader::build_toolbars()
{
    const auto own = [this](void (Tloader::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    const ToolButton commands[] = {
        {"ToolButton1", Glyph::open, true, own(&Tloader::Load3DO), "Open1", nullptr},
        {"ToolButton2", Glyph::toggle_view, false, [this] { panes_->toggle_image2(); }, nullptr,
         "Show or Hide View 2"},
        {"ToolButton3", Glyph::new_model, false, own(&Tloader::New1Click), "New1", nullptr},
        {nullptr, Glyph::open, false, nullptr, nullptr, nullptr},
        {"ToolButton4", Glyph::save, true, [this] { document_->Save1Click(); }, "Save1", nullptr},
        {"ToolButton5", Glyph::cut, false, nullptr, nullptr, "Cut"},
        {"ToolButton6", Glyph::help, false, nullptr, "FacetorHelp1", nullptr},
        {nullptr, Glyph::open, false, nullptr, nullptr, nullptr},
        {"BMesh", Glyph::mesh, true, own(&Tloader::BMeshClick), "MeshMode1", nullptr},
        {"Bvertex", Glyph::vertex, true, own(&Tloader::BvertexClick), "VertexMode1", nullptr},
        {"BFace", Glyph::face, true, own(&Tloader::BFaceClick), "FaceMode1", nullptr},
    };
    auto* tools = new QToolBar(QStringLiteral("Commands"), this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setIconSize(QSize(16, 16));
    tools->setMovable(false);
    tools->setFixedHeight(22);
    auto* button_group = new QActionGroup(this);
    button_group->setExclusive(true);
    for (const ToolButton& b : commands) {
        if (b.name == nullptr) {
            tools->addSeparator();
            continue;
        }
        QAction* action = tools->addAction(make_glyph(b.glyph), QString());
        action->setObjectName(QString::fromLatin1(b.name) + QStringLiteral("Action"));
        action->setEnabled(b.enabled);
        const auto* item = b.command != nullptr
                               ? menuBar()->findChild<QAction*>(QString::fromLatin1(b.command))
                               : nullptr;
        action->setToolTip(item != nullptr ? command_tip(item->text(), item->shortcut())
                                           : QString::fromLatin1(b.caption));
        tools->widgetForAction(action)->setObjectName(QString::fromLatin1(b.name));
        bind(action, b.handler);
    }
    for (const ModeSwitch& row : mode_switches()) {
        auto* button = tools->findChild<QToolButton*>(text(row.button));
        QAction* action = button->defaultAction();
        action->setCheckable(true);
        button_group->addAction(action);
        mode_buttons_[row.mode] = action;
    }
    mode_buttons_[mesh_mode]->setChecked(true);
    addToolBar(Qt::TopToolBarArea, tools);

    auto* progress = new QToolBar(QStringLiteral("Progress:"), this);
    progress->setObjectName(QStringLiteral("ToolBar2"));
    progress->setMovable(false);
    progress->setFixedHeight(22);
    auto* label = new QLabel(QStringLiteral("Progress: "), progress);
    label->setObjectName(QStringLiteral("Label1"));
    progress->addWidget(label);
    PB_ = new QProgressBar(progress);
    PB_->setObjectName(QStringLiteral("PB"));
    PB_->setRange(0, 100);
    PB_->setValue(0);
    PB_->setTextVisible(false);
    PB_->setFixedSize(129, 9);
    progress->addWidget(PB_);
    addToolBar(Qt::TopToolBarArea, progress);
}

} // namespace facetor
