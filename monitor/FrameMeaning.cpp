#include "monitor/FrameMeaning.h"

#include "monitor/MeaningText.h"
#include "platform/HexBytes.h"
#include "sim/CommandTable.h"
#include "sim/FrameWords.h"

namespace {

using TChannel = TInstrumentState::TChannel;

std::string Prefix(int ch) {
    return ch == 0 ? "A: " : "B: ";
}

std::string Hz(const TInstrumentState& s, uint32_t code) {
    // One code step is about 0.1 Hz: finer digits would only show rounding.
    return GroupedNumber(s.FrequencyHz(code), 1) + " Гц (код " + HexCode(code, 8) + ")";
}

const char* ParamWord(TInstrumentState::TParam p) {
    switch (p) {
        case TInstrumentState::prAmpl:
            return "амплитуды";
        case TInstrumentState::prPhase:
            return "фазы";
        case TInstrumentState::prFreq:
            return "частоты";
        case TInstrumentState::prNone:
        default:
            return "неизвестного параметра";
    }
}

std::string CarrierMeaning(const TCommandEntry& e, const uint8_t* f, const TInstrumentState& s) {
    const std::string p = Prefix(e.ch);
    switch (e.command) {
        case cmSetAmpl: {
            const auto code = static_cast<uint16_t>(FrameWord16(f + 1));
            return p + "уровень " + GroupedNumber(TInstrumentState::AmplitudePercent(code)) +
                   " % (код " + HexCode(code, 4) + ")";
        }
        case cmSetFreq:
            return p + "частота " + Hz(s, FrameWord32(f + 1));
        case cmSetPhase: {
            const uint32_t code = FrameWord16(f + 1);
            return p + "фаза " + GroupedNumber(TInstrumentState::PhaseDegrees(code)) + "° (код " +
                   HexCode(code, 4) + ")";
        }
        case cmSetCarrier:
            return p + "центр модуляции, код " + HexCode(FrameWord32(f + 1), 8);
        case cmOutputOn:
            return p + "выход включён";
        case cmOutputOff:
        default:
            return p + "выход выключен";
    }
}

std::string SlotWordMeaning(const TCommandEntry& e, const uint8_t* f, const TChannel& c) {
    const std::string p = Prefix(e.ch);
    std::array<uint8_t, 5> w{};
    for (std::size_t i = 0; i < w.size(); ++i) w[i] = f[i + 1];
    if (c.run == TInstrumentState::rnSweep && e.slot < 2)
        return p + "ЛЧМ, " + (e.slot == 1 ? "нарастание" : "спад") + ": шаг " +
               HexCode(TChannel::RampStep(w), 8) + ", темп " +
               std::to_string(TChannel::RampRate(w));
    if (w[4] == 0x60 || w[4] == 0x80)
        return p + "таблица DDS: отсчёты " + std::to_string(TChannel::SlotFirst(w)) + "…" +
               std::to_string(TChannel::SlotLast(w)) + ", такт " +
               std::to_string(TChannel::SlotRate(w)) +
               (w[4] == 0x60 ? ", туда и обратно" : ", по кругу");
    return p + "слот " + std::to_string(e.slot) + ": удержание " +
           GroupedNumber(TChannel::SlotRate(w) * 20.0) + " нс, слово " +
           std::to_string(TChannel::SlotFirst(w));
}

std::string TablesMeaning(const TCommandEntry& e, const uint8_t* f, const TInstrumentState& s) {
    const TChannel& c = s.ch[static_cast<std::size_t>(e.ch)];
    const std::string p = Prefix(e.ch);
    switch (e.command) {
        case cmSlotWord:
            return SlotWordMeaning(e, f, c);
        case cmLoadModTable:
            return p + "таблица модуляции, " + Counted(c.tableBytes, "байт", "байта", "байт") +
                   " с адреса " + HexCode(c.tableStart, 4);
        case cmLoadKeyTable:
            return p + "память DDS, " + Counted(c.ddsBytes / 4, "слово", "слова", "слов") +
                   " со слова " + std::to_string(c.ddsStart);
        case cmSelectKeySlot:
        default:
            return p + "выбран слот " + std::to_string(f[1] * 2 + f[2]);
    }
}

std::string SweepMeaning(const TCommandEntry& e, const uint8_t* f, const TInstrumentState& s) {
    switch (e.command) {
        case cmSetFreq2:
            return Prefix(e.ch) + "ЛЧМ, верхняя частота " + Hz(s, FrameWord32(f + 1));
        case cmLFMTimeInc:
            return "ЛЧМ: половина нарастания " + GroupedNumber(FrameWord24(f + 1) * 2.0) + " мкс";
        case cmLFMTimeDec:
            return "ЛЧМ: половина спада " + GroupedNumber(FrameWord24(f + 1) * 2.0) + " мкс";
        case cmLFMStart:
        default:
            return "ЛЧМ: пуск";
    }
}

// Readings and modulation rate as the table timer will play them.
std::string TableRun(const TChannel& c, const TChannel& table) {
    const uint32_t width = c.param == TInstrumentState::prFreq ? 4 : 2;
    const uint32_t readings = table.tableBytes / width;
    std::string text = ", " + Counted(readings, "отсчёт", "отсчёта", "отсчётов");
    if (readings > 0)
        text += ", " + GroupedNumber(88473600.0 / ((65536.0 - c.timerLoad) * readings)) + " Гц";
    return text;
}

std::string IntModMeaning(const TCommandEntry& e, const TInstrumentState& s) {
    const TChannel& c = s.ch[static_cast<std::size_t>(e.ch)];
    const std::string p = Prefix(e.ch);
    switch (e.command) {
        case cmIntModStart:
            return p + "модуляция " + ParamWord(c.param) + " из таблицы" + TableRun(c, c);
        case cmIntModArm:
            return p + "модуляция " + ParamWord(c.param) + " из таблицы подготовлена" +
                   TableRun(c, c);
        case cmIntModDuplex:
            return "A и B: модуляция " + std::string(ParamWord(s.ch[0].param)) +
                   " из таблицы канала A" + TableRun(s.ch[0], s.ch[0]);
        case cmIntModStop:
            return p + "модуляция из таблицы остановлена";
        case cmIntModDoubleStart:
            return "A и B: пуск модуляции из таблиц";
        case cmIntModDoubleStop:
        default:
            return "A и B: модуляция из таблиц остановлена";
    }
}

std::string ExtModMeaning(const TCommandEntry& e, const uint8_t* f, const TInstrumentState& s) {
    const TChannel& c = s.ch[static_cast<std::size_t>(e.ch)];
    const std::string p = Prefix(e.ch);
    switch (e.command) {
        case cmTuneFreq:
        case cmTuneAmpl:
        case cmTunePhase:
            return p + "подстройка " + ParamWord(c.param) + " от входа, масштаб " +
                   std::to_string(f[1]);
        case cmExtModStart:
            return p + "внешняя модуляция " + ParamWord(c.param) + ", масштаб " +
                   std::to_string(f[1]);
        case cmExtModDouble:
            return "A и B: внешняя модуляция, масштабы " + std::to_string(f[1]) + " и " +
                   std::to_string(f[3]);
        case cmExtModA12:
            return "A: внешняя модуляция " + std::string(ParamWord(s.ch[0].param)) +
                   " суммой входов 1 и 2, масштабы " + std::to_string(f[1]) + " и " +
                   std::to_string(f[2]);
        case cmExtModDuplex:
        default:
            return "A и B: внешняя модуляция " + std::string(ParamWord(s.ch[0].param)) +
                   " от входа 1, масштаб " + std::to_string(f[1]);
    }
}

std::string KeyingMeaning(const TCommandEntry& e, const uint8_t* f, const TInstrumentState& s) {
    if (e.command == cmKeyExtTimes) return "манипуляция: времена от внешнего входа";
    const TChannel& c = s.ch[static_cast<std::size_t>(e.ch)];
    std::string text = Prefix(e.ch) + "управляющее слово " + HexCode(FrameWord32(f + 1), 8);
    if (c.run == TInstrumentState::rnSweep) return text + ", ЛЧМ";
    if (c.run == TInstrumentState::rnKeying)
        return text + ", манипуляция " +
               (c.param == TInstrumentState::prPhase ? "фазы" : "частоты");
    return text;
}

std::string InstrumentMeaning(const TCommandEntry& e, const uint8_t* f) {
    switch (e.command) {
        case cmReset:
            return "сброс";
        case cmExtFreqScale:
            return "внешняя опорная частота, множитель " + std::to_string(f[1]);
        case cmReadADC:
            return "чтение АЦП";
        case cmUpdateDDSs1:
        case cmUpdateDDSs0:
        default:
            return "обновление DDS";
    }
}

}  // namespace

std::string FrameMeaning(const uint8_t* f, std::size_t length, const TInstrumentState& after) {
    if (!f || length == 0) return "пустой кадр";
    const TCommandEntry& e = LookupCommand(f[0]);
    const bool full = length == 6;
    switch (full ? e.family : e.command == cmReadADC ? cfInstrument : cfUnknown) {
        case cfInstrument:
            return InstrumentMeaning(e, f);
        case cfCarrier:
            return CarrierMeaning(e, f, after);
        case cfTables:
            return TablesMeaning(e, f, after);
        case cfSweep:
            return SweepMeaning(e, f, after);
        case cfIntMod:
            return IntModMeaning(e, after);
        case cfExtMod:
            return ExtModMeaning(e, f, after);
        case cfKeying:
            return KeyingMeaning(e, f, after);
        case cfUnknown:
        default:
            return "неизвестная команда: " + ToHex(f, length);
    }
}
