#include "app/ZyApplication.h"

#include <exception>

#include "app/MessageBox.h"

namespace {
QString& TitleRef() {
    static QString title;
    return title;
}
QString& HelpFileRef() {
    static QString helpFile;
    return helpFile;
}
}  // namespace

TZyApplication::TZyApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TZyApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException();
        return true;
    }
}

QString TZyApplication::Title() {
    return TitleRef();
}
void TZyApplication::SetTitle(const QString& title) {
    TitleRef() = title;
}
QString TZyApplication::HelpFile() {
    return HelpFileRef();
}
void TZyApplication::SetHelpFile(const QString& fileName) {
    HelpFileRef() = fileName;
}

void TZyApplication::HandleException() noexcept {
    try {
        QString text;
        try {
            throw;
        } catch (const std::exception& e) {
            text = QString::fromUtf8(e.what());
        } catch (...) {
        }
        TMessageBox::Show(QApplication::activeWindow(), text, Title(), miError, mbOK);
    } catch (...) {
        // Nothing sensible is left to do when showing the error itself fails.
    }
}
