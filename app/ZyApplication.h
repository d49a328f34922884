#pragma once

#include <QApplication>
#include <QString>

// The application object. It stands for the message loop of the program: any
// exception that escapes an event handler or a timer tick ends up here and is
// shown in a message box with an error icon; none ever travels through Qt.
class TZyApplication : public QApplication {
    Q_OBJECT

  public:
    TZyApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Title shown as the caption of error boxes; help file handed to help.
    static QString Title();
    static void SetTitle(const QString& title);
    static QString HelpFile();
    static void SetHelpFile(const QString& fileName);

    // Shows the exception being handled; call only inside a catch block.
    // An exception of unknown type is shown with an empty message.
    static void HandleException() noexcept;
};

// Runs `f` and reports whatever it throws. Every slot, timer tick and callback
// entered from Qt goes through this.
template <class F>
void SafeCall(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        TZyApplication::HandleException();
    }
}
