#pragma once
// The option chooser and the texture picker: small fixed-size modal tool
// windows, always on top, centred on the screen. The error box is modal too.
class QWidget;

namespace facetor {

// Asks the window manager for a title bar without minimise and maximise
// buttons. Minimising a modal tool window would hide the main window with
// it and leave an empty screen, and a fixed layout has nothing to maximise.
// Call before the window is shown (a show event comes before the mapping).
void offer_no_minimise(QWidget& window);

// Centres the window's client area on its screen's available area. The
// window manager's frame is not known before the window is on screen, so
// the client area is what is centred; call it from the show event.
void centre_on_screen(QWidget& window);

} // namespace facetor
