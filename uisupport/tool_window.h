#pragma once
// The option chooser and the texture picker: small fixed-size modal tool
// windows, always on top, centred on the screen. The error box and the file
// dialogs are modal too.
#include <QMargins>
#include <QSize>

class QWidget;

namespace facetor {

// Asks the window manager for a title bar without minimise and maximise
// buttons. Minimising a modal tool window would hide the main window with
// it and leave an empty screen, and a fixed layout has nothing to maximise.
// Call before the window is shown (a show event comes before the mapping).
void offer_no_minimise(QWidget& window);

// Centres the window on its screen's available area, keeping its frame on
// the screen; call it from the show event.
void centre_on_screen(QWidget& window);

// What the window manager's frame adds around `window`: as it is once the
// window has been on screen; before, as the frame of the window it belongs
// to, and never less than a title bar and thin borders.
QMargins frame_margins(const QWidget& window);

// The largest size `window` may have for its frame to fit its screen's
// available area.
QSize room_on_screen(const QWidget& window);

// A resizable window larger than that room is made as large as the room.
void fit_to_screen(QWidget& window);

} // namespace facetor
