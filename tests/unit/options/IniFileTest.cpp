#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "options/IniFile.h"
#include "platform/Exceptions.h"
#include "tests/unit/options/OptionsTestDir.h"

namespace {

using Dir = TOptionsTestDir;

std::string WithEol(std::string text, const std::string& eol) {
    std::string out;
    for (char c : text) out += c == '\n' ? eol : std::string(1, c);
    return out;
}

// A file written by hand: comments, blank lines, keys the program does not
// know, odd spacing and letter case.
const char* const kHandWritten =
    "; ZyPanel options\n"
    "\n"
    "[Common]\n"
    "AutoConnect=1\n"
    "Unknown Key = keep me\n"
    "\n"
    "# the reference clock\n"
    "[gen]\n"
    "  refFreq = 25\n"
    "FreqScale=16\n"
    "\n"
    "; colours of channel A\n"
    "[ChA]\n"
    "OnColor=12632319\n"
    "no equals sign here\n";

TEST(IniFile, WritesKeepEveryOtherLineWithItsLineEnds) {
    for (const std::string eol : {"\n", "\r\n"}) {
        for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
            SCOPED_TRACE(eol == "\n" ? "LF" : "CRLF");
            SCOPED_TRACE(bom.empty() ? "no BOM" : "BOM");
            Dir dir;
            ASSERT_TRUE(dir.Ok());
            const std::string path = dir.Path("ZyPanel.ini");
            Dir::Write(path, bom + WithEol(kHandWritten, eol));

            TIniFile ini(path);
            ini.WriteString("GEN", "RefFreq", "12.5");      // existing key, other spelling
            ini.WriteString("Gen", "UseExtFreq", "1");      // new key, existing section
            ini.WriteString("Common", "AutoConnect", "0");  // existing key
            ini.WriteString("ChB", "OnColor", "16761024");  // new section
            EXPECT_EQ(Dir::Read(path), bom + WithEol("; ZyPanel options\n"
                                                     "\n"
                                                     "[Common]\n"
                                                     "AutoConnect=0\n"
                                                     "Unknown Key = keep me\n"
                                                     "\n"
                                                     "# the reference clock\n"
                                                     "[gen]\n"
                                                     "  refFreq = 12.5\n"
                                                     "FreqScale=16\n"
                                                     "UseExtFreq=1\n"
                                                     "\n"
                                                     "; colours of channel A\n"
                                                     "[ChA]\n"
                                                     "OnColor=12632319\n"
                                                     "no equals sign here\n"
                                                     "\n"
                                                     "[ChB]\n"
                                                     "OnColor=16761024\n",
                                                     eol));
            EXPECT_EQ(ini.ReadString("common", "unknown key", "?"), "keep me");
            EXPECT_EQ(ini.ReadString("Gen", "RefFreq", "?"), "12.5");
        }
    }
}

TEST(IniFile, NewFileAndFileWithoutFinalLineEnd) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string path = dir.Path("new.ini");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Gen", "RefFreq", "dflt"), "dflt");  // missing file reads empty
    EXPECT_FALSE(std::filesystem::exists(path));                  // and is not created
    ini.WriteInteger("Gen", "FreqScale", 16);
    EXPECT_EQ(Dir::Read(path), "[Gen]\nFreqScale=16\n");

    Dir::Write(path, "[Gen]\r\nFreqScale=16");
    ini.WriteInteger("Gen", "RefFreq", 25);
    EXPECT_EQ(Dir::Read(path), "[Gen]\r\nFreqScale=16\r\nRefFreq=25\r\n");
}

TEST(IniFile, EveryReadSeesTheFileAsItIsNow) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string path = dir.Path("a.ini");
    TIniFile reader(path), writer(path);
    writer.WriteString("S", "K", "one");
    EXPECT_EQ(reader.ReadString("S", "K", ""), "one");
    Dir::Write(path, "[S]\nK=two\n");
    EXPECT_EQ(reader.ReadString("S", "K", ""), "two");
    std::filesystem::remove(path);
    EXPECT_EQ(reader.ReadString("S", "K", "gone"), "gone");
}

TEST(IniFile, ReadsMatchNamesWithoutCaseAndTrimSpace) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string path = dir.Path("a.ini");
    Dir::Write(path,
               "Orphan=before any section\n"
               " [ Канал ] \n"
               "\tИмя\t=  Значение с пробелами  \n"
               "Empty=\n"
               "[Канал]\n"
               "Later=second block\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Канал", "Имя", "?"), "Значение с пробелами");
    EXPECT_EQ(ini.ReadString("Канал", "EMPTY", "?"), "");
    EXPECT_EQ(ini.ReadString("Канал", "Later", "?"), "second block");
    EXPECT_EQ(ini.ReadString("", "Orphan", "?"), "?");
    EXPECT_TRUE(ini.ValueExists("Канал", "empty"));
    EXPECT_EQ(ini.ReadSection("Канал"), (std::vector<std::string>{"Имя", "Empty", "Later"}));
}

TEST(IniFile, IntegerTextForms) {
    struct TCase {
        const char* text;
        bool ok;
        int value;
    };
    const TCase cases[] = {
        {"16", true, 16},
        {"-3", true, -3},
        {"+5", true, 5},
        {"$10", true, 16},
        {"0x10", true, 16},
        {"0X1f", true, 31},
        {"-0x10", true, -16},
        {"$FF000008", true, -16777208},  // a system colour written in hexadecimal
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$100000000", false, 0},
        {"-$80000001", false, 0},
        {"16.0", false, 0},
        {"", false, 0},
        {"abc", false, 0},
        {"true", false, 0},
        {"0x", false, 0},
        {"$", false, 0},
        {"-", false, 0},
        {"1 6", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 12345;
        EXPECT_EQ(TIniFile::TextToInt(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 12345);
    }
    EXPECT_EQ(TIniFile::IntToText(-16777208), "-16777208");
}

TEST(IniFile, EraseSectionKeepsTheCommentOfTheNextSection) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string path = dir.Path("a.ini");
    Dir::Write(path, kHandWritten);
    TIniFile ini(path);
    EXPECT_TRUE(ini.SectionExists("GEN"));
    ini.EraseSection("Gen");
    EXPECT_EQ(Dir::Read(path),
              "; ZyPanel options\n"
              "\n"
              "[Common]\n"
              "AutoConnect=1\n"
              "Unknown Key = keep me\n"
              "\n"
              "# the reference clock\n"
              "; colours of channel A\n"
              "[ChA]\n"
              "OnColor=12632319\n"
              "no equals sign here\n");
    EXPECT_FALSE(ini.SectionExists("Gen"));
}

TEST(IniFile, WriteKeepsPermissionsAndSymbolicLinks) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string real = dir.Path("real.ini"), link = dir.Path("link.ini");
    Dir::Write(real, "[S]\nK=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, link);
    TIniFile(link).WriteString("S", "K", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Dir::Read(real), "[S]\nK=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A dangling link: the file it names is created, the link stays.
    const std::string dangling = dir.Path("dangling.ini");
    std::filesystem::create_symlink("created.ini", dangling);
    TIniFile(dangling).WriteString("S", "K", "3");
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(Dir::Read(dir.Path("created.ini")), "[S]\nK=3\n");
}

// Holds the file size limit low, as a full disk would, and restores it.
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // get EFBIG instead of a signal
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

TEST(IniFile, FailedWriteLeavesTheOldFileAndRaises) {
    Dir dir;
    ASSERT_TRUE(dir.Ok());
    const std::string old = "; keep\n[Gen]\nRefFreq=25\n";

    struct TCase {
        const char* what;
        std::string file;
        std::function<void()> write;
    };
    const std::string path = dir.Path("ZyPanel.ini");
    Dir::Write(dir.Path("plain"), "x");
    std::filesystem::create_directory(dir.Path("folder.ini"));
    const auto writeTo = [](const std::string& file) {
        return [file] { TIniFile(file).WriteString("Gen", "RefFreq", "12.5"); };
    };
    // A FIFO would block opening it for reading until a writer came; a link
    // loop names no file at all.
    std::filesystem::create_directory(dir.Path("special"));
    ASSERT_EQ(::mkfifo(dir.Path("special/fifo.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop2.ini", dir.Path("special/loop1.ini"));
    std::filesystem::create_symlink("loop1.ini", dir.Path("special/loop2.ini"));
    for (const char* special : {"special/fifo.ini", "special/loop1.ini"}) {
        const TIniFile ini(dir.Path(special));
        EXPECT_EQ(ini.ReadString("Gen", "RefFreq", "none"), "none") << special;
        EXPECT_FALSE(ini.SectionExists("Gen")) << special;
    }
    std::vector<TCase> cases = {
        {"FIFO", dir.Path("special/fifo.ini"), {}},
        {"symbolic link loop", dir.Path("special/loop1.ini"), {}},
        {"missing folder", dir.Path("none/ZyPanel.ini"), {}},
        {"folder is a file", dir.Path("plain/ZyPanel.ini"), {}},
        {"target is a folder", dir.Path("folder.ini"), {}},
        {"disk full", path,
         [&] {
             TFileSizeLimit limit(4);
             TIniFile(path).WriteString("Gen", "RefFreq", "12.5");
         }},
        {"line break in a value", path,
         [&] { TIniFile(path).WriteString("Gen", "RefFreq", "1\n[Evil]"); }},
        {"line break in a key", path, [&] { TIniFile(path).WriteString("Gen", "A\nB", "1"); }},
    };
    // Root ignores permissions, so a read-only folder or file only stops others.
    if (::geteuid() != 0) {
        cases.push_back({"read-only file", path, [&] {
                             ::chmod(path.c_str(), 0444);
                             try {
                                 TIniFile(path).WriteString("Gen", "RefFreq", "12.5");
                             } catch (...) {
                                 ::chmod(path.c_str(), 0644);
                                 throw;
                             }
                             ::chmod(path.c_str(), 0644);
                         }});
        cases.push_back({"read-only folder", path, [&] {
                             ::chmod(dir.Folder().c_str(), 0555);
                             try {
                                 TIniFile(path).WriteString("Gen", "RefFreq", "12.5");
                             } catch (...) {
                                 ::chmod(dir.Folder().c_str(), 0755);
                                 throw;
                             }
                             ::chmod(dir.Folder().c_str(), 0755);
                         }});
    }
    for (TCase& c : cases) {
        SCOPED_TRACE(c.what);
        Dir::Write(path, old);
        if (!c.write) c.write = writeTo(c.file);
        try {
            c.write();
            ADD_FAILURE() << "no error raised";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + c.file);
        }
        EXPECT_EQ(Dir::Read(path), old);
        // No temporary file is left behind.
        int entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Folder())) {
            (void)entry;
            ++entries;
        }
        EXPECT_EQ(entries, 4);  // ZyPanel.ini, plain, folder.ini, special
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("folder.ini")));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.Path("special/fifo.ini")));
    EXPECT_EQ(std::filesystem::read_symlink(dir.Path("special/loop1.ini")), "loop2.ini");
}

}  // namespace
