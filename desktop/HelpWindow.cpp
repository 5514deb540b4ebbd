#include "HelpWindow.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>

THelpWindow::THelpWindow() : FBrowser(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("MVKubrin – Hilfe"));
    setCentralWidget(FBrowser);
    FBrowser->setAccessibleName(QStringLiteral("Hilfetext"));
    FBrowser->setOpenLinks(true);
    FBrowser->setOpenExternalLinks(false);
    // A caret that the arrows move lets a screen reader read the text line by line.
    FBrowser->setTextInteractionFlags(FBrowser->textInteractionFlags() | Qt::TextSelectableByKeyboard);
    setFocusProxy(FBrowser);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(520, 560);
}

void THelpWindow::ShowTopic(const QString& html, const QString& topic)
{
    FBrowser->setHtml(html);
    show();
    raise();
    activateWindow();
    FBrowser->scrollToAnchor(topic);
}
