#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message box of the program goes through here, so that tests can
// answer the questions and read what the operator would have seen.
enum TMsgIcon : int32_t { miNone, miError, miWarning, miInformation, miQuestion };
enum TMsgButtons : int32_t { mbOK, mbYesNo };
enum TMsgResult : int32_t { mrOk, mrYes, mrNo };

struct TMessageRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    TMsgIcon icon = miNone;
    TMsgButtons buttons = mbOK;
};

class TMessageBox {
  public:
    using THandler = std::function<TMsgResult(const TMessageRequest&)>;

    // Shows the box modally (or hands it to the installed handler) and
    // returns the button the operator chose.
    static TMsgResult Show(const TMessageRequest& request);
    static TMsgResult Show(QWidget* owner, const QString& text, const QString& caption,
                           TMsgIcon icon, TMsgButtons buttons = mbOK);

    // Replaces the real box; an empty handler restores it. Returns the old one.
    static THandler SetHandler(THandler handler);

  private:
    static TMsgResult ShowQt(const TMessageRequest& request);
};
