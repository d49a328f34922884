#pragma once

#include <QObject>
#include <QString>
#include <utility>

#include "app/ZyApplication.h"

class QAction;
class QWidget;

// Helpers every window builds itself with.

// Creates a widget, layout or action with its object name, typed once:
// `btnOK = NewNamed<QPushButton>("btnOK", QStringLiteral("OK"), parent);`.
template <class T, class... Args>
T* NewNamed(const char* name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// Connects a Qt signal to a handler that must not let an exception out.
template <class Sender, class Signal, class F>
void Bind(Sender* sender, Signal signal, QObject* context, F f) {
    QObject::connect(sender, signal, context, [f] { SafeCall(f); });
}

// An action of `window`, named, with its caption and a hint whose part before
// "|" is the tooltip and the part after it the status-bar text. It is added
// to the window, so its shortcut works wherever the window has the focus.
QAction* NewAction(QWidget* window, const char* name, const QString& caption, const QString& hint);
