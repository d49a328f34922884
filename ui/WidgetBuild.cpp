#include "ui/WidgetBuild.h"

#include <QAction>
#include <QWidget>

QAction* NewAction(QWidget* window, const char* name, const QString& caption, const QString& hint) {
    auto* action = NewNamed<QAction>(name, caption, window);
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    window->addAction(action);
    return action;
}
