#pragma once
// The data module: created once, on the module's first call. Its creation runs
// the loaders of the shared values and builds the grid styles forms assign to
// their grids. A database error in a loader is shown in the error box, ends the
// loading and still leaves the module created.
#include <QColor>
#include <QObject>

// A grid style: background and text colour; an invalid colour means "not set".
struct TGridStyle {
    QColor Color;
    QColor TextColor;
};

class Tdict_dm : public QObject {
    Q_OBJECT
  public:
    explicit Tdict_dm(QObject* owner);
    ~Tdict_dm() override;

    TGridStyle cxStyle_White;  // white background
    TGridStyle cxStyle1;       // nothing set
    TGridStyle dmStyle1;       // ColorButton
    TGridStyle dmStyle2;       // ColorBack
    TGridStyle dmStyle3;       // ColorBack
    TGridStyle dmStyle4;       // ColorGroupBox, teal text

    static Tdict_dm* instance();  // null before the module's first call
};

namespace md::ui {
// "$00BBGGRR" or a colour name ("clWhite", "clBtnFace", ...) to a colour.
QColor colorFromText(const QString& text);
}  // namespace md::ui
