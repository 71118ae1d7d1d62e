#include "propertygrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <algorithm>

#include "editorfactory.h"
#include "editors.h"
#include "messages.h"
#include "remoteudpdataset.h"

using namespace md::ui;

// ---------------------------------------------------------------- TPropertyRow

TPropertyRow::TPropertyRow(const QString& fieldName, const QString& caption, int category,
                           QObject* parent)
    : TGridColumn(fieldName, caption, parent), m_category(category) {}

TPropertyRow& TPropertyRow::mask(const QString& regularExpression) {
    m_mask = regularExpression;
    if (onChanged) onChanged();
    return *this;
}

// ---------------------------------------------------------------- TPropertyModel

TPropertyModel::TPropertyModel(const QList<TPropertyRow*>* rows, const QStringList* categories,
                               QObject* parent)
    : QAbstractItemModel(parent), m_rows(rows), m_categories(categories) {}

void TPropertyModel::setDataSource(TDataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &TDataSource::dataChanged, this, &TPropertyModel::valuesChanged);
        connect(source, &TDataSource::stateChanged, this, [this] { valuesChanged(-1); });
    }
    valuesChanged(-1);
}

void TPropertyModel::setInputAllowed(bool allowed) {
    if (m_inputAllowed == allowed) return;
    m_inputAllowed = allowed;
    valuesChanged(-1);
}

void TPropertyModel::rebuild() {
    beginResetModel();
    m_top.clear();
    m_children.assign(std::size_t(m_categories->size()), {});
    std::vector<bool> placed(std::size_t(m_categories->size()), false);
    for (int i = 0; i < m_rows->size(); ++i) {
        const int category = m_rows->at(i)->Category();
        if (category >= 0 && category < m_categories->size()) {
            m_children[std::size_t(category)].push_back(i);
            continue;
        }
        m_top.push_back(Top{-1, i});
    }
    // Categories come in the order they were added, rows without one after them.
    std::vector<Top> top;
    for (int c = 0; c < m_categories->size(); ++c) top.push_back(Top{c, -1});
    top.insert(top.end(), m_top.begin(), m_top.end());
    m_top = std::move(top);
    endResetModel();
}

bool TPropertyModel::recordAvailable() const {
    const TRemoteUdpDataSet* ds = m_source ? m_source->DataSet() : nullptr;
    return ds && ds->Active() && (!ds->IsEmpty() || ds->State() == dsInsert);
}

TField* TPropertyModel::fieldOf(const TPropertyRow* row) const {
    TRemoteUdpDataSet* ds = m_source ? m_source->DataSet() : nullptr;
    if (!row || !ds || !ds->Active()) return nullptr;
    return ds->FindField(row->FieldName());
}

QString TPropertyModel::valueText(const TPropertyRow* row) const {
    if (!recordAvailable()) return QString();
    const TField* field = fieldOf(row);
    if (!field) return QString();
    if (row->Kind() == TEditorKind::Lookup && !row->LookupDisplayField().isEmpty())
        return row->lookupText(field->Value());
    if (!row->DisplayFormat().isEmpty() && !field->IsNull()) {
        if (row->Kind() == TEditorKind::Date)
            return TField::formatDateTime(field->AsDateTime(), row->DisplayFormat());
        return TField::formatNumber(field->AsFloat(), row->DisplayFormat());
    }
    if (row->Kind() == TEditorKind::Date && !field->IsNull())
        return field->AsDate().toString(QStringLiteral("yyyy-MM-dd"));
    return field->DisplayText();
}

void TPropertyModel::valuesChanged(int fieldIndex) {
    if (m_top.empty()) return;
    // A single field: only its row repaints; otherwise every value.
    if (fieldIndex >= 0) {
        TRemoteUdpDataSet* ds = m_source ? m_source->DataSet() : nullptr;
        if (ds && fieldIndex < ds->FieldCount()) {
            const QString name = ds->Fields(fieldIndex).FieldName();
            for (const TPropertyRow* row : *m_rows)
                if (row->FieldName().compare(name, Qt::CaseInsensitive) == 0) {
                    const QModelIndex at = indexOfRow(row, 1);
                    Q_EMIT dataChanged(at, at);
                }
            return;
        }
    }
    for (const TPropertyRow* row : *m_rows) {
        const QModelIndex at = indexOfRow(row, 1);
        Q_EMIT dataChanged(at, at);
    }
}

TPropertyRow* TPropertyModel::rowAt(const QModelIndex& index) const {
    if (!index.isValid()) return nullptr;
    const quintptr parentCategory = index.internalId();
    if (parentCategory == 0) {
        if (index.row() < 0 || index.row() >= int(m_top.size())) return nullptr;
        const Top& top = m_top[std::size_t(index.row())];
        return top.row >= 0 ? m_rows->at(top.row) : nullptr;
    }
    const auto& children = m_children[std::size_t(parentCategory - 1)];
    return index.row() < int(children.size()) ? m_rows->at(children[std::size_t(index.row())])
                                              : nullptr;
}

bool TPropertyModel::isCategory(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == 0 && index.row() < int(m_top.size()) &&
           m_top[std::size_t(index.row())].category >= 0;
}

QModelIndex TPropertyModel::indexOfRow(const TPropertyRow* row, int column) const {
    const int at = int(m_rows->indexOf(const_cast<TPropertyRow*>(row)));
    if (at < 0) return QModelIndex();
    const int category = row->Category();
    if (category >= 0 && category < int(m_children.size())) {
        const auto& children = m_children[std::size_t(category)];
        const auto it = std::find(children.begin(), children.end(), at);
        if (it == children.end()) return QModelIndex();
        return createIndex(int(it - children.begin()), column, quintptr(category + 1));
    }
    for (std::size_t i = 0; i < m_top.size(); ++i)
        if (m_top[i].row == at) return createIndex(int(i), column, quintptr(0));
    return QModelIndex();
}

QModelIndex TPropertyModel::index(int row, int column, const QModelIndex& parent) const {
    if (column < 0 || column > 1 || row < 0) return QModelIndex();
    if (!parent.isValid())
        return row < int(m_top.size()) ? createIndex(row, column, quintptr(0)) : QModelIndex();
    if (!isCategory(parent)) return QModelIndex();
    const int category = m_top[std::size_t(parent.row())].category;
    if (row >= int(m_children[std::size_t(category)].size())) return QModelIndex();
    return createIndex(row, column, quintptr(category + 1));
}

QModelIndex TPropertyModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0) return QModelIndex();
    const int category = int(child.internalId()) - 1;
    for (std::size_t i = 0; i < m_top.size(); ++i)
        if (m_top[i].category == category) return createIndex(int(i), 0, quintptr(0));
    return QModelIndex();
}

int TPropertyModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return int(m_top.size());
    if (parent.column() != 0 || !isCategory(parent)) return 0;
    return int(m_children[std::size_t(m_top[std::size_t(parent.row())].category)].size());
}

int TPropertyModel::columnCount(const QModelIndex&) const {
    return 2;
}

QVariant TPropertyModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (isCategory(index)) {
        if (index.column() == 0 && role == Qt::DisplayRole)
            return m_categories->at(m_top[std::size_t(index.row())].category);
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    }
    const TPropertyRow* row = rowAt(index);
    if (!row) return QVariant();
    if (index.column() == 0)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? QVariant(row->Caption())
                                                                  : QVariant();
    const TField* field = fieldOf(row);
    const bool check = row->Kind() == TEditorKind::CheckBox;
    switch (role) {
        case Qt::DisplayRole:
            return check ? QVariant() : QVariant(valueText(row));
        case Qt::EditRole:
            if (!field || !recordAvailable() || field->IsNull()) return QVariant();
            if (check) return field->AsBoolean();
            return field->Value();
        case Qt::CheckStateRole:
            if (!check) return QVariant();
            return field && recordAvailable() && !field->IsNull() && field->AsBoolean()
                       ? Qt::Checked
                       : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            if (row->Kind() == TEditorKind::Currency)
                return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant();
        default:
            return QVariant();
    }
}

bool TPropertyModel::write(TPropertyRow* row, const QVariant& value) {
    if (!row || !m_inputAllowed || row->ReadOnly() || !m_source) return false;
    const bool written = Guard([&] {
        if (!m_source->Edit()) Abort();
        TField* field = fieldOf(row);
        if (!field) Abort();
        if (row->Kind() == TEditorKind::CheckBox) {
            field->SetAsBoolean(value.toBool());
            return;
        }
        const QString text = value.isNull() ? QString() : value.toString();
        if (!row->EditMask().isEmpty() && !text.isEmpty()) {
            const QRegularExpression whole(QRegularExpression::anchoredPattern(row->EditMask()));
            if (!whole.match(text).hasMatch()) Abort();
        }
        if (text.isEmpty())
            field->Clear();
        else
            field->SetAsString(row->UpperCase() ? UpperAscii(text) : text);
    });
    if (!written) {
        valuesChanged(-1);  // the editor showed a value that was not taken
        return false;
    }
    // Free text joins the list for the rest of the session.
    if (row->Kind() == TEditorKind::ValueList && row->FreeText()) {
        const QString text = value.toString();
        if (!text.isEmpty()) row->AddItem(text);
    }
    return true;
}

bool TPropertyModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    TPropertyRow* row = rowAt(index);
    if (!row || index.column() != 1) return false;
    if (role == Qt::CheckStateRole) return write(row, value.toInt() == Qt::Checked);
    if (role != Qt::EditRole) return false;
    return write(row, value);
}

Qt::ItemFlags TPropertyModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (isCategory(index)) return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const TPropertyRow* row = rowAt(index);
    if (index.column() == 1 && row && m_inputAllowed && !row->ReadOnly() && fieldOf(row) &&
        recordAvailable())
        flags |=
            row->Kind() == TEditorKind::CheckBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return flags;
}

QVariant TPropertyModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
    return section == 0 ? QStringLiteral("项目") : QStringLiteral("内容");
}

// ---------------------------------------------------------------- the editors

class TPropertyDelegate : public QStyledItemDelegate {
  public:
    explicit TPropertyDelegate(TPropertyModel* model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    QWidget* openEditor() const { return m_open; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const TPropertyRow* row = m_model->rowAt(index);
        if (!row || row->Kind() == TEditorKind::CheckBox) return nullptr;  // toggled in place
        TEditorSpec spec = EditorSpecOf(*row);
        // The property grid has no button or colour cells: those rows take text.
        if (spec.kind == TEditorKind::Button || spec.kind == TEditorKind::Color)
            spec.kind = TEditorKind::Text;
        spec.editMask = row->EditMask();
        const TField* field = m_model->fieldOf(row);
        if (field && field->DataType() == ftString && field->Size() > 0)
            spec.maxLength = field->Size();
        QWidget* editor = CreateCellEditor(parent, spec);
        if (!editor) editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_open = editor;
        return editor;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        if (m_open == editor) m_open = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QString text;
        if (!EditorText(editor, &text)) return QStyledItemDelegate::setEditorData(editor, index);
        const QVariant value = index.data(Qt::EditRole);
        SetEditorText(editor, value.isNull() ? QString() : value.toString());
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text;
        if (!EditorText(editor, &text))
            return QStyledItemDelegate::setModelData(editor, model, index);
        // The same value again would put a browsing record into the edit state.
        const QVariant old = index.data(Qt::EditRole);
        QString oldText = old.isNull() ? QString() : old.toString();
        const TPropertyRow* row = m_model->rowAt(index);
        if (row && row->Kind() == TEditorKind::Date) oldText = oldText.left(10);
        if (oldText == text) return;
        model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const TPropertyRow* row = m_model->rowAt(index);
        if (!row || index.column() != 1 || row->Kind() != TEditorKind::CheckBox)
            return QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        md::ui::PaintCheckCell(painter, cell, index.data(Qt::CheckStateRole).toInt() == Qt::Checked,
                               false);
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        const TPropertyRow* row = m_model->rowAt(index);
        if (row && index.column() == 1 && row->Kind() == TEditorKind::CheckBox) {
            // A click anywhere in the cell, or the space bar, toggles it.
            const bool click = event->type() == QEvent::MouseButtonRelease &&
                               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            const bool key = event->type() == QEvent::KeyPress &&
                             static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
            if (click || key) {
                if (!(model->flags(index) & Qt::ItemIsUserCheckable)) return true;
                const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
                return true;
            }
            if (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick)
                return true;
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

  private:
    TPropertyModel* m_model;
    mutable QPointer<QWidget> m_open;
};

// ---------------------------------------------------------------- TDBVerticalGrid

TDBVerticalGrid::TDBVerticalGrid(QWidget* parent, const QString& name) : QTreeView(parent) {
    setObjectName(name);
    m_model = new TPropertyModel(&m_rows, &m_categories, this);
    setModel(m_model);
    m_delegate = new TPropertyDelegate(m_model, this);
    setItemDelegate(m_delegate);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setAlternatingRowColors(false);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    header()->hide();
    header()->setStretchLastSection(true);
    setIndentation(14);
    SetCaptionWidth(120);
    // A click on a caption edits its value.
    connect(this, &QTreeView::clicked, this, [this](const QModelIndex& at) {
        if (at.column() == 0 && m_model->rowAt(at)) setCurrentIndex(at.siblingAtColumn(1));
    });
}

TDBVerticalGrid::~TDBVerticalGrid() = default;

void TDBVerticalGrid::setDataSource(TDataSource* source) {
    m_source = source;
    m_model->setDataSource(source);
}

int TDBVerticalGrid::AddCategory(const QString& caption) {
    m_categories.append(caption);
    m_model->rebuild();
    expandAll();
    for (int i = 0; i < m_model->rowCount(); ++i)
        if (m_model->isCategory(m_model->index(i, 0)))
            setFirstColumnSpanned(i, QModelIndex(), true);
    return int(m_categories.size() - 1);
}

QString TDBVerticalGrid::CategoryCaption(int category) const {
    return m_categories.value(category);
}

TPropertyRow& TDBVerticalGrid::AddRow(const QString& fieldName, const QString& caption,
                                      int category) {
    auto* row = new TPropertyRow(fieldName, caption, category, this);
    row->setObjectName(objectName() + fieldName);
    row->onChanged = [this, row] {
        const QModelIndex first = m_model->indexOfRow(row, 0);
        if (first.isValid()) Q_EMIT m_model->dataChanged(first, first.siblingAtColumn(1));
    };
    m_rows.append(row);
    m_model->rebuild();
    expandAll();
    for (int i = 0; i < m_model->rowCount(); ++i)
        if (m_model->isCategory(m_model->index(i, 0)))
            setFirstColumnSpanned(i, QModelIndex(), true);
    return *row;
}

TPropertyRow* TDBVerticalGrid::Row(const QString& fieldName) const {
    for (TPropertyRow* row : m_rows)
        if (row->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0) return row;
    return nullptr;
}

void TDBVerticalGrid::SetCaptionWidth(int pixels) {
    header()->resizeSection(0, pixels);
}

void TDBVerticalGrid::SetInputAllowed(bool allowed) {
    if (!allowed) PostEditor();
    m_model->setInputAllowed(allowed);
}

bool TDBVerticalGrid::InputAllowed() const {
    return m_model->inputAllowed();
}

void TDBVerticalGrid::PostEditor() {
    if (QWidget* editor = m_delegate->openEditor()) {
        commitData(editor);
        QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TDBVerticalGrid::CancelEditor() {
    if (QWidget* editor = m_delegate->openEditor())
        QTreeView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

QString TDBVerticalGrid::DisplayText(const QString& fieldName) const {
    const TPropertyRow* row = Row(fieldName);
    if (!row) return QString();
    if (row->Kind() == TEditorKind::CheckBox) {
        const TField* field = m_model->fieldOf(row);
        return field && !field->IsNull() && field->AsBoolean() ? QStringLiteral("是")
                                                               : QStringLiteral("否");
    }
    return m_model->valueText(row);
}

bool TDBVerticalGrid::SetRowText(const QString& fieldName, const QString& text) {
    TPropertyRow* row = Row(fieldName);
    if (!row || !(m_model->flags(valueIndex(row)) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    if (row->Kind() == TEditorKind::CheckBox)
        return m_model->write(row,
                              text == QLatin1String("1") ||
                                  text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                  text == QStringLiteral("是"));
    // A typed text must fit the row's mask, as the editor's validator makes it.
    if (!row->EditMask().isEmpty() && !text.isEmpty() &&
        !QRegularExpression(QRegularExpression::anchoredPattern(row->EditMask()))
             .match(text)
             .hasMatch())
        return false;
    return m_model->write(row, text.isEmpty() ? QVariant() : QVariant(text));
}

void TDBVerticalGrid::EditRow(const QString& fieldName) {
    const QModelIndex at = valueIndex(Row(fieldName));
    if (!at.isValid()) return;
    setCurrentIndex(at);
    edit(at);
}

QModelIndex TDBVerticalGrid::valueIndex(const TPropertyRow* row) const {
    return row ? m_model->indexOfRow(row, 1) : QModelIndex();
}

void TDBVerticalGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Enter in an editor: the value is written, then the next row's editor opens.
    if (hint == QAbstractItemDelegate::SubmitModelCache) {
        QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        moveToNextRow();
        return;
    }
    QTreeView::closeEditor(editor, hint);
}

void TDBVerticalGrid::moveToNextRow() {
    QModelIndex at = currentIndex();
    for (int guard = 0; guard < m_rows.size() + m_categories.size() + 2; ++guard) {
        at = indexBelow(at.siblingAtColumn(0));
        if (!at.isValid()) return;
        const QModelIndex value = at.siblingAtColumn(1);
        if (m_model->flags(value) & Qt::ItemIsEditable) {
            setCurrentIndex(value);
            edit(value);
            return;
        }
    }
}

void TDBVerticalGrid::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    // Category rows stand out; captions sit on the header colour like a grid's header.
    if (m_model->isCategory(index)) {
        painter->fillRect(option.rect, palette().color(QPalette::Button).darker(108));
    } else {
        QRect caption = option.rect;
        caption.setRight(columnViewportPosition(1) - 1);
        painter->fillRect(caption, palette().color(QPalette::Button));
    }
    QTreeView::drawRow(painter, option, index);
    painter->save();
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    if (!m_model->isCategory(index)) {
        const int x = columnViewportPosition(1) - 1;
        painter->drawLine(QPoint(x, option.rect.top()), QPoint(x, option.rect.bottom()));
    }
    painter->restore();
}
