#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <memory>
#include <sstream>
#include <string>

#include "options/ZyAppOptionsRepository.h"
#include "platform/Exceptions.h"
#include "tests/unit/options/OptionsTestDir.h"

namespace {

using Dir = TOptionsTestDir;

// A repository on a file in a fresh folder, with an owner for the options.
class OptionsRepository : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.Ok());
        repo.SetFileName(path);
    }
    std::string Text() const { return Dir::Read(path); }
    void SetText(const std::string& text) const { Dir::Write(path, text); }

    Dir dir;
    std::string path = dir.Path("ZyPanel.ini");
    TComponent owner{nullptr};
    TZyAppOptionsRepository repo{nullptr};
};

TEST_F(OptionsRepository, LoadTable) {
    // kind: d double, i int, c colour, b bool (0/1). Each option holds another
    // value before the load, to show a fallback comes from DefValue.
    struct TCase {
        const char* line;
        char kind;
        double def;
        double expected;
    };
    const TCase cases[] = {
        {"", 'd', 25, 25},  // no key in the section
        {"RefFreq=", 'd', 25, 25},
        {"RefFreq=abc", 'd', 25, 0},
        {"RefFreq=25,5", 'd', 25, 25},
        {"RefFreq=12.5", 'd', 25, 12.5},
        {"  refFREQ =  12.5  ", 'd', 25, 12.5},
        {"RefFreq=1e-05", 'd', 25, 1e-05},
        {"RefFreq=12.5MHz", 'd', 25, 12.5},
        {"FreqScale=0x10", 'i', 16, 16},
        {"FreqScale=$10", 'i', 16, 16},
        {"FreqScale=16.0", 'i', 16, 16},
        {"FreqScale=", 'i', 16, 16},
        {"FreqScale=-3", 'i', 16, -3},
        {"FreqScale=4294967296", 'i', 16, 16},
        {"FreqScale=-16777208", 'c', 192, -16777208},
        {"FreqScale=$FF000008", 'c', 192, -16777208},
        {"UseExtFreq=2", 'b', 0, 1},
        {"UseExtFreq=-1", 'b', 0, 1},
        {"UseExtFreq=0", 'b', 1, 0},
        {"UseExtFreq=true", 'b', 0, 0},
        {"UseExtFreq=yes", 'b', 1, 1},
        {"", 'b', 1, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(1, c.kind) + " \"" + c.line + "\"");
        SetText("[Common]\nRefFreq=99\nFreqScale=99\nUseExtFreq=1\n[Gen]\n" + std::string(c.line) +
                "\n[ChA]\nRefFreq=99\n");
        TComponent panel(nullptr);
        switch (c.kind) {
            case 'd': {
                TZyAppDblOption* o = repo.AddAppDblOption(&panel, "Gen", "RefFreq", c.def);
                o->SetValue(77);
                repo.LoadOptions();
                EXPECT_EQ(o->Value(), c.expected);
                break;
            }
            case 'i': {
                TZyAppIntOption* o = repo.AddAppIntOption(&panel, "Gen", "FreqScale", int(c.def));
                o->SetValue(77);
                repo.LoadOptions();
                EXPECT_EQ(o->Value(), int(c.expected));
                break;
            }
            case 'c': {
                TZyAppColorOption* o =
                    repo.AddAppColorOption(&panel, "Gen", "FreqScale", TColor(c.def));
                o->SetValue(77);
                repo.LoadOptions();
                EXPECT_EQ(o->Value(), TColor(c.expected));
                break;
            }
            case 'b': {
                TZyAppBoolOption* o =
                    repo.AddAppBoolOption(&panel, "Gen", "UseExtFreq", c.def != 0);
                o->SetValue(c.def == 0);
                repo.LoadOptions();
                EXPECT_EQ(o->Value(), c.expected != 0);
                break;
            }
        }
    }
    EXPECT_EQ(repo.GetAppOptionsCount(), 0);  // each panel took its option along
}

TEST_F(OptionsRepository, StringOptionTellsEmptyFromMissing) {
    SetText("[S]\nEmpty=\nText=  Канал A  \n");
    TZyAppStrOption* empty = repo.AddAppStrOption(&owner, "S", "Empty", "dflt");
    TZyAppStrOption* text = repo.AddAppStrOption(&owner, "S", "Text", "dflt");
    TZyAppStrOption* missing = repo.AddAppStrOption(&owner, "S", "Missing", "dflt");
    missing->SetValue("changed");
    repo.LoadOptions();
    EXPECT_EQ(empty->Value(), "");
    EXPECT_EQ(text->Value(), "Канал A");
    EXPECT_EQ(missing->Value(), "dflt");
}

TEST_F(OptionsRepository, WriteForms) {
    repo.AddAppDblOption(&owner, "Gen", "A", 0)->SetValue(125.123456);
    repo.AddAppDblOption(&owner, "Gen", "B", 0)->SetValue(100);
    repo.AddAppDblOption(&owner, "Gen", "C", 0)->SetValue(0.00001);
    repo.AddAppDblOption(&owner, "Gen", "D", 0)->SetValue(-2.5e20);
    repo.AddAppBoolOption(&owner, "Common", "T", false)->SetValue(true);
    repo.AddAppBoolOption(&owner, "Common", "F", true)->SetValue(false);
    repo.AddAppIntOption(&owner, "Gen", "FreqScale", 16);
    repo.AddAppColorOption(&owner, "ChA", "OffColor", TColor(0xFF000008u));
    repo.AddAppStrOption(&owner, "ChA", "Name", " Канал A=1 ");
    repo.SaveOptions();
    EXPECT_EQ(Text(),
              "[Gen]\nA=125.123\nB=100\nC=1e-05\nD=-2.5e+20\nFreqScale=16\n\n"
              "[Common]\nT=1\nF=0\n\n"
              "[ChA]\nOffColor=-16777208\nName= Канал A=1 \n");
}

TEST_F(OptionsRepository, RegistrationInvariants) {
    TZyAppIntOption* a = repo.AddAppIntOption(&owner, "S", "A", 1);
    TZyAppBoolOption* b = repo.AddAppBoolOption(&owner, "S", "B", true);
    EXPECT_EQ(a->Value(), 1);
    EXPECT_EQ(a->DefValue(), 1);
    EXPECT_EQ(a->Owner(), &owner);
    EXPECT_EQ(a->AppOptionsRepository(), &repo);
    ASSERT_EQ(repo.GetAppOptionsCount(), 2);
    EXPECT_EQ(repo.GetAppOptions(0), a);
    EXPECT_EQ(repo.GetAppOptions(1), b);
    EXPECT_THROW(repo.GetAppOptions(2), Exception);
    EXPECT_THROW(repo.GetAppOptions(-1), Exception);

    // Registering again, by either path, adds no second entry.
    a->SetAppOptionsRepository(&repo);
    repo.AddAppOption(a);
    EXPECT_EQ(repo.GetAppOptionsCount(), 2);

    // Moving to another repository leaves this one.
    TZyAppOptionsRepository other(nullptr);
    a->SetAppOptionsRepository(&other);
    EXPECT_EQ(repo.GetAppOptionsCount(), 1);
    EXPECT_EQ(other.GetAppOptionsCount(), 1);
    other.AddAppOption(b);
    EXPECT_EQ(repo.GetAppOptionsCount(), 0);
    EXPECT_EQ(b->AppOptionsRepository(), &other);

    // Removing an option that is not registered here changes nothing.
    EXPECT_EQ(repo.RemoveAppOption(b), -1);
    EXPECT_EQ(b->AppOptionsRepository(), &other);
    EXPECT_EQ(other.RemoveAppOption(b), 1);
    EXPECT_EQ(b->AppOptionsRepository(), nullptr);

    // An option without a repository neither reads nor writes.
    SetText("[S]\nB=0\n");
    b->Load();
    EXPECT_TRUE(b->Value());
    b->SetValue(false);
    b->ReSaveDefault();
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(Text(), "[S]\nB=0\n");

    // Destroying an option takes it out of its repository.
    delete a;
    EXPECT_EQ(other.GetAppOptionsCount(), 0);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST_F(OptionsRepository, RepositoryDestroysTheOptionsStillRegistered) {
    auto doomed = std::make_unique<TZyAppOptionsRepository>(nullptr);
    doomed->AddAppIntOption(&owner, "S", "A", 1);
    doomed->AddAppColorOption(&owner, "S", "B", 2);
    TZyAppIntOption* kept = doomed->AddAppIntOption(&owner, "S", "C", 3);
    doomed->RemoveAppOption(kept);
    EXPECT_EQ(owner.ComponentCount(), 3);
    doomed.reset();
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Component(0), kept);
}

TEST_F(OptionsRepository, ReSaveDefaultOptions) {
    SetText("; hand-made\n[Gen]\nRefFreq=12.5\nFreqScale=4\nOther=x\n");
    TZyAppDblOption* refFreq = repo.AddAppDblOption(&owner, "Gen", "RefFreq", 25);
    TZyAppIntOption* freqScale = repo.AddAppIntOption(&owner, "Gen", "FreqScale", 16);
    TZyAppBoolOption* useExt = repo.AddAppBoolOption(&owner, "Gen", "UseExtFreq", false);
    repo.LoadOptions();
    useExt->SetValue(true);
    repo.ReSaveDefaultOptions();
    EXPECT_EQ(refFreq->Value(), 25);
    EXPECT_EQ(freqScale->Value(), 16);
    EXPECT_FALSE(useExt->Value());
    EXPECT_EQ(Text(), "; hand-made\n[Gen]\nRefFreq=25\nFreqScale=16\nOther=x\nUseExtFreq=0\n");
}

TEST_F(OptionsRepository, FileNameSwitchesFilesWithoutTouchingThem) {
    EXPECT_EQ(TZyAppOptionsRepository(nullptr).FileName(), "filename.ini");
    TZyAppIntOption* scale = repo.AddAppIntOption(&owner, "Gen", "FreqScale", 16);
    SetText("[Gen]\nFreqScale=4\n");
    const std::string second = dir.Path("second.ini");
    Dir::Write(second, "[Gen]\nFreqScale=8\n");
    repo.LoadOptions();
    EXPECT_EQ(scale->Value(), 4);
    repo.SetFileName(second);
    EXPECT_EQ(repo.FileName(), second);
    EXPECT_EQ(scale->Value(), 4);
    repo.LoadOptions();
    EXPECT_EQ(scale->Value(), 8);
    repo.SetFileName(dir.Path("third.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("third.ini")));
    EXPECT_EQ(Text(), "[Gen]\nFreqScale=4\n");
}

TEST_F(OptionsRepository, EraseSectionOnlyWhenItHoldsKeys) {
    const std::string text = "[Empty]\n; nothing\n[ChA]\nOnColor=1\n[Gen]\nRefFreq=25\n";
    SetText(text);
    repo.IniEraseSection("Missing");
    repo.IniEraseSection("Empty");
    EXPECT_EQ(Text(), text);
    repo.IniEraseSection("cha");
    EXPECT_EQ(Text(), "[Empty]\n; nothing\n[Gen]\nRefFreq=25\n");
}

TEST_F(OptionsRepository, FailedSaveRaisesAndKeepsEarlierWrites) {
    TZyAppIntOption* first = repo.AddAppIntOption(&owner, "Gen", "FreqScale", 16);
    repo.AddAppStrOption(&owner, "Gen", "Bad", "two\nlines");
    TZyAppIntOption* last = repo.AddAppIntOption(&owner, "Gen", "Last", 1);
    first->SetValue(8);
    try {
        repo.SaveOptions();
        ADD_FAILURE() << "no error raised";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_EQ(Text(), "[Gen]\nFreqScale=8\n");
    (void)last;
}

// A decimal comma for C++ streams, as a Russian user's locale has.
struct TCommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
};

// Puts the process under a locale with a decimal comma and restores "C".
class OptionsUnderCommaLocale : public OptionsRepository {
  protected:
    void TearDown() override {
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C");
        if (!oldLocPath_.empty())
            ::setenv("LOCPATH", oldLocPath_.c_str(), 1);
        else
            ::unsetenv("LOCPATH");
    }

    // Tries the comma locales the system has, then one compiled into the test
    // folder from the system's locale sources. False when neither works.
    bool SetCommaCLocale() {
        if (const char* old = std::getenv("LOCPATH")) oldLocPath_ = old;
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            if (std::setlocale(LC_ALL, name) && HasCommaPrintf()) return true;
        const std::string locales = dir.Path("locales");
        std::filesystem::create_directory(locales);
        const std::string cmd =
            "localedef -i ru_RU -f UTF-8 '" + locales + "/ru_RU.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0) return false;
        ::setenv("LOCPATH", locales.c_str(), 1);
        return std::setlocale(LC_ALL, "ru_RU.UTF-8") && HasCommaPrintf();
    }
    static bool HasCommaPrintf() {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%g", 2.5);
        return std::string(buf) == "2,5";
    }

    void CheckForms() {
        TZyAppDblOption* refFreq = repo.AddAppDblOption(&owner, "Gen", "RefFreq", 25);
        refFreq->SetValue(12.5);
        repo.SaveOptions();
        EXPECT_EQ(Text(), "[Gen]\nRefFreq=12.5\n");
        repo.LoadOptions();
        EXPECT_EQ(refFreq->Value(), 12.5);
        SetText("[Gen]\nRefFreq=25,5\n");
        repo.LoadOptions();
        EXPECT_EQ(refFreq->Value(), 25);
        EXPECT_EQ(TZyAppOptionsRepository::FloatToIniText(1234567.0), "1.23457e+06");
    }

  private:
    std::string oldLocPath_;
};

TEST_F(OptionsUnderCommaLocale, StreamLocale) {
    std::locale::global(std::locale(std::locale::classic(), new TCommaPunct));
    std::ostringstream probe;
    probe << 2.5;
    ASSERT_EQ(probe.str(), "2,5");
    CheckForms();
}

TEST_F(OptionsUnderCommaLocale, CLibraryLocale) {
    if (!SetCommaCLocale()) GTEST_SKIP() << "no locale with a decimal comma on this system";
    // The C library alone: the stream locale has its own test above.
    CheckForms();
}

}  // namespace
