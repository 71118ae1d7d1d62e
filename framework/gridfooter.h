#pragma once
// The parts of a grid drawn around its view: the band row above the column
// header and the footer row with summaries. Both follow the view's sections
// (widths, order, horizontal scrolling).
#include <QHash>
#include <QWidget>

class TDBTableView;
class TGridColumn;

class TGridFooter : public QWidget {
    Q_OBJECT
  public:
    explicit TGridFooter(TDBTableView* view, QWidget* parent);
    QSize sizeHint() const override;
    // The summary of a column as shown; computed once after every change of rows.
    QString text(const TGridColumn& column);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void recompute();

    TDBTableView* m_view;
    QHash<const TGridColumn*, QString> m_texts;
    bool m_dirty = true;
};

class TBandHeader : public QWidget {
    Q_OBJECT
  public:
    explicit TBandHeader(TDBTableView* view, QWidget* parent);
    QSize sizeHint() const override;
    // The band's extent in this widget's coordinates (empty when none of its columns shows).
    QRect bandRect(int band) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TDBTableView* m_view;
};
