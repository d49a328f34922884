#include "ui/frameCh.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/DMmain.h"
#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4AutoUpdateSuspend.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "options/ZyAppOptionsRepository.h"
#include "ui/BusyCursor.h"
#include "ui/ColorValue.h"
#include "ui/EditMasks.h"
#include "ui/FixDecimalSeparator.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"

namespace {

// Default colours of the panel, by channel: name text, output on, output off.
struct TDefaultColors {
    int32_t nameText;
    int32_t on;
    int32_t off;
};
constexpr TDefaultColors kColorsA{192, 12632319, 13816556};
constexpr TDefaultColors kColorsB{12582912, 16761024, 15520466};

QLabel* NewLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    return label;
}

}  // namespace

TframeCh::TframeCh(QWidget* parent) : QFrame(parent), TComponent(nullptr) {
    BuildLayout();
    BuildModePages();
}

TframeCh::~TframeCh() {
    // The colour options leave the repository with the panel.
    delete OffColorOption;
    delete OnColorOption;
    delete NameTextClrOption;
}

TZyGen4* TframeCh::Gen() const {
    return Channel ? Channel->Gen() : nullptr;
}

void TframeCh::BuildLayout() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    pnlTopMargin = new QWidget(this);
    pnlTopMargin->setObjectName(QStringLiteral("pnlTopMargin"));
    pnlTopMargin->setFixedHeight(7);
    outer->addWidget(pnlTopMargin);

    grBoxChParams = new QGroupBox(QStringLiteral(" "), this);
    grBoxChParams->setObjectName(QStringLiteral("grBoxChParams"));
    grBoxChParams->setAutoFillBackground(true);
    grBoxChParams->setProperty("helpContext", 2001);
    outer->addWidget(grBoxChParams);
    auto* box = new QVBoxLayout(grBoxChParams);

    actCh_SetMode = new QAction(QStringLiteral("Канал"), this);
    actCh_SetMode->setObjectName(QStringLiteral("actCh_SetMode"));
    actCh_SetMode->setCheckable(true);
    actCh_SetMode->setToolTip(QStringLiteral("Выход канала"));
    actCh_SetMode->setStatusTip(QStringLiteral("Управление состоянием выхода канала"));
    connect(actCh_SetMode, &QAction::triggered, this,
            [this] { SafeCall([this] { actCh_SetModeExecute(); }); });

    chBox_ChOpen = new QCheckBox(QStringLiteral("Канал"), grBoxChParams);
    chBox_ChOpen->setObjectName(QStringLiteral("chBox_ChOpen"));
    chBox_ChOpen->setProperty("helpContext", 2001);
    chBox_ChOpen->setToolTip(actCh_SetMode->toolTip());
    chBox_ChOpen->setStatusTip(actCh_SetMode->statusTip());
    QFont nameFont = chBox_ChOpen->font();
    nameFont.setPointSize(14);
    chBox_ChOpen->setFont(nameFont);
    // The check box shows the group box's colour through it: it is not
    // filled, and its background is the window colour, not the button one.
    chBox_ChOpen->setBackgroundRole(QPalette::Window);
    // The check box is a view of the action: clicking it runs the action, and
    // it follows the action's checked state however that changes.
    connect(chBox_ChOpen, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked != actCh_SetMode->isChecked()) actCh_SetMode->trigger();
    });
    connect(actCh_SetMode, &QAction::toggled, this, [this](bool checked) {
        const QSignalBlocker block(chBox_ChOpen);
        chBox_ChOpen->setChecked(checked);
    });
    box->addWidget(chBox_ChOpen);

    GrpBox_Sinus = new QGroupBox(QStringLiteral("Синус"), grBoxChParams);
    GrpBox_Sinus->setObjectName(QStringLiteral("GrpBox_Sinus"));
    GrpBox_Sinus->setProperty("helpContext", 2002);
    auto* grid = new QGridLayout(GrpBox_Sinus);

    edtFreq = new TMaskEdit(GrpBox_Sinus);
    edtFreq->setObjectName(QStringLiteral("edtFreq"));
    edtFreq->SetMask(QString::fromLatin1(kMaskCh_FreqInMHz));
    edtFreq->setText(QStringLiteral("1"));
    AttachValidation(edtFreq);
    grid->addWidget(NewLabel(QStringLiteral("Несущая частота"), GrpBox_Sinus), 0, 0);
    grid->addWidget(edtFreq, 0, 1);
    grid->addWidget(NewLabel(QStringLiteral("МГц"), GrpBox_Sinus), 0, 2);

    edtAmpl = new QComboBox(GrpBox_Sinus);
    edtAmpl->setObjectName(QStringLiteral("edtAmpl"));
    edtAmpl->setEditable(true);
    edtAmpl->setInsertPolicy(QComboBox::NoInsert);
    auto* amplEdit = new TMaskEdit(edtAmpl);
    amplEdit->setObjectName(QStringLiteral("edtAmpl_edit"));
    edtAmpl->setLineEdit(amplEdit);
    edtAmpl->addItems({QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("-6"),
                       QStringLiteral("-10"), QStringLiteral("-20")});
    edtAmpl->setCurrentIndex(0);
    edtAmpl->setEditText(QStringLiteral("0"));
    AttachValidation(amplEdit);
    grid->addWidget(NewLabel(QStringLiteral("Уровень сигнала"), GrpBox_Sinus), 1, 0);
    grid->addWidget(edtAmpl, 1, 1);
    grid->addWidget(NewLabel(QStringLiteral("dB"), GrpBox_Sinus), 1, 2);

    edtPhase = new TMaskEdit(GrpBox_Sinus);
    edtPhase->setObjectName(QStringLiteral("edtPhase"));
    edtPhase->SetMask(QString::fromLatin1(kMask_PhaseInGrade));
    edtPhase->setText(QStringLiteral("0"));
    AttachValidation(edtPhase);
    grid->addWidget(NewLabel(QStringLiteral("Начальная фаза"), GrpBox_Sinus), 2, 0);
    grid->addWidget(edtPhase, 2, 1);
    grid->addWidget(NewLabel(QStringLiteral("°"), GrpBox_Sinus), 2, 2);
    grid->setColumnStretch(1, 1);
    box->addWidget(GrpBox_Sinus);

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(NewLabel(QStringLiteral("Режим"), grBoxChParams));
    cmbBoxChMode = new QComboBox(grBoxChParams);
    cmbBoxChMode->setObjectName(QStringLiteral("cmbBoxChMode"));
    cmbBoxChMode->addItems({QStringLiteral("нет"), QStringLiteral("Ручная подстройка"),
                            QStringLiteral("Внутренняя модуляция"),
                            QStringLiteral("Внешняя модуляция"), QStringLiteral("ЛЧМ"),
                            QStringLiteral("xSK")});
    cmbBoxChMode->setCurrentIndex(miNone);
    connect(cmbBoxChMode, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBoxChModePropertiesChange(); }); });
    modeRow->addWidget(cmbBoxChMode, 1);
    box->addLayout(modeRow);

    pgCtrlChModes = new QStackedWidget(grBoxChParams);
    pgCtrlChModes->setObjectName(QStringLiteral("pgCtrlChModes"));
    pgCtrlChModes->setFocusPolicy(Qt::NoFocus);
    pgCtrlChModes->setMinimumSize(301, 249);
    const struct {
        QWidget** page;
        const char* name;
        int helpContext;
    } pages[] = {
        {&tabSh_None, "tabSh_None", 0},        {&tabSh_Tuner, "tabSh_Tuner", 2003},
        {&tabSh_IntMod, "tabSh_IntMod", 2004}, {&tabSh_ExtMod, "tabSh_ExtMod", 2005},
        {&tabSh_LFMm, "tabSh_LFMm", 2006},     {&tabSh_LFMd, "tabSh_LFMd", 2006},
        {&tabSh_xSK, "tabSh_xSK", 2007},
    };
    for (const auto& p : pages) {
        *p.page = new QWidget(pgCtrlChModes);
        (*p.page)->setObjectName(QString::fromLatin1(p.name));
        if (p.helpContext) (*p.page)->setProperty("helpContext", p.helpContext);
        pgCtrlChModes->addWidget(*p.page);
    }
    box->addWidget(pgCtrlChModes, 1);
}

void TframeCh::AttachValidation(TMaskEdit* edit) {
    edit->OnValidate = [this](TMaskEdit* e) { edtTextValidate(e); };
}

void TframeCh::InitFrame() {
    const TDefaultColors& def = ChLetter == 'B' ? kColorsB : kColorsA;
    const std::string section = std::string("Ch") + ChLetter;
    TZyAppOptionsRepository* rep = DM->ZyAppOptionsRep();
    NameTextClrOption = rep->AddAppColorOption(this, section, "NameTextClr", def.nameText);
    OnColorOption = rep->AddAppColorOption(this, section, "OnColor", def.on);
    OffColorOption = rep->AddAppColorOption(this, section, "OffColor", def.off);
    ApplyColors(true);
    InitModePages();
}

void TframeCh::ApplyColors(bool reload) {
    if (reload) DM->ZyAppOptionsRep()->LoadOptions();
    QPalette pal = chBox_ChOpen->palette();
    pal.setColor(QPalette::WindowText,
                 ColorFromValue(static_cast<int32_t>(NameTextClrOption->Value()),
                                palette().color(QPalette::WindowText)));
    chBox_ChOpen->setPalette(pal);
    ShowOutputColor();
}

void TframeCh::ShowOutputColor() {
    if (!OnColorOption || !OffColorOption) return;
    const TZyAppColorOption* option = chBox_ChOpen->isChecked() ? OnColorOption : OffColorOption;
    const QColor color =
        ColorFromValue(static_cast<int32_t>(option->Value()), palette().color(QPalette::Window));
    for (QWidget* w : {static_cast<QWidget*>(grBoxChParams), static_cast<QWidget*>(chBox_ChOpen)}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, color);
        w->setPalette(pal);
    }
}

void TframeCh::ApplyNow() {
    TBusyCursor busy;
    // The update resumes also when a text that is no number stops the
    // transfer: what was set before it reaches the instrument, so the model
    // and the instrument never part silently.
    TZyGen4AutoUpdateSuspend batch(*Gen(), true);
    ApplyToChannel();
    batch.Restore();
}

void TframeCh::ApplyToChannel() {
    // Channel B slaved to channel A's external input keeps the mode A gave it.
    const bool slaved = !Channel->IsChannelA() && Channel->Mode() == ZGMdC_ExtModulationAB1;
    if (!slaved) {
        if (actCh_SetMode->isChecked())
            ApplyMode();
        else
            Channel->SetMode(ZGMdC_off);
    }
    const TZyGen4ModesCommon mode = Channel->Mode();
    if (mode == ZGMdC_off) return;
    if (mode != ZGMdC_LFM)
        Channel->Set_sinFrequency(TZyGen4::Conv_Value(StrToFloat(edtFreq->text()), 1000000, 1000));
    Channel->Set_sinAmplitude(TZyGen4::Conv_AdBToAmpl(StrToFloat(edtAmpl->currentText())));
    Channel->SetPhase(StrToFloat(edtPhase->text()));
    ApplyModePage(mode);
    ShowCarrier();
}

void TframeCh::ApplyMode() {
    switch (cmbBoxChMode->currentIndex()) {
        case miNone:
            Channel->SetMode(ZGMdC_gen);
            break;
        case miTuning:
            Channel->SetMode(ZGMdC_tuning);
            break;
        case miIntMod:
            if (rdBtnIntMod_ramDDS && rdBtnIntMod_ramDDS->isChecked()) {
                Channel->SetMode(ZGMdC_DDSMod);
                Channel->DDSMod()->SetMode(ZGTMs_User);
            } else {
                Channel->SetMode(ZGMdC_IntModulation);
            }
            break;
        case miExtMod:
            if (Channel->IsChannelA()) {
                if (chBox_ExtModA12 && chBox_ExtModA12->isChecked())
                    Channel->SetMode(ZGMdC_ExtModulationA12);
                else if (chBox_ExtModAB1 && chBox_ExtModAB1->isChecked())
                    Channel->SetMode(ZGMdC_ExtModulationAB1);
                else
                    Channel->SetMode(ZGMdC_ExtModulation);
            } else if (Channel->GetOtherCh()->Mode() != ZGMdC_ExtModulationAB1) {
                Channel->SetMode(ZGMdC_ExtModulation);
            }
            break;
        case miLFM:
            Channel->SetMode(ZGMdC_LFM);
            break;
        case miXSK:
            Channel->SetMode(ZGMdC_DDSMod);
            Channel->DDSMod()->SetMode(ZGTMs_BxSK);
            break;
        default:
            break;
    }
}

void TframeCh::cmbBoxChModePropertiesChange() {
    SelectModePage();
    if (AutoApply) ApplyNow();
}

void TframeCh::SelectModePage() {
    int page = pgNone;
    switch (cmbBoxChMode->currentIndex()) {
        case miTuning:
            page = pgTuner;
            break;
        case miIntMod:
            page = pgIntMod;
            break;
        case miExtMod:
            page = pgExtMod;
            break;
        case miXSK:
            page = pgXSK;
            break;
        default:  // "нет", and "ЛЧМ" whose page the main window chooses
            break;
    }
    pgCtrlChModes->setCurrentIndex(page);
    if (OnModeSelect) OnModeSelect(this);
}

void TframeCh::SelectIntModMode() {
    const TAutoApplyOff hold(*this);
    cmbBoxChMode->setCurrentIndex(miIntMod);
}

void TframeCh::actCh_SetModeExecute() {
    UpdateLinkState();
}

void TframeCh::UpdateLinkState() {
    if (!Gen()->GetActive()) actCh_SetMode->setChecked(false);
    ShowOutputColor();
    ApplyNow();
}

void TframeCh::ShowCarrier() {
    edtFreq->setText(FloatToStr(TZyGen4::Conv_Value(Channel->Frequency(), 1000, 1000000)));
    edtAmpl->setEditText(
        FloatToStr(TZyGen4::Conv_Value(TZyGen4::Conv_AmplTodB(Channel->Amplitude()), 1, 1, -3)));
    edtPhase->setText(FloatToStr(Channel->Phase()));
    if (Channel->Mode() != ZGMdC_LFM && edtLFM_freqBot) edtLFM_freqBot->setText(edtFreq->text());
}

void TframeCh::SyncWithChannel() {
    SyncControlStates();
    SyncModePages(Channel->Mode());
}

void TframeCh::SyncControlStates() {
    EnableCarrierEdits(true);
    const TZyGen4ModesCommon mode = Channel->Mode();
    const bool on = mode != ZGMdC_off;
    if (on != actCh_SetMode->isChecked()) {
        actCh_SetMode->setChecked(on);  // toggled only; the execute handler does not run
        ShowOutputColor();
    }
    if (Channel->IsChannelA()) {
        if (mode != ZGMdC_ExtModulationA12 && chBox_ExtModA12) {
            const QSignalBlocker block(chBox_ExtModA12);
            chBox_ExtModA12->setChecked(false);
        }
        if (mode != ZGMdC_ExtModulationAB1 && chBox_ExtModAB1) {
            const QSignalBlocker block(chBox_ExtModAB1);
            chBox_ExtModAB1->setChecked(false);
        }
    } else if (mode == ZGMdC_ExtModulationAB1) {
        {
            const TAutoApplyOff hold(*this);
            cmbBoxChMode->setCurrentIndex(miExtMod);
        }
        cmbBoxChMode->setEnabled(false);
        pgCtrlChModes->setEnabled(false);
        switch (Channel->GetOtherCh()->ExtModulation()->Type()) {
            case ZGAFPms_freq:
                edtFreq->setEnabled(false);
                break;
            case ZGAFPms_ampl:
                edtAmpl->setEnabled(false);
                break;
            case ZGAFPms_phase:
                edtPhase->setEnabled(false);
                break;
            default:
                break;
        }
    } else {
        cmbBoxChMode->setEnabled(true);
        pgCtrlChModes->setEnabled(true);
    }
    if (mode == ZGMdC_LFM) edtFreq->setEnabled(false);
    // The tuning input's reading is shown only while the channel is tuned.
    const bool tuning = mode == ZGMdC_tuning;
    lblADCparam->setVisible(tuning);
    edtADCvalue->setVisible(tuning);
}

void TframeCh::EnableCarrierEdits(bool enable) {
    edtFreq->setEnabled(enable);
    edtAmpl->setEnabled(enable);
    edtPhase->setEnabled(enable);
}

void TframeCh::edtTextValidate(TMaskEdit* edit) {
    const QString fixed = FixDecimalSeparator(edit->text(), DecimalSeparator());
    if (fixed != edit->text()) edit->setText(fixed);
}
