#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

// The program's small help layer. It takes the requests of the HTML help
// interface (command numbers as listed below) and shows the help pages in a
// viewer window of its own. Tests replace the viewer to see the requests.
enum THelpCommand : uint32_t {
    HH_DISPLAY_TOPIC = 0x00,
    HH_HELP_CONTEXT = 0x0F,
    HH_TP_HELP_WM_HELP = 0x11,
    HH_CLOSE_ALL = 0x12,
    HH_INITIALIZE = 0x1C,
    HH_UNINITIALIZE = 0x1D,
};

struct THelpRequest {
    QWidget* caller = nullptr;
    QString file;  // empty for the commands that name no file
    uint32_t command = HH_DISPLAY_TOPIC;
    uintptr_t data = 0;
};

class THtmlHelp {
  public:
    // Returns what the command yields: the cookie for HH_INITIALIZE, else 0.
    using THandler = std::function<uintptr_t(const THelpRequest&)>;

    static uintptr_t HtmlHelp(QWidget* caller, const QString& file, uint32_t command,
                              uintptr_t data);
    // Replaces the viewer; an empty handler restores it. Returns the old one.
    static THandler SetHandler(THandler handler);

    // Where the pages of `file` live (index.html and one <context number>.html
    // per context): a folder named like the help file without its extension,
    // beside the executable as in the build tree; when there is none, the
    // installed help folder (share/zypanel/help beside the program's bin/).
    static QString PagesFolder(const QString& file);

  private:
    static uintptr_t Viewer(const THelpRequest& request);
};
