#pragma once
// Boxes of a detail page that need more than a plain data-aware edit.
//
// TDBNumberEdit: a number field typed as text. A typed number is written at
// once; a text that is no number (or a fraction, for a whole-number field)
// stays in the box, the field keeping its value, until the form's save check
// names it. While the typed
// number equals the field the box keeps the user's spelling ("1." stays "1."
// rather than turning into "1.00" under the cursor).
//
// TTypedConfirmation: a check of what was typed into a box, run when the user
// confirms it: Enter, leaving the box, or an action pressed straight after
// typing (the form calls ConfirmTyped from PostPendingEdits, where a refusal
// stops the action). A message the check shows takes the focus from the box;
// that is no second confirmation.
//
//     m_codeCheck = new TTypedConfirmation(Edit_Code, [this] { CodeConfirmed(); });
#include <QLineEdit>
#include <functional>

class TDataSource;
class TFieldDataLink;

class TDBNumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    // `places`: decimals shown for a value the box did not type itself.
    TDBNumberEdit(TDataSource* source, const QString& fieldName, int places,
                  QWidget* parent = nullptr);
    TFieldDataLink* DataLink() const { return m_link; }

  private:
    void showField();

    TFieldDataLink* m_link;
    int m_places;
};

class TTypedConfirmation : public QObject {
    Q_OBJECT
  public:
    TTypedConfirmation(QLineEdit* box, std::function<void()> check);

    // Runs the check now when the box was typed into since it last ran; a
    // refusal propagates to the caller.
    void ConfirmTyped();
    // Nothing typed is waiting any more (the record was dropped).
    void Forget() { m_typed = false; }

  private:
    std::function<void()> m_check;
    bool m_typed = false;
    bool m_checking = false;
};
