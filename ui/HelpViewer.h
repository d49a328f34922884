#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's help window: a small browser over the HTML pages of a help
// folder (index.html for the contents, one page per help context number).
// Links between the pages stay here; links to the web open in the user's
// browser.
class THelpViewer : public QWidget {
    Q_OBJECT

  public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // Shows the window with `page` of `folder`. A page the folder lacks shows
    // the contents instead; a folder without contents shows a short note.
    // Returns whether the page asked for was found.
    bool ShowPage(const QString& folder, const QString& page);
    bool ShowContents();

    QString Folder() const { return folder_; }
    // File name of the page on display, empty when none is.
    QString CurrentPage() const;

    QTextBrowser* txtBrowser;
    QToolButton* btnContents;
    QToolButton* btnBack;
    QToolButton* btnForward;

  private:
    QString folder_;
};
