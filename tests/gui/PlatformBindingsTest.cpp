#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/OptionsLocation.h"
#include "app/QtTimerHost.h"
#include "platform/Exceptions.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/BusyCursor.h"
#include "ui/EditMasks.h"
#include "ui/FixDecimalSeparator.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"

namespace {

class TThrowingObject : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw EConvertError("kaputt");
        if (e->type() == QEvent::User + 1) throw 42;
        return QObject::event(e);
    }
};

}  // namespace

using PlatformBindingsTest = GuiFixture;

TEST_F(PlatformBindingsTest, ExceptionsEscapingHandlersAreShownNotPropagated) {
    TThrowingObject object;
    QEvent known(QEvent::User);
    QCoreApplication::sendEvent(&object, &known);
    QEvent unknown(static_cast<QEvent::Type>(QEvent::User + 1));
    QCoreApplication::sendEvent(&object, &unknown);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "kaputt");
    EXPECT_EQ(messages[0].icon, miError);
    EXPECT_EQ(messages[0].caption, TZyApplication::Title());
    EXPECT_EQ(messages[1].text, "");  // not one of ours: an empty message
}

// A question asked during an update (the overmodulation question) shows the
// ordinary pointer over the box, and the busy cursor returns after it.
TEST_F(PlatformBindingsTest, MessageBoxShowsThePointerUnderTheBusyCursor) {
    const TMessageBox::THandler recorder = TMessageBox::SetHandler({});  // the real box
    Qt::CursorShape shape = Qt::WaitCursor;
    QString text;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        answer.stop();
        if (const QCursor* cursor = QApplication::overrideCursor()) shape = cursor->shape();
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    answer.start(5);
    TMsgResult result = mrYes;
    {
        const TBusyCursor busy;
        result = TMessageBox::Show(nullptr, QStringLiteral("Исправить?"), QStringLiteral("Тест"),
                                   miNone, mbYesNo);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    TMessageBox::SetHandler(recorder);
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(text, QStringLiteral("Исправить?"));
    EXPECT_EQ(shape, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PlatformBindingsTest, QtTimerHostTicksKillsAndReportsErrors) {
    TQtTimerHost host;
    int ticks = 0;
    TTimerHost::TTimerId id = 0;
    id = host.SetTimer(1, [&] {
        if (++ticks == 2) {
            host.KillTimer(id);  // a tick may stop its own timer
            throw Exception("tick failed");
        }
    });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 2; }, 2000));
    QTest::qWait(20);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(host.RunningCount(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "tick failed");
    host.KillTimer(12345);  // unknown ids are ignored
}

TEST_F(PlatformBindingsTest, FixDecimalSeparator) {
    struct {
        const char* text;
        char sep;
        const char* fixed;
    } cases[] = {
        {"2.5", ',', "2,5"}, {"2,5", '.', "2.5"}, {"1.2,3", ',', "1,2,3"},
        {"7", ',', "7"},     {"", '.', ""},       {".,", '.', ".."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FixDecimalSeparator(std::string(c.text), c.sep), c.fixed) << c.text;
        EXPECT_EQ(FixDecimalSeparator(QString::fromLatin1(c.text), QLatin1Char(c.sep)),
                  QString::fromLatin1(c.fixed))
            << c.text;
    }
}

TEST_F(PlatformBindingsTest, NumbersFollowTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_DOUBLE_EQ(StrToFloat("2,5"), 2.5);
    EXPECT_EQ(FloatToStr(1234.5), "1234,5");  // no group separator
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");  // 15 significant digits
    for (const char* bad : {"", ",", "2.5", "1.000", "nan", "inf"})
        EXPECT_THROW(StrToFloat(QString::fromLatin1(bad)), EConvertError) << bad;
}

TEST_F(PlatformBindingsTest, FrequencyMaskRefusesWhatItCannotHold) {
    TMaskEdit edit;
    edit.SetMask(QString::fromLatin1(kMaskCh_FreqInMHz));
    QTest::keyClicks(&edit, "-1234.12345678x");
    EXPECT_EQ(edit.text(), "123.1234567");
}

TEST_F(PlatformBindingsTest, OptionsFileBesideTheExecutableOrInTheConfigFolder) {
    EXPECT_EQ(OptionsFileName(dir.path()), dir.filePath("ZyPanel.ini"));

    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    const QString folder = dir.filePath("ro");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QFileInfo(folder).isWritable()) {  // root may write anyway
        EXPECT_EQ(OptionsFileName(folder), dir.filePath("config/ZyPanel/ZyPanel.ini"));
        EXPECT_TRUE(QFileInfo(dir.filePath("config/ZyPanel")).isDir());
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}
