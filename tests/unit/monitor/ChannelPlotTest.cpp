#include <cmath>
#include <map>
#include <string>

#include "monitor/ChannelPlot.h"
#include "tests/fixtures/TappedSimFixture.h"

namespace {

// The plot with its points back in seconds and Hz (or % and degrees), and the
// instrument's own state report as the independent reference.
class ChannelPlotTest : public TappedSimFixture {
  protected:
    TChannelPlot Plot(int ch, std::optional<uint32_t> reading = std::nullopt) {
        TChannelPlot plot = ChannelPlot(sim.State(), ch, reading);
        const double xs = plot.xUnit == "мкс" ? 1e-6 : plot.xUnit == "мс" ? 1e-3 : 1;
        const double ys = plot.yUnit == "МГц" ? 1e6 : plot.yUnit == "кГц" ? 1e3 : 1;
        for (auto& s : plot.series) {
            for (auto& p : s.points) {
                p.x *= xs;
                p.y *= ys;
            }
        }
        return plot;
    }
    double Report(const std::string& key) {
        for (const auto& line : sim.StateLines())
            if (line.rfind(key + "=", 0) == 0) return std::stod(line.substr(key.size() + 1));
        ADD_FAILURE() << "no " << key;
        return NAN;
    }
};

TEST_F(ChannelPlotTest, TheCarrierIsAFlatLineAtItsFrequency) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_gen);
        A().Set_sinFrequency(12345.5);
    });
    const TChannelPlot plot = ChannelPlot(sim.State(), 0);
    EXPECT_EQ(plot.title, "A: несущая");
    EXPECT_EQ(plot.yUnit, "МГц");
    ASSERT_EQ(plot.series.size(), 1u);
    for (const auto& p : plot.series[0].points) EXPECT_NEAR(p.y, 12.3455, 1e-6);
    EXPECT_EQ(ChannelPlot(sim.State(), 1).title, "B: выход выключен");
}

TEST_F(ChannelPlotTest, ASynchronousSweepShowsBothChannelsOverOnePeriod) {
    Cycle([&] {
        gen->SetActive(true);
        A().SetMode(ZGMdC_LFM);
        B().SetMode(ZGMdC_LFM);
        A().Set_sinFrequency(1000);
        A().LFM()->SetFreqTop(2000);
        A().LFM()->SetTinc0(1000);
        A().LFM()->SetTdec0(4000);
        B().Set_sinFrequency(50000);
        B().LFM()->SetFreqTop(150000);
        B().LFM()->SetTinc0(250);
        B().LFM()->SetTinc1(1001);
        B().LFM()->SetTdec0(10000);
        B().LFM()->SetTdec1(20);
    });
    for (int ch : {0, 1}) {
        const std::string p = ch == 0 ? "A." : "B.";
        const TChannelPlot plot = Plot(ch);
        EXPECT_EQ(plot.title, p.substr(0, 1) + ": синхронная ЛЧМ");
        ASSERT_EQ(plot.series.size(), 2u);
        EXPECT_EQ(plot.series[1].name, ch == 0 ? "B" : "A");
        const auto& own = plot.series[0].points;
        const double bottom = Report(p + "frequency_hz");
        const double top = Report(p + "lfm.top_hz");
        const double rise = Report(p + "lfm.rise_us") * 1e-6;
        const double fall = Report(p + "lfm.fall_us") * 1e-6;
        const double riseHalf = Report(p + "lfm.rise_half_us") * 1e-6;
        const double fallHalf = Report(p + "lfm.fall_half_us") * 1e-6;
        const TPlotPoint expected[] = {{0, bottom},
                                       {rise, top},
                                       {riseHalf, top},
                                       {riseHalf + fall, bottom},
                                       {riseHalf + fallHalf, bottom}};
        ASSERT_EQ(own.size(), std::size(expected));
        for (std::size_t i = 0; i < own.size(); ++i) {
            EXPECT_NEAR(own[i].x, expected[i].x, 1e-9) << p << i;
            EXPECT_NEAR(own[i].y, expected[i].y, 1e-3) << p << i;
        }
    }
}

TEST_F(ChannelPlotTest, TableModulationPlaysTheTableTwiceAtTheModulationRate) {
    const struct {
        TZyGen4AFPModes type;
        const char* unit;
        double low, high;  // the span the readings must keep to
    } cases[] = {
        {ZGAFPms_ampl, "%", 50 * 0.6 - 0.01, 50 * 1.4 + 0.01},
        {ZGAFPms_freq, "МГц", 5e6 - 150000 - 1, 5e6 + 150000 + 1},
        {ZGAFPms_phase, "°", 30 - 60 - 0.03 + 360, 30 + 60 + 0.03},
    };
    gen->SetActive(true);
    gen->Options()->SetOverModulationNotify(false);
    for (const auto& c : cases) {
        Cycle([&] {
            A().SetMode(ZGMdC_IntModulation);
            A().Set_sinFrequency(5000);
            A().Set_sinAmplitude(50);
            A().SetPhase(30);
            A().IntModulation()->SetType(c.type);
            A().IntModulation()->SetFm(1000);
            A().IntModulation()->SetdF(150000);
            A().IntModulation()->SetdA(40);
            A().IntModulation()->SetdPh(60);
        });
        const TChannelPlot plot = Plot(0);
        EXPECT_EQ(ChannelPlot(sim.State(), 0).yUnit, c.unit);
        ASSERT_EQ(plot.series.size(), 1u);
        const auto& points = plot.series[0].points;
        const double readings = Report("A.intmod.readings");
        ASSERT_EQ(points.size(), 2 * readings);
        const double period = 1 / Report("A.intmod.fm_hz");
        EXPECT_NEAR(points.back().x, period * (2 - 1 / readings), period * 1e-6);
        for (const auto& p : points) {
            // Phase wraps below zero to the top of the circle.
            const bool inside = c.type == ZGAFPms_phase ? (p.y <= c.high || p.y >= c.low)
                                                        : (p.y >= c.low && p.y <= c.high);
            EXPECT_TRUE(inside) << c.unit << " " << p.y;
        }
    }
}

TEST_F(ChannelPlotTest, KeyingStepsThroughItsSlotsWithTheirHoldTimes) {
    Cycle([&] {
        gen->SetActive(true);
        B().SetMode(ZGMdC_DDSMod);
        B().DDSMod()->SetMode(ZGTMs_QxSK);
        B().DDSMod()->SetType(ZGAFPms_freq);
        B().DDSMod()->SetF1(1500);
        B().DDSMod()->SetF2(2750.5);
        B().DDSMod()->SetF3(199999);
        B().DDSMod()->SetF4(0.001);
        B().DDSMod()->SetT1(20);
        B().DDSMod()->SetT2(1300000);
        B().DDSMod()->SetT3(1234.5);
        B().DDSMod()->SetT4(999);
    });
    const TChannelPlot plot = Plot(1);
    EXPECT_EQ(plot.title, "B: манипуляция");
    ASSERT_EQ(plot.series.size(), 1u);
    const auto& points = plot.series[0].points;
    ASSERT_EQ(points.size(), 16u);  // four slots, two points each, twice
    double t = 0;
    for (std::size_t i = 0; i < points.size(); i += 2) {
        const std::string slot = "B.keying.slot" + std::to_string(i / 2 % 4);
        const double hold = Report(slot + ".hold_ns") * 1e-9;
        EXPECT_NEAR(points[i].x, t, 1e-12) << slot;
        EXPECT_NEAR(points[i + 1].x, t + hold, 1e-12) << slot;
        EXPECT_NEAR(points[i].y, Report(slot + ".value"), 1e-3) << slot;
        EXPECT_EQ(points[i + 1].y, points[i].y);
        t += hold;
    }
}

TEST_F(ChannelPlotTest, TuningAndExternalModulationShowTheRangeAroundTheCarrier) {
    gen->SetActive(true);
    Cycle([&] {
        A().SetMode(ZGMdC_tuning);
        A().Set_sinAmplitude(50);
        A().Tuner()->SetType(ZGAFPms_ampl);
        A().Tuner()->SetScale(18);  // ±12.5 %
    });
    const TChannelPlot tuning = Plot(0, 0x30000000u);
    EXPECT_EQ(tuning.title, "A: подстройка");
    ASSERT_EQ(tuning.series.size(), 4u);
    const double centre = tuning.series[0].points[0].y;
    EXPECT_NEAR(centre, 50, 0.01);
    EXPECT_NEAR(tuning.series[1].points[0].y - centre, 12.5, 0.01);
    EXPECT_NEAR(centre - tuning.series[2].points[0].y, 12.5, 0.01);
    EXPECT_NEAR(tuning.series[3].points[0].y, TInstrumentState::AmplitudePercent(0x3000), 1e-9);

    Cycle([&] {
        A().SetMode(ZGMdC_off);
        B().SetMode(ZGMdC_ExtModulation);
        B().Set_sinFrequency(10000);
        B().ExtModulation()->SetType(ZGAFPms_freq);
        B().ExtModulation()->SetScale(1);  // about ±92 Hz
    });
    const TChannelPlot ext = Plot(1);
    EXPECT_EQ(ext.title, "B: внешняя модуляция");
    ASSERT_EQ(ext.series.size(), 3u);
    const double carrier = ext.series[0].points[0].y;
    EXPECT_NEAR(carrier, 10e6, 0.1);
    EXPECT_NEAR(ext.series[1].points[0].y - carrier, 1024 * 400e6 / 4294967296.0, 1e-6);
}

}  // namespace
