#include "app/key_router.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "app/error_guard.h"
#include "app/view_timer.h"
#include "app/window_panes.h"
#include "editing/qt/side_panel.h"
#include "views/qt/virtual_keys.h"

namespace facetor {

KeyRouter::KeyRouter(QWidget* window, EditorState& state, WindowPanes& panes,
                     const std::vector<QAction*>& shortcut_items)
    : window_(window), state_(state), panes_(panes), shortcut_items_(shortcut_items)
{
    Timer1_ = make_view_timer(
        window, QStringLiteral("Timer1"), 20, [this] { DXTimer1Timer(); },
        [this] { stop_motion(); });
}

bool KeyRouter::key_event(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* target =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_;
    // Only keys meant for this window, and each key once: the filter sees an
    // unaccepted key again on its way up the parent chain.
    if (widget == nullptr || widget != target || widget->window() != window_) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (panes_.side_panel()->is_cell_editor(widget)) {
        // Every key goes to an open cell editor, which takes its own editing
        // shortcuts; the others reach the menu. A release still ends a motion.
        if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
            guarded(window_, [&] { Edit1KeyUp(); });
        }
        return false;
    }
    const KeyEventKind kind = event->type() == QEvent::ShortcutOverride
                                  ? KeyEventKind::shortcut_override
                              : event->type() == QEvent::KeyPress ? KeyEventKind::press
                                                                  : KeyEventKind::release;
    // A shortcut override the filter takes is dropped unanswered, so the
    // menu gets the key.
    const KeyRoute route = route_key(kind, menu_shortcut(*key), key->isAutoRepeat());
    if (route.handler == KeyRoute::Handler::none) {
        return route.take;
    }
    bool consumed = false;
    guarded(window_, [&] {
        if (route.handler == KeyRoute::Handler::key_down) {
            consumed = FormKeyDown(key);
        } else {
            Edit1KeyUp();
        }
    });
    return keep_from_control(consumed, !key->text().isEmpty() && key->text().at(0).isPrint());
}

MenuShortcut KeyRouter::menu_shortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    for (const QAction* action : shortcut_items_) {
        // Every shortcut of the item, the alternates too.
        if (action->shortcuts().contains(pressed)) {
            return action->isEnabled() ? MenuShortcut::enabled : MenuShortcut::disabled;
        }
    }
    return MenuShortcut::none;
}

bool KeyRouter::FormKeyDown(QKeyEvent* event)
{
    const KeyDownResult r =
        navigation_key_down(state_.nav, state_.view, *state_.model, state_.edit_mode,
                            virtual_key(*event), (event->modifiers() & Qt::ShiftModifier) != 0);
    // Switching on a running timer leaves its period alone; restarting it
    // at every repeated key-down would starve it.
    if (r.start_timer && !Timer1_->isActive()) {
        Timer1_->start();
    }
    if (r.selection_stepped) {
        panes_.refresh_panels();
        panes_.redraw_all_views();
    }
    return r.consume;
}

void KeyRouter::Edit1KeyUp()
{
    stop_motion();
}

void KeyRouter::stop_motion()
{
    navigation_key_up(state_.nav);
    Timer1_->stop();
}

void KeyRouter::DXTimer1Timer()
{
    if (motion_tick(state_.nav, state_.view)) {
        panes_.render_active_view();
    }
}

} // namespace facetor
