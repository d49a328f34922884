#include "ui/HelpViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString kContents = QStringLiteral("index.html");
}

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Справка: Модуль управления УДГ Тайра-9"));
    resize(640, 560);

    const auto makeButton = [this](const char* name, const QString& text) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text);
        button->setAutoRaise(true);
        return button;
    };
    btnContents = makeButton("btnContents", QStringLiteral("Содержание"));
    btnBack = makeButton("btnBack", QStringLiteral("◀ Назад"));
    btnForward = makeButton("btnForward", QStringLiteral("Вперёд ▶"));
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    txtBrowser = new QTextBrowser(this);
    txtBrowser->setObjectName(QStringLiteral("txtBrowser"));
    txtBrowser->setOpenLinks(true);
    // Pages of the web go to the user's browser; the help's own pages stay here.
    txtBrowser->setOpenExternalLinks(true);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(btnContents);
    bar->addWidget(btnBack);
    bar->addWidget(btnForward);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(txtBrowser, 1);

    connect(btnContents, &QToolButton::clicked, this, [this] { ShowContents(); });
    connect(btnBack, &QToolButton::clicked, txtBrowser, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, txtBrowser, &QTextBrowser::forward);
    connect(txtBrowser, &QTextBrowser::backwardAvailable, btnBack, &QWidget::setEnabled);
    connect(txtBrowser, &QTextBrowser::forwardAvailable, btnForward, &QWidget::setEnabled);
}

bool THelpViewer::ShowPage(const QString& folder, const QString& page) {
    folder_ = folder;
    const QDir dir(folder);
    const bool found = QFileInfo(dir.filePath(page)).isFile();
    const QString shown = found ? page : kContents;
    if (QFileInfo(dir.filePath(shown)).isFile()) {
        txtBrowser->setSearchPaths({folder});
        txtBrowser->setSource(QUrl::fromLocalFile(dir.filePath(shown)));
    } else {
        txtBrowser->setHtml(QStringLiteral("<h3>Справка не установлена</h3><p>Нет файла %1</p>")
                                .arg(dir.filePath(page).toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
    return found;
}

bool THelpViewer::ShowContents() {
    return ShowPage(folder_, kContents);
}

QString THelpViewer::CurrentPage() const {
    const QUrl source = txtBrowser->source();
    if (source.isEmpty()) return {};
    return QFileInfo(source.toLocalFile()).fileName();
}
