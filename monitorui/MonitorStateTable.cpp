#include "monitorui/MonitorStateTable.h"

#include <QHeaderView>
#include <QTableWidget>
#include <map>

namespace {

// Russian names of the keys an operator reads first; the mode's own keys keep
// their report names.
QString KeyName(const std::string& key) {
    static const std::map<std::string, const char*> kNames = {
        {"clock_mhz", "Тактовая частота, МГц"},
        {"clock_reference", "Опорная частота"},
        {"clock_multiplier", "Множитель"},
        {"protocol_errors", "Ошибки протокола"},
        {"output", "Выход"},
        {"mode", "Режим"},
        {"frequency_hz", "Частота, Гц"},
        {"amplitude_percent", "Уровень, %"},
        {"phase_deg", "Фаза, °"},
    };
    const auto it = kNames.find(key);
    return it != kNames.end() ? QString::fromUtf8(it->second) : QString::fromStdString(key);
}

}  // namespace

void FillStateTable(QTableWidget* table, const std::vector<std::string>& lines) {
    // Keys in their first order, with the values of A and B (or of the instrument).
    std::vector<std::string> keys;
    std::map<std::string, std::pair<QString, QString>> values;
    std::map<std::string, bool> instrumentWide;
    for (const auto& line : lines) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        const QString value = QString::fromStdString(line.substr(eq + 1));
        int column = 0;
        if (key.rfind("A.", 0) == 0 || key.rfind("B.", 0) == 0) {
            column = key[0] == 'A' ? 1 : 2;
            key = key.substr(2);
        }
        if (!values.count(key)) keys.push_back(key);
        instrumentWide[key] = column == 0;
        auto& cell = values[key];
        (column == 2 ? cell.second : cell.first) = value;
    }
    table->clearSpans();
    table->setRowCount(static_cast<int>(keys.size()));
    for (int row = 0; row < static_cast<int>(keys.size()); ++row) {
        const auto& key = keys[static_cast<std::size_t>(row)];
        const auto& v = values[key];
        const QString cells[] = {KeyName(key), v.first, v.second};
        for (int column = 0; column < 3; ++column) {
            auto* item = table->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                table->setItem(row, column, item);
            }
            item->setText(cells[column]);
        }
        // The instrument's own values belong to neither channel.
        if (instrumentWide[key]) table->setSpan(row, 1, 1, 2);
    }
}
