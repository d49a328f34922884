#include "ui/OpenFailureText.h"

QString OpenFailureText(TOpenFailure failure) {
    switch (failure) {
        case ofNoDevice:
            return QStringLiteral(
                "Устройство FTDI не найдено: проверьте, что генератор подключён к порту USB и "
                "включён.");
        case ofPermission:
            return QStringLiteral(
                "Нет доступа к устройству USB: установите пакет zypanel (или его правило udev) и "
                "заново подключите генератор.");
        case ofBusy:
            return QStringLiteral("Устройство занято: его уже открыла другая программа.");
        case ofKernelDriver:
            return QStringLiteral(
                "Не удалось отключить от устройства драйвер последовательного порта ядра.");
        case ofUsbStack:
            return QStringLiteral("Не удалось получить список устройств USB.");
        case ofSetup:
            return QStringLiteral(
                "Устройство не приняло начальные настройки: заново подключите генератор.");
        default:
            return {};
    }
}
