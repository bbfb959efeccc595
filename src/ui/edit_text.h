#pragma once

#include <QLineEdit>

// Writes a field's text from the program: the whole text is replaced and the field's
// text-changed event is raised once, also when the text stays the same (QLineEdit alone
// stays silent then).
inline void writeEditText(QLineEdit* edit, const QString& text) {
    if (edit->text() == text) {
        emit edit->textChanged(text);
    } else {
        edit->setText(text);
    }
}
