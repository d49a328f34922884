#include "monitorui/MonitorLogModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontDatabase>

#include "platform/HexBytes.h"

TMonitorLogModel::TMonitorLogModel(std::size_t maxRows, bool timed, QObject* parent)
    : QAbstractTableModel(parent), maxRows_(maxRows), timed_(timed) {}

void TMonitorLogModel::Append(std::vector<TRow> rows) {
    if (rows.empty()) return;
    const std::size_t excess =
        rows_.size() + rows.size() > maxRows_ ? rows_.size() + rows.size() - maxRows_ : 0;
    const std::size_t drop = std::min(excess, rows_.size());
    if (drop > 0) {
        beginRemoveRows(QModelIndex(), 0, static_cast<int>(drop) - 1);
        rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(drop));
        endRemoveRows();
    }
    // A batch larger than the log keeps only its newest rows.
    const std::size_t skip = rows.size() > maxRows_ ? rows.size() - maxRows_ : 0;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size() - skip) - 1);
    for (std::size_t i = skip; i < rows.size(); ++i) rows_.push_back(std::move(rows[i]));
    endInsertRows();
}

void TMonitorLogModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

std::vector<TTraceDriver::TTransfer> TMonitorLogModel::Transfers() const {
    std::vector<TTraceDriver::TTransfer> all;
    all.reserve(rows_.size());
    for (const auto& r : rows_) all.push_back(r.transfer);
    return all;
}

QString TMonitorLogModel::RowText(int row) const {
    const TRow& r = Row(row);
    return (timed_ ? QString::number(r.ms) : QString()) + QLatin1Char('\t') +
           QString::fromStdString(TTraceDriver::FormatLine(r.transfer)) + QLatin1Char('\t') +
           r.meaning;
}

int TMonitorLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TMonitorLogModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lcCount;
}

QVariant TMonitorLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const TRow& r = Row(index.row());
    if (role == Qt::ForegroundRole && !r.transfer.ok) return QBrush(QColor(0xB0, 0x00, 0x00));
    if (role == Qt::FontRole && index.column() == lcBytes)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (role == Qt::TextAlignmentRole && index.column() == lcTime)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case lcTime:
            return timed_ ? QString::number(r.ms) : QString();
        case lcKind:
            return r.transfer.kind == TTraceDriver::tkCommand ? QStringLiteral("C")
                   : r.transfer.kind == TTraceDriver::tkData  ? QStringLiteral("D")
                                                              : QStringLiteral("R");
        case lcBytes: {
            // A table upload can be kilobytes long: the start is enough here.
            constexpr std::size_t kShown = 8;
            const auto& b = r.transfer.bytes;
            QString text = QString::fromStdString(ToHex(b.data(), std::min(b.size(), kShown)));
            if (b.size() > kShown) text += QStringLiteral(" …");
            return text;
        }
        case lcMeaning:
            return r.meaning;
        case lcFailure:
            return r.transfer.ok ? QString() : QStringLiteral("ошибка");
        default:
            return {};
    }
}

QVariant TMonitorLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    switch (section) {
        case lcTime:
            return QStringLiteral("Время, мс");
        case lcKind:
            return QStringLiteral("Тип");
        case lcBytes:
            return QStringLiteral("Байты");
        case lcMeaning:
            return QStringLiteral("Значение");
        case lcFailure:
            return QStringLiteral("Сбой");
        default:
            return {};
    }
}
