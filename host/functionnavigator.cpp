#include "functionnavigator.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "appidentity.h"
#include "formregistry.h"

namespace md::host {

namespace {

constexpr int kNameRole = Qt::UserRole;
const QString kRecentCaption = QStringLiteral("最近使用");

}  // namespace

TFunctionNavigator::TFunctionNavigator(const FunctionCatalog& catalog, QWidget* parent)
    : QDockWidget(QStringLiteral("功能导航"), parent), m_catalog(catalog) {
    setObjectName(QStringLiteral("dock_navigator"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto* panel = new QWidget(this);
    m_search = new QLineEdit(panel);
    m_search->setObjectName(QStringLiteral("edt_search"));
    m_search->setPlaceholderText(QStringLiteral("搜索功能，如“颜色”"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    m_tree = new QTreeWidget(panel);
    m_tree->setObjectName(QStringLiteral("tree_functions"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setIconSize(QSize(18, 18));
    m_tree->setUniformRowHeights(true);
    m_tree->installEventFilter(this);

    m_recent = new QTreeWidgetItem(m_tree, {kRecentCaption});
    m_recent->setFlags(Qt::ItemIsEnabled);
    QList<QTreeWidgetItem*> areas;
    for (const char* menu : md::entry::kMenuNames) {
        auto* area = new QTreeWidgetItem(m_tree, {QString::fromUtf8(menu)});
        area->setFlags(Qt::ItemIsEnabled);
        areas << area;
    }
    for (const HostFunction& function : m_catalog.functions())
        if (function.allowed && function.menu >= 0 && function.menu < areas.size())
            addFunction(areas[function.menu], function);
    for (QTreeWidgetItem* area : areas) area->setHidden(area->childCount() == 0);
    m_tree->expandAll();

    connect(m_search, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openItem(item); });

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_search);
    layout->addWidget(m_tree, 1);
    setWidget(panel);
    setRecent({});
}

QTreeWidgetItem* TFunctionNavigator::addFunction(QTreeWidgetItem* group,
                                                 const HostFunction& function) {
    auto* item = new QTreeWidgetItem(group, {function.caption});
    item->setData(0, kNameRole, function.name);
    item->setIcon(0, functionIcon(function.caption, function.menu));
    if (function.hasWindow) {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setToolTip(0, function.caption);
    } else {
        item->setFlags(Qt::NoItemFlags);
        item->setToolTip(0, FunctionCatalog::notBuiltText());
    }
    return item;
}

void TFunctionNavigator::setRecent(const QStringList& names) {
    qDeleteAll(m_recent->takeChildren());
    for (const QString& name : names)
        if (const HostFunction* function = m_catalog.find(name))
            if (function->opens()) addFunction(m_recent, *function);
    m_recent->setExpanded(true);
    applyFilter();
}

void TFunctionNavigator::setSearchText(const QString& text) {
    m_search->setText(text);  // filters through textChanged
}

void TFunctionNavigator::applyFilter() {
    const QString text = m_search->text().trimmed();
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = m_tree->topLevelItem(g);
        int shown = 0;
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* item = group->child(i);
            const bool match =
                text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive) ||
                item->data(0, kNameRole).toString().contains(text, Qt::CaseInsensitive);
            item->setHidden(!match);
            shown += match ? 1 : 0;
        }
        // While searching, the recent list would only repeat what the areas show.
        group->setHidden(shown == 0 || (group == m_recent && !text.isEmpty()));
        if (shown) group->setExpanded(true);
    }
    if (!text.isEmpty())
        if (QTreeWidgetItem* first = firstShownFunction()) m_tree->setCurrentItem(first);
}

QTreeWidgetItem* TFunctionNavigator::firstShownFunction() const {
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = m_tree->topLevelItem(g);
        if (group->isHidden()) continue;
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* item = group->child(i);
            if (!item->isHidden() && (item->flags() & Qt::ItemIsEnabled)) return item;
        }
    }
    return nullptr;
}

QStringList TFunctionNavigator::shownCaptions(const QString& group) const {
    QStringList captions;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* top = m_tree->topLevelItem(g);
        if (top->text(0) != group || top->isHidden()) continue;
        for (int i = 0; i < top->childCount(); ++i)
            if (!top->child(i)->isHidden()) captions << top->child(i)->text(0);
    }
    return captions;
}

void TFunctionNavigator::openItem(QTreeWidgetItem* item) {
    if (!item || !(item->flags() & Qt::ItemIsEnabled)) return;
    const QString name = item->data(0, kNameRole).toString();
    if (!name.isEmpty()) Q_EMIT openRequested(name);
}

bool TFunctionNavigator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDockWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_search) {
        if (enter) {
            QTreeWidgetItem* current = m_tree->currentItem();
            const bool usable = current && current->parent() && !current->isHidden() &&
                                !current->parent()->isHidden();
            openItem(usable ? current : firstShownFunction());
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            m_tree->setFocus();
            if (!m_tree->currentItem()) m_tree->setCurrentItem(firstShownFunction());
            return true;
        }
    } else if (watched == m_tree && enter) {
        // Enter on an area folds or unfolds it; on a function opens it.
        QTreeWidgetItem* item = m_tree->currentItem();
        if (item && item->parent()) {
            openItem(item);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

}  // namespace md::host
