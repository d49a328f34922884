#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

// The About box. A fresh instance is made for every showing and destroyed
// when it closes; it has no handlers of its own.
class TfrmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmAbout(QWidget* owner = nullptr);

    // The picture of the instrument, drawn here at 150 x 104 pixels.
    static QPixmap InstrumentPicture();

    QLabel* Image1;
    QLabel* cxLabel1;
    QLabel* cxLabel2;
    QLabel* cxLabel3;
    QLabel* cxLabel4;
    QPushButton* btnOK;
};
