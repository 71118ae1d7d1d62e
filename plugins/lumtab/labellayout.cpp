#include "labellayout.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <cmath>
#include <functional>

#include "inifile.h"
#include "rowsink.h"

namespace lumtab {

// ---- values -----------------------------------------------------------------

QString displayText(const QVariant& value, int decimals) {
    if (!value.isValid() || value.isNull()) return QString();
    if (decimals >= 0) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok) return QString::number(number, 'f', decimals);
    }
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float: {
            const double number = value.toDouble();
            if (std::floor(number) == number && std::fabs(number) < 1e15)
                return QString::number(qint64(number));
            QString text = QString::number(number, 'f', 6);
            while (text.endsWith(QLatin1Char('0'))) text.chop(1);
            return text;
        }
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
        case QMetaType::QDate:
            return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        case QMetaType::QDateTime:
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        default:
            return value.toString();
    }
}

FieldTemplate FieldTemplate::parse(const QString& text, QString* error) {
    FieldTemplate result;
    error->clear();
    Part part;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if ((c == QLatin1Char('{') || c == QLatin1Char('}')) && next == c) {
            part.literal += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('}')) {
            *error = QStringLiteral("“}”前面没有配对的“{”");
            return {};
        }
        if (c != QLatin1Char('{')) {
            part.literal += c;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
        if (close < 0) {
            *error = QStringLiteral("“{”后面没有配对的“}”");
            return {};
        }
        const QString inside = text.mid(i + 1, close - i - 1);
        const qsizetype colon = inside.lastIndexOf(QLatin1Char(':'));
        part.column = (colon < 0 ? inside : inside.left(colon)).trimmed();
        if (part.column.isEmpty()) {
            *error = QStringLiteral("花括号中缺少列名");
            return {};
        }
        if (colon >= 0) {
            bool ok = false;
            part.decimals = inside.mid(colon + 1).trimmed().toInt(&ok);
            if (!ok || part.decimals < 0 || part.decimals > 10) {
                *error = QStringLiteral("{%1} 的小数位数应为 0 到 10").arg(inside);
                return {};
            }
        }
        result.m_parts.push_back(part);
        part = Part();
        i = close;
    }
    if (!part.literal.isEmpty() || result.m_parts.isEmpty()) result.m_parts.push_back(part);
    return result;
}

QStringList FieldTemplate::columns() const {
    QStringList names;
    for (const Part& part : m_parts)
        if (!part.column.isEmpty()) names << part.column;
    return names;
}

QString FieldTemplate::bind(const QVector<ColumnMeta>& columns) {
    for (Part& part : m_parts) {
        if (part.column.isEmpty()) continue;
        part.index = -1;
        for (int c = 0; c < columns.size(); ++c)
            if (columns[c].name.compare(part.column, Qt::CaseInsensitive) == 0) {
                part.index = c;
                break;
            }
        if (part.index < 0) return part.column;
    }
    return QString();
}

QString FieldTemplate::render(const QVariant* row) const {
    if (m_parts.size() == 1 && m_parts.front().column.isEmpty()) return m_parts.front().literal;
    QString text;
    for (const Part& part : m_parts) {
        text += part.literal;
        if (part.index >= 0) text += displayText(row[part.index], part.decimals);
    }
    return text;
}

// ---- the file ---------------------------------------------------------------

QRectF LabelLayout::labelRect(int slot) const {
    const int column = slot % columns;
    const int row = slot / columns;
    return QRectF(marginLeft + column * (label.width() + gapX),
                  marginTop + row * (label.height() + gapY), label.width(), label.height());
}

namespace {

class Parser {
  public:
    explicit Parser(const QString& name) : m_name(name) {}

    [[noreturn]] void fail(const QString& text) const {
        if (m_line > 0)
            throw ReportError{
                QStringLiteral("报表文件 %1 第 %2 行：%3").arg(m_name).arg(m_line).arg(text)};
        throw ReportError{QStringLiteral("报表文件 %1：%2").arg(m_name, text)};
    }

    double number(const QString& key, const QString& value) const {
        bool ok = false;
        const double result = value.toDouble(&ok);
        if (!ok || !std::isfinite(result))
            fail(QStringLiteral("%1 的值“%2”不是数字").arg(key, value));
        if (result < 0) fail(QStringLiteral("%1 的值“%2”不能小于 0").arg(key, value));
        return result;
    }
    int count(const QString& key, const QString& value) const {
        bool ok = false;
        const int result = value.toInt(&ok);
        if (!ok || result < 1 || result > 100)
            fail(QStringLiteral("%1 的值“%2”应为 1 到 100 的整数").arg(key, value));
        return result;
    }
    bool yesNo(const QString& key, const QString& value) const {
        const QString v = value.toLower();
        if (v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("1") ||
            v == QStringLiteral("是"))
            return true;
        if (v == QLatin1String("no") || v == QLatin1String("false") || v == QLatin1String("0") ||
            v == QStringLiteral("否"))
            return false;
        fail(QStringLiteral("%1 的值“%2”应为 yes 或 no").arg(key, value));
    }
    Qt::Alignment alignment(const QString& value) const {
        const QString v = value.toLower();
        if (v == QLatin1String("left")) return Qt::AlignLeft;
        if (v == QLatin1String("center") || v == QLatin1String("centre")) return Qt::AlignHCenter;
        if (v == QLatin1String("right")) return Qt::AlignRight;
        fail(QStringLiteral("align 的值“%1”应为 left、center 或 right").arg(value));
    }
    Symbology symbology(const QString& value) const {
        const QString v = value.toLower().remove(QLatin1Char('-'));
        if (v == QLatin1String("code128")) return Symbology::Code128;
        if (v == QLatin1String("ean13")) return Symbology::Ean13;
        if (v == QLatin1String("auto")) return Symbology::Auto;
        fail(QStringLiteral("type 的值“%1”应为 code128、ean13 或 auto").arg(value));
    }
    FieldTemplate field(const QString& value) const {
        QString error;
        FieldTemplate result = FieldTemplate::parse(value, &error);
        if (!error.isEmpty()) fail(error);
        return result;
    }

    void pageKey(LabelLayout& layout, const QString& key, const QString& value) {
        if (key == QLatin1String("width"))
            layout.page.setWidth(number(key, value));
        else if (key == QLatin1String("height"))
            layout.page.setHeight(number(key, value));
        else if (key == QLatin1String("margin_left"))
            layout.marginLeft = number(key, value);
        else if (key == QLatin1String("margin_top"))
            layout.marginTop = number(key, value);
        else if (key == QLatin1String("columns"))
            layout.columns = count(key, value);
        else if (key == QLatin1String("rows"))
            layout.rows = count(key, value);
        else if (key == QLatin1String("label_width"))
            layout.label.setWidth(number(key, value));
        else if (key == QLatin1String("label_height"))
            layout.label.setHeight(number(key, value));
        else if (key == QLatin1String("gap_x"))
            layout.gapX = number(key, value);
        else if (key == QLatin1String("gap_y"))
            layout.gapY = number(key, value);
        else if (key == QLatin1String("font"))
            layout.font = value;
        else if (key == QLatin1String("font_size"))
            layout.fontSize = positive(key, value);
        else
            unknownKey(QStringLiteral("page"), key);
    }

    void itemKey(LabelItem& item, const QString& key, const QString& value) {
        using Kind = LabelItem::Kind;
        const bool box = item.kind != Kind::Line;
        const bool lettered = item.kind == Kind::Text || item.kind == Kind::Barcode;
        if (key == QLatin1String("x"))
            item.x = number(key, value);
        else if (key == QLatin1String("y"))
            item.y = number(key, value);
        else if (box && key == QLatin1String("width"))
            item.width = number(key, value);
        else if (box && key == QLatin1String("height"))
            item.height = number(key, value);
        else if (!box && key == QLatin1String("x2"))
            item.x2 = number(key, value);
        else if (!box && key == QLatin1String("y2"))
            item.y2 = number(key, value);
        else if (lettered && key == QLatin1String("value"))
            item.value = field(value);
        else if (lettered && key == QLatin1String("font"))
            item.font = value;
        else if (item.kind == Kind::Text && key == QLatin1String("size"))
            item.fontSize = positive(key, value);
        else if (item.kind == Kind::Text && key == QLatin1String("bold"))
            item.bold = yesNo(key, value);
        else if (item.kind == Kind::Text && key == QLatin1String("align"))
            item.align = alignment(value);
        else if (item.kind == Kind::Barcode && key == QLatin1String("type"))
            item.symbology = symbology(value);
        else if (item.kind == Kind::Barcode && key == QLatin1String("digits"))
            item.showDigits = yesNo(key, value);
        else if (!lettered && key == QLatin1String("pen"))
            item.pen = positive(key, value);
        else
            unknownKey(kindWord(item.kind), key);
    }

    static QString kindWord(LabelItem::Kind kind) {
        switch (kind) {
            case LabelItem::Kind::Text:
                return QStringLiteral("text");
            case LabelItem::Kind::Barcode:
                return QStringLiteral("barcode");
            case LabelItem::Kind::Line:
                return QStringLiteral("line");
            case LabelItem::Kind::Box:
                return QStringLiteral("box");
        }
        return QString();
    }

    double positive(const QString& key, const QString& value) const {
        const double result = number(key, value);
        if (result <= 0) fail(QStringLiteral("%1 的值“%2”应大于 0").arg(key, value));
        return result;
    }
    [[noreturn]] void unknownKey(const QString& section, const QString& key) const {
        fail(QStringLiteral("[%1] 段没有设置项 %2").arg(section, key));
    }

    void setLine(int line) { m_line = line; }

  private:
    QString m_name;
    int m_line = 0;
};

}  // namespace

LabelLayout LabelLayout::parse(const QString& text, const QString& name) {
    LabelLayout layout;
    layout.name = name;
    Parser parser(name);
    enum class Section { None, Page, Item } section = Section::None;
    bool hasPage = false;
    int pageLine = 0;

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        parser.setLine(i + 1);
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']'))) parser.fail(QStringLiteral("段名缺少“]”"));
            const QString header = line.mid(1, line.size() - 2).trimmed();
            const qsizetype space = header.indexOf(QLatin1Char(' '));
            const QString kind = (space < 0 ? header : header.left(space)).toLower();
            const QString itemName = space < 0 ? QString() : header.mid(space + 1).trimmed();
            if (kind == QLatin1String("page")) {
                if (hasPage) parser.fail(QStringLiteral("[page] 段只能有一个"));
                hasPage = true;
                pageLine = i + 1;
                section = Section::Page;
                continue;
            }
            LabelItem item;
            if (kind == QLatin1String("text"))
                item.kind = LabelItem::Kind::Text;
            else if (kind == QLatin1String("barcode"))
                item.kind = LabelItem::Kind::Barcode;
            else if (kind == QLatin1String("line"))
                item.kind = LabelItem::Kind::Line;
            else if (kind == QLatin1String("box"))
                item.kind = LabelItem::Kind::Box;
            else
                parser.fail(
                    QStringLiteral("无法识别的段 [%1]，应为 page、text、barcode、line 或 box")
                        .arg(header));
            item.name = itemName;
            item.line = i + 1;
            item.fontSize = -1;  // the page's unless the item sets one
            layout.items.push_back(item);
            section = Section::Item;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) parser.fail(QStringLiteral("应为“名称 = 值”的形式"));
        if (section == Section::None) parser.fail(QStringLiteral("设置项须写在 [page] 等段名之下"));
        const QString key = line.left(eq).trimmed().toLower();
        QString value = line.mid(eq + 1).trimmed();
        // Quotes keep blanks at the ends of a value.
        if (value.size() >= 2 && value.front() == QLatin1Char('"') &&
            value.back() == QLatin1Char('"'))
            value = value.mid(1, value.size() - 2);
        if (section == Section::Page)
            parser.pageKey(layout, key, value);
        else
            parser.itemKey(layout.items.back(), key, value);
    }

    parser.setLine(0);
    if (!hasPage) parser.fail(QStringLiteral("缺少 [page] 段"));
    parser.setLine(pageLine);
    if (layout.page.width() <= 0 || layout.page.height() <= 0)
        parser.fail(QStringLiteral("[page] 段须给出纸张的 width 和 height（毫米）"));
    if (layout.label.width() <= 0)
        layout.label.setWidth(
            (layout.page.width() - 2 * layout.marginLeft - (layout.columns - 1) * layout.gapX) /
            layout.columns);
    if (layout.label.height() <= 0)
        layout.label.setHeight(
            (layout.page.height() - 2 * layout.marginTop - (layout.rows - 1) * layout.gapY) /
            layout.rows);
    const double across = layout.marginLeft + layout.columns * layout.label.width() +
                          (layout.columns - 1) * layout.gapX;
    const double down =
        layout.marginTop + layout.rows * layout.label.height() + (layout.rows - 1) * layout.gapY;
    constexpr double kSlack = 0.01;
    if (layout.label.width() <= 0 || across > layout.page.width() + kSlack)
        parser.fail(QStringLiteral("每行 %1 张标签放不下：共需宽 %2 毫米，纸宽 %3 毫米")
                        .arg(layout.columns)
                        .arg(across)
                        .arg(layout.page.width()));
    if (layout.label.height() <= 0 || down > layout.page.height() + kSlack)
        parser.fail(QStringLiteral("每列 %1 张标签放不下：共需高 %2 毫米，纸高 %3 毫米")
                        .arg(layout.rows)
                        .arg(down)
                        .arg(layout.page.height()));
    if (layout.font.isEmpty()) layout.font = QStringLiteral("Noto Sans CJK SC");

    for (LabelItem& item : layout.items) {
        parser.setLine(item.line);
        if (item.font.isEmpty()) item.font = layout.font;
        if (item.fontSize <= 0) item.fontSize = layout.fontSize;
        const bool needsValue =
            item.kind == LabelItem::Kind::Text || item.kind == LabelItem::Kind::Barcode;
        if (needsValue && item.value.columns().isEmpty() && item.value.render(nullptr).isEmpty())
            parser.fail(QStringLiteral("缺少 value（要印的内容）"));
        if ((item.kind == LabelItem::Kind::Barcode || item.kind == LabelItem::Kind::Box) &&
            (item.width <= 0 || item.height <= 0))
            parser.fail(QStringLiteral("须给出 width 和 height（毫米）"));
    }
    return layout;
}

LabelLayout LabelLayout::load(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError{QStringLiteral("报表文件无法读取：%1").arg(name)};
    return parse(md::decodeSettingsText(file.readAll()), name);
}

}  // namespace lumtab
