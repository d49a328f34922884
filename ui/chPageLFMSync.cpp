#include "ui/chPageLFMSync.h"

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

TchPageLFMSync::TchPageLFMSync(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("Синхронная ЛЧМ"), this);
    group->setProperty("helpContext", 2006);
    outer->addWidget(group);
    auto* inner = new QVBoxLayout(group);
    imgLFMd = new TLFMShape(true, group);
    imgLFMd->setObjectName(QStringLiteral("imgLFMd"));
    inner->addWidget(imgLFMd, 1);

    auto* lblDelta = new QLabel(QStringLiteral("ΔF, МГц"), imgLFMd);
    edtLFM_freqDelta =
        NewEdit("edtLFM_freqDelta", kMaskCh_FreqInMHz, FloatToStr(0.5), true, imgLFMd);
    imgLFMd->Place(lblDelta, TLFMShape::spDeltaLabel);
    imgLFMd->Place(edtLFM_freqDelta, TLFMShape::spDeltaEdit);
}

void TchPageLFMSync::ApplySync() {
    TZyGen4Channel* ch = Channel();
    const TZyGen4Channel* other = ch->GetOtherCh();
    const double delta = TZyGen4::Conv_Value(StrToFloat(edtLFM_freqDelta->text()), 1000000, 1000);
    TZyGen4LFM* lfm = ch->LFM();
    const TZyGen4LFM* source = other->LFM();
    // The carrier before the top, as on the ordinary page.
    ch->Set_sinFrequency(other->Frequency() + delta);
    lfm->SetFreqTop(TruncToInt(source->FreqTop() + delta));
    lfm->SetTinc0(source->Tinc0());
    lfm->SetTinc1(source->Tinc1());
    lfm->SetTdec0(source->Tdec0());
    lfm->SetTdec1(source->Tdec1());
}
