#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "gen4/ZyGen4Types.h"

class QComboBox;
class TMaskEdit;
class TZyGen4;
class TZyGen4Channel;
class TframeCh;

// Common ground of the channel panel's mode pages: the panel they live in, the
// helpers they share (the range lists, edits with masks, number conversions)
// and the panel's ApplyNow that ends every operator change.
class TchPage : public QWidget {
  public:
    TchPage(TframeCh* frame, QWidget* parent);

    TframeCh* Frame() const { return frame_; }
    TZyGen4Channel* Channel() const;
    TZyGen4* Gen() const;

    // Items of the range list of a parameter position (0 amplitude, 1 phase,
    // 2 frequency) and the engine's Scale for one of its positions.
    static QStringList ScaleItems(int param);
    static int ScaleOf(int param, int position);

    // A whole number from a computed value that should be one: a result within
    // a millionth of a whole number is taken as that number (so 1,005 ms is
    // 1005 µs, not 1004), anything else loses its fraction. Values beyond the
    // int range become the nearest bound, which every engine refuses.
    static int TruncToInt(double v);
    // The whole number a value lies within a millionth of, else the value.
    static double SnapToWhole(double v);
    // Typed text as a whole number; anything else raises EConvertError.
    static int StrToInt(const QString& text);

    // The range combo box's change: the panel's ApplyNow.
    void cmbBox_CommonChange();

  protected:
    void ApplyNow();
    bool AutoApply() const;

    // Refills a range combo box with the list of `param` and selects its first
    // item, which applies the panel.
    void FillScaleItems(QComboBox* box, int param);
    QComboBox* NewScaleBox(const char* name, QWidget* parent);

    // An edit with a mask (none if null); `validate` attaches the panel's
    // decimal separator fix on leaving the edit and on Enter.
    TMaskEdit* NewEdit(const char* name, const char* mask, const QString& text, bool validate,
                       QWidget* parent);

  private:
    TframeCh* frame_;
};
