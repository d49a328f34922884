#pragma once

#include <QSortFilterProxyModel>
#include <QString>

// Shows the log rows of the chosen channel (rows of both channels and of the
// whole instrument always pass) whose bytes or meaning hold the filter text.
class TMonitorLogFilter : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // 0 every row, 1 channel A, 2 channel B.
    void SetChannel(int channel);
    void SetText(const QString& text);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    int channel_ = 0;
    QString text_;
};
