#include "ui/MaskEdit.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "app/ZyApplication.h"

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

void TMaskEdit::SetMask(const QString& pattern) {
    const QValidator* old = validator();
    if (pattern.isEmpty())
        setValidator(nullptr);
    else
        setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    delete old;
}

void TMaskEdit::ValidateEdit() {
    if (OnValidate) SafeCall([&] { OnValidate(this); });
}

void TMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    ValidateEdit();
}

void TMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) ValidateEdit();
    QLineEdit::keyPressEvent(event);
}
