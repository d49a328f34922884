#include "monitorui/frmMonitor.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <fstream>

#include "app/ZyApplication.h"
#include "monitor/ChannelPlot.h"
#include "monitor/LinkReplay.h"
#include "monitor/LinkTap.h"
#include "monitor/TraceFile.h"
#include "monitorui/ChannelChart.h"
#include "monitorui/MonitorLogFilter.h"
#include "monitorui/MonitorLogModel.h"
#include "monitorui/MonitorStateTable.h"
#include "platform/Exceptions.h"
#include "platform/ReplaceFile.h"

namespace {

constexpr int kPollMs = 100;
const QString kTraceFilter = QStringLiteral("Трассы (*.trace *.txt);;Все файлы (*)");

// Which channels a row concerns, read from its meaning ("A: ...", "A и B: ...").
int ChannelsOf(const QString& meaning) {
    if (meaning.startsWith(QStringLiteral("A и B:"))) return TMonitorLogModel::chBoth;
    if (meaning.startsWith(QStringLiteral("A:"))) return TMonitorLogModel::chA;
    if (meaning.startsWith(QStringLiteral("B:"))) return TMonitorLogModel::chB;
    return TMonitorLogModel::chNone;
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TfrmMonitor::TfrmMonitor(TLinkTap& tap, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tap_(tap),
      linkReplay_(std::make_unique<TLinkReplay>()),
      linkLog_(new TMonitorLogModel(tap.Ring().Capacity(), true, this)),
      fileLog_(new TMonitorLogModel(tap.Ring().Capacity(), false, this)),
      filter_(new TMonitorLogFilter(this)) {
    setObjectName(QStringLiteral("frmMonitor"));
    setWindowTitle(QStringLiteral("Монитор"));
    filter_->setSourceModel(linkLog_);  // the log's columns exist before they are sized
    BuildControls();
    ConnectControls();
    ShowSource();
    ShowState();
    resize(900, 640);
}

TfrmMonitor::~TfrmMonitor() = default;

void TfrmMonitor::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildButtonRow());
    BuildLog();
    grdState = Named(new QTableWidget(0, 3), "grdState");
    grdState->setHorizontalHeaderLabels(
        {QStringLiteral("Параметр"), QStringLiteral("Канал A"), QStringLiteral("Канал B")});
    grdState->verticalHeader()->setVisible(false);
    grdState->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdState->setEditTriggers(QAbstractItemView::NoEditTriggers);

    pgMonitor = Named(new QTabWidget, "pgMonitor");
    pgMonitor->addTab(grdLog, QStringLiteral("Журнал"));
    pgMonitor->addTab(grdState, QStringLiteral("Состояние"));
    pgMonitor->addTab(BuildPlots(), QStringLiteral("График"));
    layout->addWidget(pgMonitor, 1);
    lblSource = Named(new QLabel, "lblSource");
    layout->addWidget(lblSource);

    tmrPoll = new QTimer(this);
    tmrPoll->setObjectName(QStringLiteral("tmrPoll"));
    tmrPoll->setInterval(kPollMs);
}

QHBoxLayout* TfrmMonitor::BuildButtonRow() {
    auto* top = new QHBoxLayout;
    btnPause = Named(new QPushButton(QStringLiteral("Пауза")), "btnPause");
    btnPause->setCheckable(true);
    btnClear = Named(new QPushButton(QStringLiteral("Очистить")), "btnClear");
    btnCopy = Named(new QPushButton(QStringLiteral("Копировать")), "btnCopy");
    cmbChannel = Named(new QComboBox, "cmbChannel");
    cmbChannel->addItems(
        {QStringLiteral("Оба канала"), QStringLiteral("Канал A"), QStringLiteral("Канал B")});
    edtFilter = Named(new QLineEdit, "edtFilter");
    edtFilter->setPlaceholderText(QStringLiteral("Фильтр"));
    edtFilter->setClearButtonEnabled(true);
    btnSave = Named(new QPushButton(QStringLiteral("Сохранить трассу...")), "btnSave");
    btnOpen = Named(new QPushButton(QStringLiteral("Открыть трассу...")), "btnOpen");
    btnLink = Named(new QPushButton(QStringLiteral("Прибор")), "btnLink");
    for (QWidget* w : std::initializer_list<QWidget*>{btnPause, btnClear, btnCopy, cmbChannel})
        top->addWidget(w);
    top->addWidget(edtFilter, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{btnSave, btnOpen, btnLink}) top->addWidget(w);
    return top;
}

void TfrmMonitor::BuildLog() {
    grdLog = Named(new QTableView, "grdLog");
    grdLog->setModel(filter_);
    grdLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLog->verticalHeader()->setVisible(false);
    grdLog->verticalHeader()->setDefaultSectionSize(grdLog->fontMetrics().height() + 6);
    grdLog->setWordWrap(false);
    // Time, kind, bytes and failure as wide as their texts; the meaning takes the rest.
    QHeaderView* columns = grdLog->horizontalHeader();
    const QFontMetrics fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics plain(grdLog->font());
    const int pad = plain.horizontalAdvance(QStringLiteral("MM"));
    columns->resizeSection(TMonitorLogModel::lcTime,
                           plain.horizontalAdvance(QStringLiteral("Время, мс")) + pad);
    columns->resizeSection(TMonitorLogModel::lcKind,
                           plain.horizontalAdvance(QStringLiteral("Тип")) + pad);
    columns->resizeSection(
        TMonitorLogModel::lcBytes,
        fixed.horizontalAdvance(QStringLiteral("00 00 00 00 00 00 00 00 …")) + pad);
    columns->setSectionResizeMode(TMonitorLogModel::lcMeaning, QHeaderView::Stretch);
    columns->resizeSection(TMonitorLogModel::lcFailure,
                           plain.horizontalAdvance(QStringLiteral("ошибка")) + pad);
}

QWidget* TfrmMonitor::BuildPlots() {
    auto* plots = new QSplitter(Qt::Vertical);
    plots->setObjectName(QStringLiteral("splPlots"));
    for (QChartView** view : {&chartA, &chartB}) {
        auto* chart = new QChart;
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->setLocalizeNumbers(true);  // numbers on screen follow the locale
        *view = new QChartView(chart);
        (*view)->setRenderHint(QPainter::Antialiasing);
        (*view)->setMinimumHeight(180);
        plots->addWidget(*view);
    }
    chartA->setObjectName(QStringLiteral("chartA"));
    chartB->setObjectName(QStringLiteral("chartB"));
    return plots;
}

void TfrmMonitor::ConnectControls() {
    const auto on = [this](auto* sender, auto signal, void (TfrmMonitor::*handler)()) {
        connect(sender, signal, this, [this, handler] { SafeCall([&] { (this->*handler)(); }); });
    };
    on(btnPause, &QPushButton::clicked, &TfrmMonitor::btnPauseClick);
    on(btnClear, &QPushButton::clicked, &TfrmMonitor::btnClearClick);
    on(btnCopy, &QPushButton::clicked, &TfrmMonitor::btnCopyClick);
    on(btnSave, &QPushButton::clicked, &TfrmMonitor::btnSaveClick);
    on(btnOpen, &QPushButton::clicked, &TfrmMonitor::btnOpenClick);
    on(btnLink, &QPushButton::clicked, &TfrmMonitor::ShowLink);
    on(cmbChannel, &QComboBox::currentIndexChanged, &TfrmMonitor::cmbChannelChange);
    on(edtFilter, &QLineEdit::textChanged, &TfrmMonitor::edtFilterChange);
    on(tmrPoll, &QTimer::timeout, &TfrmMonitor::Poll);
    auto* copy = new QShortcut(QKeySequence::Copy, grdLog);
    connect(copy, &QShortcut::activated, this, [this] { SafeCall([this] { btnCopyClick(); }); });
}

void TfrmMonitor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!btnPause->isChecked()) {
        Poll();
        tmrPoll->start();
    }
}

void TfrmMonitor::hideEvent(QHideEvent* event) {
    tmrPoll->stop();
    QWidget::hideEvent(event);
}

void TfrmMonitor::AddTransfers(
    TLinkReplay& replay, TMonitorLogModel& log,
    const std::vector<std::pair<uint32_t, TTraceDriver::TTransfer>>& transfers) {
    std::vector<TMonitorLogModel::TRow> rows;
    rows.reserve(transfers.size());
    for (const auto& [ms, t] : transfers) {
        TMonitorLogModel::TRow row{ms, t, QString::fromStdString(replay.Apply(t)), 0};
        // A data block belongs to the frame that announced it.
        row.channels = t.kind == TTraceDriver::tkData ? lastChannels_ : ChannelsOf(row.meaning);
        if (t.kind == TTraceDriver::tkCommand) lastChannels_ = row.channels;
        rows.push_back(std::move(row));
    }
    log.Append(std::move(rows));
}

void TfrmMonitor::Poll() {
    const TTransferRing& ring = tap_.Ring();
    if (ring.NextSeq() == nextSeq_) return;
    if (ring.FirstSeq() > nextSeq_) missed_ += ring.FirstSeq() - nextSeq_;
    std::vector<std::pair<uint32_t, TTraceDriver::TTransfer>> fresh;
    ring.ForEachFrom(nextSeq_,
                     [&](const TTransferRecord& r) { fresh.emplace_back(r.ms, r.transfer); });
    nextSeq_ = ring.NextSeq();
    AddTransfers(*linkReplay_, *linkLog_, fresh);
    if (!fileReplay_) {
        grdLog->scrollToBottom();
        ShowState();
        ShowSource();
    }
}

void TfrmMonitor::OpenTrace(const QString& fileName) {
    std::ifstream in(fileName.toStdString());
    if (!in) throw EInOutError("Не удалось открыть файл трассы " + fileName.toStdString());
    auto transfers = ReadTrace(in);
    if (in.bad()) throw EInOutError("Не удалось прочитать файл трассы " + fileName.toStdString());
    std::vector<std::pair<uint32_t, TTraceDriver::TTransfer>> rows;
    rows.reserve(transfers.size());
    for (auto& t : transfers) rows.emplace_back(0, std::move(t));
    fileReplay_ = std::make_unique<TLinkReplay>();
    fileName_ = fileName;
    fileLog_->Clear();
    lastChannels_ = 0;
    AddTransfers(*fileReplay_, *fileLog_, rows);
    filter_->setSourceModel(fileLog_);
    ShowState();
    ShowSource();
}

void TfrmMonitor::SaveTrace(const QString& fileName) const {
    const TMonitorLogModel* log = fileReplay_ ? fileLog_ : linkLog_;
    const std::string text = TraceText(log->Transfers());
    int err = 0;
    if (ReplaceFile(fileName.toStdString(), reinterpret_cast<const uint8_t*>(text.data()),
                    text.size(), err) != rfOk)
        throw EInOutError("Не удалось записать трассу в файл " + fileName.toStdString());
}

void TfrmMonitor::ShowLink() {
    fileReplay_.reset();
    fileLog_->Clear();
    filter_->setSourceModel(linkLog_);
    Poll();
    grdLog->scrollToBottom();
    ShowState();
    ShowSource();
}

void TfrmMonitor::ShowState() {
    const TLinkReplay& replay = fileReplay_ ? *fileReplay_ : *linkReplay_;
    FillStateTable(grdState, replay.Instrument().StateLines());
    grdState->resizeRowsToContents();
    const auto color = [this](int ch) {
        return ChannelColor ? ChannelColor(ch) : QColor(Qt::black);
    };
    ShowChannelPlot(chartA->chart(), ChannelPlot(replay.State(), 0, replay.LastReading()), color(0),
                    color(1));
    ShowChannelPlot(chartB->chart(), ChannelPlot(replay.State(), 1, replay.LastReading()), color(1),
                    color(0));
}

void TfrmMonitor::ShowSource() {
    btnLink->setEnabled(fileReplay_ != nullptr);
    btnPause->setEnabled(fileReplay_ == nullptr);
    const TMonitorLogModel* log = fileReplay_ ? fileLog_ : linkLog_;
    QString text =
        fileReplay_ ? QStringLiteral("Трасса: ") + fileName_ : QStringLiteral("Обмен с прибором");
    text += QStringLiteral("; записей: ") + QString::number(log->rowCount());
    if (!fileReplay_ && missed_ > 0)
        text += QStringLiteral("; пропущено: ") + QString::number(missed_);
    lblSource->setText(text);
}

void TfrmMonitor::btnPauseClick() {
    if (btnPause->isChecked()) {
        tmrPoll->stop();
    } else {
        Poll();
        tmrPoll->start();
    }
}

void TfrmMonitor::btnClearClick() {
    (fileReplay_ ? fileLog_ : linkLog_)->Clear();
    ShowSource();
}

void TfrmMonitor::btnCopyClick() {
    const auto* log = static_cast<const TMonitorLogModel*>(filter_->sourceModel());
    QStringList lines;
    const QModelIndexList rows = grdLog->selectionModel()->selectedRows();
    std::vector<int> sourceRows;
    for (const QModelIndex& index : rows) sourceRows.push_back(filter_->mapToSource(index).row());
    std::sort(sourceRows.begin(), sourceRows.end());
    for (int row : sourceRows) lines << log->RowText(row);
    if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + '\n');
}

void TfrmMonitor::btnSaveClick() {
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить трассу"),
                                                      QString(), kTraceFilter);
    if (!name.isEmpty()) SaveTrace(name);
}

void TfrmMonitor::btnOpenClick() {
    const QString name = QFileDialog::getOpenFileName(this, QStringLiteral("Открыть трассу"),
                                                      QString(), kTraceFilter);
    if (!name.isEmpty()) OpenTrace(name);
}

void TfrmMonitor::cmbChannelChange() {
    filter_->SetChannel(cmbChannel->currentIndex());
}

void TfrmMonitor::edtFilterChange() {
    filter_->SetText(edtFilter->text());
}
