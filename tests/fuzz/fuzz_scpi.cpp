// Bytes from a client, cut into lines as the servers cut them, run by the
// SCPI engine over a generator connected to the virtual instrument. Whatever
// arrives, nothing may crash or hang, every response is a whole line, the
// error queue keeps its bound, and the model and the instrument stay sound:
// carrier values within their ranges and not one malformed frame.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "platform/FakeTickSource.h"
#include "platform/ManualTimerHost.h"
#include "scpi/ScpiEngine.h"
#include "scpi/ScpiError.h"
#include "scpi/ScpiLineBuffer.h"
#include "sim/VirtualInstrument.h"

namespace {

void Check(bool sound) {
    if (!sound) std::abort();
}

void CheckCarrier(const TZyGen4Channel& ch) {
    Check(ch.Frequency() >= 0.0 && ch.Frequency() <= TZyGen4Channel::kMaxFrequency);
    Check(ch.Amplitude() > 0.0 && ch.Amplitude() <= TZyGen4Channel::kMaxAmplitude);
    Check(ch.Phase() >= 0.0 && ch.Phase() < TZyGen4Channel::kPhaseLimit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    TVirtualInstrument sim;
    TFakeTickSource ticks;
    TManualTimerHost timers;
    TZyGen4 gen(nullptr, sim, ticks, timers);
    TScpiEngine engine(gen, ZyPanelScpiIdentity("fuzz"));
    engine.Execute("SYST:CONN ON");

    TScpiLineBuffer lines;
    lines.Append(std::string_view(reinterpret_cast<const char*>(data), size));
    TScpiLineBuffer::TItem item;
    while (lines.Next(item)) {
        if (item.tooLong) {
            engine.PushError(seTooMuchData);
            continue;
        }
        const std::string response = engine.Execute(item.line);
        Check(response.empty() || response.find('\n') == response.size() - 1);
        Check(engine.Errors().Count() <= TScpiErrorQueue::kCapacity);
        CheckCarrier(*gen.ChA());
        CheckCarrier(*gen.ChB());
    }
    Check(sim.ProtocolErrorCount() == 0);
    return 0;
}
