#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "monitor/FrameMeaning.h"
#include "monitor/LinkReplay.h"
#include "monitor/MeaningText.h"
#include "monitor/TraceFile.h"

namespace {

// Frames in the order an instrument would get them: the meaning of a start
// frame depends on what came before it.
struct TCase {
    const char* line;
    const char* meaning;
};

const TCase kSession[] = {
    {"C F0 00 00 00 00 00", "сброс"},
    {"C F1 00 00 00 00 00", "A: выход включён"},
    {"C 04 00 A3 D7 0A 00", "A: частота 1 000 000 Гц (код 00A3D70A)"},
    {"C 12 1F FF 00 00 00", "B: уровень 50 % (код 1FFF)"},
    {"C 15 10 00 00 00 00", "B: фаза 90° (код 1000)"},
    // Internal modulation: a table of four amplitude readings.
    {"C 20 00 08 00 00 00", "A: таблица модуляции, 8 байт с адреса 0000"},
    {"D 00 10 00 20 00 30 00 40", "данные, 8 байт"},
    {"C 87 FF 00 08 01 00", "A: модуляция амплитуды из таблицы, 4 отсчёта, 86 400 Гц"},
    {"C 88 00 00 00 00 00", "A: модуляция из таблицы остановлена"},
    // Sweep.
    {"C 00 06 A0 02 40 00", "A: управляющее слово 06A00240, ЛЧМ"},
    {"C 06 01 47 AE 14 00", "A: ЛЧМ, верхняя частота 2 000 000 Гц (код 0147AE14)"},
    {"C 08 01 00 00 10 00", "A: ЛЧМ, нарастание: шаг 00001000, темп 1"},
    {"C 85 00 01 F4 00 00", "ЛЧМ: половина нарастания 1 000 мкс"},
    {"C 83 00 00 00 00 00", "ЛЧМ: пуск"},
    // External modulation and tuning.
    {"C 2A 20 00 00 00 00", "B: центр модуляции, код 20000000"},
    {"C 8D 12 01 00 00 00", "B: внешняя модуляция амплитуды, масштаб 18"},
    {"C E2 12 00 00 00 00", "B: подстройка амплитуды от входа, масштаб 18"},
    {"C FD", "чтение АЦП"},
    {"R 00 00 12 34", "ответ АЦП 00001234"},
    // Keying.
    {"C 10 C6 80 02 42 00", "B: управляющее слово C6800242, манипуляция фазы"},
    {"C 17 32 00 01 00 00", "B: слот 0: удержание 1 000 нс, слово 0"},
    {"C 50 00 01 00 00 00", "B: выбран слот 1"},
    {"C 31 00 08 00 00 00", "B: память DDS, 2 слова со слова 2"},
    {"D 00 00 00 01 00 00 00 02", "данные, 8 байт"},
    {"C E6 00 00 00 00 00", "манипуляция: времена от внешнего входа"},
    {"C 80 00 00 00 00 00", "обновление DDS"},
    {"C E5 14 00 00 00 00", "внешняя опорная частота, множитель 20"},
    {"C FA 00 00 00 00 00", "B: выход выключен"},
    {"C 03 00 00 00 00 00", "неизвестная команда: 03 00 00 00 00 00"},
};

TEST(FrameMeaningTest, EveryCommandFamilyReadsAsOneLineOfText) {
    TLinkReplay replay;
    for (const auto& c : kSession) {
        std::istringstream line(c.line);
        const auto transfers = ReadTrace(line);
        ASSERT_EQ(transfers.size(), 1u) << c.line;
        EXPECT_EQ(replay.Apply(transfers[0]), c.meaning) << c.line;
    }
    // Only the unknown code counts as a protocol error.
    EXPECT_EQ(replay.Instrument().ProtocolErrorCount(), 1u);
}

TEST(FrameMeaningTest, NumbersAndCountsReadTheRussianWay) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } numbers[] = {{0, 3, "0"},
                   {999.5, 3, "999,5"},
                   {1234567.125, 3, "1 234 567,125"},
                   {-2500, 0, "−2 500"},
                   {-0.0001, 3, "0"}};
    for (const auto& n : numbers) EXPECT_EQ(GroupedNumber(n.value, n.decimals), n.text);
    const struct {
        uint64_t count;
        const char* text;
    } counts[] = {{1, "1 отсчёт"},     {3, "3 отсчёта"},  {5, "5 отсчётов"},
                  {11, "11 отсчётов"}, {21, "21 отсчёт"}, {1000, "1 000 отсчётов"}};
    for (const auto& c : counts)
        EXPECT_EQ(Counted(c.count, "отсчёт", "отсчёта", "отсчётов"), c.text);
}

TEST(FrameMeaningTest, AShortOrEmptyFrameIsNoCommand) {
    const uint8_t shortFrame[] = {0x04, 0x00};
    EXPECT_EQ(FrameMeaning(shortFrame, 2, TInstrumentState()), "неизвестная команда: 04 00");
    EXPECT_EQ(FrameMeaning(nullptr, 0, TInstrumentState()), "пустой кадр");
}

}  // namespace
