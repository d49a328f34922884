#include "ui/chPageXSK.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "ui/EditMasks.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"
#include "ui/frameCh.h"

namespace {
QString Name(const char* prefix, int k, const char* suffix = "") {
    return QString::fromLatin1(prefix) + QString::number(k + 1) + QString::fromLatin1(suffix);
}
}  // namespace

TchPageXSK::TchPageXSK(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("xSK"), this);
    group->setProperty("helpContext", 2007);
    outer->addWidget(group);
    outer->addStretch(1);
    auto* box = new QVBoxLayout(group);

    radGr_xSKmode = new QGroupBox(QStringLiteral("Режим модуляции"), group);
    radGr_xSKmode->setObjectName(QStringLiteral("radGr_xSKmode"));
    auto* modeGrid = new QGridLayout(radGr_xSKmode);
    xSKmodeButtons = new QButtonGroup(this);
    const char* modes[] = {"BFSK", "QFSK", "BPSK", "QPSK"};
    for (int k = 0; k < 4; ++k) {
        auto* b = new QRadioButton(QString::fromLatin1(modes[k]), radGr_xSKmode);
        b->setObjectName(QStringLiteral("radGr_xSKmode_") + QString::fromLatin1(modes[k]));
        xSKmodeButtons->addButton(b, k);
        // Two columns filled top to bottom: the frequency keyings on the
        // left, the phase keyings on the right.
        modeGrid->addWidget(b, k % 2, k / 2);
        xSKmodeItems[k] = b;
    }
    xSKmodeItems[miBFSK]->setChecked(true);
    connect(xSKmodeButtons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) SafeCall([this] { radGr_xSKmodeClick(); });
    });
    box->addWidget(radGr_xSKmode);

    // Values 1 and 2 side by side with their times under them, then values
    // and times 3 and 4.
    auto* grid = new QGridLayout;
    const QString one = QStringLiteral("1");
    for (int k = 0; k < 4; ++k) {
        const int row = (k / 2) * 2;
        const int col = (k % 2) * 3;
        lbl_xSK_p[k] = new QLabel(Name("F", k), group);
        lbl_xSK_p[k]->setObjectName(Name("lbl_xSK_p", k));
        edt_xSK_p[k] = NewEdit(Name("edt_xSK_p", k).toLatin1().constData(), kMaskCh_FreqInMHz, one,
                               true, group);
        lbl_xSK_pdim[k] = new QLabel(QStringLiteral("МГц"), group);
        lbl_xSK_pdim[k]->setObjectName(Name("lbl_xSK_p", k, "dim"));
        lbl_xSK_T[k] = new QLabel(Name("T", k), group);
        lbl_xSK_T[k]->setObjectName(Name("lbl_xSK_T", k));
        edt_xSK_T[k] = NewEdit(Name("edt_xSK_T", k).toLatin1().constData(), kMask_TimeInMilliSec,
                               one, true, group);
        lbl_xSK_Tdim[k] = new QLabel(QStringLiteral("мкс"), group);
        lbl_xSK_Tdim[k]->setObjectName(Name("lbl_xSK_T", k, "dim"));
        // Wide enough for either keying's texts, so that switching between
        // frequency and phase keying leaves the window's width alone.
        lbl_xSK_p[k]->setText(Name("Ph", k));
        lbl_xSK_p[k]->setMinimumWidth(lbl_xSK_p[k]->sizeHint().width());
        lbl_xSK_p[k]->setText(Name("F", k));
        lbl_xSK_pdim[k]->setMinimumWidth(lbl_xSK_pdim[k]->sizeHint().width());
        grid->addWidget(lbl_xSK_p[k], row, col);
        grid->addWidget(edt_xSK_p[k], row, col + 1);
        grid->addWidget(lbl_xSK_pdim[k], row, col + 2);
        grid->addWidget(lbl_xSK_T[k], row + 1, col);
        grid->addWidget(edt_xSK_T[k], row + 1, col + 1);
        grid->addWidget(lbl_xSK_Tdim[k], row + 1, col + 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    box->addLayout(grid);

    ChBox_xSKUseExtTimes =
        new QCheckBox(QStringLiteral("Использовать времена с внешних входов"), group);
    ChBox_xSKUseExtTimes->setObjectName(QStringLiteral("ChBox_xSKUseExtTimes"));
    connect(ChBox_xSKUseExtTimes, &QCheckBox::toggled, this,
            [this] { SafeCall([this] { ChBox_xSKUseExtTimesPropertiesChange(); }); });
    box->addWidget(ChBox_xSKUseExtTimes);
}

int TchPageXSK::ModeItem() const {
    const int id = xSKmodeButtons->checkedId();
    return id < 0 ? miBFSK : id;
}

bool TchPageXSK::IsQuaternary() const {
    return ModeItem() == miQFSK || ModeItem() == miQPSK;
}

bool TchPageXSK::IsFrequencyKeying() const {
    return ModeItem() == miBFSK || ModeItem() == miQFSK;
}

void TchPageXSK::radGr_xSKmodeClick() {
    const bool freq = IsFrequencyKeying();
    for (int k = 0; k < 4; ++k) {
        lbl_xSK_p[k]->setText(Name(freq ? "F" : "Ph", k));
        lbl_xSK_pdim[k]->setText(freq ? QStringLiteral("МГц") : QStringLiteral("°"));
        edt_xSK_p[k]->SetMask(QString::fromLatin1(freq ? kMaskCh_FreqInMHz : kMask_PhaseInGrade));
    }
    if (freq)
        ShowKeyingFreqs();
    else
        ShowKeyingPhases();
    const bool quad = IsQuaternary();
    for (int k = 2; k < 4; ++k) {
        for (QWidget* w :
             {static_cast<QWidget*>(lbl_xSK_p[k]), static_cast<QWidget*>(edt_xSK_p[k]),
              static_cast<QWidget*>(lbl_xSK_pdim[k]), static_cast<QWidget*>(lbl_xSK_T[k]),
              static_cast<QWidget*>(edt_xSK_T[k]), static_cast<QWidget*>(lbl_xSK_Tdim[k])})
            w->setVisible(quad);
    }
    ApplyNow();
}

void TchPageXSK::EnableTimeRows() {
    const bool enable = !ChBox_xSKUseExtTimes->isChecked();
    for (int k = 0; k < 4; ++k) {
        lbl_xSK_T[k]->setEnabled(enable);
        edt_xSK_T[k]->setEnabled(enable);
        lbl_xSK_Tdim[k]->setEnabled(enable);
    }
}

void TchPageXSK::ChBox_xSKUseExtTimesPropertiesChange() {
    EnableTimeRows();
    ApplyNow();
}

void TchPageXSK::ApplyKeying() {
    TZyGen4DDSMod* engine = Channel()->DDSMod();
    engine->SetMode(IsQuaternary() ? ZGTMs_QxSK : ZGTMs_BxSK);
    if (IsFrequencyKeying()) {
        engine->SetType(ZGAFPms_freq);
        ApplyKeyingFreqs();
        ShowKeyingFreqs();
    } else {
        engine->SetType(ZGAFPms_phase);
        ApplyKeyingPhases();
        ShowKeyingPhases();
    }
    ApplyKeyingTimes();
    ShowKeyingTimes();
    engine->SetUseExtTimes(ChBox_xSKUseExtTimes->isChecked());
    if (ChBox_xSKUseExtTimes->isChecked() != engine->UseExtTimes()) {
        const QSignalBlocker block(ChBox_xSKUseExtTimes);
        ChBox_xSKUseExtTimes->setChecked(engine->UseExtTimes());
        EnableTimeRows();
    }
}

void TchPageXSK::ApplyKeyingFreqs() {
    TZyGen4DDSMod* engine = Channel()->DDSMod();
    // One edit after the other: a text that is no number ends the transfer
    // with the values before it set.
    const auto kHz = [this](int k) {
        return TZyGen4::Conv_Value(StrToFloat(edt_xSK_p[k]->text()), 1000000, 1000);
    };
    engine->SetF1(kHz(0));
    engine->SetF2(kHz(1));
    engine->SetF3(kHz(2));
    engine->SetF4(kHz(3));
}

void TchPageXSK::ApplyKeyingPhases() {
    TZyGen4DDSMod* engine = Channel()->DDSMod();
    const auto degrees = [this](int k) { return StrToFloat(edt_xSK_p[k]->text()); };
    engine->SetPh1(degrees(0));
    engine->SetPh2(degrees(1));
    engine->SetPh3(degrees(2));
    engine->SetPh4(degrees(3));
}

void TchPageXSK::ApplyKeyingTimes() {
    TZyGen4DDSMod* engine = Channel()->DDSMod();
    // µs to ns; a typed time has at most three decimals, so the result is a
    // whole number of nanoseconds.
    const auto ns = [this](int k) {
        return SnapToWhole(TZyGen4::Conv_Value(StrToFloat(edt_xSK_T[k]->text()), 1000, 1));
    };
    engine->SetT1(ns(0));
    engine->SetT2(ns(1));
    engine->SetT3(ns(2));
    engine->SetT4(ns(3));
}

void TchPageXSK::ShowKeyingFreqs() {
    const TZyGen4DDSMod* engine = Channel()->DDSMod();
    const double f[4] = {engine->F1(), engine->F2(), engine->F3(), engine->F4()};
    for (int k = 0; k < 4; ++k) edt_xSK_p[k]->setText(FloatToStr(f[k] / 1000.0));
}

void TchPageXSK::ShowKeyingPhases() {
    const TZyGen4DDSMod* engine = Channel()->DDSMod();
    const double ph[4] = {engine->Ph1(), engine->Ph2(), engine->Ph3(), engine->Ph4()};
    for (int k = 0; k < 4; ++k) edt_xSK_p[k]->setText(FloatToStr(ph[k]));
}

void TchPageXSK::ShowKeyingTimes() {
    const TZyGen4DDSMod* engine = Channel()->DDSMod();
    const double t[4] = {engine->T1(), engine->T2(), engine->T3(), engine->T4()};
    for (int k = 0; k < 4; ++k) edt_xSK_T[k]->setText(FloatToStr(t[k] / 1000.0));
}
