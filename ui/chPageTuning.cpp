#include "ui/chPageTuning.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

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

// A reading in the user's locale with `decimals` fixed decimals; no "-0".
QString ReadingText(double value, int decimals, const char* unit) {
    QString text = QLocale().toString(value, 'f', decimals);
    if (QLocale().toDouble(text) == 0.0) text = QLocale().toString(0.0, 'f', decimals);
    return text + QLatin1Char(' ') + QString::fromUtf8(unit);
}

// Decimals that tell apart two readings one step apart.
int DecimalsForStep(double step) {
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step))));
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
        case ZGAFPms_freq:
            // Whole hertz, digit grouped: a carrier of hundreds of MHz tuned
            // by a few Hz still shows the digits that move.
            return ReadingText(std::nearbyint(ReadingHz()), 0, "Гц");
        case ZGAFPms_ampl: {
            // The level's step in dB grows as the level falls: about 0.0005 dB
            // near full scale, 6 dB at the lowest code.
            const double dB = TZyGen4::Conv_AmplTodB(TZyGen4::Conv_CodeToAmpl(reading));
            const double nextDB = TZyGen4::Conv_AmplTodB(TZyGen4::Conv_CodeToAmpl(reading + 1));
            return ReadingText(dB, DecimalsForStep(nextDB - dB), "dB");
        }
        case ZGAFPms_phase: {
            const double step = TZyGen4::Conv_CodeToPhase(1) - TZyGen4::Conv_CodeToPhase(0);
            return ReadingText(TZyGen4::Conv_CodeToPhase(reading), DecimalsForStep(step), "°");
        }
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
