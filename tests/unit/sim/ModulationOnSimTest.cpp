#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "tests/fixtures/SimGenFixture.h"

namespace {

using TSimChannel = TInstrumentState::TChannel;

// The carrier a tuning or modulation start names, against the model.
void ExpectCarrierCode(const TInstrumentState& s, const TZyGen4Channel& model,
                       const TSimChannel& got) {
    switch (got.param) {
        case TInstrumentState::prFreq:
            EXPECT_NEAR(s.FrequencyHz(got.CarrierCode()), model.Frequency() * 1000.0,
                        s.ClockMHz() * 1e6 / 4294967296.0);
            break;
        case TInstrumentState::prAmpl:
            EXPECT_NEAR(
                TInstrumentState::AmplitudePercent(static_cast<uint16_t>(got.CarrierCode())),
                model.Amplitude(), 100.0 / 16384);
            break;
        case TInstrumentState::prPhase:
            EXPECT_NEAR(TInstrumentState::PhaseDegrees(got.CarrierCode()), model.Phase(),
                        360.0 / 16384);
            break;
        default:
            ADD_FAILURE() << "no parameter";
    }
}

TInstrumentState::TParam ParamOf(TZyGen4AFPModes t) {
    return t == ZGAFPms_freq   ? TInstrumentState::prFreq
           : t == ZGAFPms_ampl ? TInstrumentState::prAmpl
                               : TInstrumentState::prPhase;
}

TEST_F(SimGenFixture, TuningStartsOnTheCarrierAndTheAdcAnswerReachesTheTuner) {
    struct TCase {
        bool channelA;
        TZyGen4AFPModes type;
        int scale;
        uint32_t adc, expected;
    };
    const TCase cases[] = {
        {true, ZGAFPms_freq, 7, 0x12345678, 0x12345678},
        {false, ZGAFPms_ampl, 3, 0x12345678, 0x1234},
        {true, ZGAFPms_phase, 300, 0xFEDC0000, 0xFEDC},
    };
    gen->SetAutoUpdate(false);
    gen->SetActive(true);
    gen->Options()->SetOverModulationNotify(false);
    for (const auto& c : cases) {
        TZyGen4Channel& ch = c.channelA ? static_cast<TZyGen4Channel&>(A()) : B();
        Cycle([&] {
            A().SetMode(ZGMdC_off);
            B().SetMode(ZGMdC_off);
            ch.SetMode(ZGMdC_tuning);
            ch.Set_sinFrequency(3333.25);
            ch.Set_sinAmplitude(40);
            ch.SetPhase(123.4);
            ch.Tuner()->SetType(c.type);
            ch.Tuner()->SetScale(c.scale);
        });
        ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
        const auto& got = sim.State().ch[c.channelA ? 0 : 1];
        EXPECT_EQ(got.run, TInstrumentState::rnTuning);
        EXPECT_EQ(got.param, ParamOf(c.type));
        EXPECT_EQ(got.scale, c.scale & 0xFF);
        ExpectCarrier(ch, got);
        ExpectCarrierCode(sim.State(), ch, got);

        sim.SetADCValue(c.adc);
        ch.Tuner()->GetADCValue();
        EXPECT_EQ(ch.Tuner()->ADCValue(), c.expected);
    }
}

TEST_F(SimGenFixture, FailedAdcReadKeepsTheLastValueAndTheNextReadWorks) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_tuning);
    });
    sim.SetADCValue(0x01020304);
    A().Tuner()->GetADCValue();
    ASSERT_EQ(A().Tuner()->ADCValue(), 0x01020304u);
    sim.SetADCValue(0x0A0B0C0D);
    sim.FailRead(sim.ReadCount() + 1);
    try {
        A().Tuner()->GetADCValue();
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Ошибка при чтении данных из FTPort");
    }
    EXPECT_EQ(A().Tuner()->ADCValue(), 0x01020304u);
    EXPECT_TRUE(gen->GetActive());
    A().Tuner()->GetADCValue();
    EXPECT_EQ(A().Tuner()->ADCValue(), 0x0A0B0C0Du);
    EXPECT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
}

// Readings of a table (most significant byte first), `width` bytes each.
std::vector<uint32_t> Readings(const TSimChannel& c, uint32_t start, uint32_t bytes, int width) {
    std::vector<uint32_t> out;
    for (uint32_t at = start; at + static_cast<uint32_t>(width) <= start + bytes; at += width) {
        uint32_t v = 0;
        for (int i = 0; i < width; ++i) v = v << 8 | c.tableMemory[at + static_cast<uint32_t>(i)];
        out.push_back(v);
    }
    return out;
}

TEST_F(SimGenFixture, TableModulationUploadsTablesThatSpanTheDeviation) {
    struct TCase {
        const char* name;
        bool a, b, duplex;
        TZyGen4AFPModes type;
        int fm;
    };
    const TCase cases[] = {
        {"A alone, frequency", true, false, false, ZGAFPms_freq, 1000},
        {"B alone, amplitude", false, true, false, ZGAFPms_ampl, 20000},
        {"both, two tables, phase", true, true, false, ZGAFPms_phase, 50},
        {"both, duplex, frequency", true, true, true, ZGAFPms_freq, 777},
    };
    gen->SetAutoUpdate(false);
    gen->SetActive(true);
    gen->Options()->SetOverModulationNotify(false);
    for (const auto& c : cases) {
        Cycle([&] {
            A().SetMode(ZGMdC_off);
            B().SetMode(ZGMdC_off);
            gen->Options()->SetEnableDuplexIntMod(c.duplex);
            for (TZyGen4Channel* ch :
                 {static_cast<TZyGen4Channel*>(&A()), static_cast<TZyGen4Channel*>(&B())}) {
                if (!(ch->IsChannelA() ? c.a : c.b)) continue;
                ch->SetMode(ZGMdC_IntModulation);
                ch->Set_sinFrequency(20000);
                ch->Set_sinAmplitude(50);
                ch->SetPhase(90);
                ch->IntModulation()->SetType(c.type);
                ch->IntModulation()->SetFm(c.fm);
                ch->IntModulation()->SetdF(150000);
                ch->IntModulation()->SetdA(40);
                ch->IntModulation()->SetdPh(60);
            }
        });
        ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << c.name << "\n" << Report();
        const auto& s = sim.State();
        const bool both = c.a && c.b;
        for (int i = 0; i < 2; ++i) {
            if (!(i == 0 ? c.a : c.b)) continue;
            TZyGen4Channel& model = i == 0 ? static_cast<TZyGen4Channel&>(A()) : B();
            const auto& got = s.ch[static_cast<std::size_t>(i)];
            EXPECT_TRUE(got.output) << c.name;
            EXPECT_EQ(got.run, TInstrumentState::rnIntMod) << c.name;
            EXPECT_EQ(got.param, ParamOf(c.type)) << c.name;
            EXPECT_EQ(got.intMod, !both      ? TInstrumentState::imSingle
                                  : c.duplex ? TInstrumentState::imDuplex
                                             : TInstrumentState::imDouble)
                << c.name;
            ExpectCarrier(model, got);
            // The channel that uploaded its own table; in duplex B plays A's.
            const auto& owner = c.duplex ? s.ch[0] : got;
            const int width = c.type == ZGAFPms_freq ? 4 : 2;
            const uint32_t readings = owner.tableBytes / static_cast<uint32_t>(width);
            EXPECT_EQ(owner.tableStart, both && !c.duplex && i == 1 ? 0x1000u : 0u) << c.name;
            EXPECT_EQ(static_cast<int>(readings),
                      (c.duplex ? A() : model).IntModulation()->RdsCnt());
            // One pass through the table lasts about one modulation period.
            const double fm = 88473600.0 / ((65536.0 - got.timerLoad) * readings);
            EXPECT_NEAR(fm, c.fm, c.fm * 0.02) << c.name;
            // The readings swing around the carrier by the deviation.
            const auto r = Readings(owner, owner.tableStart, owner.tableBytes, width);
            ASSERT_FALSE(r.empty());
            const auto [lo, hi] = std::minmax_element(r.begin(), r.end());
            if (c.type == ZGAFPms_freq) {
                EXPECT_NEAR(s.FrequencyHz(*lo), 20000e3 - 150000, 150000 * 0.02) << c.name;
                EXPECT_NEAR(s.FrequencyHz(*hi), 20000e3 + 150000, 150000 * 0.02) << c.name;
            } else if (c.type == ZGAFPms_ampl) {
                const auto pct = [](uint32_t v) {
                    return TInstrumentState::AmplitudePercent(static_cast<uint16_t>(v));
                };
                EXPECT_NEAR(pct(*lo), 50 - 20, 1.0) << c.name;
                EXPECT_NEAR(pct(*hi), 50 + 20, 1.0) << c.name;
            } else {
                EXPECT_NEAR(TInstrumentState::PhaseDegrees(*lo), 90 - 60, 1.0) << c.name;
                EXPECT_NEAR(TInstrumentState::PhaseDegrees(*hi), 90 + 60, 1.0) << c.name;
            }
        }
    }
}

TEST_F(SimGenFixture, ExternalModulationVariantsMatchTheModel) {
    gen->SetAutoUpdate(false);
    gen->SetActive(true);
    gen->Options()->SetOverModulationNotify(false);
    A().ExtModulation()->SetScale(2);
    B().ExtModulation()->SetScale(300);  // sent as its low byte, 44
    A().ExtModulation()->SetType(ZGAFPms_phase);
    B().ExtModulation()->SetType(ZGAFPms_ampl);
    A().SetPhase(45);
    B().Set_sinAmplitude(30);

    struct TCase {
        TZyGen4ModesCommon a, b;
        const char* lines[4];
    };
    const TCase cases[] = {
        {ZGMdC_off,
         ZGMdC_ExtModulation,
         {"B.mode=ZGMdC_ExtModulation", "B.extmod.param=ampl", "B.extmod.scale=44",
          "A.mode=ZGMdC_off"}},
        {ZGMdC_ExtModulation,
         ZGMdC_ExtModulation,
         {"A.mode=ZGMdC_ExtModulation", "A.extmod.param=phase", "B.mode=ZGMdC_ExtModulation",
          "B.extmod.scale=44"}},
        {ZGMdC_ExtModulationA12,
         ZGMdC_off,
         {"A.mode=ZGMdC_ExtModulationA12", "A.extmod.scale=2", "A.extmod.other_scale=44",
          "B.mode=ZGMdC_off"}},
        {ZGMdC_ExtModulationAB1,
         ZGMdC_ExtModulationAB1,
         {"A.mode=ZGMdC_ExtModulationAB1", "B.mode=ZGMdC_ExtModulationAB1", "B.output=1",
          "B.extmod.scale=2"}},
    };
    for (const auto& c : cases) {
        Cycle([&] {
            A().SetMode(c.a);
            B().SetMode(c.b);
        });
        ASSERT_EQ(sim.ProtocolErrorCount(), 0u) << Report();
        for (const char* line : c.lines)
            EXPECT_NE(Report().find(std::string(line) + "\n"), std::string::npos) << line << "\n"
                                                                                  << Report();
        if (c.a != ZGMdC_off) {
            ExpectCarrier(A(), sim.State().ch[0]);
            ExpectCarrierCode(sim.State(), A(), sim.State().ch[0]);
        }
        if (c.b != ZGMdC_off) ExpectCarrier(B(), sim.State().ch[1]);
        if (c.b == ZGMdC_ExtModulation) ExpectCarrierCode(sim.State(), B(), sim.State().ch[1]);
    }
}

}  // namespace
