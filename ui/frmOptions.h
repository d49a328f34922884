#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TColorComboBox;
class TDMmain;
class TMaskEdit;

// The options dialog. It edits copies of the application options in its
// controls: whether to connect at start, the external reference clock with
// its frequency and multiplier, and the three colours of each channel panel.
// Nothing reaches the options, the generator or the options file before
// StoreToOptions, which the main window runs after OK.
class TfrmOptions : public QDialog {
    Q_OBJECT

  public:
    // `dm` gives the options and the generator; it must outlive the dialog.
    explicit TfrmOptions(TDMmain* dm, QWidget* parent = nullptr);
    ~TfrmOptions() override;

    // Fills the controls from the option values; with `reload`, first reads
    // the options file again.
    void LoadFromOptions(bool reload);
    // Stores the controls into the options, applies the clock options to the
    // generator and, with `save`, writes every registered option to the file.
    // A reference frequency that is no number raises EConvertError after the
    // options before it were stored; nothing is applied or saved then.
    void StoreToOptions(bool save);

    // The multiplier chosen for a reference frequency `f` in MHz: 400 / f
    // rounded half to even, one less when the clock would exceed 410 MHz,
    // within 4 … 255. `f` must be positive.
    static int FreqScaleFor(double f);

    // Handlers.
    void FormCreate();
    void treeViewCategrsChange(QTreeWidgetItem* node);
    bool treeViewCategrsChanging(QTreeWidgetItem* node);
    bool treeViewCategrsCollapsing(QTreeWidgetItem* node);
    void pgCtrlSectionsChange();
    void ChBox_gen_UseExtRefFreqPropertiesChange();
    void edt_RefFreqPropertiesEditValueChanged();
    void edtFreqScalePropertiesChange();
    void btnOKClick();
    void btnCancelClick();

    // Components.
    QFrame* pnlCategrs;
    QTreeWidget* treeViewCategrs;
    QFrame* pnlOptions;
    QLabel* lblSection;
    QStackedWidget* pgCtrlSections;
    QWidget* tabSh_Common;
    QWidget* tabSh_clrs;
    QWidget* tabSh_clr_chA;
    QWidget* tabSh_clr_chB;
    QCheckBox* ChBox_gen_UseExtRefFreq;
    QGroupBox* grpBox_RefFreq;
    TMaskEdit* edt_RefFreq;
    QSpinBox* edtFreqScale;
    QLabel* lblGenFreq;
    QCheckBox* chBox_comn_AutoConnect;
    QWidget* tabSh_Remote;
    QCheckBox* chBox_remote_Enabled;
    QLineEdit* edt_RemoteAddress;
    QSpinBox* edt_RemotePort;
    TColorComboBox* clrBox_clr_chA_NameText;
    TColorComboBox* clrBox_clr_chA_On;
    TColorComboBox* clrBox_clr_chA_Off;
    TColorComboBox* clrBox_clr_chB_NameText;
    TColorComboBox* clrBox_clr_chB_On;
    TColorComboBox* clrBox_clr_chB_Off;
    QFrame* pnlOkCancelButtons;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    static constexpr int HelpContext = 2010;

    // Closes with OK only while the reference frequency is a number the
    // clock can run on (the option's limits); otherwise says so and stays.
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // The constructor's steps: the controls, then their handlers.
    void BuildCategories();
    void BuildPages();
    void BuildButtons();
    void LayOut();
    void ConnectHandlers();

    bool RefFreqAcceptable() const;
    void ShowResultFreq();
    // The page "Удалённое управление" and its options (frmOptionsRemote.cpp).
    void BuildRemotePage();
    void LoadRemoteOptions();
    void StoreRemoteOptions();
    void ShowHelp();
    int NodePosition(QTreeWidgetItem* node) const;
    QTreeWidgetItem* NodeAt(int position) const;
    QWidget* MakePage(const char* name, const QString& caption);
    QWidget* MakeColorPage(const char* name, const QString& caption, char channel,
                           TColorComboBox*& nameText, TColorComboBox*& on, TColorComboBox*& off);

    TDMmain* dm_;
};
