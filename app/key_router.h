#pragma once
// The main window's key preview: it sees every key press and release before
// the focused control, lets the menu take its shortcuts, and drives the
// navigation core; it owns Timer1, which moves the active view while a
// navigation key is held.
#include <vector>

#include "app/editor_state.h"
#include "views/key_routing.h"

class QAction;
class QEvent;
class QKeyEvent;
class QObject;
class QTimer;
class QWidget;

namespace facetor {

class WindowPanes;

class KeyRouter {
  public:
    // `shortcut_items`: the menu items with a shortcut, filled as the menus are built.
    KeyRouter(QWidget* window, EditorState& state, WindowPanes& panes,
              const std::vector<QAction*>& shortcut_items);

    // A key event the application's filter saw on its way to `watched`;
    // returns whether the focused control must not see it.
    bool key_event(QObject* watched, QEvent* event);

  private:
    MenuShortcut menu_shortcut(const QKeyEvent& key) const;
    bool FormKeyDown(QKeyEvent* event);
    void Edit1KeyUp();
    void DXTimer1Timer();
    void stop_motion();

    QWidget* window_;
    EditorState& state_;
    WindowPanes& panes_;
    const std::vector<QAction*>& shortcut_items_;
    QTimer* Timer1_ = nullptr;
};

} // namespace facetor
