#include "app/RemoteControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/DMmain.h"
#include "app/ScpiTcpServer.h"
#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "options/ZyAppOptionsRepository.h"
#include "scpi/ScpiEngine.h"
#include "ui/chPageIntMod.h"
#include "ui/chPageLFM.h"
#include "ui/chPageXSK.h"
#include "ui/frameCh.h"

TRemoteControl::TRemoteControl(TDMmain* dm, QObject* parent)
    : QObject(parent), TComponent(nullptr), dm_(dm) {
    setObjectName(QStringLiteral("RemoteControl"));
    TZyAppOptionsRepository* rep = dm_->ZyAppOptionsRep();
    EnabledOption = rep->AddAppBoolOption(this, "Remote", "Enabled", false);
    PortOption = rep->AddAppIntOption(this, "Remote", "Port", kDefaultPort);
    AddressOption = rep->AddAppStrOption(this, "Remote", "Address", "127.0.0.1");
    EnabledOption->Load();
    PortOption->Load();
    AddressOption->Load();

    engine_ = std::make_unique<TScpiEngine>(
        *dm_->ZyGen(), ZyPanelScpiIdentity(QCoreApplication::applicationVersion().toStdString()));
    engine_->AfterChange = [this] { ShowInPanels(); };
    server_ = std::make_unique<TScpiTcpServer>(*engine_);
    connect(server_.get(), &TScpiTcpServer::StateChanged, this, &TRemoteControl::StatusChanged);
}

TRemoteControl::~TRemoteControl() {
    server_.reset();  // the client goes before the engine it talks to
}

void TRemoteControl::Apply() {
    const int port = PortOption->Value();
    if (!EnabledOption->Value() || port < 1 || port > 65535) {
        server_->Close();
        return;
    }
    const QString address = QString::fromStdString(AddressOption->Value()).trimmed();
    if (server_->IsListening() &&
        server_->AddressText().endsWith(QStringLiteral(":%1").arg(port)) &&
        server_->AddressText().startsWith(address))
        return;  // a connected client stays
    server_->Listen(address, static_cast<quint16>(port));
}

QString TRemoteControl::StatusText() const {
    if (!EnabledOption->Value()) return {};
    if (!server_->IsListening())
        return QStringLiteral("SCPI: не удалось открыть %1:%2 (%3)")
            .arg(QString::fromStdString(AddressOption->Value()))
            .arg(PortOption->Value())
            .arg(server_->ErrorText());
    return QStringLiteral("SCPI: %1%2")
        .arg(server_->AddressText(), server_->HasClient() ? QStringLiteral(", клиент подключён")
                                                          : QStringLiteral(", ждёт клиента"));
}

void TRemoteControl::ShowInPanels() {
    ShowInPanel(dm_->ChAFrame);
    ShowInPanel(dm_->ChBFrame);
}

// The internal modulation page's parameter and waveform lists from the
// engine, with the labels that follow them; nothing is applied.
void TRemoteControl::ShowIntModulationChoices(TframeCh* frame) {
    TchPageIntMod* page = frame->pageIntMod;
    const TZyGen4IntModulation* engine = frame->Channel->IntModulation();
    int param = TchPageIntMod::piFreq;
    if (engine->Type() == ZGAFPms_phase) param = TchPageIntMod::piPhase;
    if (engine->Type() == ZGAFPms_ampl) param = TchPageIntMod::piAmpl;
    int func = TchPageIntMod::fiSin;
    if (engine->GetMathFuncType() == ZMFT_triangle) func = TchPageIntMod::fiTriangle;
    if (engine->GetMathFuncType() == ZMFT_rect) func = TchPageIntMod::fiRect;
    {
        const QSignalBlocker blockParam(page->cmbBox_IntModBy);
        const QSignalBlocker blockFunc(page->cmbBox_IntModFunc);
        page->cmbBox_IntModBy->setCurrentIndex(param);
        page->cmbBox_IntModFunc->setCurrentIndex(func);
    }
    frame->AutoApply = false;
    page->cmbBox_IntModByPropertiesChange();
    frame->AutoApply = true;
}

// The panel's mode list, carrier and pages from the channel, without applying
// anything back.
void TRemoteControl::ShowInPanel(TframeCh* frame) {
    if (!frame || !frame->Channel) return;
    TZyGen4Channel* ch = frame->Channel;
    int item = -1;
    switch (ch->Mode()) {
        case ZGMdC_gen:
            item = TframeCh::miNone;
            break;
        case ZGMdC_tuning:
            item = TframeCh::miTuning;
            break;
        case ZGMdC_IntModulation:
            item = TframeCh::miIntMod;
            break;
        case ZGMdC_ExtModulation:
        case ZGMdC_ExtModulationA12:
        case ZGMdC_ExtModulationAB1:
            item = TframeCh::miExtMod;
            break;
        case ZGMdC_LFM:
            item = TframeCh::miLFM;
            break;
        case ZGMdC_DDSMod:
            item = ch->DDSMod()->Mode() == ZGTMs_User ? TframeCh::miIntMod : TframeCh::miXSK;
            break;
        default:
            break;  // off: the list keeps the mode the output starts with
    }
    if (item >= 0) {
        frame->AutoApply = false;
        frame->cmbBoxChMode->setCurrentIndex(item);
        frame->AutoApply = true;
        if (item == TframeCh::miIntMod && frame->rdBtnIntMod_ramDDS && frame->rdBtnIntMod_ramMK) {
            const bool dds = ch->Mode() == ZGMdC_DDSMod;
            const QSignalBlocker blockDds(frame->rdBtnIntMod_ramDDS);
            const QSignalBlocker blockMk(frame->rdBtnIntMod_ramMK);
            (dds ? frame->rdBtnIntMod_ramDDS : frame->rdBtnIntMod_ramMK)->setChecked(true);
        }
        for (auto [box, mode] : {std::pair{frame->chBox_ExtModA12, ZGMdC_ExtModulationA12},
                                 std::pair{frame->chBox_ExtModAB1, ZGMdC_ExtModulationAB1}}) {
            if (!box) continue;
            const QSignalBlocker block(box);
            box->setChecked(ch->Mode() == mode);
        }
        frame->SelectModePage();
    }
    frame->ShowCarrier();
    switch (ch->Mode()) {
        case ZGMdC_IntModulation:
            ShowIntModulationChoices(frame);
            frame->pageIntMod->ShowIntModulation();
            break;
        case ZGMdC_LFM:
            frame->pageLFMm->ShowLFM();
            break;
        case ZGMdC_DDSMod:
            if (item != TframeCh::miXSK) break;
            // The page's value edits hold frequencies or phases, as it keys.
            if (ch->DDSMod()->Type() == ZGAFPms_phase)
                frame->pageXSK->ShowKeyingPhases();
            else
                frame->pageXSK->ShowKeyingFreqs();
            frame->pageXSK->ShowKeyingTimes();
            break;
        default:
            break;
    }
    frame->SyncWithChannel();
}
