#pragma once

#include "ui/chPage.h"

class QCheckBox;
class QComboBox;
class QLabel;

// Page 3 of the channel panel, modulation by an external signal: the
// modulated parameter and its range; on channel A's panel also the sum of
// inputs 1 and 2, or input 1 driving both channels.
class TchPageExtMod : public TchPage {
  public:
    TchPageExtMod(TframeCh* frame, QWidget* parent);

    enum TParamItem : int32_t { piAmpl = 0, piPhase = 1, piFreq = 2 };

    // Per-channel layout: channel B's panel has neither check box.
    void InitPage();

    void cmbBox_ExtModByPropertiesChange();
    // Either check box changed; `changed` is the one that did.
    void chBox_ExtModA12PropertiesChange(QCheckBox* changed);
    void ApplyExtModulation();

    QComboBox* cmbBox_ExtModBy = nullptr;
    QLabel* lblExtMod_ParamDeep = nullptr;
    QComboBox* cmbBox_ExtModScale = nullptr;
    QCheckBox* chBox_ExtModA12 = nullptr;
    QCheckBox* chBox_ExtModAB1 = nullptr;
};
