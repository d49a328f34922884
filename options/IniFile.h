#pragma once

#include <string>
#include <vector>

// An INI file on disk, read and written key by key. There is no cache: every
// read looks at the file as it is at that moment, every write changes the file
// at once.
//
// Format: "[Section]" headers and "Ident=Value" lines. Section and key names
// match without regard to ASCII letter case; white space around names and
// values is ignored. Lines starting with ";" or "#" are comments. The file is
// UTF-8 (a leading byte order mark is kept), with LF or CR LF line ends.
//
// A write replaces only the line of its key (or adds one) and keeps every
// other byte of the file: other sections, unknown keys, comments and blank
// lines. The new content goes to a temporary file in the same folder that is
// then renamed over the old one, so the file is never left half-written. When
// any step fails the old file stays as it was and EIniFileException is raised
// with "Unable to write to <file name>".
//
// Reads never fail: a missing or unreadable file reads as empty.
//
// A relative file name is taken relative to the current directory at the
// moment of each access.
class TIniFile {
  public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    // The value of the key, trimmed; `defaultValue` when the key is missing.
    // A key present with an empty value yields the empty string.
    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& defaultValue) const;
    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value);

    // Signed decimal, or hexadecimal after "$", "0x" or "0X" (up to eight
    // digits, taken as the 32-bit pattern, so $FF000008 is -16777208). A missing
    // key, an empty value or any other text yields `defaultValue`.
    int ReadInteger(const std::string& section, const std::string& ident, int defaultValue) const;
    // Writes signed decimal.
    void WriteInteger(const std::string& section, const std::string& ident, int value);

    // Read as an integer with the default 1 or 0; any non-zero integer is true.
    bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue) const;
    // Writes "1" or "0".
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    // The key names of a section in file order (each key once).
    std::vector<std::string> ReadSection(const std::string& section) const;
    // True when the section holds at least one key.
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    // Removes every "[section]" header with its keys. Comments standing just
    // before the next section are kept: they usually describe that section.
    // Writes nothing when the section is not in the file.
    void EraseSection(const std::string& section);

    // Text forms of integers, shared with callers that format by hand.
    static std::string IntToText(int value);
    // Parses `text` (already trimmed) as ReadInteger does; false when it is not
    // a 32-bit integer.
    static bool TextToInt(const std::string& text, int& value);

  private:
    struct TLine {
        std::string text;  // without the line end
        std::string eol;   // "\n", "\r\n" or "" for a last line without one
    };
    struct TContent {
        bool bom = false;
        std::vector<TLine> lines;
    };

    // Reads the file; false when it exists but cannot be read.
    bool Load(TContent& content) const;
    void Store(const TContent& content) const;
    [[noreturn]] void WriteFailed() const;

    std::string fileName_;
};
