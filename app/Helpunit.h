#pragma once

#include <QWidget>

class QTextBrowser;

// The program's help: what it does, its keys, how the profit is reckoned and what every item
// is worth. Not modal; Esc closes it.
class THelpForm : public QWidget {
public:
    explicit THelpForm(QWidget* owner);

    QTextBrowser* HelpText;
};

// The help as HTML; the table of items comes from the catalogue the calculation uses.
QString HelpHtml();
