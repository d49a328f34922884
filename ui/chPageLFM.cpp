#include "ui/chPageLFM.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "ui/EditMasks.h"
#include "ui/LFMShape.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"
#include "ui/frameCh.h"

TchPageLFM::TchPageLFM(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("ЛЧМ"), this);
    group->setProperty("helpContext", 2006);
    outer->addWidget(group);
    auto* inner = new QVBoxLayout(group);
    imgLFM = new TLFMShape(false, group);
    imgLFM->setObjectName(QStringLiteral("imgLFM"));
    inner->addWidget(imgLFM, 1);

    const QString one = QStringLiteral("1");
    edtLFM_freqTop =
        NewEdit("edtLFM_freqTop", kMaskCh_FreqInMHz, QStringLiteral("2"), true, imgLFM);
    edtLFM_freqBot = NewEdit("edtLFM_freqBot", kMaskCh_FreqInMHz, one, true, imgLFM);
    edtLFM_incT0 = NewEdit("edtLFM_incT0", kMask_TimeInMilliSec, one, true, imgLFM);
    edtLFM_incT1 = NewEdit("edtLFM_incT1", kMask_TimeInMilliSec, one, true, imgLFM);
    edtLFM_decT0 = NewEdit("edtLFM_decT0", kMask_TimeInMilliSec, one, true, imgLFM);
    edtLFM_decT1 = NewEdit("edtLFM_decT1", kMask_TimeInMilliSec, one, true, imgLFM);
    auto* lblF = new QLabel(QStringLiteral("F, МГц"), imgLFM);
    lblF->setAlignment(Qt::AlignCenter);
    auto* lblT = new QLabel(QStringLiteral("T, мс"), imgLFM);
    lblT->setAlignment(Qt::AlignCenter);

    imgLFM->Place(edtLFM_freqTop, TLFMShape::spFreqTop);
    imgLFM->Place(lblF, TLFMShape::spFreqLabel);
    imgLFM->Place(edtLFM_freqBot, TLFMShape::spFreqBot);
    imgLFM->Place(edtLFM_incT0, TLFMShape::spRise);
    imgLFM->Place(edtLFM_incT1, TLFMShape::spTopDwell);
    imgLFM->Place(edtLFM_decT0, TLFMShape::spFall);
    imgLFM->Place(edtLFM_decT1, TLFMShape::spBotDwell);
    imgLFM->Place(lblT, TLFMShape::spTimeLabel);
}

int TchPageLFM::TimeInMicroSec(const TMaskEdit* edit) const {
    return TruncToInt(TZyGen4::Conv_Value(StrToFloat(edit->text()), 1000, 1));
}

void TchPageLFM::ApplyOrdinary() {
    TZyGen4Channel* ch = Channel();
    TZyGen4LFM* lfm = ch->LFM();
    const int top =
        TruncToInt(TZyGen4::Conv_Value(StrToFloat(edtLFM_freqTop->text()), 1000000, 1000));
    // The bottom (the carrier) goes first: the engine refuses a top below the
    // carrier it holds, while a new carrier lifts a top below it. So a top and
    // bottom typed below the old carrier are both kept.
    ch->Set_sinFrequency(TZyGen4::Conv_Value(StrToFloat(edtLFM_freqBot->text()), 1000000, 1000));
    lfm->SetFreqTop(top);
    lfm->SetTinc0(TimeInMicroSec(edtLFM_incT0));
    lfm->SetTinc1(TimeInMicroSec(edtLFM_incT1));
    lfm->SetTdec0(TimeInMicroSec(edtLFM_decT0));
    lfm->SetTdec1(TimeInMicroSec(edtLFM_decT1));
}

void TchPageLFM::ShowLFM() {
    const TZyGen4Channel* ch = Channel();
    const TZyGen4LFM* lfm = ch->LFM();
    edtLFM_freqTop->setText(FloatToStr(lfm->FreqTop() / 1000.0));
    edtLFM_freqBot->setText(FloatToStr(ch->Frequency() / 1000.0));
    edtLFM_incT0->setText(FloatToStr(lfm->Tinc0() / 1000.0));
    edtLFM_incT1->setText(FloatToStr(lfm->Tinc1() / 1000.0));
    edtLFM_decT0->setText(FloatToStr(lfm->Tdec0() / 1000.0));
    edtLFM_decT1->setText(FloatToStr(lfm->Tdec1() / 1000.0));
}
