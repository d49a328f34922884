#include "ui/frmOptions.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>
#include <cmath>

#include "app/DMmain.h"
#include "app/MessageBox.h"
#include "app/ZyApplication.h"
#include "gen4/ZyGen4.h"
#include "options/ZyAppBoolOption.h"
#include "options/ZyAppColorOption.h"
#include "options/ZyAppDblOption.h"
#include "options/ZyAppIntOption.h"
#include "options/ZyAppOptionsRepository.h"
#include "platform/Exceptions.h"
#include "ui/ColorComboBox.h"
#include "ui/EditMasks.h"
#include "ui/FixDecimalSeparator.h"
#include "ui/MaskEdit.h"
#include "ui/NumberText.h"
#include "ui/WidgetBuild.h"
#include "ui/frameCh.h"

namespace {
QLabel* AddRowLabel(QGridLayout* grid, int row, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    grid->addWidget(label, row, 0);
    return label;
}
}  // namespace

TfrmOptions::TfrmOptions(TDMmain* dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Параметры"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setProperty("helpContext", HelpContext);

    BuildCategories();
    BuildPages();
    BuildButtons();
    LayOut();
    ConnectHandlers();

    treeViewCategrs->setCurrentItem(treeViewCategrs->topLevelItem(0));
    FormCreate();

    const QSize hint = sizeHint();
    setFixedSize(std::max(600, hint.width()), std::max(417, hint.height()));
}

void TfrmOptions::BuildCategories() {
    // Categories on the left.
    pnlCategrs = new QFrame(this);
    pnlCategrs->setObjectName(QStringLiteral("pnlCategrs"));
    pnlCategrs->setFixedWidth(234);
    treeViewCategrs = new QTreeWidget(pnlCategrs);
    treeViewCategrs->setObjectName(QStringLiteral("treeViewCategrs"));
    treeViewCategrs->setHeaderHidden(true);
    treeViewCategrs->setColumnCount(1);
    treeViewCategrs->setRootIsDecorated(false);
    treeViewCategrs->setItemsExpandable(false);
    treeViewCategrs->setExpandsOnDoubleClick(false);
    treeViewCategrs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeViewCategrs->setSelectionMode(QAbstractItemView::SingleSelection);
    treeViewCategrs->setSelectionBehavior(QAbstractItemView::SelectRows);
    treeViewCategrs->setAllColumnsShowFocus(true);
    {
        // The selection stays visible when the tree loses the focus.
        QPalette palette = treeViewCategrs->palette();
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
        treeViewCategrs->setPalette(palette);
    }
    new QTreeWidgetItem(treeViewCategrs, {QStringLiteral("Общие")});
    auto* colors = new QTreeWidgetItem(treeViewCategrs, {QStringLiteral("Цвета")});
    new QTreeWidgetItem(colors, {QStringLiteral("Канал A")});
    new QTreeWidgetItem(colors, {QStringLiteral("Канал B")});
    new QTreeWidgetItem(treeViewCategrs, {QStringLiteral("Удалённое управление")});
    auto* categoriesLayout = new QVBoxLayout(pnlCategrs);
    categoriesLayout->setContentsMargins(4, 4, 2, 4);
    categoriesLayout->addWidget(treeViewCategrs);
}

void TfrmOptions::BuildPages() {
    // Section heading and pages on the right.
    pnlOptions = new QFrame(this);
    pnlOptions->setObjectName(QStringLiteral("pnlOptions"));
    lblSection = new QLabel(pnlOptions);
    lblSection->setObjectName(QStringLiteral("lblSection"));
    lblSection->setMinimumHeight(25);
    lblSection->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblSection->setStyleSheet(
        QStringLiteral("QLabel#lblSection { background-color: #A6CAF0; border: 1px solid #808080;"
                       " font-weight: bold; color: black; }"));
    pgCtrlSections = new QStackedWidget(pnlOptions);
    pgCtrlSections->setObjectName(QStringLiteral("pgCtrlSections"));

    // Page 0: common options.
    tabSh_Common = MakePage("tabSh_Common", QStringLiteral("Общие"));
    ChBox_gen_UseExtRefFreq = new QCheckBox(
        QStringLiteral("Использовать внешний источник опорной частоты"), tabSh_Common);
    ChBox_gen_UseExtRefFreq->setObjectName(QStringLiteral("ChBox_gen_UseExtRefFreq"));
    grpBox_RefFreq = new QGroupBox(QStringLiteral("Тактовая частота"), tabSh_Common);
    grpBox_RefFreq->setObjectName(QStringLiteral("grpBox_RefFreq"));
    auto* clock = new QGridLayout(grpBox_RefFreq);
    AddRowLabel(clock, 0, QStringLiteral("Опорная частота"), grpBox_RefFreq);
    edt_RefFreq = new TMaskEdit(grpBox_RefFreq);
    edt_RefFreq->setObjectName(QStringLiteral("edt_RefFreq"));
    edt_RefFreq->SetMask(QString::fromLatin1(kMask_FreqInMHz));
    clock->addWidget(edt_RefFreq, 0, 1);
    clock->addWidget(new QLabel(QStringLiteral("МГц"), grpBox_RefFreq), 0, 2);
    AddRowLabel(clock, 1, QStringLiteral("Множитель"), grpBox_RefFreq);
    edtFreqScale = new QSpinBox(grpBox_RefFreq);
    edtFreqScale->setObjectName(QStringLiteral("edtFreqScale"));
    // Whole numbers from 4 to 255 (the option's limits); an entry outside is
    // brought to the nearer one.
    edtFreqScale->setRange(dm_->FreqScaleOption->MinValue(), dm_->FreqScaleOption->MaxValue());
    edtFreqScale->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    edtFreqScale->setKeyboardTracking(false);
    clock->addWidget(edtFreqScale, 1, 1);
    AddRowLabel(clock, 2, QStringLiteral("Результирующая частота"), grpBox_RefFreq);
    lblGenFreq = new QLabel(grpBox_RefFreq);
    lblGenFreq->setObjectName(QStringLiteral("lblGenFreq"));
    lblGenFreq->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = lblGenFreq->font();
    bold.setBold(true);
    lblGenFreq->setFont(bold);
    clock->addWidget(lblGenFreq, 2, 1);
    clock->addWidget(new QLabel(QStringLiteral("МГц"), grpBox_RefFreq), 2, 2);
    clock->setColumnStretch(1, 1);
    chBox_comn_AutoConnect = new QCheckBox(
        QStringLiteral("Подключаться к генератору при старте программы"), tabSh_Common);
    chBox_comn_AutoConnect->setObjectName(QStringLiteral("chBox_comn_AutoConnect"));
    auto* commonLayout = new QVBoxLayout(tabSh_Common);
    commonLayout->addWidget(ChBox_gen_UseExtRefFreq);
    commonLayout->addWidget(grpBox_RefFreq);
    commonLayout->addStretch(1);
    commonLayout->addWidget(chBox_comn_AutoConnect);
    commonLayout->addSpacing(16);

    // Page 1 stays empty: choosing "Цвета" shows channel A's colours instead.
    tabSh_clrs = MakePage("tabSh_clrs", QStringLiteral("Цвета"));
    tabSh_clr_chA = MakeColorPage("tabSh_clr_chA", QStringLiteral("Цвета: Канал A"), 'A',
                                  clrBox_clr_chA_NameText, clrBox_clr_chA_On, clrBox_clr_chA_Off);
    tabSh_clr_chB = MakeColorPage("tabSh_clr_chB", QStringLiteral("Цвета: Канал B"), 'B',
                                  clrBox_clr_chB_NameText, clrBox_clr_chB_On, clrBox_clr_chB_Off);
    BuildRemotePage();

    auto* optionsLayout = new QVBoxLayout(pnlOptions);
    optionsLayout->setContentsMargins(2, 4, 4, 4);
    optionsLayout->setSpacing(4);
    optionsLayout->addWidget(lblSection);
    optionsLayout->addWidget(pgCtrlSections, 1);
}

void TfrmOptions::BuildButtons() {
    // Buttons along the bottom, at the right edge.
    pnlOkCancelButtons = NewNamed<QFrame>("pnlOkCancelButtons", this);
    pnlOkCancelButtons->setMinimumHeight(34);
    btnOK = NewNamed<QPushButton>("btnOK", QStringLiteral("OK"), pnlOkCancelButtons);
    btnOK->setDefault(true);
    btnCancel = NewNamed<QPushButton>("btnCancel", QStringLiteral("Отмена"), pnlOkCancelButtons);
    btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout(pnlOkCancelButtons);
    buttons->setContentsMargins(4, 4, 8, 4);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
}

// Categories left of the heading and pages, the buttons along the bottom.
void TfrmOptions::LayOut() {
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(pnlCategrs);
    middle->addWidget(pnlOptions, 1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(middle, 1);
    root->addWidget(pnlOkCancelButtons);
}

// Whatever a handler throws is reported by the application.
void TfrmOptions::ConnectHandlers() {
    connect(treeViewCategrs, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
                SafeCall([&] { treeViewCategrsChange(current); });
            });
    connect(treeViewCategrs, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        if (!treeViewCategrsCollapsing(node)) node->setExpanded(true);
    });
    connect(pgCtrlSections, &QStackedWidget::currentChanged, this,
            [this] { SafeCall([this] { pgCtrlSectionsChange(); }); });
    connect(ChBox_gen_UseExtRefFreq, &QCheckBox::toggled, this,
            [this] { SafeCall([this] { ChBox_gen_UseExtRefFreqPropertiesChange(); }); });
    // The edit validates when it is left or Enter is pressed in it. Only a
    // value the operator changed counts as committed: leaving the edit
    // untouched, or Enter followed by leaving it, recomputes nothing.
    edt_RefFreq->OnValidate = [this](TMaskEdit*) {
        if (!edt_RefFreq->isModified()) return;
        edt_RefFreq->setModified(false);
        edt_RefFreqPropertiesEditValueChanged();
    };
    connect(edtFreqScale, &QSpinBox::valueChanged, this,
            [this] { SafeCall([this] { edtFreqScalePropertiesChange(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        SafeCall([this] { accept(); });
    });
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        btnCancelClick();
        reject();
    });
}

TfrmOptions::~TfrmOptions() {
    // The controls outlive this part of the dialog: what they report while the
    // dialog goes (the edit losing the focus as the window hides) must not
    // reach the handlers.
    edt_RefFreq->OnValidate = nullptr;
    for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

QWidget* TfrmOptions::MakePage(const char* name, const QString& caption) {
    auto* page = new QWidget(pgCtrlSections);
    page->setObjectName(QString::fromLatin1(name));
    // The page caption, shown in the heading while the page is active.
    page->setWindowTitle(caption);
    pgCtrlSections->addWidget(page);
    return page;
}

QWidget* TfrmOptions::MakeColorPage(const char* name, const QString& caption, char channel,
                                    TColorComboBox*& nameText, TColorComboBox*& on,
                                    TColorComboBox*& off) {
    QWidget* page = MakePage(name, caption);
    auto* grid = new QGridLayout(page);
    const auto addRow = [&](int row, const QString& text, const char* role) {
        AddRowLabel(grid, row, text, page);
        auto* box = new TColorComboBox(page);
        box->setObjectName(QStringLiteral("clrBox_clr_ch%1_%2")
                               .arg(QLatin1Char(channel))
                               .arg(QString::fromLatin1(role)));
        grid->addWidget(box, row, 1);
        return box;
    };
    nameText = addRow(0, QStringLiteral("Заголовок канала"), "NameText");
    on = addRow(1, QStringLiteral("Активная панель"), "On");
    off = addRow(2, QStringLiteral("Неактивная панель"), "Off");
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return page;
}

void TfrmOptions::FormCreate() {
    treeViewCategrs->expandAll();
    pgCtrlSectionsChange();
    ChBox_gen_UseExtRefFreqPropertiesChange();
}

int TfrmOptions::NodePosition(QTreeWidgetItem* node) const {
    // Position counted from the top of the fully expanded tree.
    int position = 0;
    for (QTreeWidgetItemIterator it(treeViewCategrs); *it; ++it, ++position) {
        if (*it == node) return position;
    }
    return -1;
}

QTreeWidgetItem* TfrmOptions::NodeAt(int position) const {
    int index = 0;
    for (QTreeWidgetItemIterator it(treeViewCategrs); *it; ++it, ++index) {
        if (index == position) return *it;
    }
    return nullptr;
}

void TfrmOptions::treeViewCategrsChange(QTreeWidgetItem* node) {
    if (!node) return;
    if (NodePosition(node) == 1) {
        // "Цвета" has no page of its own: go on to "Канал A".
        treeViewCategrs->setCurrentItem(NodeAt(2));
        // A mouse press selects the pressed row after this handler ran; once
        // the press is handled, the selection follows the current row again.
        QTimer::singleShot(0, treeViewCategrs, [tree = treeViewCategrs] {
            if (QTreeWidgetItem* current = tree->currentItem(); current && !current->isSelected()) {
                tree->clearSelection();
                current->setSelected(true);
            }
        });
    }
    const int position = NodePosition(treeViewCategrs->currentItem());
    if (position >= 0 && position < pgCtrlSections->count())
        pgCtrlSections->setCurrentIndex(position);
}

bool TfrmOptions::treeViewCategrsChanging(QTreeWidgetItem*) {
    return true;
}

bool TfrmOptions::treeViewCategrsCollapsing(QTreeWidgetItem*) {
    return false;
}

void TfrmOptions::pgCtrlSectionsChange() {
    const QWidget* page = pgCtrlSections->currentWidget();
    lblSection->setText(QLatin1Char(' ') + (page ? page->windowTitle() : QString()));
}

void TfrmOptions::ChBox_gen_UseExtRefFreqPropertiesChange() {
    // The controls inside the group follow its enabled state.
    grpBox_RefFreq->setEnabled(ChBox_gen_UseExtRefFreq->isChecked());
}

int TfrmOptions::FreqScaleFor(double f) {
    double k = std::nearbyint(400.0 / f);  // the default rounding: half to even
    if (f * k > 410.0) k -= 1.0;
    return static_cast<int>(std::clamp<double>(k, TZyGen4::kMinFreqScale, TZyGen4::kMaxFreqScale));
}

void TfrmOptions::edt_RefFreqPropertiesEditValueChanged() {
    const QString fixed = FixDecimalSeparator(edt_RefFreq->text(), DecimalSeparator());
    if (fixed != edt_RefFreq->text()) edt_RefFreq->setText(fixed);
    const double f = StrToFloat(fixed);
    if (f == 0.0) throw Exception("Floating point division by zero");
    edtFreqScale->setValue(FreqScaleFor(f));
    ShowResultFreq();
}

void TfrmOptions::edtFreqScalePropertiesChange() {
    ShowResultFreq();
}

void TfrmOptions::ShowResultFreq() {
    lblGenFreq->setText(FloatToStr(StrToFloat(edt_RefFreq->text()) * edtFreqScale->value()));
}

void TfrmOptions::btnOKClick() {}

bool TfrmOptions::RefFreqAcceptable() const {
    const QString text = FixDecimalSeparator(edt_RefFreq->text(), DecimalSeparator());
    bool ok = false;
    const double f = QLocale().toDouble(text, &ok);
    return ok && dm_->RefFreqOption->WithinLimits(f);
}

void TfrmOptions::accept() {
    if (!RefFreqAcceptable()) {
        TMessageBox::Show(this,
                          QStringLiteral("Опорная частота должна быть больше 0 МГц.\nИсправьте "
                                         "значение в поле \"Опорная частота\"."),
                          windowTitle(), miError, mbOK);
        if (edt_RefFreq->isEnabled()) edt_RefFreq->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

void TfrmOptions::btnCancelClick() {}

void TfrmOptions::LoadFromOptions(bool reload) {
    if (reload) dm_->ZyAppOptionsRep()->LoadOptions();
    chBox_comn_AutoConnect->setChecked(dm_->AutoConnectOption->Value());

    TframeCh* a = dm_->ChAFrame;
    TframeCh* b = dm_->ChBFrame;
    if (a) clrBox_clr_chA_NameText->SetColorValue(a->NameTextClrOption->Value());
    if (b) clrBox_clr_chB_NameText->SetColorValue(b->NameTextClrOption->Value());
    if (a) clrBox_clr_chA_On->SetColorValue(a->OnColorOption->Value());
    if (b) clrBox_clr_chB_On->SetColorValue(b->OnColorOption->Value());
    if (a) clrBox_clr_chA_Off->SetColorValue(a->OffColorOption->Value());
    if (b) clrBox_clr_chB_Off->SetColorValue(b->OffColorOption->Value());

    LoadRemoteOptions();

    ChBox_gen_UseExtRefFreq->setChecked(dm_->UseExtFreqOption->Value());
    ChBox_gen_UseExtRefFreqPropertiesChange();

    // Filling the edit is no commit of the operator's: the multiplier shown is
    // the option's, even for a stored frequency of 0.
    const double refFreq = dm_->RefFreqOption->Value();
    edt_RefFreq->setText(std::isfinite(refFreq) ? FloatToStr(refFreq) : QString());
    edt_RefFreq->setModified(false);
    {
        const QSignalBlocker blocker(edtFreqScale);
        edtFreqScale->setValue(dm_->FreqScaleOption->Value());
    }
    if (edt_RefFreq->text().isEmpty()) {
        // A stored value that is no finite number (the file was edited by
        // hand): the dialog still opens, with nothing to multiply.
        lblGenFreq->clear();
    } else {
        ShowResultFreq();
    }
}

void TfrmOptions::StoreToOptions(bool save) {
    dm_->AutoConnectOption->SetValue(chBox_comn_AutoConnect->isChecked());

    TframeCh* a = dm_->ChAFrame;
    TframeCh* b = dm_->ChBFrame;
    if (a) a->NameTextClrOption->SetValue(clrBox_clr_chA_NameText->ColorValue());
    if (b) b->NameTextClrOption->SetValue(clrBox_clr_chB_NameText->ColorValue());
    if (a) a->OnColorOption->SetValue(clrBox_clr_chA_On->ColorValue());
    if (b) b->OnColorOption->SetValue(clrBox_clr_chB_On->ColorValue());
    if (a) a->OffColorOption->SetValue(clrBox_clr_chA_Off->ColorValue());
    if (b) b->OffColorOption->SetValue(clrBox_clr_chB_Off->ColorValue());

    StoreRemoteOptions();

    dm_->UseExtFreqOption->SetValue(ChBox_gen_UseExtRefFreq->isChecked());
    // A text that is no number stops here: RefFreq and FreqScale keep their
    // values and nothing reaches the generator or the file.
    dm_->RefFreqOption->SetValue(StrToFloat(edt_RefFreq->text()));
    dm_->FreqScaleOption->SetValue(edtFreqScale->value());

    TZyGen4* gen = dm_->ZyGen();
    gen->SetAutoUpdate(false);
    dm_->ApplyGenOptions();
    gen->SetAutoUpdate(true);

    if (save) dm_->ZyAppOptionsRep()->SaveOptions();
}

void TfrmOptions::ShowHelp() {
    SafeCall([this] {
        bool callHelp = true;
        dm_->ApplicationEventsMainHelp(1, HelpContext, callHelp);
    });
}

void TfrmOptions::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        ShowHelp();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmOptions::event(QEvent* event) {
    // The title bar's help button asks for this dialog's help page.
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        ShowHelp();
        return true;
    }
    return QDialog::event(event);
}
