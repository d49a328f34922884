#include "app/DMmain.h"

#include <exception>

#include "app/HtmlHelp.h"
#include "app/MessageBox.h"
#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "options/ZyAppOptionsRepository.h"
#include "ui/BusyCursor.h"
#include "ui/frameCh.h"

TDMmain::TDMmain(TUsbDriver& driver, TTickSource& ticks, TTimerHost& timers,
                 const std::string& optionsFileName, QObject* parent)
    : QObject(parent), TComponent(nullptr) {
    setObjectName(QStringLiteral("DMmain"));
    zyAppOptionsRep_ = std::make_unique<TZyAppOptionsRepository>(nullptr);
    zyGen_ = std::make_unique<TZyGen4>(nullptr, driver, ticks, timers);
    ApplyStoredValues();

    TZyGen4* gen = zyGen_.get();
    gen->OnADCTimer = [this](TZyGen4Channel* ch) { ZyGenADCTimer(ch); };
    gen->AfterUpdate = [this](TZyGen4* sender) { ZyGenAfterUpdate(sender); };
    gen->OnChangeActiveState = [this](TZyGen4* sender) { ZyGenChangeActiveState(sender); };
    gen->OnChModeChange = [this](TZyGen4Channel* ch, bool val) { ZyGenChModeChange(ch, val); };
    gen->OnGenResponseWait = [this](TZyGen4* sender) { ZyGenGenResponseWait(sender); };
    gen->OnOverModulation = [this](TZyGen4Channel* ch, double val) {
        OldZyGenOverModulation(ch, val);
    };
    // OnFTError, OnParamValueError and OnErrorFile stay unassigned: link
    // failures reach the operator as the exception's message, and refused
    // values are simply not taken (the panels then show what was kept).

    DataModuleCreate(optionsFileName);
}

TDMmain::~TDMmain() {
    try {
        DataModuleDestroy();
    } catch (...) {
        TZyApplication::HandleException();
    }
    // The options go before the repository they are registered with.
    delete UseExtFreqOption;
    delete FreqScaleOption;
    delete RefFreqOption;
    delete AutoConnectOption;
    zyGen_.reset();  // resets the instrument and closes a live link
}

// The program's starting configuration, channel A, channel B, the options,
// then AutoUpdate and the clock.
void TDMmain::ApplyStoredValues() {
    TZyGen4* gen = zyGen_.get();
    for (TZyGen4Channel* ch :
         {static_cast<TZyGen4Channel*>(gen->ChA()), static_cast<TZyGen4Channel*>(gen->ChB())}) {
        ch->Set_sinFrequency(1000.0);
        ch->Set_sinAmplitude(100.0);
        TZyGen4IntModulation* im = ch->IntModulation();
        im->SetFm(1000);
        im->SetdA(50);
        im->SetdF(100);
        im->SetdPh(90);
        im->SetCC(0.5);
        ch->Tuner()->SetADCTimerEnabled(true);
        ch->Tuner()->SetADCTimerInterval(500);
        TZyGen4DDSMod* dm = ch->DDSMod();
        dm->SetF1(1000.0);
        dm->SetF2(1000.0);
        dm->SetF3(1000.0);
        dm->SetF4(1000.0);
        dm->Set_dF(1000.0);
        dm->SetPh2(180.0);
        dm->SetPh3(90.0);
        dm->SetPh4(270.0);
        dm->Set_dPh(90.0);
        dm->SetT1(1000.0);
        dm->SetT2(1000.0);
        dm->SetT3(1000.0);
        dm->SetT4(1000.0);
        dm->SetFm(1000.0);
        dm->SetCC(0.5);
        dm->SetReadingsCntMin(32);
    }
    gen->Options()->SetOverModulationNotify(true);
    gen->SetAutoUpdate(false);
    gen->SetRefFreq(25.0);
    gen->SetFreqScale(16);
}

void TDMmain::DataModuleCreate(const std::string& optionsFileName) {
    HelpCookie = 0;
    HelpCookie = static_cast<uint32_t>(THtmlHelp::HtmlHelp(nullptr, QString(), HH_INITIALIZE, 0));
    zyAppOptionsRep_->SetFileName(optionsFileName);
    TZyAppOptionsRepository* rep = zyAppOptionsRep_.get();
    AutoConnectOption = rep->AddAppBoolOption(this, "Common", "AutoConnect", true);
    RefFreqOption = rep->AddAppDblOption(this, "Gen", "RefFreq", 25.0);
    FreqScaleOption = rep->AddAppIntOption(this, "Gen", "FreqScale", 16);
    UseExtFreqOption = rep->AddAppBoolOption(this, "Gen", "UseExtFreq", false);
    // A clock of 0 MHz would silence the instrument, and only the low byte of
    // the multiplier reaches it: the file's values are kept to what works.
    RefFreqOption->SetLimits(kMinRefFreq, kMaxRefFreq);
    FreqScaleOption->SetLimits(TZyGen4::kMinFreqScale, TZyGen4::kMaxFreqScale);
    rep->LoadOptions();
    ApplyGenOptions();
}

void TDMmain::DataModuleDestroy() {
    // The help is closed even when saving fails; the failure is passed on.
    std::exception_ptr failure;
    try {
        zyAppOptionsRep_->SaveOptions();
    } catch (...) {
        failure = std::current_exception();
    }
    THtmlHelp::HtmlHelp(nullptr, QString(), HH_CLOSE_ALL, 0);
    THtmlHelp::HtmlHelp(nullptr, QString(), HH_UNINITIALIZE, HelpCookie);
    if (failure) std::rethrow_exception(failure);
}

void TDMmain::ApplyGenOptions() {
    zyGen_->SetUseExtRefFreq(UseExtFreqOption->Value());
    zyGen_->SetRefFreq(RefFreqOption->Value());
    zyGen_->SetFreqScale(FreqScaleOption->Value());
}

void TDMmain::ZyGenADCTimer(TZyGen4Channel* ch) {
    if (!ChAFrame || !ChBFrame) return;
    if (ch == zyGen_->ChA())
        ChAFrame->ShowADCValue();
    else
        ChBFrame->ShowADCValue();
}

void TDMmain::ZyGenAfterUpdate(TZyGen4*) {
    if (!ChAFrame || !ChBFrame) return;
    ChAFrame->SyncWithChannel();
    ChBFrame->SyncWithChannel();
}

void TDMmain::ZyGenChangeActiveState(TZyGen4*) {
    if (ChAFrame && ChBFrame) {
        if (!zyGen_->GetActive()) {
            ChAFrame->UpdateLinkState();
            ChBFrame->UpdateLinkState();
        }
        // An inactive generator raises no AfterUpdate, and connecting with the
        // automatic update off runs none: the panels' enabling follows here.
        ChAFrame->SyncControlStates();
        ChBFrame->SyncControlStates();
    }
    if (OnActiveStateChanged) OnActiveStateChanged();
}

void TDMmain::ZyGenChModeChange(TZyGen4Channel*, bool) {}

void TDMmain::ZyGenGenResponseWait(TZyGen4*) {}

void TDMmain::OldZyGenOverModulation(TZyGen4Channel* ch, double val) {
    if (!ChAFrame || !ChBFrame) return;
    QString caption;
    QString text;
    if (ch->Mode() == ZGMdC_tuning) {
        caption = QStringLiteral("Ручная подстройка");
        text =
            QStringLiteral("Возможно переполнение регистра амплитуды.\nИсправить уровень сигнала?");
    } else {
        caption = QStringLiteral("Внешняя модуляция");
        text = QStringLiteral("Обнаружено наличие перемодуляции.\nИсправить уровень сигнала?");
    }
    if (TMessageBox::Show(MainWindow, text, caption, miNone, mbYesNo) != mrYes) return;
    TBusyCursor busy;
    ch->Set_sinAmplitude(val);
    (ch == zyGen_->ChA() ? ChAFrame : ChBFrame)->ShowCarrier();
}

bool TDMmain::ApplicationEventsMainHelp(uint16_t Command, intptr_t Data, bool& CallHelp) {
    CallHelp = false;
    const QString file = TZyApplication::HelpFile();
    QWidget* caller = MainWindow;
    const auto data = static_cast<uintptr_t>(Data);
    switch (Command) {
        case 1:  // context
        case 8:  // context popup
            THtmlHelp::HtmlHelp(caller, file, HH_HELP_CONTEXT, data);
            return true;
        case 2:  // quit
            THtmlHelp::HtmlHelp(caller, QString(), HH_CLOSE_ALL, 0);
            return true;
        case 4:  // help on help
            THtmlHelp::HtmlHelp(caller, file, HH_TP_HELP_WM_HELP, 0);
            return true;
        case 13:  // popup position
            return false;
        case 3:   // contents
        case 11:  // finder
        default:
            THtmlHelp::HtmlHelp(caller, file, HH_DISPLAY_TOPIC, 0);
            return true;
    }
}
