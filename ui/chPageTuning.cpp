#include "ui/chPageTuning.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "ui/frameCh.h"

namespace {

// The take-over button's picture: an arrow pointing up into the carrier.
QIcon TakeOverIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 96, 0), 2));
    p.drawLine(8, 14, 8, 4);
    p.drawLine(8, 3, 4, 7);
    p.drawLine(8, 3, 12, 7);
    return QIcon(pm);
}

// C-style "%g": six significant digits, "." as the decimal point.
QString FormatG(double v, const char* unit) {
    return QString::asprintf("%g ", v) + QString::fromUtf8(unit);
}

}  // namespace

TchPageTuning::TchPageTuning(TframeCh* frame, QWidget* parent) : TchPage(frame, parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("Ручная подстройка"), this);
    outer->addWidget(group);
    outer->addStretch(1);
    auto* grid = new QGridLayout(group);

    cmbBox_TunerBy = new QComboBox(group);
    cmbBox_TunerBy->setObjectName(QStringLiteral("cmbBox_TunerBy"));
    cmbBox_TunerBy->addItems(
        {QStringLiteral("Амплитуда"), QStringLiteral("Фаза"), QStringLiteral("Частота")});
    cmbBox_TunerBy->setCurrentIndex(piAmpl);
    connect(cmbBox_TunerBy, &QComboBox::currentIndexChanged, this,
            [this] { SafeCall([this] { cmbBox_TunerByPropertiesChange(); }); });
    grid->addWidget(new QLabel(QStringLiteral("Подстраиваемый параметр"), group), 0, 0);
    grid->addWidget(cmbBox_TunerBy, 0, 1);

    cmbBox_TunerScale = NewScaleBox("cmbBox_TunerScale", group);
    grid->addWidget(new QLabel(QStringLiteral("Глубина подстройки"), group), 1, 0);
    grid->addWidget(cmbBox_TunerScale, 1, 1);

    lblADCparam = new QLabel(QStringLiteral("Амплитуда"), group);
    lblADCparam->setObjectName(QStringLiteral("lblADCparam"));
    edtADCvalue = new QLineEdit(group);
    edtADCvalue->setObjectName(QStringLiteral("edtADCvalue"));
    edtADCvalue->setReadOnly(true);
    actADCvalueTakeOver = edtADCvalue->addAction(TakeOverIcon(), QLineEdit::TrailingPosition);
    actADCvalueTakeOver->setObjectName(QStringLiteral("edtADCvalue_button"));
    actADCvalueTakeOver->setToolTip(QStringLiteral("Принять как параметр несущей"));
    connect(actADCvalueTakeOver, &QAction::triggered, this,
            [this] { SafeCall([this] { edtADCvalueButtonClick(); }); });
    grid->addWidget(lblADCparam, 2, 0);
    grid->addWidget(edtADCvalue, 2, 1);
    lblADCparam->setVisible(false);
    edtADCvalue->setVisible(false);
    grid->setColumnStretch(1, 1);
}

void TchPageTuning::cmbBox_TunerByPropertiesChange() {
    FillScaleItems(cmbBox_TunerScale, cmbBox_TunerBy->currentIndex());
}

void TchPageTuning::ApplyTuner() {
    TZyGen4Tuner* tuner = Channel()->Tuner();
    const int position = cmbBox_TunerScale->currentIndex();
    switch (cmbBox_TunerBy->currentIndex()) {
        case piAmpl:
            tuner->SetType(ZGAFPms_ampl);
            lblADCparam->setText(QStringLiteral("Амплитуда"));
            tuner->SetScale(ScaleOf(piAmpl, position));
            break;
        case piPhase:
            tuner->SetType(ZGAFPms_phase);
            lblADCparam->setText(QStringLiteral("Фаза"));
            tuner->SetScale(ScaleOf(piPhase, position));
            break;
        case piFreq:
            tuner->SetType(ZGAFPms_freq);
            lblADCparam->setText(QStringLiteral("Частота"));
            tuner->SetScale(ScaleOf(piFreq, position));
            break;
        default:
            break;
    }
}

double TchPageTuning::ReadingHz() const {
    return Gen()->Conv_CodeToFreq(Channel()->Tuner()->ADCValue());
}

QString TchPageTuning::ADCValueText() const {
    const unsigned reading = Channel()->Tuner()->ADCValue();
    switch (Channel()->Tuner()->Type()) {
        case ZGAFPms_freq: {
            const double f = ReadingHz();
            // The three narrowest ranges read in Hz, the wider ones in kHz.
            if (cmbBox_TunerScale->currentIndex() <= 2)
                return FormatG(TZyGen4::Conv_Value(f, 1, 1, 0), "Гц");
            return FormatG(TZyGen4::Conv_Value(f, 1, 1000, 0), "кГц");
        }
        case ZGAFPms_ampl:
            return FormatG(TZyGen4::Conv_Value(
                               TZyGen4::Conv_AmplTodB(TZyGen4::Conv_CodeToAmpl(reading)), 1, 1, -3),
                           "dB");
        case ZGAFPms_phase:
            return FormatG(TZyGen4::Conv_Value(TZyGen4::Conv_CodeToPhase(reading), 1, 1, -2), "°");
        default:
            return {};
    }
}

void TchPageTuning::ShowADCValue() {
    edtADCvalue->setText(ADCValueText());
}

void TchPageTuning::edtADCvalueButtonClick() {
    TZyGen4Channel* ch = Channel();
    const unsigned reading = ch->Tuner()->ADCValue();
    // Set directly: with the automatic update on, the generator sends it.
    switch (ch->Tuner()->Type()) {
        case ZGAFPms_freq:
            ch->Set_sinFrequency(ReadingHz() / 1000.0);
            break;
        case ZGAFPms_ampl:
            ch->Set_sinAmplitude(TZyGen4::Conv_CodeToAmpl(reading));
            break;
        case ZGAFPms_phase:
            ch->SetPhase(TZyGen4::Conv_Value(TZyGen4::Conv_CodeToPhase(reading), 1, 1, -3));
            break;
        default:
            break;
    }
    Frame()->ShowCarrier();
}
