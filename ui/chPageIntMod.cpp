#include "ui/chPageIntMod.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSizePolicy>
#include <QVBoxLayout>

#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "ui/EditMasks.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"
#include "ui/frameCh.h"

TchPageIntMod::TchPageIntMod(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("Внутренняя модуляция"), this);
    outer->addWidget(group);
    outer->addStretch(1);
    auto* grid = new QGridLayout(group);

    // Where the table is played, and how many readings it has.
    auto* ram = new QGroupBox(QStringLiteral("Отсчеты"), group);
    auto* ramGrid = new QGridLayout(ram);
    rdBtnIntMod_ramMK = new QRadioButton(QStringLiteral("ОЗУ МК"), ram);
    rdBtnIntMod_ramMK->setObjectName(QStringLiteral("rdBtnIntMod_ramMK"));
    rdBtnIntMod_ramMK->setChecked(true);
    rdBtnIntMod_ramDDS = new QRadioButton(QStringLiteral("ОЗУ ЦВС"), ram);
    rdBtnIntMod_ramDDS->setObjectName(QStringLiteral("rdBtnIntMod_ramDDS"));
    for (QRadioButton* b : {rdBtnIntMod_ramMK, rdBtnIntMod_ramDDS}) {
        connect(b, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) SafeCall([this] { rdBtnIntMod_ramXXXClick(); });
        });
    }
    lblIntMod_RdsCnt = new QLabel(QStringLiteral("0"), ram);
    lblIntMod_RdsCnt->setObjectName(QStringLiteral("lblIntMod_RdsCnt"));
    QFont bold = lblIntMod_RdsCnt->font();
    bold.setBold(true);
    lblIntMod_RdsCnt->setFont(bold);
    lblIntMod_RdsCntMin = new QLabel(QStringLiteral("Минимум"), ram);
    lblIntMod_RdsCntMin->setObjectName(QStringLiteral("lblIntMod_RdsCntMin"));
    edtIntMod_RdsCntMin =
        NewEdit("edtIntMod_RdsCntMin", kMask_RdsCnt, QStringLiteral("32"), false, ram);
    ramGrid->addWidget(rdBtnIntMod_ramMK, 0, 0);
    ramGrid->addWidget(new QLabel(QStringLiteral("Использовано"), ram), 0, 1);
    ramGrid->addWidget(lblIntMod_RdsCnt, 0, 2);
    ramGrid->addWidget(rdBtnIntMod_ramDDS, 1, 0);
    ramGrid->addWidget(lblIntMod_RdsCntMin, 1, 1);
    ramGrid->addWidget(edtIntMod_RdsCntMin, 1, 2);
    lblIntMod_RdsCntMin->setVisible(false);
    edtIntMod_RdsCntMin->setVisible(false);
    grid->addWidget(ram, 0, 0, 1, 3);

    cmbBox_IntModFunc = new QComboBox(group);
    cmbBox_IntModFunc->setObjectName(QStringLiteral("cmbBox_IntModFunc"));
    cmbBox_IntModFunc->addItems(
        {QStringLiteral("Синус"), QStringLiteral("Треугольник"), QStringLiteral("Прямоугольник")});
    connect(cmbBox_IntModFunc, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBox_IntModFuncPropertiesChange(); }); });
    grid->addWidget(new QLabel(QStringLiteral("Модулирующий сигнал"), group), 1, 0);
    grid->addWidget(cmbBox_IntModFunc, 1, 1, 1, 2);

    cmbBox_IntModBy = new QComboBox(group);
    cmbBox_IntModBy->setObjectName(QStringLiteral("cmbBox_IntModBy"));
    cmbBox_IntModBy->addItems(
        {QStringLiteral("Частота"), QStringLiteral("Фаза"), QStringLiteral("Амплитуда")});
    connect(cmbBox_IntModBy, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBox_IntModByPropertiesChange(); }); });
    grid->addWidget(new QLabel(QStringLiteral("Модулируемый параметр"), group), 2, 0);
    grid->addWidget(cmbBox_IntModBy, 2, 1, 1, 2);

    // The modulating frequency edit takes any text and is not validated.
    edt_IntModFm = NewEdit("edt_IntModFm", nullptr, QStringLiteral("1"), false, group);
    grid->addWidget(new QLabel(QStringLiteral("Частота модуляции"), group), 3, 0);
    grid->addWidget(edt_IntModFm, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("кГц"), group), 3, 2);

    lblIntMod_ParamDeep = new QLabel(QStringLiteral("Девиация частоты"), group);
    lblIntMod_ParamDeep->setObjectName(QStringLiteral("lblIntMod_ParamDeep"));
    edtIntMod_DeepParam =
        NewEdit("edtIntMod_DeepParam", kMaskCh_FreqInMHz, QStringLiteral("1"), true, group);
    lblIntMod_ParamDeepDim = new QLabel(QStringLiteral("кГц"), group);
    lblIntMod_ParamDeepDim->setObjectName(QStringLiteral("lblIntMod_ParamDeepDim"));
    grid->addWidget(lblIntMod_ParamDeep, 4, 0);
    grid->addWidget(edtIntMod_DeepParam, 4, 1);
    grid->addWidget(lblIntMod_ParamDeepDim, 4, 2);

    lblIntMod_OffDuty = new QLabel(QStringLiteral("Коэффициент"), group);
    lblIntMod_OffDuty->setObjectName(QStringLiteral("lblIntMod_OffDuty"));
    edtIntMod_OffDuty =
        NewEdit("edtIntMod_OffDuty", kMaskCh_FreqInMHz, FloatToStr(0.5), true, group);
    grid->addWidget(lblIntMod_OffDuty, 5, 0);
    grid->addWidget(edtIntMod_OffDuty, 5, 1);
    lblIntMod_OffDuty->setVisible(false);
    edtIntMod_OffDuty->setVisible(false);

    chBox_IntModDuplexAB =
        new QCheckBox(QStringLiteral("Одинаковая модуляция каналов A и B"), group);
    chBox_IntModDuplexAB->setObjectName(QStringLiteral("chBox_IntModDuplexAB"));
    connect(chBox_IntModDuplexAB, &QCheckBox::toggled, this,
            [this] { SafeCall([this] { chBox_IntModDuplexABPropertiesChange(); }); });
    grid->addWidget(chBox_IntModDuplexAB, 6, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    // The rows that come and go with the choices keep their place, so that
    // the page, and with it the main window, keeps its size.
    for (QWidget* w :
         {static_cast<QWidget*>(lblIntMod_RdsCntMin), static_cast<QWidget*>(edtIntMod_RdsCntMin),
          static_cast<QWidget*>(lblIntMod_OffDuty), static_cast<QWidget*>(edtIntMod_OffDuty),
          static_cast<QWidget*>(chBox_IntModDuplexAB)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
}

bool TchPageIntMod::IsChannelA() const {
    return Channel() && Channel()->IsChannelA();
}

void TchPageIntMod::InitPage() {
    const bool mk = rdBtnIntMod_ramMK->isChecked();
    chBox_IntModDuplexAB->setVisible(IsChannelA() && mk);
    lblIntMod_RdsCntMin->setVisible(!mk);
    edtIntMod_RdsCntMin->setVisible(!mk);
}

TZyGen4AFPModes TchPageIntMod::ParamOf(int item) {
    switch (item) {
        case piPhase:
            return ZGAFPms_phase;
        case piAmpl:
            return ZGAFPms_ampl;
        case piFreq:
        default:
            return ZGAFPms_freq;
    }
}

TMathFuncsTypes TchPageIntMod::FuncOf(int item) {
    switch (item) {
        case fiTriangle:
            return ZMFT_triangle;
        case fiRect:
            return ZMFT_rect;
        case fiSin:
        default:
            return ZMFT_sin;
    }
}

void TchPageIntMod::rdBtnIntMod_ramXXXClick() {
    if (rdBtnIntMod_ramMK->isChecked()) {
        if (cmbBox_IntModBy->count() == 2) {
            const QSignalBlocker block(cmbBox_IntModBy);
            cmbBox_IntModBy->addItem(QStringLiteral("Амплитуда"));
        }
        chBox_IntModDuplexAB->setVisible(IsChannelA());
        lblIntMod_RdsCntMin->setVisible(false);
        edtIntMod_RdsCntMin->setVisible(false);
    } else {
        if (cmbBox_IntModBy->count() == 3) {
            // The DDS memory cannot modulate the amplitude.
            if (cmbBox_IntModBy->currentIndex() == piAmpl) {
                const TAutoApplyOff hold(*Frame());
                cmbBox_IntModBy->setCurrentIndex(piFreq);
            }
            const QSignalBlocker block(cmbBox_IntModBy);
            cmbBox_IntModBy->removeItem(piAmpl);
        }
        chBox_IntModDuplexAB->setVisible(false);
        lblIntMod_RdsCntMin->setVisible(true);
        edtIntMod_RdsCntMin->setVisible(true);
    }
    ApplyNow();
}

void TchPageIntMod::cmbBox_IntModByPropertiesChange() {
    const TZyGen4AFPModes param = ParamOf(cmbBox_IntModBy->currentIndex());
    switch (param) {
        case ZGAFPms_freq:
            lblIntMod_ParamDeep->setText(QStringLiteral("Девиация частоты"));
            lblIntMod_ParamDeepDim->setText(QStringLiteral("кГц"));
            break;
        case ZGAFPms_phase:
            lblIntMod_ParamDeep->setText(QStringLiteral("Девиация фазы"));
            lblIntMod_ParamDeepDim->setText(QStringLiteral("°"));
            break;
        case ZGAFPms_ampl:
            lblIntMod_ParamDeep->setText(QStringLiteral("Глубина модуляции"));
            lblIntMod_ParamDeepDim->setText(QStringLiteral("%"));
            break;
        default:
            break;
    }
    ShowModDepth(param, !rdBtnIntMod_ramMK->isChecked());
    if (AutoApply()) ApplyNow();
}

void TchPageIntMod::cmbBox_IntModFuncPropertiesChange() {
    const int item = cmbBox_IntModFunc->currentIndex();
    const bool shaped = item == fiTriangle || item == fiRect;
    lblIntMod_OffDuty->setVisible(shaped);
    edtIntMod_OffDuty->setVisible(shaped);
    lblIntMod_OffDuty->setText(item == fiRect ? QStringLiteral("Скважность")
                                              : QStringLiteral("Коэффициент"));
    ApplyNow();
}

void TchPageIntMod::chBox_IntModDuplexABPropertiesChange() {
    ApplyNow();
}

double TchPageIntMod::ShapeCC() {
    switch (cmbBox_IntModFunc->currentIndex()) {
        case fiTriangle: {
            double c = StrToFloat(edtIntMod_OffDuty->text());
            if (c < 0.0 || c > 1.0) {
                edtIntMod_OffDuty->setText(FloatToStr(0.5));
                c = 0.5;
            }
            return c;
        }
        case fiRect: {
            double d = StrToFloat(edtIntMod_OffDuty->text());
            if (d < 1.0 || d > 10.0) {
                edtIntMod_OffDuty->setText(FloatToStr(1.0));
                d = 1.0;
            }
            return 1.0 / d;  // the pulse's duty factor
        }
        default:
            return -1.0;
    }
}

void TchPageIntMod::ShowShape(TMathFuncsTypes func, double cc) {
    if (func == ZMFT_triangle) {
        edtIntMod_OffDuty->setText(FloatToStr(cc));
    } else if (func == ZMFT_rect && cc > 0.0) {
        edtIntMod_OffDuty->setText(FloatToStr(1.0 / cc));
    }
}

void TchPageIntMod::ApplyIntModulation() {
    TZyGen4IntModulation* engine = Channel()->IntModulation();
    if (IsChannelA()) Gen()->Options()->SetEnableDuplexIntMod(chBox_IntModDuplexAB->isChecked());
    switch (cmbBox_IntModBy->currentIndex()) {
        case piFreq:
            engine->SetType(ZGAFPms_freq);
            engine->SetdF(
                TruncToInt(TZyGen4::Conv_Value(StrToFloat(edtIntMod_DeepParam->text()), 1000, 1)));
            break;
        case piPhase:
            engine->SetType(ZGAFPms_phase);
            engine->SetdPh(TruncToInt(StrToFloat(edtIntMod_DeepParam->text())));
            break;
        case piAmpl:
            engine->SetType(ZGAFPms_ampl);
            engine->SetdA(TruncToInt(StrToFloat(edtIntMod_DeepParam->text())));
            break;
        default:
            break;
    }
    engine->SetMathFuncType(FuncOf(cmbBox_IntModFunc->currentIndex()));
    engine->SetFm(TruncToInt(TZyGen4::Conv_Value(StrToFloat(edt_IntModFm->text()), 1000, 1)));
    const double cc = ShapeCC();
    if (cc >= 0.0) engine->SetCC(cc);
    if (Frame()->OnIntModApplied) Frame()->OnIntModApplied(Frame());
}

void TchPageIntMod::ShowIntModulation() {
    const TZyGen4IntModulation* engine = Channel()->IntModulation();
    ShowModDepth(engine->Type(), false);
    edt_IntModFm->setText(FloatToStr(engine->Fm() / 1000.0));
    ShowShape(engine->GetMathFuncType(), engine->GetCC());
}

void TchPageIntMod::ApplyIntModDDS() {
    TZyGen4DDSMod* engine = Channel()->DDSMod();
    engine->SetReadingsCntMin(StrToInt(edtIntMod_RdsCntMin->text()));
    switch (cmbBox_IntModBy->currentIndex()) {
        case piFreq:
            engine->SetType(ZGAFPms_freq);
            engine->Set_dF(TZyGen4::Conv_Value(StrToFloat(edtIntMod_DeepParam->text()), 1000, 1));
            break;
        case piPhase:
            engine->SetType(ZGAFPms_phase);
            engine->Set_dPh(StrToFloat(edtIntMod_DeepParam->text()));
            break;
        default:  // the DDS memory offers no other parameter
            break;
    }
    engine->SetMathFuncType(FuncOf(cmbBox_IntModFunc->currentIndex()));
    engine->SetFm(TZyGen4::Conv_Value(StrToFloat(edt_IntModFm->text()), 1000, 1));
    const double cc = ShapeCC();
    if (cc >= 0.0) engine->SetCC(cc);
}

void TchPageIntMod::ShowIntModDDS() {
    const TZyGen4DDSMod* engine = Channel()->DDSMod();
    ShowModDepth(engine->Type(), true);
    edt_IntModFm->setText(FloatToStr(engine->Fm() / 1000.0));
    ShowShape(engine->GetMathFuncType(), engine->GetCC());
    edtIntMod_RdsCntMin->setText(QString::number(engine->ReadingsCntMin()));
}

void TchPageIntMod::ShowModDepth(TZyGen4AFPModes param, bool fromDDS) {
    const TZyGen4IntModulation* intMod = Channel()->IntModulation();
    const TZyGen4DDSMod* ddsMod = Channel()->DDSMod();
    switch (param) {
        case ZGAFPms_freq:
            edtIntMod_DeepParam->setText(
                FloatToStr(fromDDS ? ddsMod->dF() / 1000.0 : intMod->dF() / 1000.0));
            break;
        case ZGAFPms_ampl:
            edtIntMod_DeepParam->setText(QString::number(intMod->dA()));
            break;
        case ZGAFPms_phase:
            edtIntMod_DeepParam->setText(fromDDS ? FloatToStr(ddsMod->dPh())
                                                 : QString::number(intMod->dPh()));
            break;
        default:
            break;
    }
}

void TchPageIntMod::ShowReadingsCount(TZyGen4ModesCommon mode) {
    if (mode == ZGMdC_IntModulation)
        lblIntMod_RdsCnt->setText(QString::number(Channel()->IntModulation()->RdsCnt()));
    else if (mode == ZGMdC_DDSMod && Channel()->DDSMod()->Mode() == ZGTMs_User)
        lblIntMod_RdsCnt->setText(QString::number(Channel()->DDSMod()->N()));
}
