#include "monitorui/MonitorLogFilter.h"

#include "monitorui/MonitorLogModel.h"
#include "platform/HexBytes.h"

void TMonitorLogFilter::SetChannel(int channel) {
    channel_ = channel;
    invalidateFilter();
}

void TMonitorLogFilter::SetText(const QString& text) {
    text_ = text.trimmed();
    invalidateFilter();
}

bool TMonitorLogFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const auto* log = static_cast<const TMonitorLogModel*>(sourceModel());
    const TMonitorLogModel::TRow& r = log->Row(sourceRow);
    if (channel_ != 0 && r.channels != TMonitorLogModel::chNone && (r.channels & channel_) == 0)
        return false;
    if (text_.isEmpty()) return true;
    return r.meaning.contains(text_, Qt::CaseInsensitive) ||
           QString::fromStdString(ToHex(r.transfer.bytes)).contains(text_, Qt::CaseInsensitive);
}
