#include "app/HtmlHelp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <utility>

#include "ui/HelpViewer.h"

namespace {

THtmlHelp::THandler& Handler() {
    static THtmlHelp::THandler handler;
    return handler;
}

// The one help window; it deletes itself when closed, or on HH_CLOSE_ALL.
QPointer<THelpViewer>& Window() {
    static QPointer<THelpViewer> window;
    return window;
}

void ShowPage(const QString& folder, const QString& page) {
    QPointer<THelpViewer>& window = Window();
    // A modal dialog blocks every window but its own: help asked for while
    // one is open (F1 in the options dialog) becomes a window of that dialog,
    // so that it can be read, scrolled and closed before the dialog closes.
    QWidget* modal = QApplication::activeModalWidget();
    if (!window) {
        window = new THelpViewer(modal);
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the main window ends the program even while help is open.
        window->setAttribute(Qt::WA_QuitOnClose, false);
    } else if (window->parentWidget() != modal) {
        window->setParent(modal, window->windowFlags());
    }
    window->ShowPage(folder, page);
}

}  // namespace

uintptr_t THtmlHelp::HtmlHelp(QWidget* caller, const QString& file, uint32_t command,
                              uintptr_t data) {
    THelpRequest request;
    request.caller = caller;
    request.file = file;
    request.command = command;
    request.data = data;
    if (Handler()) return Handler()(request);
    return Viewer(request);
}

THtmlHelp::THandler THtmlHelp::SetHandler(THandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

QString THtmlHelp::PagesFolder(const QString& file) {
    QFileInfo info(file);
    QString dir = info.path();
    if (!info.isRelative()) return QDir(dir).filePath(info.completeBaseName());
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString beside = QDir(exeDir.filePath(dir)).filePath(info.completeBaseName());
    if (QFileInfo(beside).isDir()) return QDir::cleanPath(beside);
    // Installed, the pages are in the data folder, found from the program's own
    // folder so that a moved or unpacked tree still finds them.
    return QDir::cleanPath(exeDir.filePath(QStringLiteral(ZY_HELP_FROM_BIN)));
}

uintptr_t THtmlHelp::Viewer(const THelpRequest& request) {
    switch (request.command) {
        case HH_INITIALIZE:
            return 1;
        case HH_UNINITIALIZE:
            return 0;
        case HH_CLOSE_ALL:
            delete Window().data();
            return 0;
        case HH_HELP_CONTEXT:
            if (!request.file.isEmpty())
                ShowPage(PagesFolder(request.file),
                         QStringLiteral("%1.html").arg(static_cast<qulonglong>(request.data)));
            return 0;
        case HH_DISPLAY_TOPIC:
        case HH_TP_HELP_WM_HELP:
        default:
            if (!request.file.isEmpty())
                ShowPage(PagesFolder(request.file), QStringLiteral("index.html"));
            return 0;
    }
}
