#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4FileWriter.h"
#include "gen4/ZyGen4Options.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "platform/Exceptions.h"
#include "platform/FakeTickSource.h"
#include "platform/HexBytes.h"
#include "platform/ManualTimerHost.h"
#include "sim/TraceDriver.h"
#include "sim/VirtualInstrument.h"

// Every transfer of every mode fails once, in each way it can: the error names
// the transfer, nothing goes out after it, and after reconnecting one update
// cycle brings the instrument and the model exactly where a run without the
// fault ends.

namespace {

namespace fs = std::filesystem;

// A generator on the virtual instrument, its transfers traced, with fake ticks
// and hand-fired timers.
struct TBench {
    TVirtualInstrument sim;
    TTraceDriver trace{sim};
    TFakeTickSource ticks;
    TManualTimerHost timers;
    std::vector<std::string> lines;
    std::unique_ptr<TZyGen4> gen = std::make_unique<TZyGen4>(nullptr, trace, ticks, timers);

    TBench() {
        sim.SetADCValue(0x12345678);
        trace.OnTransfer = [this](const TTraceDriver::TTransfer& t) {
            lines.push_back(TTraceDriver::FormatLine(t));
        };
    }
    ~TBench() { gen.reset(); }

    TZyGen4Channel& A() { return *gen->ChA(); }
    TZyGen4Channel& B() { return *gen->ChB(); }

    // Reconnects and runs one update cycle.
    void Recover() {
        gen->SetActive(false);
        gen->SetActive(true);
        gen->UpdateMode();
    }

    // What must match a clean run: the instrument's decoded state and every
    // stored property of the model, with the link's state. The instrument's
    // count of protocol errors is left out: a cut frame adds one to it.
    std::string Outcome() const {
        std::string all;
        for (const std::string& line : sim.StateLines())
            if (line.rfind("protocol_errors=", 0) != 0) all += line + "\n";
        TZyGen4FileWriter record;
        gen->WriteDataToFile(record);
        all += "model " + ToHex(record.Bytes()) + "\n";
        all += "active " + std::to_string(gen->GetActive()) + "\n";
        all += "autoupdate " + std::to_string(gen->AutoUpdate()) + "\n";
        return all;
    }
};

void Carrier(TZyGen4Channel& ch, double kHz, double amplitude, double phase) {
    ch.Set_sinFrequency(kHz);
    ch.Set_sinAmplitude(amplitude);
    ch.SetPhase(phase);
}

void IntMod(TZyGen4Channel& ch, TZyGen4AFPModes type) {
    Carrier(ch, 20000, 50, 90);
    ch.SetMode(ZGMdC_IntModulation);
    ch.IntModulation()->SetType(type);
    ch.IntModulation()->SetFm(1000);
    ch.IntModulation()->SetdF(150000);
    ch.IntModulation()->SetdA(40);
    ch.IntModulation()->SetdPh(60);
}

void ExtMod(TZyGen4Channel& ch, TZyGen4ModesCommon mode, TZyGen4AFPModes type) {
    Carrier(ch, 15000, 60, 45);
    ch.SetMode(mode);
    ch.ExtModulation()->SetType(type);
    ch.ExtModulation()->SetScale(300);
}

void Sweep(TZyGen4Channel& ch, double bottom, int top) {
    Carrier(ch, bottom, 70, 0);
    ch.SetMode(ZGMdC_LFM);
    ch.LFM()->SetFreqTop(top);
    ch.LFM()->SetTinc0(1000);
    ch.LFM()->SetTinc1(2000);
    ch.LFM()->SetTdec0(3000);
    ch.LFM()->SetTdec1(4000);
}

void Keying(TZyGen4Channel& ch, TZyGen4DDSmodModes mode, TZyGen4AFPModes type) {
    Carrier(ch, 30000, 80, 10);
    ch.SetMode(ZGMdC_DDSMod);
    TZyGen4DDSMod& k = *ch.DDSMod();
    k.SetMode(mode);
    k.SetType(type);
    k.SetF1(1000);
    k.SetF2(2000);
    k.SetF3(3000);
    k.SetF4(4000);
    k.SetPh1(0);
    k.SetPh2(90);
    k.SetPh3(180);
    k.SetPh4(270);
    k.SetT1(1000);
    k.SetT2(2000);
    k.SetT3(3000);
    k.SetT4(4000);
    k.Set_dF(500);
    k.Set_dPh(30);
    k.SetFm(2000);
}

void Tuning(TZyGen4Channel& ch, TZyGen4AFPModes type) {
    Carrier(ch, 5000, 40, 30);
    ch.SetMode(ZGMdC_tuning);
    ch.Tuner()->SetType(type);
    ch.Tuner()->SetScale(10);
    ch.Tuner()->SetADCTimerInterval(100);
    ch.Tuner()->SetADCTimerEnabled(true);
}

// A scenario sets the model up while disconnected, connects (not faulted),
// then runs the part whose transfers are faulted one by one.
struct TScenario {
    const char* name;
    std::function<void(TBench&)> setUp;
    std::function<void(TBench&)> run;
};

// The usual faulted part: one update cycle.
void Cycle(TBench& b) {
    b.gen->UpdateMode();
}

std::vector<TScenario> Scenarios(const std::string& file) {
    using B = TBench&;
    return {
        {"plain generation, A", [](B b) { b.A().SetMode(ZGMdC_gen); }, Cycle},
        {"plain generation, both, external reference",
         [](B b) {
             b.gen->SetUseExtRefFreq(true);
             b.gen->SetRefFreq(20);
             b.gen->SetFreqScale(10);
             Carrier(b.A(), 1234.5, 33, 12);
             b.A().SetMode(ZGMdC_gen);
             Carrier(b.B(), 4321, 66, 200);
             b.B().SetMode(ZGMdC_gen);
         },
         Cycle},
        {"tuning A, frequency, ADC reads and timer", [](B b) { Tuning(b.A(), ZGAFPms_freq); },
         [](B b) {
             Cycle(b);
             b.A().Tuner()->GetADCValue();
             b.timers.Advance(250);
         }},
        {"tuning B, amplitude, timer", [](B b) { Tuning(b.B(), ZGAFPms_ampl); },
         [](B b) {
             Cycle(b);
             b.timers.Advance(150);
         }},
        {"tuning A, phase", [](B b) { Tuning(b.A(), ZGAFPms_phase); }, Cycle},
        {"internal modulation A, frequency", [](B b) { IntMod(b.A(), ZGAFPms_freq); }, Cycle},
        {"internal modulation B, amplitude", [](B b) { IntMod(b.B(), ZGAFPms_ampl); }, Cycle},
        {"internal modulation, two tables, phase",
         [](B b) {
             IntMod(b.A(), ZGAFPms_phase);
             IntMod(b.B(), ZGAFPms_phase);
         },
         Cycle},
        {"internal modulation, duplex",
         [](B b) {
             b.gen->Options()->SetEnableDuplexIntMod(true);
             IntMod(b.A(), ZGAFPms_freq);
             IntMod(b.B(), ZGAFPms_freq);
         },
         Cycle},
        {"external modulation A, frequency",
         [](B b) { ExtMod(b.A(), ZGMdC_ExtModulation, ZGAFPms_freq); }, Cycle},
        {"external modulation, both",
         [](B b) {
             ExtMod(b.A(), ZGMdC_ExtModulation, ZGAFPms_ampl);
             ExtMod(b.B(), ZGMdC_ExtModulation, ZGAFPms_phase);
         },
         Cycle},
        {"external modulation A12",
         [](B b) { ExtMod(b.A(), ZGMdC_ExtModulationA12, ZGAFPms_freq); }, Cycle},
        {"external modulation AB1",
         [](B b) { ExtMod(b.A(), ZGMdC_ExtModulationAB1, ZGAFPms_ampl); }, Cycle},
        {"sweep A", [](B b) { Sweep(b.A(), 1000, 2000); }, Cycle},
        {"sweep, synchronous",
         [](B b) {
             Sweep(b.A(), 1000, 2000);
             Sweep(b.B(), 1500, 2500);
         },
         Cycle},
        {"keying A, two slots, phase", [](B b) { Keying(b.A(), ZGTMs_BxSK, ZGAFPms_phase); },
         Cycle},
        {"keying B, four slots, frequency, external times",
         [](B b) {
             Keying(b.B(), ZGTMs_QxSK, ZGAFPms_freq);
             b.B().DDSMod()->SetUseExtTimes(true);
         },
         Cycle},
        {"user sequence A, sine both ways",
         [](B b) {
             Keying(b.A(), ZGTMs_User, ZGAFPms_freq);
             b.A().DDSMod()->SetContBidiRamp(true);
         },
         Cycle},
        {"user sequence B, rectangle, amplitude",
         [](B b) {
             Keying(b.B(), ZGTMs_User, ZGAFPms_ampl);
             b.B().DDSMod()->SetMathFuncType(ZMFT_rect);
             b.B().DDSMod()->SetCC(0.25);
         },
         Cycle},
        {"channel A off, B plain",
         [](B b) {
             b.A().SetMode(ZGMdC_off);
             b.B().SetMode(ZGMdC_gen);
         },
         Cycle},
        {"save and load",
         [](B b) {
             Sweep(b.A(), 1000, 2000);
             IntMod(b.B(), ZGAFPms_ampl);
         },
         [file](B b) {
             b.gen->SaveToFile(file);
             b.gen->LoadFromFile(file);
         }},
    };
}

// The message of the link error for a trace line's kind of transfer.
std::string ErrorFor(const std::string& line) {
    switch (line[0]) {
        case 'C':
            return "Ошибка при записи команды в FTPort";
        case 'D':
            return "Ошибка при записи данных в FTPort";
        default:
            return "Ошибка при чтении данных из FTPort";
    }
}

enum TFault : int32_t { fWrite, fShortWrite, fRead };

TEST(FaultSweep, EveryFaultEndsCleanlyAndTheNextCycleRecoversTheCleanState) {
    std::string tmpl = (fs::temp_directory_path() / "zygen4-sweep-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const std::string file = tmpl + "/setup.zg4";

    int faults = 0;
    for (const TScenario& s : Scenarios(file)) {
        SCOPED_TRACE(s.name);
        // The clean run: its transfers, and where it ends after recovering.
        TBench clean;
        s.setUp(clean);
        clean.gen->SetActive(true);
        const std::size_t first = clean.lines.size();
        const int64_t writesBefore = clean.sim.WriteCount();
        const int64_t readsBefore = clean.sim.ReadCount();
        s.run(clean);
        const std::vector<std::string> transfers(clean.lines.begin() + first, clean.lines.end());
        ASSERT_FALSE(transfers.empty());
        ASSERT_EQ(clean.sim.ProtocolErrorCount(), 0u);
        clean.Recover();
        const std::string expected = clean.Outcome();

        int64_t writes = 0, reads = 0;  // ordinals of the transfer within the run
        for (std::size_t k = 0; k < transfers.size(); ++k) {
            const bool isRead = transfers[k][0] == 'R';
            const int64_t ordinal = isRead ? ++reads : ++writes;
            for (TFault fault :
                 isRead ? std::vector<TFault>{fRead} : std::vector<TFault>{fWrite, fShortWrite}) {
                SCOPED_TRACE(testing::Message() << "transfer " << k + 1 << " (" << transfers[k]
                                                << "), fault " << fault);
                ++faults;
                TBench b;
                s.setUp(b);
                b.gen->SetActive(true);
                ASSERT_EQ(b.sim.WriteCount(), writesBefore);
                ASSERT_EQ(b.sim.ReadCount(), readsBefore);
                if (fault == fWrite) b.sim.FailWrite(writesBefore + ordinal);
                if (fault == fShortWrite) b.sim.ShortWrite(writesBefore + ordinal);
                if (fault == fRead) b.sim.FailRead(readsBefore + ordinal);

                std::string error = "no error";
                try {
                    s.run(b);
                } catch (const Exception& e) {
                    error = e.what();
                }
                EXPECT_EQ(error, ErrorFor(transfers[k]));

                // The trace ends with the failed transfer.
                std::vector<std::string> want(transfers.begin(),
                                              transfers.begin() + static_cast<long>(k));
                want.push_back(isRead ? "R !" : transfers[k] + " !");
                EXPECT_EQ(std::vector<std::string>(b.lines.begin() + first, b.lines.end()), want);

                b.Recover();
                EXPECT_EQ(b.Outcome(), expected);
                // The instrument saw at most the one frame or block the fault
                // cut off (or a block announced but never sent).
                EXPECT_LE(b.sim.ProtocolErrorCount(), 1u);
            }
        }
    }
    fs::remove_all(tmpl);
    RecordProperty("faults", faults);
}

}  // namespace
