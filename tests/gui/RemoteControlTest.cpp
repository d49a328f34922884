// The window's SCPI server, offscreen: its options, the status bar line, and
// the panels following what a client sets.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>

#include "app/RemoteControl.h"
#include "app/ScpiTcpServer.h"
#include "tests/fixtures/GuiFixture.h"
#include "ui/MaskEdit.h"
#include "ui/chPageIntMod.h"
#include "ui/frmOptions.h"

namespace {

// A loopback port nobody listens on just now.
quint16 FreePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

class RemoteControlTest : public GuiFixture {
  protected:
    QString Status() const {
        const auto* label = frm->findChild<QLabel*>(QStringLiteral("lblRemote"));
        return label && !label->isHidden() ? label->text() : QString();
    }

    // Sends one line and waits for its answer while the window's loop runs.
    QString Query(QTcpSocket& client, const QByteArray& line) {
        client.write(line + "\n");
        EXPECT_TRUE(QTest::qWaitFor([&client] { return client.canReadLine(); }, 5000))
            << line.data();
        return QString::fromUtf8(client.readLine()).trimmed();
    }
};

TEST_F(RemoteControlTest, AClientChangesTheFrequencyAndThePanelShowsIt) {
    const quint16 port = FreePort();
    WriteOptions("[Common]\nAutoConnect=0\n[Remote]\nEnabled=1\nPort=" + std::to_string(port) +
                 "\n");
    Start();
    frm->show();
    const QString where = QStringLiteral("127.0.0.1:%1").arg(port);
    EXPECT_EQ(Status(), QStringLiteral("SCPI: %1, ждёт клиента").arg(where));

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frm->RemoteControl->Server()->HasClient(); }, 5000));
    EXPECT_EQ(Status(), QStringLiteral("SCPI: %1, клиент подключён").arg(where));

    EXPECT_EQ(Query(client, "SOUR1:FREQ 12.5 MHZ;:OUTP2 ON;:SOUR2:AM ON;:SOUR1:FREQ?"),
              QStringLiteral("12500000"));
    EXPECT_EQ(A()->edtFreq->text(), QStringLiteral("12.5"));
    EXPECT_EQ(B()->cmbBoxChMode->currentIndex(), TframeCh::miIntMod);
    // The page shows the level modulated, so that "Обновить" keeps it so.
    EXPECT_EQ(B()->pageIntMod->cmbBox_IntModBy->currentIndex(), TchPageIntMod::piAmpl);
    EXPECT_TRUE(B()->chBox_ChOpen->isChecked());
    EXPECT_EQ(Gen()->ChB()->Mode(), ZGMdC_IntModulation);

    client.disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frm->RemoteControl->Server()->HasClient(); }, 5000));
    EXPECT_EQ(Status(), QStringLiteral("SCPI: %1, ждёт клиента").arg(where));
}

TEST_F(RemoteControlTest, OffByDefaultTheOptionsPageTurnsItOnOnLoopback) {
    Start();
    EXPECT_FALSE(frm->RemoteControl->Server()->IsListening());
    EXPECT_EQ(Status(), QString());

    TfrmOptions options(dm.get(), frm.get());
    options.LoadFromOptions(false);
    EXPECT_FALSE(options.chBox_remote_Enabled->isChecked());
    EXPECT_EQ(options.edt_RemoteAddress->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(options.edt_RemotePort->value(), 5025);

    const quint16 port = FreePort();
    options.chBox_remote_Enabled->setChecked(true);
    options.edt_RemotePort->setValue(port);
    options.StoreToOptions(true);
    EXPECT_EQ(frm->RemoteControl->Server()->AddressText(),
              QStringLiteral("127.0.0.1:%1").arg(port));
    const std::string file = ReadOptions();
    const std::size_t section = file.find("[Remote]\n");
    ASSERT_NE(section, std::string::npos) << file;
    for (const std::string& line :
         {std::string("Enabled=1\n"), "Port=" + std::to_string(port) + "\n",
          std::string("Address=127.0.0.1\n")})
        EXPECT_NE(file.find(line, section), std::string::npos) << line << file;

    // A host name is no address: the server stops and the status says why.
    options.edt_RemoteAddress->setText(QStringLiteral("localhost"));
    options.StoreToOptions(false);
    EXPECT_FALSE(frm->RemoteControl->Server()->IsListening());
    EXPECT_TRUE(Status().startsWith(QStringLiteral("SCPI: не удалось открыть localhost:")))
        << Status().toStdString();
}

}  // namespace
