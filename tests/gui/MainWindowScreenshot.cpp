// Refreshes docs/main-window.png, the picture in the README. Run by hand
// from the repository's root:
//   QT_QPA_PLATFORM=offscreen build/asan/tests/test_gui
//       --gtest_also_run_disabled_tests --gtest_filter='*Screenshot*'
// (one command line).
#include <QAction>
#include <QDir>
#include <QPixmap>

#include "tests/fixtures/GuiFixture.h"

using MainWindowScreenshot = GuiFixture;

TEST_F(MainWindowScreenshot, DISABLED_WritesDocsMainWindowPng) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Start(true);
    ShowActive();
    Connect();
    A()->actCh_SetMode->trigger();
    const QString path = QStringLiteral("docs/main-window.png");
    QDir().mkpath(QFileInfo(path).path());
    ASSERT_TRUE(frm->grab().save(path));
}
