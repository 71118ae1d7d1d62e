#pragma once
// What a rate, an amount or a quantity cell takes: a number, not below zero.
// A discount is a fraction of the price (0.85 sells at 85 percent); a typed 8.5
// is nearly always 0.85 mistyped, so a discount above 1 is asked about and one
// above 10 refused. The windows of prices and client terms check discounts here.
//
// Two sides: the grid column checks the text as it is typed (the editor stays
// open with the message), the field checks values that arrive any other way
// (pasted, filled by the window) and asks about a discount above 1:
//
//     TGridColumn& c = v->AddColumn("discount1", "折扣1").currency("0.00");
//     md::ui::AcceptDiscounts(c);
//     ...after the dataset opens:
//     md::ui::GuardDiscountField(ds.FieldByName("discount1"), c);
//
// Messages name the column by its caption at the moment of the check.
#include <QString>

class TField;
class TGridColumn;

namespace md::ui {

enum class TNumberKind { Decimal, Whole };

// Why the typed text is no value for the column captioned `caption`: not a
// number, not whole where whole numbers are kept, or below zero. Empty when it
// is one; an empty text is one (the cell is cleared).
QString NumberInputProblem(const QString& caption, const QString& text,
                           TNumberKind kind = TNumberKind::Decimal);
// The same for a discount rate, which also may not be above 10.
QString DiscountInputProblem(const QString& caption, const QString& text);

// The question a discount above 1 asks before it is kept.
QString DiscountQuestion(const QString& caption, double value);

// The column's typed text is checked by the rules above.
TGridColumn& AcceptNumbers(TGridColumn& column, TNumberKind kind = TNumberKind::Decimal);
TGridColumn& AcceptDiscounts(TGridColumn& column);

// The field refuses a value below zero (and, for a discount, above 10) and,
// for a discount above 1, keeps it only when the user says yes.
void GuardNumberField(TField& field, const TGridColumn& column);
void GuardDiscountField(TField& field, const TGridColumn& column);

}  // namespace md::ui
