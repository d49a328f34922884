// zypanel: the window program of the generator.
//   zypanel [--device ftdi|sim]
// "ftdi" (the default) drives the instrument on the first FTDI bridge; "sim"
// drives the built-in virtual instrument.
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/DMmain.h"
#include "app/OptionsLocation.h"
#include "app/QtTimerHost.h"
#include "app/ZyApplication.h"
#include "monitor/LinkTap.h"
#include "monitorui/frmMonitor.h"
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

const QCommandLineOption kDeviceOption(
    QStringLiteral("device"),
    QStringLiteral("ftdi: the instrument on the USB bridge (default); sim: the virtual "
                   "instrument."),
    QStringLiteral("ftdi|sim"), QStringLiteral("ftdi"));

// The program's command line.
void SetUpParser(QCommandLineParser& parser) {
    parser.setApplicationDescription(kTitle);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kDeviceOption);
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
    if (AnswersWithoutWindows(argc, argv)) {
        QCoreApplication text(argc, argv);
        SetApplicationNames();
        QCommandLineParser parser;
        SetUpParser(parser);
        parser.process(text);  // prints the help, the version or the error and exits
        return 0;
    }

    IgnoreFileSizeSignal();
    TZyApplication app(argc, argv);
    SetApplicationNames();
    TZyApplication::SetTitle(kTitle);
    TZyApplication::SetHelpFile(QStringLiteral("ZyPanel.chm"));
    // The program speaks Russian whatever the system's language; Qt's own
    // texts (the edits' context menus) follow when Qt's translations are
    // installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        TZyApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    SetUpParser(parser);
    parser.process(app);
    const QString device = parser.value(kDeviceOption);
    if (device != QStringLiteral("ftdi") && device != QStringLiteral("sim")) {
        std::fprintf(stderr, "zypanel: unknown device \"%s\" (use ftdi or sim)\n",
                     device.toLocal8Bit().constData());
        return 2;
    }
    const bool simulation = device == QStringLiteral("sim");

    int result = 1;
    try {
        std::unique_ptr<TUsbDriver> driver;
        if (simulation)
            driver = std::make_unique<TVirtualInstrument>();
        else
            driver = LibFtdiAccess().MakeDriver("");
        TSteadyTickSource ticks;
        // Every transfer is recorded for the monitor, whether or not it is open.
        TLinkTap tap(*driver, ticks);
        TQtTimerHost timers;
        const QString optionsFile = OptionsFileName(QCoreApplication::applicationDirPath());

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
