#include "ui/BusyCursor.h"

#include <QApplication>

TBusyCursor::TBusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor() {
    QApplication::restoreOverrideCursor();
}
