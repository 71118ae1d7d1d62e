#pragma once
// Cell editors of a grid view, one kind per column description.
#include <QPointer>
#include <QStyledItemDelegate>

class TGridModel;
class TGridColumn;

class TGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    TGridDelegate(TGridModel* model, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // Check boxes sit in the middle of their cells and toggle on a click anywhere in them.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // The editor open right now, if any (a grid has at most one).
    QWidget* openEditor() const { return m_open; }
    QModelIndex openIndex() const { return m_openIndex; }
    // True while the open editor closes because Enter was pressed in it.
    bool closingOnEnter() const { return m_closingOnEnter; }
    // Refuses (a message, then a silent abort) an editor whose text is no value.
    static void CheckEditorInput(QWidget* editor);

  protected:
    // Enter writes and closes the editor at once, so the view moves one cell;
    // Tab and Enter leave a text that is no value with a message.
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    TGridColumn* columnOf(const QModelIndex& index) const;

    TGridModel* m_model;
    mutable QPointer<QWidget> m_open;
    mutable QPersistentModelIndex m_openIndex;
    bool m_closingOnEnter = false;
};
