#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "gen4/ZyGen4AutoUpdateSuspend.h"
#include "gen4/engines/ZyGen4DDSMod.h"
#include "gen4/engines/ZyGen4ExtModulation.h"
#include "gen4/engines/ZyGen4IntModulation.h"
#include "gen4/engines/ZyGen4LFM.h"
#include "gen4/engines/ZyGen4Tuner.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/GenFixture.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr int kFileSize = 517;
constexpr int kChA = 21;
constexpr int kChB = 268;

// One field of the file: where it lies, how it is encoded, the value the
// golden file holds for it, and how to read it back from a generator.
enum Kind : int32_t { kInt, kDouble, kBool, kEnum };
struct Field {
    int offset;
    Kind kind;
    double value;
    std::function<double(const TZyGen4&)> get;
};

int SizeOf(Kind k) {
    return k == kDouble ? 8 : k == kBool ? 1 : 4;
}

void Put(Bytes& b, int offset, Kind kind, double value) {
    uint64_t u;
    if (kind == kDouble)
        u = std::bit_cast<uint64_t>(value);
    else
        u = static_cast<uint32_t>(static_cast<int32_t>(value));
    for (int i = 0; i < SizeOf(kind); ++i) b[offset + i] = static_cast<uint8_t>(u >> (8 * i));
}

// The channel record, offsets relative to its start. The values differ from
// each other and from the defaults, so a swapped or skipped field shows.
std::vector<Field> ChannelFields(int base, TZyGen4Channel* (*ch)(const TZyGen4&), double d) {
    auto C = [ch](auto f) { return [ch, f](const TZyGen4& g) -> double { return f(*ch(g)); }; };
    using Ch = const TZyGen4Channel&;
    return {
        {base + 0, kEnum, d ? 8.0 : 7.0, C([](Ch c) { return c.Mode(); })},
        {base + 4, kDouble, 1234.5 + d, C([](Ch c) { return c.Frequency(); })},
        {base + 12, kDouble, 55.25 + d, C([](Ch c) { return c.Amplitude(); })},
        {base + 20, kDouble, 12.5 + d, C([](Ch c) { return c.Phase(); })},
        {base + 28, kEnum, 2, C([](Ch c) { return c.Tuner()->Type(); })},
        {base + 32, kInt, 17 + d, C([](Ch c) { return c.Tuner()->Scale(); })},
        {base + 36, kBool, 1, C([](Ch c) { return c.Tuner()->ADCTimerEnabled(); })},
        {base + 37, kInt, 750 + d, C([](Ch c) { return c.Tuner()->ADCTimerInterval(); })},
        {base + 41, kEnum, 1, C([](Ch c) { return c.IntModulation()->Type(); })},
        {base + 45, kInt, 1500 + d, C([](Ch c) { return c.IntModulation()->Fm(); })},
        {base + 49, kInt, 40 + d, C([](Ch c) { return c.IntModulation()->dA(); })},
        {base + 53, kInt, 2500 + d, C([](Ch c) { return c.IntModulation()->dF(); })},
        {base + 57, kInt, 45 + d, C([](Ch c) { return c.IntModulation()->dPh(); })},
        {base + 61, kEnum, 1 + d, C([](Ch c) { return c.IntModulation()->GetMathFuncType(); })},
        {base + 65, kDouble, 0.25 + d / 2, C([](Ch c) { return c.IntModulation()->GetCC(); })},
        {base + 73, kEnum, 2, C([](Ch c) { return c.ExtModulation()->Type(); })},
        {base + 77, kInt, 300 + d, C([](Ch c) { return c.ExtModulation()->Scale(); })},
        {base + 81, kInt, 5000 + d, C([](Ch c) { return c.LFM()->FreqTop(); })},
        {base + 85, kInt, 100 + d, C([](Ch c) { return c.LFM()->Tinc0(); })},
        {base + 89, kInt, 200 + d, C([](Ch c) { return c.LFM()->Tinc1(); })},
        {base + 93, kInt, 300 + d, C([](Ch c) { return c.LFM()->Tdec0(); })},
        {base + 97, kInt, 400 + d, C([](Ch c) { return c.LFM()->Tdec1(); })},
        {base + 101, kDouble, 101.5 + d, C([](Ch c) { return c.DDSMod()->F1(); })},
        {base + 109, kDouble, 102.5 + d, C([](Ch c) { return c.DDSMod()->F2(); })},
        {base + 117, kDouble, 103.5 + d, C([](Ch c) { return c.DDSMod()->F3(); })},
        {base + 125, kDouble, 104.5 + d, C([](Ch c) { return c.DDSMod()->F4(); })},
        {base + 133, kDouble, 2222 + d, C([](Ch c) { return c.DDSMod()->dF(); })},
        {base + 141, kDouble, 3333 + d, C([](Ch c) { return c.DDSMod()->Fm(); })},
        {base + 149, kDouble, 10 + d, C([](Ch c) { return c.DDSMod()->Ph1(); })},
        {base + 157, kDouble, 20 + d, C([](Ch c) { return c.DDSMod()->Ph2(); })},
        {base + 165, kDouble, 30 + d, C([](Ch c) { return c.DDSMod()->Ph3(); })},
        {base + 173, kDouble, 40 + d, C([](Ch c) { return c.DDSMod()->Ph4(); })},
        {base + 181, kDouble, 66 + d, C([](Ch c) { return c.DDSMod()->dPh(); })},
        {base + 189, kDouble, 500 + d, C([](Ch c) { return c.DDSMod()->T1(); })},
        {base + 197, kDouble, 600 + d, C([](Ch c) { return c.DDSMod()->T2(); })},
        {base + 205, kDouble, 700 + d, C([](Ch c) { return c.DDSMod()->T3(); })},
        {base + 213, kDouble, 800 + d, C([](Ch c) { return c.DDSMod()->T4(); })},
        {base + 221, kEnum, 1 + d, C([](Ch c) { return c.DDSMod()->Mode(); })},
        {base + 225, kEnum, 2, C([](Ch c) { return c.DDSMod()->Type(); })},
        {base + 229, kBool, 1, C([](Ch c) { return c.DDSMod()->UseExtTimes(); })},
        {base + 230, kBool, 1 - d, C([](Ch c) { return c.DDSMod()->ContBidiRamp(); })},
        {base + 231, kInt, 64 + d, C([](Ch c) { return c.DDSMod()->ReadingsCntMin(); })},
        {base + 235, kDouble, 0.125 + d / 2, C([](Ch c) { return c.DDSMod()->GetCC(); })},
        {base + 243, kEnum, 2 - d, C([](Ch c) { return c.DDSMod()->GetMathFuncType(); })},
    };
}

TZyGen4Channel* ChA(const TZyGen4& g) {
    return g.ChA();
}
TZyGen4Channel* ChB(const TZyGen4& g) {
    return g.ChB();
}

// Every field of the file, in file order, with the golden values.
std::vector<Field> AllFields() {
    std::vector<Field> f = {
        {8, kBool, 1, [](const TZyGen4& g) -> double { return g.UseExtRefFreq(); }},
        {9, kInt, 10, [](const TZyGen4& g) -> double { return g.FreqScale(); }},
        {13, kDouble, 30.5, [](const TZyGen4& g) { return g.RefFreq(); }},
    };
    for (const Field& x : ChannelFields(kChA, ChA, 0)) f.push_back(x);
    for (const Field& x : ChannelFields(kChB, ChB, 1)) f.push_back(x);
    f.push_back({515, kBool, 1,
                 [](const TZyGen4& g) -> double { return g.Options()->EnableDuplexIntMod(); }});
    f.push_back({516, kBool, 0,
                 [](const TZyGen4& g) -> double { return g.Options()->OverModulationNotify(); }});
    return f;
}

Bytes Header() {
    return {0x5A, 0x79, 0x47, 0x34, 0x01, 0x00, 0x00, 0x00};
}

// The golden file, built from the layout table alone.
Bytes Golden() {
    Bytes b(kFileSize, 0xEE);
    const Bytes h = Header();
    std::copy(h.begin(), h.end(), b.begin());
    for (const Field& f : AllFields()) Put(b, f.offset, f.kind, f.value);
    return b;
}

class SettingsFile : public GenFixture {
  protected:
    fs::path dir;

    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "zygen4-file-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        GenFixture::TearDown();
        fs::remove_all(dir);
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static void WriteFile(const std::string& path, const Bytes& b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bytes ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // The generator's whole set-up as the file holds it.
    Bytes State() {
        const std::string p = Path("state.bin");
        gen->SaveToFile(p);
        return ReadFile(p);
    }
    bool Load(const Bytes& b) {
        const std::string p = Path("load.bin");
        WriteFile(p, b);
        return gen->LoadFromFile(p);
    }
};

TEST_F(SettingsFile, GoldenFileLoadsEveryFieldAndSavesBackTheSameBytes) {
    ASSERT_TRUE(Load(Golden()));
    EXPECT_EQ(gen->LastFileError(), "");
    for (const Field& f : AllFields())
        EXPECT_EQ(f.get(*gen), f.value) << "field at offset " << f.offset;
    // The clock follows the loaded reference and multiplier.
    EXPECT_EQ(gen->GenFreq(), 305.0);
    EXPECT_EQ(State(), Golden());
}

TEST_F(SettingsFile, SavedFileHas517BytesAndTheHeader) {
    const Bytes b = State();
    ASSERT_EQ(b.size(), 517u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), Header());
    // Defaults in place: RefFreq 25.0 at 13, channel A's Frequency 1000 at 25.
    EXPECT_EQ(b[9], 16);
    EXPECT_EQ(Bytes(b.begin() + 13, b.begin() + 21),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x39, 0x40}));
    EXPECT_EQ(Bytes(b.begin() + 25, b.begin() + 33),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x8F, 0x40}));
}

TEST_F(SettingsFile, WrongHeaderFiresOnErrorFileOnceAndChangesNothing) {
    Connect();
    int errors = 0;
    gen->OnErrorFile = [&](TZyGen4* sender) {
        EXPECT_EQ(sender, gen.get());
        ++errors;
    };
    const Bytes before = State();
    const Bytes golden = Golden();
    std::vector<Bytes> bad;
    for (int i = 0; i < 4; ++i) {
        bad.push_back(Golden());
        bad.back()[i] ^= 0x20;  // "zyG4", "ZYG4", "Zyg4", "ZyG\x14"
    }
    bad.push_back(Golden());
    bad.back()[4] = 2;  // version 2
    bad.push_back(Golden());
    bad.back()[7] = 0x80;  // version with its top byte set
    for (int n : {0, 3, 7}) bad.push_back(Bytes(golden.begin(), golden.begin() + n));

    for (const Bytes& b : bad) {
        errors = 0;
        driver.Clear();
        EXPECT_FALSE(Load(b));
        EXPECT_EQ(errors, 1);
        EXPECT_TRUE(Frames().empty());
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(gen->AutoUpdate());
    }
    gen->OnErrorFile = nullptr;
    EXPECT_FALSE(Load(bad[0]));  // unassigned: nothing, silently

    // A good file still loads afterwards (its modes are put aside so that the
    // cycle it runs stays within plain generation).
    Bytes good = Golden();
    Put(good, kChA, kEnum, ZGMdC_gen);
    Put(good, kChB, kEnum, ZGMdC_off);
    EXPECT_TRUE(Load(good));
    EXPECT_EQ(State(), good);
}

TEST_F(SettingsFile, ShortFileSetsTheWholeFieldsItHoldsAndKeepsTheRest) {
    const Bytes defaults = State();
    const Bytes golden = Golden();
    // Inside FreqScale, Tuner.Type of A, IntModulation.CC of B, the last option.
    for (int length : {8, 12, kChA + 30, kChB + 70, 516}) {
        SCOPED_TRACE(length);
        gen = std::make_unique<TZyGen4>(nullptr, driver, ticks, timers);
        EXPECT_FALSE(Load(Bytes(golden.begin(), golden.begin() + length)));
        EXPECT_NE(gen->LastFileError().find("Файл настроек повреждён"), std::string::npos);

        Bytes expected = defaults;
        for (const Field& f : AllFields())
            if (f.offset + SizeOf(f.kind) <= length)
                std::copy_n(golden.begin() + f.offset, SizeOf(f.kind), expected.begin() + f.offset);
        EXPECT_EQ(State(), expected);
        EXPECT_EQ(gen->GenFreq(), gen->FreqScale() * gen->RefFreq());
    }
    // A longer file: the extra bytes are ignored.
    Bytes longer = golden;
    longer.resize(600, 0x55);
    EXPECT_TRUE(Load(longer));
    EXPECT_EQ(State(), golden);
}

TEST_F(SettingsFile, ReferenceTakenOnlyWithTheExternalReferenceAndClockRecomputed) {
    // External reference off in the file: the instrument runs on its internal
    // 25 MHz × 16 whatever multiplier and reference the file holds, and so do
    // the codes.
    Bytes b = Golden();
    Put(b, 8, kBool, 0);
    Put(b, 9, kInt, 3);
    Put(b, 13, kDouble, 30);
    EXPECT_TRUE(Load(b));
    EXPECT_FALSE(gen->UseExtRefFreq());
    EXPECT_EQ(gen->RefFreq(), 25.0);
    EXPECT_EQ(gen->FreqScale(), 16);
    EXPECT_EQ(gen->GenFreq(), 400.0);

    // On, and RefFreq equal to the current one: the multiplier still counts.
    gen->SetUseExtRefFreq(true);
    gen->SetRefFreq(30);
    Put(b, 8, kBool, 1);
    Put(b, 9, kInt, 12);
    EXPECT_TRUE(Load(b));
    EXPECT_EQ(gen->GenFreq(), 360.0);
}

TEST_F(SettingsFile, FilesThatCannotBeOpenedRaiseAndChangeNothing) {
    const Bytes before = State();
    fs::create_directory(dir / "folder");
    // A FIFO would block opening it for reading until a writer came.
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    for (const std::string& p :
         {Path("missing/x.bin"), Path("folder"), std::string(), Path("fifo"), Path("loop1")}) {
        SCOPED_TRACE(p);
        for (bool save : {true, false}) {
            try {
                if (save)
                    gen->SaveToFile(p);
                else
                    gen->LoadFromFile(p);
                ADD_FAILURE() << "no exception";
            } catch (const EInOutError& e) {
                EXPECT_STREQ(e.what(), "Ошибка при открытии файла");
            }
        }
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(fs::read_symlink(dir / "loop1"), "loop2");
    EXPECT_EQ(fs::read_symlink(dir / "loop2"), "loop1");
    EXPECT_EQ(State(), before);
}

TEST_F(SettingsFile, SaveThroughALinkWritesTheFileItNamesAndKeepsTheLink) {
    fs::create_directory(dir / "real");
    // Relative links, one of them through another; the last one dangles.
    fs::create_symlink("real/setup.bin", dir / "dangling");
    fs::create_symlink("dangling", dir / "chain");
    gen->SaveToFile(Path("chain"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    ASSERT_TRUE(fs::is_regular_file(dir / "real/setup.bin"));
    EXPECT_EQ(ReadFile(Path("real/setup.bin")), State());
    EXPECT_TRUE(Load(ReadFile(Path("chain"))));
}

TEST_F(SettingsFile, LoadSendsNothingWithAutoUpdateOffAndOneCycleWithItOn) {
    Bytes b = Golden();
    Put(b, kChA, kEnum, ZGMdC_gen);
    Put(b, kChB, kEnum, ZGMdC_off);
    Connect();
    gen->SetAutoUpdate(false);
    driver.Clear();
    EXPECT_TRUE(Load(b));
    EXPECT_TRUE(Frames().empty());
    EXPECT_FALSE(gen->AutoUpdate());

    gen->SetAutoUpdate(true);
    gen->ChA()->SetMode(ZGMdC_off);
    int cycles = 0;
    gen->AfterUpdate = [&](TZyGen4*) { ++cycles; };
    driver.Clear();
    EXPECT_TRUE(Load(b));
    EXPECT_EQ(cycles, 1);
    EXPECT_TRUE(gen->AutoUpdate());
    // Reset, the loaded multiplier 10, then channel A on its loaded clock.
    const auto frames = Frames();
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[0], "F0 00 00 00 00 00");
    EXPECT_EQ(frames[1], "E5 0A 00 00 00 00");
}

TEST_F(SettingsFile, AutoUpdateComesBackWhenAnExceptionLeaves) {
    Connect();
    gen->ChA()->SetMode(ZGMdC_gen);
    driver.Clear();
    try {
        TZyGen4AutoUpdateSuspend suspend(*gen);
        EXPECT_FALSE(gen->AutoUpdate());
        throw EInOutError("read");
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "read");
    }
    EXPECT_TRUE(gen->AutoUpdate());
    EXPECT_EQ(Frames().front(), "F0 00 00 00 00 00");  // the cycle ran on restore

    // The cycle on restore fails too: the first error is the one that leaves.
    driver.FailWrite(driver.WriteCount() + 1);
    try {
        TZyGen4AutoUpdateSuspend suspend(*gen);
        throw EInOutError("first");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_TRUE(gen->AutoUpdate());
}

TEST_F(SettingsFile, FailedSaveLeavesThePreviousFileIntact) {
    const std::string p = Path("setup.bin");
    WriteFile(p, Golden());
    gen->ChA()->Set_sinFrequency(777);

    // A full disk, as far as this process can tell: writes stop after 100
    // bytes. The limit is the soft one, so it can be lifted again.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &old), 0);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &low), 0);
    std::string message;
    try {
        gen->SaveToFile(p);
    } catch (const EInOutError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_EQ(message,
              "Ошибка при записи файла настроек: превышен допустимый размер файла. Файл не "
              "сохранён, прежний файл не изменён.");
    EXPECT_EQ(ReadFile(p), Golden());
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    gen->SaveToFile(p);  // with room again it replaces the file
    EXPECT_EQ(ReadFile(p), State());
}

// Values no setter would take: the reader stores them, and nothing that uses
// them later may misbehave. Bools read from a byte other than 0 read as true
// and are written back as 1.
TEST_F(SettingsFile, HostileValuesAreStoredAndTheCycleStaysDefined) {
    const double max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    struct Profile {
        int32_t i;
        double d;
        int32_t e;
        uint8_t b;
    };
    // The channel modes are cycled below; the engines' enumerations take each
    // listed value and one outside the list, with every profile of numbers.
    for (const Profile& p :
         {Profile{INT_MAX, max, 99, 2}, Profile{INT_MIN, -1e300, -1, 255},
          Profile{0, tiny, INT_MIN, 0}, Profile{-1, 1e300, 3, 0x80}, Profile{1000, -1e30, 6, 1}}) {
        for (int32_t engineEnum : {0, 1, 2, 77}) {
            SCOPED_TRACE(testing::Message()
                         << "int " << p.i << ", double " << p.d << ", enum " << engineEnum);
            gen = std::make_unique<TZyGen4>(nullptr, driver, ticks, timers);
            Bytes b = Golden();
            for (const Field& f : AllFields()) {
                if (f.kind == kBool)
                    b[f.offset] = p.b;
                else if (f.kind == kEnum)
                    Put(b, f.offset, kEnum,
                        f.offset == kChA || f.offset == kChB ? p.e : engineEnum);
                else
                    Put(b, f.offset, f.kind, f.kind == kInt ? p.i : p.d);
            }
            EXPECT_TRUE(Load(b));
            EXPECT_EQ(gen->ChA()->Mode(), p.e);
            EXPECT_EQ(gen->ChB()->DDSMod()->Type(), engineEnum);
            EXPECT_EQ(gen->ChA()->LFM()->Tinc0(), p.i);
            EXPECT_EQ(gen->ChA()->Tuner()->ADCTimerEnabled(), p.b != 0);
            EXPECT_EQ(State()[kChA + 36], p.b != 0 ? 1 : 0);

            // Every mode on either channel, with these engine values, connected.
            auto attempt = [](auto action) {
                try {
                    action();
                } catch (const Exception&) {
                    // A value the instrument cannot take may raise; it must not crash.
                }
            };
            attempt([&] { gen->SetActive(true); });
            for (TZyGen4Channel* ch : {static_cast<TZyGen4Channel*>(gen->ChA()),
                                       static_cast<TZyGen4Channel*>(gen->ChB())}) {
                for (int m = ZGMdC_off; m <= ZGMdC_DDSMod; ++m) {
                    attempt([&] { ch->SetMode(static_cast<TZyGen4ModesCommon>(m)); });
                    driver.QueueRead({0x12, 0x34, 0x56, 0x78});
                    attempt([&] { timers.FireAll(); });
                }
            }
            attempt([&] { gen->SetActive(false); });
        }
    }
}

// The program never writes NaN or an infinity, and the conversions and the
// engines' loops must never see one: a file holding one in any double field
// is refused whole, naming the file.
TEST_F(SettingsFile, NonFiniteDoubleAnywhereRefusesTheWholeFile) {
    Connect();
    int errors = 0;
    gen->OnErrorFile = [&](TZyGen4*) { ++errors; };
    const Bytes before = State();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Field& f : AllFields()) {
        if (f.kind != kDouble) continue;
        for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
            SCOPED_TRACE(testing::Message() << "offset " << f.offset << ": " << bad);
            Bytes b = Golden();
            Put(b, f.offset, kDouble, bad);
            errors = 0;
            driver.Clear();
            EXPECT_FALSE(Load(b));
            EXPECT_EQ(errors, 1);
            EXPECT_EQ(gen->LastFileError(),
                      "Файл настроек " + Path("load.bin") +
                          " повреждён: в нём есть нечисловое или бесконечное значение, "
                          "настройки не изменены");
            EXPECT_TRUE(Frames().empty());
            EXPECT_EQ(State(), before);
        }
    }
    // The value of a double cut off by the end of the file is never read.
    Bytes cut = Golden();
    Put(cut, kChB + 235, kDouble, inf);
    cut.resize(kChB + 240);
    errors = 0;
    EXPECT_FALSE(Load(cut));
    EXPECT_EQ(errors, 0);
    EXPECT_NE(gen->LastFileError().find("в нём 508 байт из 517"), std::string::npos);
}

// A sweep set-up whose carrier was changed to -1e30 in the file: the step
// search once cycled for ever on it. It loads, and its cycles finish.
TEST_F(SettingsFile, SweepWithACarrierFarOutOfRangeLoadsAndItsCyclesFinish) {
    Connect();
    Cycle([&] {
        A().SetMode(ZGMdC_LFM);
        A().LFM()->SetFreqTop(2000);
        A().LFM()->SetTinc0(1000);
        A().LFM()->SetTinc1(1000);
        A().LFM()->SetTdec0(1000);
        A().LFM()->SetTdec1(1000);
    });
    Bytes b = State();
    Put(b, kChA + 4, kDouble, -1e30);
    driver.Clear();
    EXPECT_TRUE(Load(b));
    EXPECT_EQ(A().Frequency(), -1e30);
    // Each ramp frame carries no step: none fits.
    const auto frames = Frames();
    EXPECT_NE(std::find(frames.begin(), frames.end(), "08 00 00 00 00 00"), frames.end());
    EXPECT_NE(std::find(frames.begin(), frames.end(), "07 00 00 00 00 00"), frames.end());
    driver.Clear();
    gen->UpdateMode();
    EXPECT_EQ(Frames(), frames);
}

}  // namespace
