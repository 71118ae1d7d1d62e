#include "ratecheck.h"

#include <cmath>

#include "baseform.h"
#include "field.h"
#include "gridcolumn.h"
#include "messages.h"
#include "remoteudpdataset.h"

namespace md::ui {

namespace {

constexpr double kHighestDiscount = 10;

QString negativeMessage(const QString& caption) {
    return caption + QStringLiteral("不能为负数!");
}

QString tooHighMessage(const QString& caption) {
    return caption + QStringLiteral("不能大于10!");
}

}  // namespace

QString NumberInputProblem(const QString& caption, const QString& text, TNumberKind kind) {
    const QString typed = text.trimmed();
    if (typed.isEmpty()) return QString();
    bool isNumber = false;
    const double value = typed.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value)) return caption + QStringLiteral("必须是数字!");
    if (kind == TNumberKind::Whole && value != std::trunc(value))
        return caption + QStringLiteral("必须是整数!");
    return value < 0 ? negativeMessage(caption) : QString();
}

QString DiscountInputProblem(const QString& caption, const QString& text) {
    const QString problem = NumberInputProblem(caption, text);
    if (!problem.isEmpty()) return problem;
    return text.trimmed().toDouble() > kHighestDiscount ? tooHighMessage(caption) : QString();
}

QString DiscountQuestion(const QString& caption, double value) {
    return caption + QStringLiteral("为") + QString::number(value, 'g', 15) +
           QStringLiteral("，大于1，是否确认？");
}

TGridColumn& AcceptNumbers(TGridColumn& column, TNumberKind kind) {
    const TGridColumn* self = &column;
    return column.inputCheck([self, kind](const QString& text) {
        return NumberInputProblem(self->Caption(), text, kind);
    });
}

TGridColumn& AcceptDiscounts(TGridColumn& column) {
    const TGridColumn* self = &column;
    return column.inputCheck(
        [self](const QString& text) { return DiscountInputProblem(self->Caption(), text); });
}

void GuardNumberField(TField& field, const TGridColumn& column) {
    const TGridColumn* caption = &column;
    field.OnValidate = [caption](TField& f) {
        if (!f.IsNull() && f.AsFloat() < 0) Refuse(negativeMessage(caption->Caption()));
    };
}

void GuardDiscountField(TField& field, const TGridColumn& column) {
    const TGridColumn* caption = &column;
    field.OnValidate = [caption](TField& f) {
        if (f.IsNull()) return;
        const double value = f.AsFloat();
        if (value < 0) Refuse(negativeMessage(caption->Caption()));
        if (value > kHighestDiscount) Refuse(tooHighMessage(caption->Caption()));
        if (value > 1 && !AskYesNo(DiscountQuestion(caption->Caption(), value))) Abort();
    };
}

}  // namespace md::ui
