#pragma once

#include <QLineEdit>
#include <functional>

// A line edit with an optional regular-expression mask (typing that does not
// fit is refused) and a validation step that runs when the edit is left or
// Enter is pressed in it.
class TMaskEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    // An empty pattern removes the mask.
    void SetMask(const QString& pattern);

    // Validation handler; receives the edit.
    std::function<void(TMaskEdit*)> OnValidate;
    // Runs the validation handler now; errors are reported, never thrown.
    void ValidateEdit();

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
