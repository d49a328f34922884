// zypanel: the window program of the generator.
//   zypanel [--device ftdi|ftdi:SERIAL|sim] | --list-devices
// "ftdi" (the default) drives the instrument on the FTDI bridge named in the
// options file ("Device", "Serial"), else on the first one; "ftdi:SERIAL" on
// the bridge with that serial number; "sim" the built-in virtual instrument.
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/DMmain.h"
#include "app/HtmlHelp.h"
#include "app/OptionsLocation.h"
#include "app/QtTimerHost.h"
#include "app/ZyApplication.h"
#include "monitor/LinkTap.h"
#include "monitorui/frmMonitor.h"
#include "options/IniFile.h"
#include "options/ZyAppColorOption.h"
#include "platform/FileSizeSignal.h"
#include "platform/LibFtdiAccess.h"
#include "platform/SteadyTickSource.h"
#include "platform/UsbDriver.h"
#include "sim/VirtualInstrument.h"
#include "ui/ColorValue.h"
#include "ui/frameCh.h"
#include "ui/frmMain.h"
#include "ui/frmOptions.h"

namespace {

const QString kTitle = QStringLiteral("Универсальный двухканальный генератор Тайра-9");

const QString kHelpFile = QStringLiteral("ZyPanel.chm");

const QCommandLineOption kDeviceOption(
    QStringLiteral("device"),
    QStringLiteral("ftdi: the instrument on the USB bridge (default); ftdi:SERIAL: on the "
                   "bridge with that serial number; sim: the virtual instrument."),
    QStringLiteral("ftdi|ftdi:SERIAL|sim"), QStringLiteral("ftdi"));

const QCommandLineOption kListOption(
    QStringLiteral("list-devices"),
    QStringLiteral("Lists the FTDI bridges (bus position, vendor:product, strings, serial, "
                   "whether this user may open them) and exits."));

// The program's command line.
void SetUpParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(kTitle);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kDeviceOption);
    parser.addOption(kListOption);
}

// The --help text's description names the help folder; it needs the
// application object for the program's own folder.
void DescribeWithHelpFolder(QCommandLineParser& parser) {
    parser.setApplicationDescription(kTitle + QStringLiteral("\nHelp pages: ") +
                                     QDir::toNativeSeparators(THtmlHelp::PagesFolder(kHelpFile)));
}

// --list-devices answers before any application object, so it needs no display.
bool ListDevicesAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--list-devices") == 0) return true;
    return false;
}

// True when the command line asks only for text (--help, --version) or is
// malformed: the parser then prints and exits without any window system, so
// both work where no display can be opened.
bool AnswersWithoutWindows(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    SetUpParser(parser);
    if (!parser.parse(arguments)) return true;
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
           parser.isSet(QStringLiteral("version"));
}

void SetApplicationNames() {
    QCoreApplication::setApplicationName(QStringLiteral("ZyPanel"));
    // The project version (CMakeLists.txt), what --version prints.
    QCoreApplication::setApplicationVersion(QStringLiteral(ZY_VERSION));
}

}  // namespace

int main(int argc, char** argv) {
    if (ListDevicesAsked(argc, argv)) {
        std::fputs(FormatFtdiDeviceList(LibFtdiAccess().ListDevices()).c_str(), stdout);
        return 0;
    }
    if (AnswersWithoutWindows(argc, argv)) {
        QCoreApplication text(argc, argv);
        SetApplicationNames();
        QCommandLineParser parser;
        SetUpParser(parser);
        DescribeWithHelpFolder(parser);
        parser.process(text);  // prints the help, the version or the error and exits
        return 0;
    }

    IgnoreFileSizeSignal();
    TZyApplication app(argc, argv);
    SetApplicationNames();
    TZyApplication::SetTitle(kTitle);
    TZyApplication::SetHelpFile(kHelpFile);
    // The program speaks Russian whatever the system's language; Qt's own
    // texts (the edits' context menus) follow when Qt's translations are
    // installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        TZyApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    SetUpParser(parser);
    DescribeWithHelpFolder(parser);
    parser.process(app);
    const QString device = parser.value(kDeviceOption);
    const QString ftdiSerialPrefix = QStringLiteral("ftdi:");
    const bool bySerial =
        device.startsWith(ftdiSerialPrefix) && device.size() > ftdiSerialPrefix.size();
    if (device != QStringLiteral("ftdi") && device != QStringLiteral("sim") && !bySerial) {
        std::fprintf(stderr, "zypanel: unknown device \"%s\" (use ftdi, ftdi:SERIAL or sim)\n",
                     device.toLocal8Bit().constData());
        return 2;
    }
    const bool simulation = device == QStringLiteral("sim");

    int result = 1;
    try {
        const QString optionsFile = OptionsFileName(QCoreApplication::applicationDirPath());
        std::unique_ptr<TUsbDriver> driver;
        if (simulation) {
            driver = std::make_unique<TVirtualInstrument>();
        } else {
            // The bridge chosen on the command line, else the one stored in
            // the options file's own section, else the first one.
            const std::string serial =
                bySerial ? device.mid(ftdiSerialPrefix.size()).toStdString()
                         : TIniFile(optionsFile.toStdString()).ReadString("Device", "Serial", "");
            driver = LibFtdiAccess().MakeDriver(serial);
        }
        TSteadyTickSource ticks;
        // Every transfer is recorded for the monitor, whether or not it is open.
        TLinkTap tap(*driver, ticks);
        TQtTimerHost timers;

        // Created in this order and destroyed in the reverse one: the data
        // module (options loaded and applied), the main window (which may
        // connect), the options dialog, then the monitor.
        TDMmain dmMain(tap, ticks, timers, optionsFile.toStdString());
        TfrmMain frmMain(&dmMain, simulation);
        TfrmOptions frmOptions(&dmMain, &frmMain);
        frmMain.frmOptions = &frmOptions;
        TfrmMonitor frmMonitor(tap);
        frmMonitor.ChannelColor = [&frmMain](int ch) {
            const TframeCh* frame = ch == 0 ? frmMain.frameChA : frmMain.frameChB;
            return ColorFromValue(frame->NameTextClrOption->Value(), QColor(Qt::black));
        };
        // Closing the main window ends the program even with the monitor open.
        frmMonitor.setAttribute(Qt::WA_QuitOnClose, false);
        frmMain.frmMonitor = &frmMonitor;
        frmMain.show();
        result = TZyApplication::exec();
    } catch (...) {
        TZyApplication::HandleException();
    }
    return result;
}
