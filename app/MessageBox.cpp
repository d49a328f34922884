#include "app/MessageBox.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace {
TMessageBox::THandler& Handler() {
    static TMessageBox::THandler handler;
    return handler;
}
}  // namespace

TMsgResult TMessageBox::Show(const TMessageRequest& request) {
    if (Handler()) return Handler()(request);
    return ShowQt(request);
}

TMsgResult TMessageBox::Show(QWidget* owner, const QString& text, const QString& caption,
                             TMsgIcon icon, TMsgButtons buttons) {
    TMessageRequest request;
    request.owner = owner;
    request.text = text;
    request.caption = caption;
    request.icon = icon;
    request.buttons = buttons;
    return Show(request);
}

TMessageBox::THandler TMessageBox::SetHandler(THandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

TMsgResult TMessageBox::ShowQt(const TMessageRequest& request) {
    // A question asked in the middle of an update, under the busy cursor,
    // gets the ordinary pointer while it waits for the operator.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    struct TRestore {
        bool busy;
        ~TRestore() {
            if (busy) QApplication::restoreOverrideCursor();
        }
    } const restore{busy};
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.icon) {
        case miError:
            icon = QMessageBox::Critical;
            break;
        case miWarning:
            icon = QMessageBox::Warning;
            break;
        case miInformation:
            icon = QMessageBox::Information;
            break;
        case miQuestion:
            icon = QMessageBox::Question;
            break;
        default:
            break;
    }
    QMessageBox box(icon, request.caption, request.text, QMessageBox::NoButton, request.owner);
    if (request.buttons == mbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (request.buttons == mbYesNo) return result == QMessageBox::Yes ? mrYes : mrNo;
    return mrOk;
}
