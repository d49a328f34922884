#include "gen4/engines/ZyGen4ExtModulation.h"

#include "gen4/ZyGen4.h"
#include "gen4/ZyGen4Channel.h"
#include "gen4/ZyGen4ChannelA.h"
#include "gen4/ZyGen4ChannelB.h"
#include "gen4/ZyGen4FileReader.h"
#include "gen4/ZyGen4FileWriter.h"
#include "gen4/engines/EngineSetter.h"

void TZyGen4ExtModulation::SetType(TZyGen4AFPModes v) {
    SetAndUpdate(channel_, Type_, v, kAnyValue);
}

void TZyGen4ExtModulation::SetScale(int v) {
    SetAndUpdate(channel_, Scale_, v, kAnyValue);
}

// --- Mode algorithms -----------------------------------------------------------

void TZyGen4ExtModulation::SetModeFreqMod(bool Start, bool ModeA12) {
    TZyGen4* gen = channel_->Gen();
    TZyGen4Cmd cmd(GC_SetCarrier, channel_->ChannelType());
    cmd.Put32(1, static_cast<uint32_t>(
                     gen->Conv_FreqToCode(TZyGen4::Conv_Value(channel_->Frequency(), 1000, 1))));
    gen->WriteCmdFTPort(cmd);
    if (Start) StartSingleModulation(ModeA12);
}

void TZyGen4ExtModulation::SetModeAmplMod(bool Start, bool ModeA12) {
    TZyGen4Cmd cmd(GC_SetCarrier, channel_->ChannelType());
    cmd.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_AmplToCode(channel_->Amplitude())));
    channel_->Gen()->WriteCmdFTPort(cmd);
    if (Start) StartSingleModulation(ModeA12);
}

void TZyGen4ExtModulation::SetModePhaseMod(bool Start, bool ModeA12) {
    TZyGen4Cmd cmd(GC_SetCarrier, channel_->ChannelType());
    cmd.Put16(1, static_cast<uint16_t>(TZyGen4::Conv_PhaseToCode(channel_->Phase())));
    channel_->Gen()->WriteCmdFTPort(cmd);
    if (Start) StartSingleModulation(ModeA12);
}

void TZyGen4ExtModulation::StartSingleModulation(bool ModeA12) {
    const TZyGen4ChNames ch = channel_->ChannelType();
    if (!ModeA12) {
        TZyGen4Cmd cmd(GC_ExtModStart, ch);
        cmd.PutByte(1, static_cast<uint8_t>(Scale_));
        cmd.PutByte(2, ModSel(Type_));
        channel_->Gen()->WriteCmdFTPort(cmd);
        return;
    }
    // The sum of both inputs: one code for either channel, with both scales.
    TZyGen4Cmd cmd(GC_ExtModA12, ch);
    cmd.Code = GC_ExtModA12;
    cmd.PutByte(1, static_cast<uint8_t>(Scale_));
    cmd.PutByte(2, static_cast<uint8_t>(channel_->GetOtherCh()->ExtModulation()->Scale()));
    cmd.PutByte(3, ModSel(Type_));
    channel_->Gen()->WriteCmdFTPort(cmd);
}

void TZyGen4ExtModulation::StartDoubleModulation(TZyGen4ChannelA* chA, TZyGen4ChannelB* chB) {
    const TZyGen4ExtModulation* a = chA->ExtModulation();
    const TZyGen4ExtModulation* b = chB->ExtModulation();
    TZyGen4Cmd cmd(GC_ExtModDouble, ZGCN_A);
    cmd.PutByte(1, static_cast<uint8_t>(a->Scale()));
    cmd.PutByte(2, ModSel(a->Type()));
    cmd.PutByte(3, static_cast<uint8_t>(b->Scale()));
    cmd.PutByte(4, ModSel(b->Type()));
    chA->Gen()->WriteCmdFTPort(cmd);
}

void TZyGen4ExtModulation::StartDuplexModulation(TZyGen4ChannelA* chA) {
    const TZyGen4ExtModulation* a = chA->ExtModulation();
    TZyGen4Cmd cmd(GC_ExtModDuplex, ZGCN_A);
    cmd.PutByte(1, static_cast<uint8_t>(a->Scale()));
    cmd.PutByte(2, ModSel(a->Type()));
    chA->Gen()->WriteCmdFTPort(cmd);
}

// --- Settings file -------------------------------------------------------------------
// The record layout is described in gen4/ZyGen4FileLayout.h.

TZyGen4FileWriter& TZyGen4ExtModulation::WriteDataToFile(TZyGen4FileWriter& out) const {
    out.WriteEnum(Type_);
    out.WriteInt(Scale_);
    return out;
}

TZyGen4FileReader& TZyGen4ExtModulation::ReadDataFromFile(TZyGen4FileReader& in) {
    in.ReadEnum(Type_);
    in.ReadInt(Scale_);
    return in;
}
