// The options dialog's page "Удалённое управление": the window's SCPI server.

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/DMmain.h"
#include "app/RemoteControl.h"
#include "options/ZyAppBoolOption.h"
#include "options/ZyAppIntOption.h"
#include "options/ZyAppStrOption.h"
#include "ui/frmOptions.h"

void TfrmOptions::BuildRemotePage() {
    tabSh_Remote = MakePage("tabSh_Remote", QStringLiteral("Удалённое управление"));
    chBox_remote_Enabled = new QCheckBox(
        QStringLiteral("Принимать команды SCPI по сети (VISA, PyVISA)"), tabSh_Remote);
    chBox_remote_Enabled->setObjectName(QStringLiteral("chBox_remote_Enabled"));

    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel(QStringLiteral("Адрес"), tabSh_Remote), 0, 0);
    edt_RemoteAddress = new QLineEdit(tabSh_Remote);
    edt_RemoteAddress->setObjectName(QStringLiteral("edt_RemoteAddress"));
    grid->addWidget(edt_RemoteAddress, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Порт"), tabSh_Remote), 1, 0);
    edt_RemotePort = new QSpinBox(tabSh_Remote);
    edt_RemotePort->setObjectName(QStringLiteral("edt_RemotePort"));
    edt_RemotePort->setRange(1, 65535);
    grid->addWidget(edt_RemotePort, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* note = new QLabel(
        QStringLiteral("Адрес 127.0.0.1 открывает генератор только программам этого "
                       "компьютера. Чтобы им управляли с других компьютеров, впишите адрес "
                       "сетевого интерфейса (0.0.0.0 — все интерфейсы). Одновременно "
                       "подключается один клиент."),
        tabSh_Remote);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(tabSh_Remote);
    layout->addWidget(chBox_remote_Enabled);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addStretch(1);

    const auto enable = [this] {
        const bool on = chBox_remote_Enabled->isChecked();
        edt_RemoteAddress->setEnabled(on);
        edt_RemotePort->setEnabled(on);
    };
    connect(chBox_remote_Enabled, &QCheckBox::toggled, this, enable);
    enable();
}

void TfrmOptions::LoadRemoteOptions() {
    const TRemoteControl* remote = dm_->RemoteControl;
    if (!remote) return;
    chBox_remote_Enabled->setChecked(remote->EnabledOption->Value());
    edt_RemoteAddress->setText(QString::fromStdString(remote->AddressOption->Value()));
    edt_RemotePort->setValue(remote->PortOption->Value());
}

void TfrmOptions::StoreRemoteOptions() {
    TRemoteControl* remote = dm_->RemoteControl;
    if (!remote) return;
    remote->EnabledOption->SetValue(chBox_remote_Enabled->isChecked());
    remote->AddressOption->SetValue(edt_RemoteAddress->text().trimmed().toStdString());
    remote->PortOption->SetValue(edt_RemotePort->value());
    remote->Apply();
}
