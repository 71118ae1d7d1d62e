#pragma once
// How the program presents itself: its display name (the title of plain
// messages, added by the desktop to title bars) and its pictures, drawn rather
// than shipped: the application icon (a shirt on the system's blue) and the
// function icons of the toolbar and the navigator (the caption's first
// character on its area's colour).
#include <QIcon>

namespace md::host {

// Names the application and gives every window the application icon.
void setApplicationIdentity();
// The program's version ("1.0.0").
QString programVersion();

QIcon applicationIcon();
QIcon functionIcon(const QString& caption, int area);

}  // namespace md::host
