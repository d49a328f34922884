#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>

class QComboBox;
class QToolButton;

// Colour picker of the options dialog: a drop-down list of the 16 basic HTML
// colours shown as swatches without names, and a button beside it that opens
// the system colour dialog for any other colour. Values are colour numbers in
// the 0x00BBGGRR layout the options file stores.
class TColorComboBox : public QWidget {
    Q_OBJECT

  public:
    explicit TColorComboBox(QWidget* parent = nullptr);

    int32_t ColorValue() const;
    void SetColorValue(int32_t value);

    // Conversions between colour numbers and Qt colours.
    static QColor ToQColor(int32_t value);
    static int32_t FromQColor(const QColor& color);

  private:
    void ChooseFromDialog();
    int IndexOfValue(int32_t value) const;
    void AddItem(int32_t value);

    QComboBox* cmbBox_;
    QToolButton* btnDialog_;
    int basicCount_ = 0;
};
