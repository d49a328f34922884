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
#include "platform/FileSizeSignal.h"
#include "platform/LibFtdiAccess.h"
#include "platform/SteadyTickSource.h"
#include "platform/UsbDriver.h"
#include "sim/VirtualInstrument.h"
#include "ui/frmMain.h"
#include "ui/frmOptions.h"

int main(int argc, char** argv) {
    IgnoreFileSizeSignal();
    TZyApplication app(argc, argv);
    TZyApplication::setApplicationName(QStringLiteral("ZyPanel"));
    // The project version (CMakeLists.txt), what --version prints.
    TZyApplication::setApplicationVersion(QStringLiteral(ZY_VERSION));
    TZyApplication::SetTitle(QStringLiteral("Универсальный двухканальный генератор Тайра-9"));
    TZyApplication::SetHelpFile(QStringLiteral("ZyPanel.chm"));
    // The program speaks Russian whatever the system's language; Qt's own
    // texts (the edits' context menus) follow when Qt's translations are
    // installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        TZyApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(TZyApplication::Title());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption deviceOption(
        QStringLiteral("device"),
        QStringLiteral("ftdi: the instrument on the USB bridge (default); sim: the virtual "
                       "instrument."),
        QStringLiteral("ftdi|sim"), QStringLiteral("ftdi"));
    parser.addOption(deviceOption);
    parser.process(app);
    const QString device = parser.value(deviceOption);
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
        TQtTimerHost timers;
        const QString optionsFile = OptionsFileName(QCoreApplication::applicationDirPath());

        // Created in this order and destroyed in the reverse one: the data
        // module (options loaded and applied), the main window (which may
        // connect), then the options dialog.
        TDMmain dmMain(*driver, ticks, timers, optionsFile.toStdString());
        TfrmMain frmMain(&dmMain, simulation);
        TfrmOptions frmOptions(&dmMain, &frmMain);
        frmMain.frmOptions = &frmOptions;
        frmMain.show();
        result = TZyApplication::exec();
    } catch (...) {
        TZyApplication::HandleException();
    }
    return result;
}
