#include "ui/chPageExtMod.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ZyApplication.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "ui/frameCh.h"

TchPageExtMod::TchPageExtMod(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("Модуляция внешним сигналом"), this);
    outer->addWidget(group);
    outer->addStretch(1);
    auto* grid = new QGridLayout(group);

    cmbBox_ExtModBy = new QComboBox(group);
    cmbBox_ExtModBy->setObjectName(QStringLiteral("cmbBox_ExtModBy"));
    cmbBox_ExtModBy->addItems(
        {QStringLiteral("Амплитуда"), QStringLiteral("Фаза"), QStringLiteral("Частота")});
    connect(cmbBox_ExtModBy, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBox_ExtModByPropertiesChange(); }); });
    grid->addWidget(new QLabel(QStringLiteral("Модулируемый параметр"), group), 0, 0);
    grid->addWidget(cmbBox_ExtModBy, 0, 1);

    lblExtMod_ParamDeep = new QLabel(QStringLiteral("Глубина модуляции"), group);
    lblExtMod_ParamDeep->setObjectName(QStringLiteral("lblExtMod_ParamDeep"));
    cmbBox_ExtModScale = NewScaleBox("cmbBox_ExtModScale", group);
    grid->addWidget(lblExtMod_ParamDeep, 1, 0);
    grid->addWidget(cmbBox_ExtModScale, 1, 1);

    chBox_ExtModA12 =
        new QCheckBox(QStringLiteral("Модуляция суммой сигналов со входов 1 и 2"), group);
    chBox_ExtModA12->setObjectName(QStringLiteral("chBox_ExtModA12"));
    chBox_ExtModAB1 =
        new QCheckBox(QStringLiteral("Модуляция с внешнего входа 1 каналов A и B"), group);
    chBox_ExtModAB1->setObjectName(QStringLiteral("chBox_ExtModAB1"));
    for (QCheckBox* box : {chBox_ExtModA12, chBox_ExtModAB1}) {
        connect(box, &QCheckBox::toggled, this,
                [this, box] { SafeCall([this, box] { chBox_ExtModA12PropertiesChange(box); }); });
    }
    grid->addWidget(chBox_ExtModA12, 2, 0, 1, 2);
    grid->addWidget(chBox_ExtModAB1, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}

void TchPageExtMod::InitPage() {
    const bool channelA = Channel()->IsChannelA();
    for (QCheckBox* box : {chBox_ExtModA12, chBox_ExtModAB1}) {
        box->setVisible(channelA);
        box->setEnabled(channelA);
    }
}

void TchPageExtMod::cmbBox_ExtModByPropertiesChange() {
    const int item = cmbBox_ExtModBy->currentIndex();
    FillScaleItems(cmbBox_ExtModScale, item);
    switch (item) {
        case piAmpl:
            lblExtMod_ParamDeep->setText(QStringLiteral("Глубина модуляции"));
            break;
        case piPhase:
            lblExtMod_ParamDeep->setText(QStringLiteral("Девиация фазы"));
            break;
        case piFreq:
            lblExtMod_ParamDeep->setText(QStringLiteral("Девиация частоты"));
            break;
        default:
            break;
    }
}

void TchPageExtMod::chBox_ExtModA12PropertiesChange(QCheckBox* changed) {
    // The two ways of feeding channel A exclude each other.
    if (chBox_ExtModA12->isChecked() && chBox_ExtModAB1->isChecked()) {
        QCheckBox* other = changed == chBox_ExtModA12 ? chBox_ExtModAB1 : chBox_ExtModA12;
        const QSignalBlocker block(other);
        other->setChecked(false);
    }
    ApplyNow();
}

void TchPageExtMod::ApplyExtModulation() {
    TZyGen4Channel* ch = Channel();
    // Channel B driven from channel A's inputs follows channel A's settings.
    if (!ch->IsChannelA() &&
        (ch->Mode() == ZGMdC_ExtModulationAB1 || ch->Mode() == ZGMdC_ExtModulationA12))
        return;
    TZyGen4ExtModulation* engine = ch->ExtModulation();
    const int position = cmbBox_ExtModScale->currentIndex();
    switch (cmbBox_ExtModBy->currentIndex()) {
        case piAmpl:
            engine->SetType(ZGAFPms_ampl);
            engine->SetScale(ScaleOf(piAmpl, position));
            break;
        case piPhase:
            engine->SetType(ZGAFPms_phase);
            engine->SetScale(ScaleOf(piPhase, position));
            break;
        case piFreq:
            engine->SetType(ZGAFPms_freq);
            engine->SetScale(ScaleOf(piFreq, position));
            break;
        default:
            break;
    }
}
