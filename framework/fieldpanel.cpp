#include "fieldpanel.h"

#include <QGridLayout>
#include <QLabel>

#include "dbcontrols.h"

TFieldPanel::TFieldPanel(TDataSource* source, int columns, QWidget* parent)
    : QWidget(parent),
      m_source(source),
      m_layout(new QGridLayout(this)),
      m_columns(qMax(1, columns)) {
    m_layout->setHorizontalSpacing(8);
    m_layout->setVerticalSpacing(6);
    // Editors share the width; labels take what their text needs.
    for (int c = 0; c < m_columns; ++c) m_layout->setColumnStretch(2 * c + 1, 1);
}

void TFieldPanel::AddEditor(const QString& label, QWidget* editor, const QString& field,
                            bool wide) {
    editor->setParent(this);
    if (wide && m_column > 0) {
        ++m_row;
        m_column = 0;
    }
    if (!label.isEmpty()) {
        auto* caption = new QLabel(label, this);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setBuddy(editor);
        m_layout->addWidget(caption, m_row, 2 * m_column);
    }
    const int span = wide ? 2 * m_columns - 1 : 1;
    m_layout->addWidget(editor, m_row, 2 * m_column + 1, 1, span);
    if (!field.isEmpty()) m_editors.insert(field.toLower(), editor);
    if (wide || ++m_column == m_columns) {
        ++m_row;
        m_column = 0;
    }
}

TDBEdit& TFieldPanel::AddEdit(const QString& label, const QString& field, bool wide) {
    auto* edit = new TDBEdit(m_source, field, this);
    AddEditor(label, edit, field, wide);
    return *edit;
}

TDBMemo& TFieldPanel::AddMemo(const QString& label, const QString& field) {
    auto* memo = new TDBMemo(m_source, field, this);
    memo->setMaximumHeight(90);
    AddEditor(label, memo, field, true);
    return *memo;
}

TDBCheckBox& TFieldPanel::AddCheckBox(const QString& caption, const QString& field) {
    auto* box = new TDBCheckBox(caption, m_source, field, this);
    AddEditor(QString(), box, field);
    return *box;
}

QWidget* TFieldPanel::Editor(const QString& field) const {
    return m_editors.value(field.toLower());
}
