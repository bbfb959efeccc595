#include "ui/input_mode_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "engine/integer_text.h"

namespace {

// Keeps the characters an integers-only field takes as typed input.
QString typedIntegerCharacters(const QString& typed) {
    QString kept;
    for (const QChar c : typed) {
        if (c.unicode() < 32 || (c >= u'0' && c <= u'9') || c == u'-') kept += c;
    }
    return kept;
}

// Ctrl and Ctrl+Shift keys are the field's shortcuts (paste, copy, select all): the field never
// takes them as typed text, whatever text the platform attaches to them ("v" for Ctrl+V on some).
bool isShortcutKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::ControlModifier ||
           modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
}

}  // namespace

void InputModeEdit::keyPressEvent(QKeyEvent* event) {
    if (mode_ == InputMode::IntegerOnly && !event->text().isEmpty() && !isShortcutKey(event)) {
        const QString kept = typedIntegerCharacters(event->text());
        if (kept != event->text()) {
            if (!kept.isEmpty()) {
                QKeyEvent filtered(event->type(), event->key(), event->modifiers(), kept,
                                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
                QLineEdit::keyPressEvent(&filtered);
            }
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void InputModeEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (mode_ == InputMode::IntegerOnly && !event->commitString().isEmpty()) {
        const QString kept = typedIntegerCharacters(event->commitString());
        if (kept != event->commitString()) {
            QInputMethodEvent filtered(event->preeditString(), event->attributes());
            filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
            QLineEdit::inputMethodEvent(&filtered);
            event->accept();
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}

void InputModeEdit::focusOutEvent(QFocusEvent* event) {
    if (mode_ == InputMode::IntegerOnly) {
        const QByteArray bytes = text().toUtf8();
        const QString normalised = QString::fromStdString(
            normalizeIntegerText(std::string_view(bytes.constData(), bytes.size())));
        if (normalised != text()) setText(normalised);
    }
    QLineEdit::focusOutEvent(event);
}
