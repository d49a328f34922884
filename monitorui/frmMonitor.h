#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "sim/TraceDriver.h"

class QChart;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class TLinkReplay;
class TLinkTap;
class TMonitorLogFilter;
class TMonitorLogModel;

// The instrument monitor, a window of its own beside the main window: the log
// of every transfer over the link with its meaning, the instrument state the
// frames left, and a plot per channel of what it was told to output. It reads
// the link tap on a timer and explains the frames with a virtual instrument
// of its own, so the connected instrument is never touched. An opened trace
// file is shown the same way until "Прибор" returns to the link.
class TfrmMonitor : public QWidget {
    Q_OBJECT

  public:
    // `tap` must outlive the window.
    explicit TfrmMonitor(TLinkTap& tap, QWidget* parent = nullptr);
    ~TfrmMonitor() override;

    // The colour of channel 0 (A) or 1 (B) on the plots; black when unset.
    std::function<QColor(int ch)> ChannelColor;

    // Reads what the tap recorded since the last poll (the timer does this
    // while the window is shown and not paused).
    void Poll();
    // Shows the transfers of a trace file instead of the link; throws
    // EInOutError or EConvertError when the file cannot be read.
    void OpenTrace(const QString& fileName);
    // Writes the log in trace format; throws EInOutError on failure.
    void SaveTrace(const QString& fileName) const;
    // Back from a trace file to the link.
    void ShowLink();

    // Handlers.
    void btnPauseClick();
    void btnClearClick();
    void btnCopyClick();
    void btnSaveClick();
    void btnOpenClick();
    void cmbChannelChange();
    void edtFilterChange();

    // Components.
    QPushButton* btnPause;
    QPushButton* btnClear;
    QPushButton* btnCopy;
    QComboBox* cmbChannel;
    QLineEdit* edtFilter;
    QPushButton* btnSave;
    QPushButton* btnOpen;
    QPushButton* btnLink;
    QLabel* lblSource;
    QTabWidget* pgMonitor;
    QTableView* grdLog;
    QTableWidget* grdState;
    QChartView* chartA;
    QChartView* chartB;
    QTimer* tmrPoll;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void BuildControls();
    QHBoxLayout* BuildButtonRow();
    void BuildLog();
    QWidget* BuildPlots();
    void ConnectControls();
    // Carries out transfers on `replay` and appends their rows to `log`.
    void AddTransfers(TLinkReplay& replay, TMonitorLogModel& log,
                      const std::vector<std::pair<uint32_t, TTraceDriver::TTransfer>>& transfers);
    // The state and plots of what is shown (the link or the file).
    void ShowState();
    void ShowSource();

    TLinkTap& tap_;
    uint64_t nextSeq_ = 0;  // the tap's next record to read
    uint64_t missed_ = 0;   // records the ring dropped before they were read
    std::unique_ptr<TLinkReplay> linkReplay_;
    TMonitorLogModel* linkLog_;
    std::unique_ptr<TLinkReplay> fileReplay_;  // null while the link is shown
    TMonitorLogModel* fileLog_;
    QString fileName_;
    TMonitorLogFilter* filter_;
    int lastChannels_ = 0;  // channels of the last frame, for its data block
};
