#pragma once

#include <QFrame>
#include <cstdint>
#include <functional>

#include "platform/Component.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class TDMmain;
class TMaskEdit;
class TchPageExtMod;
class TchPageIntMod;
class TchPageLFM;
class TchPageLFMSync;
class TchPageTuning;
class TchPageXSK;
class TZyAppColorOption;
class TZyGen4;
class TZyGen4Channel;

// The panel through which the operator drives one channel: the output switch,
// the sine carrier (frequency in MHz, level in dB, start phase in degrees),
// the mode selector and one page per mode. The panel never talks to the
// instrument: it writes the channel's properties with the generator's
// automatic update suspended and lets the generator send the result.
//
// The panel owns its three colour options (it is their TComponent owner).
class TframeCh : public QFrame, public TComponent {
    Q_OBJECT

  public:
    using THook = std::function<void(TframeCh*)>;

    // Mode selector items.
    enum TModeItem : int32_t {
        miNone = 0,
        miTuning = 1,
        miIntMod = 2,
        miExtMod = 3,
        miLFM = 4,
        miXSK = 5,
    };
    // Pages of pgCtrlChModes.
    enum TModePage : int32_t {
        pgNone = 0,
        pgTuner = 1,
        pgIntMod = 2,
        pgExtMod = 3,
        pgLFMm = 4,
        pgLFMd = 5,
        pgXSK = 6,
    };

    explicit TframeCh(QWidget* parent = nullptr);
    ~TframeCh() override;

    // --- Fields set by the main window before InitFrame -------------------
    TZyGen4Channel* Channel = nullptr;
    TDMmain* DM = nullptr;  // reaches the options repository
    bool AutoApply = true;
    char ChLetter = 'A';
    TZyAppColorOption* NameTextClrOption = nullptr;
    TZyAppColorOption* OnColorOption = nullptr;
    TZyAppColorOption* OffColorOption = nullptr;
    THook OnModeSelect;
    THook OnLFMPrepare;
    THook OnIntModApplied;

    // --- Operations called from outside -------------------------------------
    void InitFrame();
    void ApplyToChannel();
    void ApplyColors(bool reload);
    void UpdateLinkState();
    void SyncWithChannel();
    // The part of SyncWithChannel that enables, shows and ticks controls by
    // the channel's mode, leaving every value shown as it is; the data module
    // runs it when the link goes down or comes back, which raises no update.
    void SyncControlStates();
    void ShowCarrier();
    void ShowADCValue();
    void SelectIntModMode();
    void ApplyLFM();

    // --- Internal operations (public for the main window and tests) ---------
    void ApplyNow();
    void ApplyMode();
    void SelectModePage();
    void ShowOutputColor();
    void EnableCarrierEdits(bool enable);

    // --- Handlers ---------------------------------------------------------------
    void actCh_SetModeExecute();
    void cmbBoxChModePropertiesChange();
    void edtTextValidate(TMaskEdit* edit);

    // --- Components ---------------------------------------------------------------
    QWidget* pnlTopMargin = nullptr;
    QGroupBox* grBoxChParams = nullptr;
    QCheckBox* chBox_ChOpen = nullptr;
    QGroupBox* GrpBox_Sinus = nullptr;
    TMaskEdit* edtFreq = nullptr;
    QComboBox* edtAmpl = nullptr;  // editable; its line edit is a TMaskEdit
    TMaskEdit* edtPhase = nullptr;
    QComboBox* cmbBoxChMode = nullptr;
    QStackedWidget* pgCtrlChModes = nullptr;
    QWidget* tabSh_None = nullptr;
    QWidget* tabSh_Tuner = nullptr;
    QWidget* tabSh_IntMod = nullptr;
    QWidget* tabSh_ExtMod = nullptr;
    QWidget* tabSh_LFMm = nullptr;
    QWidget* tabSh_LFMd = nullptr;
    QWidget* tabSh_xSK = nullptr;
    QAction* actCh_SetMode = nullptr;

    // Page controls the carrier logic reads or adjusts. They belong to the
    // mode pages (frameChPages.cpp) and stay null until the pages build them.
    QRadioButton* rdBtnIntMod_ramMK = nullptr;
    QRadioButton* rdBtnIntMod_ramDDS = nullptr;
    QCheckBox* chBox_ExtModA12 = nullptr;
    QCheckBox* chBox_ExtModAB1 = nullptr;
    QLabel* lblADCparam = nullptr;
    QLineEdit* edtADCvalue = nullptr;
    QLabel* lblIntMod_RdsCnt = nullptr;
    QLineEdit* edtLFM_freqBot = nullptr;

    // The mode pages' contents, one per page of pgCtrlChModes (1 to 6).
    TchPageTuning* pageTuner = nullptr;
    TchPageIntMod* pageIntMod = nullptr;
    TchPageExtMod* pageExtMod = nullptr;
    TchPageLFM* pageLFMm = nullptr;
    TchPageLFMSync* pageLFMd = nullptr;
    TchPageXSK* pageXSK = nullptr;

    TZyGen4* Gen() const;
    // Makes an edit validate its text with edtTextValidate.
    void AttachValidation(TMaskEdit* edit);

  private:
    // --- Mode pages (frameChPages.cpp) ------------------------------------------
    // Fills the pages 1 to 6 of pgCtrlChModes.
    void BuildModePages();
    // InitFrame's step 3: the pages' change handlers, so lists, labels and
    // masks match the initial choices.
    void InitModePages();
    // ApplyToChannel's step 6, by the channel's mode.
    void ApplyModePage(int32_t mode);
    // SyncWithChannel's page step: the readings counter.
    void SyncModePages(int32_t mode);

    void BuildLayout();
};

// Holds a panel's AutoApply off for a scope: a selector moved meanwhile
// updates the panel only. It is on again when the scope ends, however it ends.
class TAutoApplyOff {
  public:
    explicit TAutoApplyOff(TframeCh& frame) : frame_(frame) { frame_.AutoApply = false; }
    ~TAutoApplyOff() { frame_.AutoApply = true; }
    TAutoApplyOff(const TAutoApplyOff&) = delete;
    TAutoApplyOff& operator=(const TAutoApplyOff&) = delete;

  private:
    TframeCh& frame_;
};
