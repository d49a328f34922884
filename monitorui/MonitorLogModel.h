#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/TraceDriver.h"

// The monitor's log: one row per transfer with its time, kind, bytes, meaning
// and failure, as a table model. Rows are appended in batches and the oldest
// go once there are more than the link tap keeps, so the log keeps up with a
// full update cycle.
class TMonitorLogModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum TColumn : int32_t { lcTime, lcKind, lcBytes, lcMeaning, lcFailure, lcCount };
    // Which channels a row concerns, for the channel filter.
    enum TChannels : int32_t { chNone = 0, chA = 1, chB = 2, chBoth = 3 };

    struct TRow {
        uint32_t ms = 0;
        TTraceDriver::TTransfer transfer{TTraceDriver::tkCommand, {}, true};
        QString meaning;
        int channels = chNone;
    };

    // `timed`: the rows carry their time since connect (a trace file has none).
    TMonitorLogModel(std::size_t maxRows, bool timed, QObject* parent = nullptr);

    void Append(std::vector<TRow> rows);
    void Clear();
    const TRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // Every transfer kept, oldest first, for saving.
    std::vector<TTraceDriver::TTransfer> Transfers() const;
    // The row as one line of text: time, trace line, meaning.
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    std::size_t maxRows_;
    bool timed_;
    std::deque<TRow> rows_;
};
