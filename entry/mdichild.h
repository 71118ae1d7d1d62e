#pragma once
// Showing a window of the module or of a plug-in as a child of the host's
// multi-document area: in a frame of the window's own size, centred, brought
// forward when already there; the frame goes when the window frees itself.
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace md {

inline QMdiSubWindow* ShowAsMdiChild(QMdiArea& area, QWidget& window) {
    for (QMdiSubWindow* frame : area.subWindowList())
        if (frame->widget() == &window) {
            area.setActiveSubWindow(frame);
            return frame;
        }
    const QSize wanted = window.size();
    QMdiSubWindow* frame = area.addSubWindow(&window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // deleteLater is safe even while the frame itself is being destroyed.
    QObject::connect(&window, &QObject::destroyed, frame, &QObject::deleteLater);
    // The main window may not have been laid out yet (just shown): settle its
    // geometry before measuring the room.
    if (QLayout* layout = area.window()->layout()) layout->activate();
    const QSize room = area.viewport()->size();
    const QMargins border = frame->contentsMargins();  // title bar and frame
    const QSize size =
        (wanted + QSize(border.left() + border.right(), border.top() + border.bottom()))
            .boundedTo(room);
    frame->resize(size);
    frame->move(qMax(0, (room.width() - size.width()) / 2),
                qMax(0, (room.height() - size.height()) / 2));
    frame->show();
    area.setActiveSubWindow(frame);
    return frame;
}

}  // namespace md
