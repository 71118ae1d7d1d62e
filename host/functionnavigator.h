#pragma once
// The function navigator docked at the left of the main window: the functions
// the user may use as a tree by area, the ones opened last on top, and a
// search box that keeps only the functions whose caption (or name) holds the
// text typed. Double-click or Enter opens the function under the cursor; Enter
// in the search box opens the first one found. Functions without a window are
// listed greyed, with a tooltip saying so.
#include <QDockWidget>

#include "functioncatalog.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace md::host {

class TFunctionNavigator : public QDockWidget {
    Q_OBJECT
  public:
    TFunctionNavigator(const FunctionCatalog& catalog, QWidget* parent = nullptr);

    void setRecent(const QStringList& names);
    // Keeps the functions whose caption or name holds the text (any case).
    void setSearchText(const QString& text);

    QLineEdit* searchBox() const { return m_search; }
    QTreeWidget* tree() const { return m_tree; }
    // The functions shown under an area (or "最近使用"), in order, as captions.
    QStringList shownCaptions(const QString& group) const;

  Q_SIGNALS:
    void openRequested(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidgetItem* addFunction(QTreeWidgetItem* group, const HostFunction& function);
    void applyFilter();
    void openItem(QTreeWidgetItem* item);
    QTreeWidgetItem* firstShownFunction() const;

    const FunctionCatalog& m_catalog;
    QLineEdit* m_search;
    QTreeWidget* m_tree;
    QTreeWidgetItem* m_recent;
};

}  // namespace md::host
