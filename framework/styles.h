#pragma once
// The shared display colours applied to a window: buttons (and the toolbar)
// take ColorButton, panels ColorBack, and every grid view the style dmStyle1.
class QWidget;

namespace md::ui {
void ApplySharedColours(QWidget* window);
}
