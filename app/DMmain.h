#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Component.h"

class QWidget;
class TUsbDriver;
class TTickSource;
class TTimerHost;
class TZyGen4;
class TZyGen4Channel;
class TZyAppOptionsRepository;
class TZyAppBoolOption;
class TZyAppDblOption;
class TZyAppIntOption;
class TframeCh;
class TRemoteControl;

// The application data module: owns the generator with the program's starting
// values and the options repository with the four application options, and
// routes the generator's events to the two channel panels and to message
// boxes. The driver, tick source and timer host are the caller's and must
// outlive the module; so tests can run the whole program over a recording
// driver, fake ticks and hand-fired timers, with the options file of their
// choice.
class TDMmain : public QObject, public TComponent {
    Q_OBJECT

  public:
    TDMmain(TUsbDriver& driver, TTickSource& ticks, TTimerHost& timers,
            const std::string& optionsFileName, QObject* parent = nullptr);
    // Saves the options still registered and closes the help; never throws
    // (a failure to save is shown in a message box).
    ~TDMmain() override;

    // Components.
    TZyGen4* ZyGen() const { return zyGen_.get(); }
    TZyAppOptionsRepository* ZyAppOptionsRep() const { return zyAppOptionsRep_.get(); }

    // The reference frequencies the options take, in MHz: above 0, within
    // what the reference edit holds (three whole digits, six decimals).
    static constexpr double kMinRefFreq = 0.000001;
    static constexpr double kMaxRefFreq = 999.999999;

    // Fields.
    uint32_t HelpCookie = 0;
    TZyAppBoolOption* AutoConnectOption = nullptr;
    TZyAppDblOption* RefFreqOption = nullptr;
    TZyAppIntOption* FreqScaleOption = nullptr;
    TZyAppBoolOption* UseExtFreqOption = nullptr;
    TframeCh* ChAFrame = nullptr;
    TframeCh* ChBFrame = nullptr;
    // The window's SCPI server with its options (the main window sets it).
    TRemoteControl* RemoteControl = nullptr;

    // Owner of the message boxes the module shows (the main window sets it).
    QWidget* MainWindow = nullptr;
    // Runs after every connect or disconnect attempt, after the panels were
    // told; the main window refreshes its connect and disconnect actions.
    std::function<void()> OnActiveStateChanged;

    // The generator's clock from the options: UseExtRefFreq, then RefFreq,
    // then FreqScale (RefFreq and FreqScale are only taken with the external
    // reference on).
    void ApplyGenOptions();

    // Help requests of the windows, by the application's help command
    // numbers; false when the command is not handled here (13).
    bool ApplicationEventsMainHelp(uint16_t Command, intptr_t Data, bool& CallHelp);

    // Generator event handlers.
    void ZyGenADCTimer(TZyGen4Channel* ch);
    void ZyGenAfterUpdate(TZyGen4* Sender);
    void ZyGenChangeActiveState(TZyGen4* Sender);
    void ZyGenChModeChange(TZyGen4Channel* ch, bool val);
    void ZyGenGenResponseWait(TZyGen4* Sender);
    void OldZyGenOverModulation(TZyGen4Channel* ch, double val);

  private:
    void ApplyStoredValues();
    void DataModuleCreate(const std::string& optionsFileName);
    void DataModuleDestroy();

    std::unique_ptr<TZyAppOptionsRepository> zyAppOptionsRep_;
    std::unique_ptr<TZyGen4> zyGen_;
};
