#include "dialogbuttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

#include "messages.h"

namespace md::ui {

TOkCancel AddOkCancelRow(QDialog& dialog, QBoxLayout& layout, std::function<void()> onOk) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    TOkCancel buttons;
    buttons.ok = new QPushButton(QStringLiteral("确定"), &dialog);
    buttons.ok->setObjectName(QStringLiteral("But_OK"));
    buttons.cancel = new QPushButton(QStringLiteral("取消"), &dialog);
    buttons.cancel->setObjectName(QStringLiteral("But_Cancel"));
    for (QPushButton* b : {buttons.ok, buttons.cancel}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    layout.addLayout(row);
    QObject::connect(buttons.ok, &QPushButton::clicked, &dialog,
                     [onOk = std::move(onOk)] { Guard(onOk); });
    QObject::connect(buttons.cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return buttons;
}

}  // namespace md::ui
