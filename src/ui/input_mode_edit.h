#pragma once

#include <QLineEdit>

enum class InputMode {
    FreeText,
    IntegerOnly,
};

// An edit field that can switch to taking integers only: typed characters other than digits
// and "-" are dropped (control characters pass, so Backspace and the clipboard keys work),
// pasted text is taken as it is, and the text is normalised when the field loses the focus.
class InputModeEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

    InputMode inputMode() const { return mode_; }
    void setInputMode(InputMode mode) { mode_ = mode; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    InputMode mode_ = InputMode::FreeText;
};
