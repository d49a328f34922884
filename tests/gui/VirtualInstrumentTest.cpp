#include <QAction>
#include <algorithm>

#include "sim/VirtualInstrument.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/MaskEdit.h"

// The instrument outlives the program: TearDown ends the program first.
class VirtualInstrumentTest : public GuiFixture {
  protected:
    TVirtualInstrument instrument;
};

// The program as `zypanel --device sim` runs it: auto-connect at start, both
// outputs on, both carriers reach the virtual instrument.
TEST_F(VirtualInstrumentTest, DrivesBothCarriers) {
    WriteOptions("[Common]\nAutoConnect=1\n");
    dm = std::make_unique<TDMmain>(instrument, ticks, timers, OptionsPath().toStdString());
    frm = std::make_unique<TfrmMain>(dm.get(), true);
    ASSERT_TRUE(Gen()->GetActive());
    EXPECT_TRUE(messages.empty());

    A()->actCh_SetMode->trigger();
    B()->actCh_SetMode->trigger();
    A()->edtFreq->setText("10");
    B()->edtFreq->setText("2.5");
    B()->edtPhase->setText("90");
    frm->act_UpdateChls->trigger();

    const std::vector<std::string> lines = instrument.StateLines();
    std::string all;
    for (const auto& l : lines) all += l + "\n";
    for (const char* expected : {"A.output=1", "B.output=1", "A.frequency_code=107374182",
                                 "B.frequency_code=26843546", "B.phase_code=4096"}) {
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& l) { return l == expected; }))
            << expected << "\n"
            << all;
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(instrument.ProtocolErrorCount(), 0u);
}
